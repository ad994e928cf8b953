#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <map>
#include <memory>

#include "src/selection/ModelloSelezioni.h"
#include "src/startup/qt/Maschera.h"

namespace selection {

// Help topic of the selection screen and of the worklist.
inline constexpr int32_t kAiutoSelezione = 50000;

// The entry screen of a settlement run. Its rules are the selection model's:
// the screen shows the model's fields, labels, red marks and enabled states,
// and hands every event to it, so that what it accepts and refuses is what
// the batch front accepts and refuses.
class FrmSaldaSelezioni final : public startup::Maschera {
  Q_OBJECT
 public:
  explicit FrmSaldaSelezioni(startup::Programma& p);
  ~FrmSaldaSelezioni() override;

  void CaricaSchermo() override;
  void PassaA() override;
  void TastoSu(const std::string& array, int indice, int tasto, int shift) override;
  void CampoEntrato(QWidget* w) override;
  void CampoLasciato(QWidget* w) override;

  void ComOk_Click();
  void ComAnnulla_Click();
  void ComHlp_Click(int indice);

  compensato::ModelloSelezioni& Modello() { return *modello_; }
  // The model's state on the controls.
  void Mostra();

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  QLineEdit* Campo(int indice) const { return txt_.at(indice); }
  int IndiceDi(const QObject* o) const;
  // The controls' texts and options into the model.
  void Raccogli();
  void TimSel_Timer();
  // The field check of a field left, and the model shown back.
  void Lascia(int indice, QWidget* w);
  void TabSulloScelto();

  std::unique_ptr<compensato::ModelloSelezioni> modello_;
  std::map<int, QLineEdit*> txt_;
  std::map<int, QPushButton*> comHlp_;
  std::map<int, QLabel*> lab_;
  QGroupBox *fra_, *frame1_, *frame2_, *frame3_, *frame4_;
  QRadioButton *optTipoElab_[2], *optCliente_, *optFornitore_, *optOrdinamento_[3];
  QCheckBox* ancheeffetti_;
  QPushButton *comOk_, *comAnnulla_;
  QTimer* timSel_;
  int sospeso_ = 0;  // the field that had the focus when another window took it
  bool inMostra_ = false;
};

}  // namespace selection
