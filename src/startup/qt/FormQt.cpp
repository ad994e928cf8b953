#include "src/startup/qt/FormQt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QVBoxLayout>

#include "components/util/Error.h"
#include "src/startup/Programma.h"

namespace startup {

FormQt::FormQt(std::string nome, std::string didascalia) : nome_(std::move(nome)), didascalia_(std::move(didascalia)) {
  setObjectName(QString::fromStdString(nome_));
  setWindowTitle(QString::fromStdString(didascalia_));
}

void FormQt::ImpostaDidascalia(std::string d) {
  didascalia_ = std::move(d);
  setWindowTitle(QString::fromStdString(didascalia_));
}

void FormQt::Load() {
  oiLoadOk = -1;
  CaricaSchermo();
  if (oiLoadOk == -1) oiLoadOk = 1;
}

bool FormQt::Unload() {
  scaricando_ = true;
  const bool ok = ScaricaSchermo();
  scaricando_ = false;
  if (ok) hide();
  return ok;
}

void FormQt::MostraNonModale() {
  if (QApplication::activeModalWidget())
    throw util::RuntimeError(kErrFormModale,
                             "Impossibile mostrare una form non modale quando e' visualizzata una form modale");
  show();
}

void FormQt::DaiFuoco() {
  raise();
  activateWindow();
}

int FormQt::ShowForm(int tipo) {
  if (QApplication::activeModalWidget()) return -1;
  if (tipo == 2)
    showMaximized();
  else if (tipo == 1)
    showMinimized();
  else
    show();
  raise();
  activateWindow();
  return 0;
}

void FormQt::closeEvent(QCloseEvent* e) {
  // The program's own unload hides the window; a close from the window system
  // goes through the program so that its screens can refuse it.
  if (scaricando_ || !allaChiusura) {
    e->accept();
    return;
  }
  e->ignore();
  allaChiusura(*this);
}

FrmPrincipaleQt::FrmPrincipaleQt() : FormQt("frmPrincipale", kDidascaliaPrincipale) {
  auto* lay = new QVBoxLayout(this);
  auto* l = new QLabel("Chiusura in corso", this);
  l->setObjectName("lblChiusura");
  lay->addWidget(l);
}

}  // namespace startup
