#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "src/ui/Campi.h"
#include "src/ui/Tasti.h"

namespace ui {

// The background of a control as a stored colour (0xBBGGRR or a system
// colour). A control that was never given one shows its kind's system colour.
int64_t Sfondo(const QWidget* w);
void ImpostaSfondo(QWidget* w, int64_t colore);

// A text box of a screen, for the focus and date helpers.
class CampoQt final : public Campo {
 public:
  explicit CampoQt(QWidget* w) : w_(w) {}
  std::string Nome() const override;
  int64_t Sfondo() const override { return ui::Sfondo(w_); }
  void ImpostaSfondo(int64_t c) override { ui::ImpostaSfondo(w_, c); }
  std::string Testo() const override;
  void ImpostaTesto(const std::string& t) override;
  void DaiFuoco() override { w_->setFocus(Qt::OtherFocusReason); }

 private:
  QWidget* w_;
};

// The text box with the focus as the key rules see it; nullptr for any other control.
std::unique_ptr<CampoTesto> CampoTestoDi(QWidget* w);

// SelezionaTesto on a control: its whole text selected.
void SelezionaTesto(QWidget* w);

// The text boxes of a window, for PrendeFuoco.
std::vector<QWidget*> CaselleDi(QWidget* finestra);

}  // namespace ui
