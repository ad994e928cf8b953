#include "src/ui/qt/TastieraQt.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTableView>

#include "src/ui/Aiuto.h"
#include "src/ui/qt/CampiQt.h"

namespace ui {
namespace {

class AmbienteQt final : public AmbienteTasti {
 public:
  AmbienteQt(QWidget* finestra, const ImpostazioniTastiera& imp) : f_(finestra), imp_(imp) {
    if (QWidget* w = f_->focusWidget()) campo_ = CampoTestoDi(w);
  }
  CampoTesto* CampoAttivo() override { return campo_.get(); }
  bool GrigliaDatiAttiva() override {
    for (QWidget* w = f_->focusWidget(); w && w != f_; w = w->parentWidget())
      if (auto* t = qobject_cast<QTableView*>(w)) return t->property("GrigliaDati").toBool();
    return false;
  }
  void SpostaFuoco(int passo) override { ui::SpostaFuoco(f_, passo); }
  void FuocoAlForm() override { f_->activateWindow(); }
  bool Aiuto(int& tasto, int shift) override { return imp_.aiuto && imp_.aiuto(tasto, shift); }

 private:
  QWidget* f_;
  const ImpostazioniTastiera& imp_;
  std::unique_ptr<CampoTesto> campo_;
};

bool Dentro(QWidget* w, QWidget* finestra) { return w && finestra && w->window() == finestra; }

bool PuoPrendereFuoco(QWidget* w) {
  return w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy();
}

}  // namespace

void CodiceTasto(const QKeyEvent* e, int& tasto, int& shift) {
  const Qt::KeyboardModifiers m = e->modifiers();
  shift =
      (m & Qt::ShiftModifier ? kShift : 0) | (m & Qt::ControlModifier ? kCtrl : 0) | (m & Qt::AltModifier ? kAlt : 0);
  const int k = e->key();
  const bool tastierino = m & Qt::KeypadModifier;
  tasto = 0;
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
    tasto = kTastoF1 + (k - Qt::Key_F1);
  else if (tastierino && (k == Qt::Key_Period || k == Qt::Key_Comma))
    tasto = kTastoDecimaleTastierino;
  else if (tastierino && k >= Qt::Key_0 && k <= Qt::Key_9)
    tasto = 96 + (k - Qt::Key_0);
  else if (k >= Qt::Key_A && k <= Qt::Key_Z)
    tasto = 'A' + (k - Qt::Key_A);
  else if (k >= Qt::Key_0 && k <= Qt::Key_9)
    tasto = '0' + (k - Qt::Key_0);
  else {
    switch (k) {
      case Qt::Key_Return:
      case Qt::Key_Enter: tasto = kTastoInvio; break;
      case Qt::Key_Escape: tasto = kTastoEsc; break;
      case Qt::Key_Tab:
      case Qt::Key_Backtab: tasto = 9; break;
      case Qt::Key_Backspace: tasto = 8; break;
      case Qt::Key_Space: tasto = 32; break;
      case Qt::Key_PageUp: tasto = kTastoPagSu; break;
      case Qt::Key_PageDown: tasto = kTastoPagGiu; break;
      case Qt::Key_End: tasto = 35; break;
      case Qt::Key_Home: tasto = 36; break;
      case Qt::Key_Left: tasto = 37; break;
      case Qt::Key_Up: tasto = 38; break;
      case Qt::Key_Right: tasto = 39; break;
      case Qt::Key_Down: tasto = 40; break;
      case Qt::Key_Insert: tasto = 45; break;
      case Qt::Key_Delete: tasto = 46; break;
      // The compare-mode key of find and replace.
      case Qt::Key_Backslash: tasto = kTastoModoConfronto; break;
      case Qt::Key_Period: tasto = 190; break;
      case Qt::Key_Comma: tasto = 188; break;
      default: break;
    }
  }
}

void SpostaFuoco(QWidget* finestra, int passo) {
  QWidget* da = finestra->focusWidget();
  if (!Dentro(da, finestra)) da = finestra;
  const int volte = passo < 0 ? -passo : passo;
  for (int n = 0; n < volte; ++n) {
    QWidget* w = da;
    // The focus chain is a ring; once round it is enough.
    for (int giro = 0; giro < 1000; ++giro) {
      w = passo < 0 ? w->previousInFocusChain() : w->nextInFocusChain();
      if (!w || w == da) break;
      if (Dentro(w, finestra) && w != finestra && PuoPrendereFuoco(w)) {
        da = w;
        break;
      }
    }
  }
  if (da && da != finestra) da->setFocus(passo < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
}

int32_t ContestoAttivoQt(QWidget* finestra) {
  std::vector<std::optional<int32_t>> catena;
  QWidget* w = finestra ? finestra->focusWidget() : nullptr;
  if (Dentro(w, finestra))
    for (; w && w != finestra; w = w->parentWidget()) catena.push_back(w->property("HelpContextID").toInt());
  return ContestoAttivo(catena, finestra ? finestra->property("HelpContextID").toInt() : 0);
}

TastieraQt::TastieraQt(QWidget* finestra, ImpostazioniTastiera imp)
    : QObject(finestra), finestra_(finestra), imp_(std::move(imp)) {
  qApp->installEventFilter(this);
}

TastieraQt::~TastieraQt() {
  if (qApp) qApp->removeEventFilter(this);
}

bool TastieraQt::eventFilter(QObject* o, QEvent* e) {
  if (inoltro_ || !o->isWidgetType()) return false;
  auto* w = static_cast<QWidget*>(o);
  if (!Dentro(w, finestra_)) return false;
  switch (e->type()) {
    case QEvent::KeyPress:
      // The event climbs to the containers when a control leaves it; the
      // screen sees it once, from the control with the focus.
      if (w != (finestra_->focusWidget() ? finestra_->focusWidget() : finestra_.data())) return false;
      return Tasto(w, static_cast<QKeyEvent*>(e));
    case QEvent::FocusIn:
      if (auto c = CampoTestoDi(w); c && imp_.colori && !w->objectName().isEmpty()) {
        std::vector<QWidget*> caselle = CaselleDi(finestra_);
        std::vector<CampoQt> campi(caselle.begin(), caselle.end());
        std::vector<Campo*> puntatori;
        for (CampoQt& x : campi) puntatori.push_back(&x);
        CampoQt questo(w);
        PrendeFuoco(questo, puntatori, imp_.colori(), false);
        // A single-line field is entered with its text selected, to be typed
        // over; a multi-line box keeps its cursor, or Enter would leave it.
        if (!c->MultiRiga() && static_cast<QFocusEvent*>(e)->reason() != Qt::MouseFocusReason) SelezionaTesto(w);
        if (entrato) entrato(w);
      }
      return false;
    case QEvent::FocusOut:
      if (auto c = CampoTestoDi(w); c && imp_.colori && !w->objectName().isEmpty()) {
        CampoQt questo(w);
        PerdeFuoco(questo, imp_.colori(), false);
        if (uscito) uscito(w);
      }
      return false;
    default: return false;
  }
}

bool TastieraQt::Tasto(QWidget* w, QKeyEvent* e) {
  int tasto = 0, shift = 0;
  CodiceTasto(e, tasto, shift);
  const int k = e->key();
  if (k == Qt::Key_Shift || k == Qt::Key_Control || k == Qt::Key_Alt || k == Qt::Key_Meta || k == Qt::Key_AltGr)
    return false;
  if (tasto != 0 && imp_.op && imp_.stato) {
    AmbienteQt amb(finestra_, imp_);
    if (GestisciTasto(tasto, shift, amb, *imp_.stato, {imp_.host, *imp_.op}, imp_.griglia, imp_.multiRiga) == 1)
      return true;
    if (tastoGiu && tastoGiu(tasto, shift)) return true;
    if (tasto == 0) return true;
  }
  const QString testo = e->text();
  if (testo.size() != 1 || !imp_.stato) return false;
  const char16_t c = testo.at(0).unicode();
  const char16_t r = FiltraTasto(c, *imp_.stato, imp_.tastierinoVirgola ? imp_.tastierinoVirgola() : "");
  if (r == c) return false;
  if (r == 0) return true;
  QKeyEvent altro(QEvent::KeyPress, r == u',' ? Qt::Key_Comma : e->key(), Qt::NoModifier, QString(QChar(r)));
  inoltro_ = true;
  QApplication::sendEvent(w, &altro);
  inoltro_ = false;
  return true;
}

}  // namespace ui
