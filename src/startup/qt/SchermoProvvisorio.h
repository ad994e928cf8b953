#pragma once

#include <QLabel>

#include "src/startup/qt/Maschera.h"

namespace startup {

// A screen whose content is not there yet: its caption with the company's
// description and a notice, on the set-up and lifecycle of every screen.
class SchermoProvvisorio : public Maschera {
 public:
  SchermoProvvisorio(Programma& p, std::string nome, const std::string& didascalia, int32_t contestoAiuto)
      : Maschera(p, std::move(nome), didascalia, contestoAiuto, 7800, 2400) {
    // The caption inside the window too: without a window manager it has no title bar.
    titolo_ = new QLabel(this);
    titolo_->setObjectName("labDidascalia");
    QFont f = titolo_->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    titolo_->setFont(f);
    Posiziona(titolo_, 180, 180, 7440, 420);
    auto* l = new QLabel("Questa maschera non \xC3\xA8 ancora stata realizzata.", this);
    l->setObjectName("labProvvisoria");
    Posiziona(l, 180, 780, 7440, 300);
  }
  void CaricaSchermo() override { titolo_->setText(QString::fromStdString(Didascalia())); }

 private:
  QLabel* titolo_;
};

}  // namespace startup
