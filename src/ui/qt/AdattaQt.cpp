#include "src/ui/qt/AdattaQt.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QTextEdit>
#include <cmath>
#include <map>

namespace ui {
namespace {

const QScreen* SchermoDi(const QWidget* w) {
  const QScreen* s = w ? w->screen() : nullptr;
  return s ? s : QGuiApplication::primaryScreen();
}

int Px(double twips, double tpp) { return static_cast<int>(std::lround(twips / tpp)); }

Rettangolo Rett(const QRect& r, const QPoint& origine) {
  return {r.x() - origine.x(), r.y() - origine.y(), r.x() + r.width() - origine.x(), r.y() + r.height() - origine.y()};
}

}  // namespace

double TwipsPerPixelX(const QWidget* w) {
  const QScreen* s = SchermoDi(w);
  return 1440.0 / (s ? s->logicalDotsPerInchX() : 96.0);
}

double TwipsPerPixelY(const QWidget* w) {
  const QScreen* s = SchermoDi(w);
  return 1440.0 / (s ? s->logicalDotsPerInchY() : 96.0);
}

Video VideoDi(const QWidget* w) {
  Video v;
  const QScreen* s = SchermoDi(w);
  const QRect g = s ? s->geometry() : QRect(0, 0, 1024, 768);
  const QRect d = s ? s->availableGeometry() : g;
  v.larghezzaPx = g.width();
  v.altezzaPx = g.height();
  v.twipsPerPixelX = TwipsPerPixelX(w);
  v.twipsPerPixelY = TwipsPerPixelY(w);
  v.barra = StatoBarraApplicazioni(Rett(g, g.topLeft()), Rett(d, g.topLeft()));
  return v;
}

GeometriaForm GeometriaTwips(const QWidget* f) {
  const double tx = TwipsPerPixelX(f), ty = TwipsPerPixelY(f);
  const QScreen* s = SchermoDi(f);
  const QPoint origine = s ? s->geometry().topLeft() : QPoint();
  const QRect r = f->frameGeometry();
  return {(r.x() - origine.x()) * tx, (r.y() - origine.y()) * ty, r.width() * tx, r.height() * ty};
}

TipoControllo TipoDi(const QWidget* w) {
  if (const auto* l = qobject_cast<const QLabel*>(w)) {
    if (!l->pixmap().isNull()) return TipoControllo::Immagine;
    return TipoControllo::Etichetta;
  }
  if (qobject_cast<const QCheckBox*>(w)) return TipoControllo::Check;
  if (qobject_cast<const QRadioButton*>(w)) return TipoControllo::Opzione;
  if (qobject_cast<const QAbstractButton*>(w)) return TipoControllo::Comando;
  if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
      qobject_cast<const QTextEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w))
    return TipoControllo::Testo;
  if (qobject_cast<const QComboBox*>(w)) return TipoControllo::Combo;
  if (qobject_cast<const QTableView*>(w))
    return w->property("GrigliaDati").toBool() ? TipoControllo::GrigliaDati : TipoControllo::GrigliaFlessibile;
  if (qobject_cast<const QListView*>(w)) return TipoControllo::Lista;
  if (qobject_cast<const QAbstractItemView*>(w)) return TipoControllo::GrigliaFlessibile;
  if (qobject_cast<const QGroupBox*>(w)) return TipoControllo::Cornice;
  if (qobject_cast<const QStatusBar*>(w)) return TipoControllo::BarraStato;
  if (const auto* f = qobject_cast<const QFrame*>(w)) {
    if (f->frameShape() == QFrame::HLine || f->frameShape() == QFrame::VLine) return TipoControllo::Linea;
    return TipoControllo::Forma;
  }
  return TipoControllo::Altro;
}

void ScalaControlliQt(QWidget* finestra, double f, const std::vector<Esclusione>& esclusioni) {
  if (!finestra || !(f > 0) || f == 1) return;
  const double tx = TwipsPerPixelX(finestra), ty = TwipsPerPixelY(finestra);

  std::vector<QWidget*> controlli;
  for (QWidget* w : finestra->findChildren<QWidget*>()) {
    const QString nome = w->objectName();
    if (nome.isEmpty() || nome.startsWith("qt_") || w->isWindow()) continue;
    controlli.push_back(w);
  }
  // Everything is read first: changing one font or size changes what the
  // others report.
  std::map<QWidget*, QFont> font;
  for (QWidget* w : controlli) font[w] = w->font();
  const QFont fontForm = finestra->font();
  std::vector<ControlloScala> dati;
  for (QWidget* w : controlli) {
    ControlloScala c;
    std::tie(c.nome, c.indice) = NomeEIndice(w->objectName().toStdString());
    c.tipo = TipoDi(w);
    if (const auto* l = qobject_cast<const QLabel*>(w)) c.stretch = l->hasScaledContents();
    const QRect g = w->geometry();
    c.left = g.x() * tx;
    c.top = g.y() * ty;
    c.width = g.width() * tx;
    c.height = g.height() * ty;
    c.fontSize = font[w].pointSizeF();
    c.headFontSize = c.fontSize;
    if (c.tipo == TipoControllo::Linea) {
      c.x1 = c.left, c.y1 = c.top, c.x2 = c.left + c.width, c.y2 = c.top + c.height;
    }
    dati.push_back(c);
  }
  FormScala form{finestra->width() * tx, finestra->height() * ty, fontForm.pointSizeF()};
  ScalaControlli(form, dati, f, esclusioni);

  QFont ff = fontForm;
  if (form.fontSize > 0) ff.setPointSizeF(form.fontSize);
  finestra->setFont(ff);
  finestra->resize(Px(form.width, tx), Px(form.height, ty));
  for (size_t i = 0; i < controlli.size(); ++i) {
    QWidget* w = controlli[i];
    const ControlloScala& c = dati[i];
    QFont fc = font[w];
    if (c.fontSize > 0) fc.setPointSizeF(c.fontSize);
    // Set on every control, so none inherits the window's new font instead.
    w->setFont(fc);
    if (auto* tv = qobject_cast<QTableView*>(w); tv && c.tipo == TipoControllo::GrigliaDati) {
      QFont fh = font[w];
      if (c.headFontSize > 0) fh.setPointSizeF(c.headFontSize);
      for (QWidget* h : {static_cast<QWidget*>(tv->horizontalHeader()), static_cast<QWidget*>(tv->verticalHeader())})
        if (h) h->setFont(fh);
    }
    int altezza = Px(c.height, ty);
    if (c.tipo == TipoControllo::Lista) {
      // One line of the new font at least, whatever the twips say.
      const int riga =
          QFontMetrics(fc).height() + 2 * (qobject_cast<QFrame*>(w) ? qobject_cast<QFrame*>(w)->frameWidth() : 0);
      altezza = std::max(altezza, riga);
    }
    w->setGeometry(Px(c.left, tx), Px(c.top, ty), Px(c.width, tx), altezza);
  }
}

void PosizionaTwips(QWidget* w, int left, int top, int width, int height) {
  const double tx = TwipsPerPixelX(w), ty = TwipsPerPixelY(w);
  w->setGeometry(Px(left, tx), Px(top, ty), Px(width, tx), Px(height, ty));
}

}  // namespace ui
