#include "src/ui/qt/CampiQt.h"

#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextEdit>

#include "src/ui/Scala.h"

namespace ui {
namespace {

bool Casella(const QWidget* w) {
  return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
         qobject_cast<const QTextEdit*>(w);
}

QColor Colore(int64_t c) {
  if (c == kColoreSistemaFinestra) return QPalette().color(QPalette::Base);
  if (c == kColoreSistemaPulsante) return QPalette().color(QPalette::Button);
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>(c >> 8 & 0xFF), static_cast<int>(c >> 16 & 0xFF));
}

std::u16string U16(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}
QString Q16(const std::u16string& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

class LineaQt final : public CampoTesto {
 public:
  explicit LineaQt(QLineEdit* e) : e_(e) {}
  std::string Nome() const override { return NomeEIndice(e_->objectName().toStdString()).first; }
  bool MultiRiga() const override { return false; }
  std::u16string Testo() const override { return U16(e_->text()); }
  void ImpostaTesto(const std::u16string& t) override { e_->setText(Q16(t)); }
  int InizioSelezione() const override { return e_->hasSelectedText() ? e_->selectionStart() : e_->cursorPosition(); }
  int LunghezzaSelezione() const override { return e_->hasSelectedText() ? e_->selectionLength() : 0; }
  void Seleziona(int i, int l) override {
    if (l > 0)
      e_->setSelection(i, l);
    else
      e_->setCursorPosition(i);
  }
  void SostituisciSelezione(const std::u16string& t) override { e_->insert(Q16(t)); }

 private:
  QLineEdit* e_;
};

// Multi-line boxes of either kind, through their text cursor.
template <class Box>
class RigheQt final : public CampoTesto {
 public:
  explicit RigheQt(Box* b) : b_(b) {}
  std::string Nome() const override { return NomeEIndice(b_->objectName().toStdString()).first; }
  bool MultiRiga() const override { return true; }
  std::u16string Testo() const override { return U16(b_->toPlainText()); }
  void ImpostaTesto(const std::u16string& t) override { b_->setPlainText(Q16(t)); }
  int InizioSelezione() const override { return b_->textCursor().selectionStart(); }
  int LunghezzaSelezione() const override {
    const QTextCursor c = b_->textCursor();
    return c.selectionEnd() - c.selectionStart();
  }
  void Seleziona(int i, int l) override {
    QTextCursor c = b_->textCursor();
    c.setPosition(i);
    c.setPosition(i + l, QTextCursor::KeepAnchor);
    b_->setTextCursor(c);
  }
  void SostituisciSelezione(const std::u16string& t) override { b_->textCursor().insertText(Q16(t)); }

 private:
  Box* b_;
};

}  // namespace

int64_t Sfondo(const QWidget* w) {
  const QVariant v = w->property("Sfondo");
  if (v.isValid()) return v.toLongLong();
  return Casella(w) ? kColoreSistemaFinestra : kColoreSistemaPulsante;
}

void ImpostaSfondo(QWidget* w, int64_t colore) {
  w->setProperty("Sfondo", QVariant::fromValue<qlonglong>(colore));
  QPalette p = w->palette();
  const QColor c = Colore(colore);
  if (Casella(w)) {
    p.setColor(QPalette::Base, c);
  } else {
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::Button, c);
    w->setAutoFillBackground(true);
  }
  w->setPalette(p);
}

std::string CampoQt::Nome() const { return NomeEIndice(w_->objectName().toStdString()).first; }

std::string CampoQt::Testo() const {
  if (const auto* e = qobject_cast<const QLineEdit*>(w_)) return e->text().toStdString();
  if (const auto* e = qobject_cast<const QPlainTextEdit*>(w_)) return e->toPlainText().toStdString();
  if (const auto* e = qobject_cast<const QTextEdit*>(w_)) return e->toPlainText().toStdString();
  return "";
}

void CampoQt::ImpostaTesto(const std::string& t) {
  const QString q = QString::fromStdString(t);
  if (auto* e = qobject_cast<QLineEdit*>(w_)) e->setText(q);
  if (auto* e = qobject_cast<QPlainTextEdit*>(w_)) e->setPlainText(q);
  if (auto* e = qobject_cast<QTextEdit*>(w_)) e->setPlainText(q);
}

std::unique_ptr<CampoTesto> CampoTestoDi(QWidget* w) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) return std::make_unique<LineaQt>(e);
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) return std::make_unique<RigheQt<QPlainTextEdit>>(e);
  if (auto* e = qobject_cast<QTextEdit*>(w)) return std::make_unique<RigheQt<QTextEdit>>(e);
  return nullptr;
}

void SelezionaTesto(QWidget* w) {
  if (auto c = CampoTestoDi(w)) c->Seleziona(0, static_cast<int>(c->Testo().size()));
}

std::vector<QWidget*> CaselleDi(QWidget* finestra) {
  std::vector<QWidget*> v;
  for (QWidget* w : finestra->findChildren<QWidget*>())
    if (Casella(w) && !w->objectName().isEmpty()) v.push_back(w);
  return v;
}

}  // namespace ui
