#pragma once

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <map>
#include <string>

#include "components/util/Value.h"
#include "src/startup/qt/Maschera.h"
#include "src/worklist/SchedaScadenza.h"

namespace worklist {

// The read-only card of one installment of the worklist ("Visualizzazione
// Scadenza"): its codes with their descriptions, dates, document, protocol
// and the stored amounts. Nothing on it can be changed.
class frmSaldaVis final : public startup::Maschera {
  Q_OBJECT
 public:
  explicit frmSaldaVis(startup::Programma& p);

  // Shows the card's values.
  void Riempi(const compensato::SchedaScadenza& s);
  QLabel* Etichetta(const std::string& nome) const;

 private:
  std::map<std::string, QLabel*> valori_;
  QLabel* labTipo_;
  QRadioButton *entrata_, *uscita_;
  QPushButton* comEsci_;
};

// ComVisualizza: reads the working-copy row (anno, numProg) and shows its
// card modally, unloading it when it closes. Nothing when the row is gone.
void MostraSchedaScadenza(startup::Programma& p, const util::Value& anno, const util::Value& numProg);

}  // namespace worklist
