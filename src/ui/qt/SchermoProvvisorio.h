#pragma once

#include <QLabel>
#include <QVBoxLayout>

#include "src/startup/ComandiMenu.h"
#include "src/startup/Programma.h"
#include "src/ui/qt/FormQt.h"

namespace ui {

// A screen whose content is not there yet: its caption with the company's
// description, a notice, and the lifecycle of every screen (its unload hands
// control back and asks for the program's close).
class SchermoProvvisorio : public FormQt {
 public:
  SchermoProvvisorio(startup::Programma& p, std::string nome, const std::string& didascalia)
      : FormQt(std::move(nome), didascalia), p_(p) {
    const std::string desc = p.ctx.azienda.descrizione;
    ImpostaDidascalia(didascalia + " - " + desc);
    auto* lay = new QVBoxLayout(this);
    // The caption inside the window too: without a window manager it has no title bar.
    auto* titolo = new QLabel(QString::fromStdString(Didascalia()), this);
    titolo->setObjectName("labDidascalia");
    QFont f = titolo->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    titolo->setFont(f);
    lay->addWidget(titolo);
    auto* l = new QLabel("Questa maschera non \xC3\xA8 ancora stata realizzata.", this);
    l->setObjectName("labProvvisoria");
    lay->addWidget(l);
    resize(520, 160);
    allaChiusura = [this](FormQt&) {
      p_.Scarica(this);
    };
  }
  bool ScaricaSchermo() override {
    startup::LasciaForm(p_, *this, true);
    return true;
  }
  void CaricaSchermo() override { p_.pf.ChiudiSplash(); }

 protected:
  startup::Programma& p_;
};

}  // namespace ui
