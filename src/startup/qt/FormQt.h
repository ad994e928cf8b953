#pragma once

#include <QLabel>
#include <QWidget>
#include <string>

#include "src/startup/Schermo.h"

namespace startup {

// A screen of the program as a window. Closing it through the window system
// unloads it the same way the program does.
class FormQt : public QWidget, public Schermo {
  Q_OBJECT
 public:
  FormQt(std::string nome, std::string didascalia);

  std::string Nome() const override { return nome_; }
  std::string Didascalia() const override { return didascalia_; }
  void Load() override;
  bool Unload() override;
  bool Visibile() const override { return isVisible(); }
  void Nascondi() override { hide(); }
  void MostraNonModale() override;
  void DaiFuoco() override;
  int ShowForm(int tipo) override;

  // What a screen does when it loads and unloads; false cancels the unload.
  virtual void CaricaSchermo() {}
  virtual bool ScaricaSchermo() { return true; }
  // Asked when the window system closes the window.
  std::function<void(FormQt&)> allaChiusura;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void ImpostaDidascalia(std::string d);

 private:
  std::string nome_, didascalia_;
  bool scaricando_ = false;
};

// The hidden main form: it shows "Chiusura in corso" while the program closes.
class FrmPrincipaleQt final : public FormQt {
  Q_OBJECT
 public:
  FrmPrincipaleQt();
};

}  // namespace startup
