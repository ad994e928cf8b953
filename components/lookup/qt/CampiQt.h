#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include "components/lookup/Campo.h"

namespace lookup {

// A stored colour (0xBBGGRR, or the system window colour 0x80000005) as Qt
// paints it.
QColor ColoreQt(int64_t colore);
// The background of a text box as a stored colour: the suite's widgets keep
// it in their "Sfondo" property, so the screens' colours and the
// component's agree.
int64_t SfondoDi(const QWidget* w);
void ImpostaSfondoDi(QWidget* w, int64_t colore);

class CampoLineEdit final : public Campo {
 public:
  explicit CampoLineEdit(QLineEdit* e) : e_(e) {}
  std::string Testo() const override { return e_ ? e_->text().toStdString() : std::string(); }
  void ImpostaTesto(const std::string& t) override {
    if (e_) e_->setText(QString::fromStdString(t));
  }
  int64_t Sfondo() const override { return e_ ? SfondoDi(e_) : 0x80000005; }
  void ImpostaSfondo(int64_t c) override {
    if (e_) ImpostaSfondoDi(e_, c);
  }
  QLineEdit* Widget() const { return e_; }

 private:
  QPointer<QLineEdit> e_;
};

class EtichettaLabel final : public Etichetta {
 public:
  explicit EtichettaLabel(QLabel* l) : l_(l) {}
  std::string Testo() const override { return l_ ? l_->text().toStdString() : std::string(); }
  void ImpostaTesto(const std::string& t) override {
    if (l_) l_->setText(QString::fromStdString(t));
  }

 private:
  QPointer<QLabel> l_;
};

// A window the lookup window opens over.
class ProprietarioQt final : public Proprietario {
 public:
  explicit ProprietarioQt(QWidget* w) : w_(w) {}
  QWidget* Widget() const { return w_; }

 private:
  QPointer<QWidget> w_;
};

}  // namespace lookup
