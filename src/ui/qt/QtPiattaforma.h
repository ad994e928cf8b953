#pragma once

#include <QLabel>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "src/startup/Piattaforma.h"

namespace host {
class SocketMenuHost;
}

namespace ui {

class QtOperatore;

// The windowing system of the program: Qt windows and timers, the
// connection splash, and the watch on the menu host's socket.
class QtPiattaforma : public QObject, public startup::Piattaforma {
  Q_OBJECT
 public:
  using Fabbrica = std::function<std::unique_ptr<startup::Schermo>(startup::Programma&)>;

  QtPiattaforma(QtOperatore& op, host::SocketMenuHost* host);
  ~QtPiattaforma() override;

  void Registra(const std::string& nome, Fabbrica f) { fabbriche_[nome] = std::move(f); }

  std::unique_ptr<startup::Schermo> CreaFormPrincipale() override;
  std::unique_ptr<startup::Schermo> CreaSchermo(const std::string& nome, startup::Programma& p) override;
  std::unique_ptr<startup::Timer> CreaTimer(std::function<void()> scatto) override;
  startup::Schermo* Attivo() override;
  void DoEvents() override;
  void MostraSplash(const std::string& didascalia, const std::string& testo) override;
  void ChiudiSplash() override;
  void Termina() override;
  void ImpostaSegnale(const std::string& beepCome) override;

 private:
  QtOperatore& op_;
  host::SocketMenuHost* host_;
  std::map<std::string, Fabbrica> fabbriche_;
  std::unique_ptr<QWidget> splash_;
  QLabel* splashTesto_ = nullptr;
  QTimer ascolto_;
};

}  // namespace ui
