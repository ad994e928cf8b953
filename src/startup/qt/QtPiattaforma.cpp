#include "src/startup/qt/QtPiattaforma.h"

#include <QApplication>
#include <QVBoxLayout>
#include <iostream>

#include "components/host/SocketMenuHost.h"
#include "components/lookup/qt/FrmRicerca.h"
#include "src/startup/Chiusura.h"
#include "src/startup/Programma.h"
#include "src/startup/qt/FormQt.h"
#include "src/startup/qt/Maschera.h"
#include "src/ui/qt/QtOperatore.h"
#include "src/ui/qt/TastieraQt.h"

namespace startup {
namespace {

class TimerQt final : public Timer {
 public:
  explicit TimerQt(std::function<void()> f) {
    t_.setInterval(1);
    QObject::connect(&t_, &QTimer::timeout, [f = std::move(f)] { f(); });
  }
  void Abilita(bool on) override {
    if (on && !t_.isActive()) t_.start();
    if (!on) t_.stop();
  }
  bool Abilitato() const override { return t_.isActive(); }
  void Intervallo(int ms) override { t_.setInterval(ms); }
  int Intervallo() const override { return t_.interval(); }

 private:
  QTimer t_;
};

}  // namespace

QtPiattaforma::QtPiattaforma(ui::QtOperatore& op, host::SocketMenuHost* host) : op_(op), host_(host) {
  op_.chiudiSplash = [this] { ChiudiSplash(); };
  // Commands from the host are taken between events, in modal loops too; one
  // command is never delivered inside another (DeliverPending sees to that).
  ascolto_.setInterval(20);
  connect(&ascolto_, &QTimer::timeout, this, [this] {
    // Nothing from the host may end the program from here, outside every
    // routine's own handling.
    try {
      if (host_ && host_->collegato()) host_->DeliverPending();
      if (programma_) SorvegliaMenu(*programma_);
    } catch (const std::exception& e) {
      std::cerr << "compensato: comando del menu non eseguito: " << e.what() << std::endl;
    }
  });
  ascolto_.start();
}

QtPiattaforma::~QtPiattaforma() {
  ascolto_.stop();
  programma_ = nullptr;
  op_.chiudiSplash = nullptr;
  op_.aiuto = nullptr;
  op_.adatta = nullptr;
}

std::unique_ptr<lookup::FinestraAiuto> QtPiattaforma::CreaFinestraAiuto() {
  return std::make_unique<lookup::FinestraQt>();
}

void QtPiattaforma::NascondiModali() {
  if (programma_) startup::NascondiModali(*programma_);
}

lookup::Proprietario* QtPiattaforma::FormAttiva() {
  attiva_ = lookup::ProprietarioQt(QApplication::activeWindow());
  return &attiva_;
}

void QtPiattaforma::Collega(Programma& p) {
  programma_ = &p;
  op_.aiuto = [this, &p](int& tasto, int shift, QWidget* finestra) {
    return ui::AiutoTasto(tasto, shift, p.ctx.fileAiuto, -1, ui::ContestoAttivoQt(finestra), aiuto_);
  };
  op_.adatta = [&p](QWidget* finestra) { AdattaForm(p, *finestra, "", false, -2, {}); };
}

std::unique_ptr<Schermo> QtPiattaforma::CreaFormPrincipale() { return std::make_unique<FrmPrincipaleQt>(); }

std::unique_ptr<Schermo> QtPiattaforma::CreaSchermo(const std::string& nome, Programma& p) {
  const auto it = fabbriche_.find(nome);
  if (it == fabbriche_.end()) return nullptr;
  return it->second(p);
}

std::unique_ptr<Timer> QtPiattaforma::CreaTimer(std::function<void()> scatto) {
  return std::make_unique<TimerQt>(std::move(scatto));
}

Schermo* QtPiattaforma::Attivo() { return dynamic_cast<FormQt*>(QApplication::activeWindow()); }

void QtPiattaforma::DoEvents() { QApplication::processEvents(); }

void QtPiattaforma::MostraSplash(const std::string& didascalia, const std::string& testo) {
  if (!splash_) {
    splash_ = std::make_unique<QWidget>(nullptr, Qt::SplashScreen);
    splash_->setObjectName("frmConn");
    auto* lay = new QVBoxLayout(splash_.get());
    splashTesto_ = new QLabel(splash_.get());
    lay->addWidget(splashTesto_);
  }
  splash_->setWindowTitle(QString::fromStdString(didascalia));
  splashTesto_->setText(QString::fromStdString(didascalia + "\n" + testo));
  splash_->show();
  splash_->repaint();
}

void QtPiattaforma::ChiudiSplash() { splash_.reset(); }

void QtPiattaforma::Termina(int codice) {
  ascolto_.stop();
  ChiudiSplash();
  QTimer::singleShot(0, qApp, [codice] { QCoreApplication::exit(codice); });
}

void QtPiattaforma::ImpostaSegnale(const std::string& beepCome) { op_.ImpostaBeepCome(beepCome); }

}  // namespace startup
