#pragma once

#include <QLabel>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "components/lookup/qt/CampiQt.h"
#include "src/startup/Piattaforma.h"
#include "src/ui/Tasti.h"
#include "src/ui/qt/FrmAiuto.h"

namespace host {
class SocketMenuHost;
}

namespace ui {
class QtOperatore;
}

namespace startup {

// The windowing system of the program: Qt windows and timers, the
// connection splash, the watch on the menu host's socket, and what all
// screens share (the keyboard state, the help viewer).
class QtPiattaforma : public QObject, public Piattaforma {
  Q_OBJECT
 public:
  using Fabbrica = std::function<std::unique_ptr<Schermo>(Programma&)>;

  QtPiattaforma(ui::QtOperatore& op, host::SocketMenuHost* host);
  ~QtPiattaforma() override;

  void RegistraSchermo(const std::string& nome, Fabbrica f) { fabbriche_[nome] = std::move(f); }

  std::unique_ptr<Schermo> CreaFormPrincipale() override;
  std::unique_ptr<Schermo> CreaSchermo(const std::string& nome, Programma& p) override;
  std::unique_ptr<Timer> CreaTimer(std::function<void()> scatto) override;
  Schermo* Attivo() override;
  void DoEvents() override;
  void MostraSplash(const std::string& didascalia, const std::string& testo) override;
  void ChiudiSplash() override;
  void Termina(int codice) override;
  void ImpostaSegnale(const std::string& beepCome) override;
  std::unique_ptr<lookup::FinestraAiuto> CreaFinestraAiuto() override;
  // The screens shown modally step aside while the lookup window is open.
  void NascondiModali() override;
  lookup::Proprietario* FormAttiva() override;

  // Ties the message and progress windows to the program once it exists:
  // help in the message window, scaling of the progress window.
  void Collega(Programma& p);
  ui::QtOperatore& Operatore() { return op_; }
  // The keyboard state of the whole run (last key, find and replace).
  ui::StatoTastiera& Tastiera() { return tastiera_; }
  ui::AiutoQt& Aiuto() { return aiuto_; }

 private:
  ui::QtOperatore& op_;
  lookup::ProprietarioQt attiva_{nullptr};
  host::SocketMenuHost* host_;
  Programma* programma_ = nullptr;
  std::map<std::string, Fabbrica> fabbriche_;
  std::unique_ptr<QWidget> splash_;
  QLabel* splashTesto_ = nullptr;
  QTimer ascolto_;
  ui::StatoTastiera tastiera_;
  ui::AiutoQt aiuto_;
};

}  // namespace startup
