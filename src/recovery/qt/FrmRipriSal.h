#pragma once

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "src/recovery/FinestraRipristino.h"
#include "src/startup/qt/Maschera.h"

namespace recovery {

// Help topic of the recovery window.
inline constexpr int32_t kAiutoRipristino = 50010;

// The window support staff open after a crash: every identity that still
// holds reserved installments, with its phase, recovered one at a time.
class frmRipriSal final : public startup::Maschera {
  Q_OBJECT
 public:
  explicit frmRipriSal(startup::Programma& p);

  void CaricaSchermo() override;
  void PassaA() override;

  // Recovers the identity of the grid's current row (also a double click).
  void comOk_Click();

  const compensato::FinestraRipristino& Modello() const { return modello_; }

 private:
  void Mostra();
  void Chiudi();

  compensato::FinestraRipristino modello_;
  QTableWidget* griLock_;
  QLabel* labNessuno_;
  QLabel* label1_[2];
  QPushButton* comOk_;
  QPushButton* comAnnulla_[2];  // 0 with the grid, 1 without
};

}  // namespace recovery
