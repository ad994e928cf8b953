#include "src/selection/qt/FrmSaldaSelezioni.h"

#include <QApplication>
#include <QKeyEvent>

#include "components/lookup/Finestra.h"
#include "components/util/Error.h"
#include "components/util/InputKind.h"
#include "src/company/AziUtilPrg.h"
#include "src/recovery/Ripristino.h"
#include "src/selection/Elabora.h"
#include "src/startup/Programma.h"
#include "src/ui/Errori.h"
#include "src/ui/qt/CampiQt.h"
#include "src/ui/qt/TastieraQt.h"
#include "src/worklist/qt/FrmSaldaLista.h"

namespace selection {
namespace {

using namespace compensato::txt;

// The designed size and grid, in twips.
constexpr int kLarghezza = 10860, kAltezza = 9810;
constexpr int kPasso = 345;      // from one row to the next
constexpr int kAlto = 300;       // a field's height
constexpr int kDidascalia = 60;  // captions, from the frame's left
constexpr int kLargDidascalia = 2940;
constexpr int kColonna = 3060;  // fields, from the outer frame's left
constexpr int kDestra = 5850;   // the captions of the right half
constexpr int kLargDestra = 2160;
constexpr int kColonnaDestra = 8010;
constexpr int kFine = 10500;  // where the rows end, from the outer frame's left
constexpr int kAiuto = 300;   // a "..." button's width

// What each field accepts as it is typed; 0 anything.
int TipoInput(int i) {
  switch (i) {
    case kScadDa:
    case kScadA:
    case kDocDa:
    case kDocA:
    case kDataReg:
    case kDataProt: return util::kInputDate;
    case kPagTipo:
    case kCausale:
    case kDescAgg:
    case kPrefProt: return util::kInputUpper;
    case kCambio:
    case kMassimo: return util::kInputDecimal;
    case kNumProt: return util::kInputWhole;
    default: return 0;
  }
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

FrmSaldaSelezioni::FrmSaldaSelezioni(startup::Programma& p)
    : Maschera(p, "FrmSaldaSelezioni", "Gestione Compensato", kAiutoSelezione, kLarghezza, kAltezza) {
  int nDidascalie = 0;
  auto didascalia = [this, &nDidascalie](QWidget* padre, const char* testo, int x, int y, int w) {
    auto* l = new QLabel(QString::fromUtf8(testo), padre);
    l->setObjectName(QString("Label1_%1").arg(nDidascalie++));
    Posiziona(l, x, y + 30, w, kAlto - 30);
    return l;
  };
  auto campo = [this](QWidget* padre, int i, int x, int y, int w) {
    auto* t = new QLineEdit(padre);
    t->setObjectName(QString("Txt_%1").arg(i));
    Posiziona(t, x, y, w, kAlto);
    t->installEventFilter(this);
    txt_[i] = t;
    return x + w;
  };
  auto aiuto = [this](QWidget* padre, int i, int x, int y) {
    auto* b = new QPushButton("...", padre);
    b->setObjectName(QString("ComHlp_%1").arg(i));
    // Out of the tab order and never the focus: the field keeps it, as
    // pressing F2 in it would.
    b->setFocusPolicy(Qt::NoFocus);
    Posiziona(b, x + 30, y, kAiuto, kAlto);
    connect(b, &QPushButton::clicked, this, [this, i] { ComHlp_Click(i); });
    comHlp_[i] = b;
    return x + 30 + kAiuto;
  };
  auto descrizione = [this](QWidget* padre, int i, int x, int y, int w) {
    auto* l = new QLabel(padre);
    l->setObjectName(QString("lab_%1").arg(i));
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setTextFormat(Qt::PlainText);
    Posiziona(l, x + 60, y, w, kAlto);
    lab_[i] = l;
  };
  // A code with its "..." button and its description, on one row.
  auto codice = [&](QWidget* padre, const char* testo, int i, int x, int y, int w, int fine) {
    didascalia(padre, testo, kDidascalia, y, kLargDidascalia);
    const int dopo = aiuto(padre, i, campo(padre, i, x, y, w), y);
    descrizione(padre, i, dopo, y, fine - dopo - 60);
  };
  auto opzione = [this](QWidget* padre, const char* nome, const char* testo, int x, int y, int w) {
    auto* o = new QRadioButton(QString::fromUtf8(testo), padre);
    o->setObjectName(nome);
    Posiziona(o, x, y, w, kAlto);
    return o;
  };

  fra_ = new QGroupBox("Selezioni: ", this);
  fra_->setObjectName("Fra");
  int y = 300;
  frame2_ = new QGroupBox("Tipo Elaborazione", fra_);
  frame2_->setObjectName("Frame2");
  Posiziona(frame2_, kDidascalia, y, 5040, 600);
  optTipoElab_[0] = opzione(frame2_, "OptTipoElab_0", "Automatica", 240, 240, 2100);
  optTipoElab_[1] = opzione(frame2_, "OptTipoElab_1", "Interattiva", 2520, 240, 2100);
  y += 660;
  frame1_ = new QGroupBox("Tipo:", fra_);
  frame1_->setObjectName("Frame1");
  Posiziona(frame1_, kDidascalia, y, 5040, 600);
  optCliente_ = opzione(frame1_, "OptCliente", "Cliente", 240, 240, 2100);
  optFornitore_ = opzione(frame1_, "OptFornitore", "Fornitore", 2520, 240, 2100);
  y += 720;

  codice(fra_, "Codice da:", kContoDa, kColonna, y, 1500, kFine);
  y += kPasso;
  codice(fra_, "a:", kContoA, kColonna, y, 1500, kFine);
  y += kPasso;
  didascalia(fra_, "Data Scadenza da:", kDidascalia, y, kLargDidascalia);
  campo(fra_, kScadDa, kColonna, y, 1200);
  didascalia(fra_, "a:", kColonna + 1230, y, 270);
  campo(fra_, kScadA, kColonna + 1530, y, 1200);
  y += kPasso;
  didascalia(fra_, "Data Documento da:", kDidascalia, y, kLargDidascalia);
  campo(fra_, kDocDa, kColonna, y, 1200);
  didascalia(fra_, "a:", kColonna + 1230, y, 270);
  campo(fra_, kDocA, kColonna + 1530, y, 1200);
  didascalia(fra_, "Pref/Nr.Documento da:", kDestra, y, kLargDestra);
  // The prefix is a letter or two: its field gives the caption the room it
  // needs when the font grows with the screen.
  campo(fra_, kPrefissoDoc, kColonnaDestra, y, 390);
  campo(fra_, kNumDocDa, kColonnaDestra + 420, y, 840);
  didascalia(fra_, "a:", kColonnaDestra + 1290, y, 270);
  campo(fra_, kNumDocA, kFine - 900, y, 900);
  y += kPasso;
  codice(fra_, "Tipo Pagamento:", kPagTipo, kColonna, y, 900, kFine);
  y += kPasso;
  ancheeffetti_ = new QCheckBox("Anche effetti", fra_);
  ancheeffetti_->setObjectName("Ancheeffetti");
  Posiziona(ancheeffetti_, kColonna, y, 2400, kAlto);
  y += kPasso;
  codice(fra_, "Moneta:", kMoneta, kColonna, y, 700, kDestra - 60);
  didascalia(fra_, "Cambio:", kDestra, y, kLargDestra);
  aiuto(fra_, kCambio, campo(fra_, kCambio, kColonnaDestra, y, 1500), y);
  y += kPasso;
  didascalia(fra_, "Importo Massimo:", kDidascalia, y, kLargDidascalia);
  campo(fra_, kMassimo, kColonna, y, 1800);
  y += kPasso + 60;

  // Inside its own frame the columns stay where the outer frame's are.
  frame3_ = new QGroupBox("Dati per articolo da generare: ", fra_);
  frame3_->setObjectName("Frame3");
  const int y3 = y;
  const int c3 = kColonna - kDidascalia, d3 = kDestra - kDidascalia, r3 = kColonnaDestra - kDidascalia,
            f3 = kFine - kDidascalia;
  y = 300;
  codice(frame3_, "Caus. incasso/pagamento:", kCausale, c3, y, 900, f3);
  y += kPasso;
  codice(frame3_, "C/partita incasso/pagamento:", kPartita, c3, y, 1500, f3);
  y += kPasso;
  didascalia(frame3_, "Descrizione aggiuntiva:", kDidascalia, y, kLargDidascalia);
  campo(frame3_, kDescAgg, c3, y, 3600);
  y += kPasso;
  codice(frame3_, "Conto sc/abb. attivi:", kAbbAtt, c3, y, 1500, f3);
  y += kPasso;
  codice(frame3_, "Conto sc/abb. passivi:", kAbbPas, c3, y, 1500, f3);
  y += kPasso;
  didascalia(frame3_, "Data registrazione:", kDidascalia, y, kLargDidascalia);
  campo(frame3_, kDataReg, c3, y, 1200);
  didascalia(frame3_, "Anno:", c3 + 1290, y, 600);
  campo(frame3_, kAnno, c3 + 1890, y, 700);
  y += kPasso;
  didascalia(frame3_, "Data protocollo:", kDidascalia, y, kLargDidascalia);
  campo(frame3_, kDataProt, c3, y, 1200);
  didascalia(frame3_, "Pref/Nr.Protocollo:", d3, y, kLargDestra);
  campo(frame3_, kPrefProt, r3, y, 450);
  campo(frame3_, kNumProt, r3 + 480, y, 1200);
  y += kPasso;
  codice(frame3_, "Conto utili su cambio:", kUtiCambio, c3, y, 1500, f3);
  y += kPasso;
  codice(frame3_, "Conto perdite su cambio:", kPerdCambio, c3, y, 1500, f3);
  y += kPasso;
  codice(frame3_, "Centro di costo:", kCdc, c3, y, 1200, f3);
  y += kPasso + 60;
  Posiziona(frame3_, kDidascalia, y3, kFine, y);
  Posiziona(fra_, 120, 60, kFine + 120, y3 + y + 120);
  y = 60 + y3 + y + 120 + 60;

  frame4_ = new QGroupBox("Ordinamento", this);
  frame4_->setObjectName("Frame4");
  Posiziona(frame4_, 120, y, kFine + 120, 600);
  const char* ordini[3] = {"Rag.Sociale Cli/For", "Codice Cli/For", "Dt.Doc. + Nr.Doc. + Codice Cli/For"};
  const int xOrdini[3] = {240, 2760, 5280}, wOrdini[3] = {2400, 2400, 4920};
  for (int i = 0; i < 3; ++i)
    optOrdinamento_[i] = opzione(frame4_, QString("OptOrdinamento_%1").arg(i).toUtf8().constData(), ordini[i],
                                 xOrdini[i], 240, wOrdini[i]);
  y += 720;

  comOk_ = new QPushButton("&Conferma", this);
  comOk_->setObjectName("ComOk");
  Posiziona(comOk_, 120, y, 1860, 420);
  comAnnulla_ = new QPushButton("E&sci", this);
  comAnnulla_->setObjectName("ComAnnulla");
  Posiziona(comAnnulla_, kLarghezza - 120 - 1860, y, 1860, 420);

  timSel_ = new QTimer(this);
  timSel_->setObjectName("TimSel");
  timSel_->setInterval(100);
  timSel_->setSingleShot(false);
  connect(timSel_, &QTimer::timeout, this, [this] { TimSel_Timer(); });

  txt_.at(kDescAgg)->setMaxLength(30);

  // Tab order; the exchange rate comes last of all.
  std::vector<QWidget*> ordine;
  for (int i : {kContoDa, kContoA, kScadDa, kScadA, kDocDa, kDocA, kPrefissoDoc, kNumDocDa, kNumDocA, kPagTipo})
    ordine.push_back(txt_.at(i));
  ordine.push_back(ancheeffetti_);
  for (int i : {kMoneta, kMassimo, kCausale, kPartita, kDescAgg, kAbbAtt, kAbbPas, kDataReg, kAnno, kDataProt,
                kPrefProt, kNumProt, kUtiCambio, kPerdCambio, kCdc})
    ordine.push_back(txt_.at(i));
  for (QRadioButton* o : optOrdinamento_) ordine.push_back(o);
  for (QRadioButton* o : optTipoElab_) ordine.push_back(o);
  ordine.insert(ordine.end(), {optCliente_, optFornitore_, comOk_, comAnnulla_, txt_.at(kCambio)});
  for (size_t i = 1; i < ordine.size(); ++i) setTabOrder(ordine[i - 1], ordine[i]);

  auto scelta = [this](QRadioButton* o, auto azione) {
    connect(o, &QRadioButton::toggled, this, [this, azione](bool scelto) {
      if (!inMostra_ && modello_ && scelto) azione();
    });
  };
  for (int i = 0; i < 2; ++i) scelta(optTipoElab_[i], [this, i] { modello_->tipoElab = i; });
  for (int i = 0; i < 3; ++i) scelta(optOrdinamento_[i], [this, i] { modello_->ordinamento = i; });
  scelta(optCliente_, [this] {
    Raccogli();
    modello_->ScegliCliente();
    Mostra();
  });
  scelta(optFornitore_, [this] {
    Raccogli();
    modello_->ScegliFornitore();
    Mostra();
  });
  for (QRadioButton* o : {optTipoElab_[0], optTipoElab_[1], optCliente_, optFornitore_, optOrdinamento_[0],
                          optOrdinamento_[1], optOrdinamento_[2]})
    connect(o, &QRadioButton::toggled, this, [this] { TabSulloScelto(); });
  connect(ancheeffetti_, &QCheckBox::toggled, this, [this](bool c) {
    if (!inMostra_ && modello_) modello_->ancheEffetti = c;
  });
  connect(comOk_, &QPushButton::clicked, this, [this] { ComOk_Click(); });
  connect(comAnnulla_, &QPushButton::clicked, this, [this] { ComAnnulla_Click(); });
}

FrmSaldaSelezioni::~FrmSaldaSelezioni() {
  // The fields still lose the focus while QWidget takes them down.
  for (auto& [i, t] : txt_) t->removeEventFilter(this);
  inMostra_ = true;
}

void FrmSaldaSelezioni::CaricaSchermo() {
  compensato::Contesto& ctx = p_.ctx;
  ctx.run.tabScadenze = "Scadenze";
  ctx.run.tabScadenzeApp = "ScadenzeApp";
  if (!p_.aiuti) throw util::RuntimeError(startup::kErrOggettoAssente, "Ricerca codici non inizializzata", Nome());
  // Reads the operator's "PartVis" as it is made.
  modello_ = std::make_unique<compensato::ModelloSelezioni>(ctx, *p_.aiuti);
  modello_->Inizializza_Form();
  if (const int n = ctx.db.ColumnInfo(ctx.conn, "PagTipi", "PagTipo").size; n > 0) txt_.at(kPagTipo)->setMaxLength(n);
  compensato::LeggiIdentita(ctx);
  ctx.istanze = ctx.host.CountRunning("tuttiprginesec|" + ctx.programId + "~" + osKeySec, 12);
  Mostra();
  timSel_->start();
}

void FrmSaldaSelezioni::PassaA() { p_.ctx.host.RegisterWindow("Gestione Compensato", "frmSaldaSelezioni", osKeySec); }

int FrmSaldaSelezioni::IndiceDi(const QObject* o) const {
  for (const auto& [i, t] : txt_)
    if (t == o) return i;
  return 0;
}

void FrmSaldaSelezioni::Raccogli() {
  if (!modello_) return;
  for (const auto& [i, t] : txt_) modello_->Txt(i).ImpostaTesto(t->text().toStdString());
}

void FrmSaldaSelezioni::Mostra() {
  if (!modello_) return;
  compensato::ModelloSelezioni& m = *modello_;
  inMostra_ = true;
  for (const auto& [i, t] : txt_) {
    const QString testo = Q(m.Txt(i).Testo());
    if (t->text() != testo) t->setText(testo);
    ui::ImpostaSfondo(t, m.Txt(i).Sfondo());
    if (auto l = lab_.find(i); l != lab_.end()) l->second->setText(Q(m.lab(i).Testo()));
  }
  txt_.at(kCambio)->setEnabled(m.Txt(kCambio).abilitato);
  comHlp_.at(kCambio)->setEnabled(m.Txt(kCambio).abilitato);
  // Radio buttons of one frame would not let both go.
  auto imposta = [](QRadioButton* o, bool scelto) {
    if (o->isChecked() == scelto) return;
    o->setAutoExclusive(false);
    o->setChecked(scelto);
    o->setAutoExclusive(true);
  };
  for (int i = 0; i < 2; ++i) imposta(optTipoElab_[i], m.tipoElab == i);
  imposta(optCliente_, m.optCliente);
  imposta(optFornitore_, m.optFornitore);
  for (int i = 0; i < 3; ++i) imposta(optOrdinamento_[i], m.ordinamento == i);
  ancheeffetti_->setChecked(m.ancheEffetti);
  ancheeffetti_->setEnabled(m.ancheEffettiAbilitato);
  TabSulloScelto();
  inMostra_ = false;
  // The field being typed in keeps the focus colour unless it is wrong.
  if (auto* f = qobject_cast<QLineEdit*>(focusWidget()); f && IndiceDi(f)) PrendeFuoco(f, false);
}

// Tab stops on the chosen button of a group, not on the group's first.
void FrmSaldaSelezioni::TabSulloScelto() {
  auto gruppo = [](std::initializer_list<QRadioButton*> g) {
    bool scelto = false;
    for (QRadioButton* o : g) scelto = scelto || o->isChecked();
    for (QRadioButton* o : g) o->setFocusPolicy(!scelto || o->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
  };
  gruppo({optTipoElab_[0], optTipoElab_[1]});
  gruppo({optCliente_, optFornitore_});
  gruppo({optOrdinamento_[0], optOrdinamento_[1], optOrdinamento_[2]});
}

void FrmSaldaSelezioni::CampoEntrato(QWidget* w) {
  const int i = IndiceDi(w);
  if (!i || inMostra_ || !modello_) return;
  // Back from another window to the field it left: still the same entry.
  if (const int s = sospeso_; s) {
    sospeso_ = 0;
    if (s == i) return;
    Lascia(s, txt_.at(s));
  }
  auto* t = txt_.at(i);
  modello_->Txt(i).ImpostaTesto(t->text().toStdString());
  modello_->Entra(i);
  const QString testo = Q(modello_->Txt(i).Testo());
  if (t->text() != testo) t->setText(testo);
  ui::SelezionaTesto(t);
  PrendeFuoco(t, false);
}

void FrmSaldaSelezioni::CampoLasciato(QWidget* w) {
  const int i = IndiceDi(w);
  if (!i || inMostra_ || !modello_) return;
  // Another window (a lookup, a message) takes the keyboard: the field is
  // not left, and is checked when the operator really leaves it.
  if (QApplication::activeWindow() != window()) {
    sospeso_ = i;
    return;
  }
  Lascia(i, w);
}

void FrmSaldaSelezioni::Lascia(int i, QWidget* w) {
  // Every text, not only this one: what the model shows back replaces them all.
  Raccogli();
  modello_->Txt(i).ImpostaSfondo(ui::Sfondo(w));
  modello_->Esci(i);
  Mostra();
}

void FrmSaldaSelezioni::TastoSu(const std::string& array, int indice, int tasto, int shift) {
  if (array != "Txt" || !txt_.count(indice) || !modello_) return;
  Raccogli();
  if (!modello_->TastoSu(indice, tasto, shift)) return;
  Mostra();
  // The lookup window is gone: the keyboard comes back to the field.
  activateWindow();
  txt_.at(indice)->setFocus(Qt::ActiveWindowFocusReason);
}

void FrmSaldaSelezioni::ComHlp_Click(int indice) {
  txt_.at(indice)->setFocus(Qt::OtherFocusReason);
  TastoSu("Txt", indice, lookup::kTastoF2, 0);
}

bool FrmSaldaSelezioni::eventFilter(QObject* o, QEvent* e) {
  const int i = (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) ? IndiceDi(o) : 0;
  if (!i) return Maschera::eventFilter(o, e);
  auto* k = static_cast<QKeyEvent*>(e);
  if (e->type() == QEvent::KeyRelease) {
    if (!k->isAutoRepeat()) {
      int tasto = 0, shift = 0;
      ui::CodiceTasto(k, tasto, shift);
      if (tasto == lookup::kTastoF2 || tasto == lookup::kTastoF3) TastoSu("Txt", i, tasto, shift);
    }
    return false;
  }
  // What the field's kind accepts, as it is typed.
  const QString s = k->text();
  const int tipo = TipoInput(i);
  if (tipo == 0 || s.size() != 1 || (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
  auto* t = txt_.at(i);
  const char32_t c = s.at(0).unicode();
  const char32_t r = util::FilterInputChar(tipo, c, t->hasSelectedText() ? t->selectionStart() : t->cursorPosition());
  if (r == c) return false;
  if (r != 0) t->insert(QString(QChar(static_cast<char16_t>(r))));
  return true;
}

void FrmSaldaSelezioni::ComOk_Click() {
  if (!modello_) return;
  Raccogli();
  compensato::SelezioneRun selezione;
  const bool ok = modello_->Conferma(selezione);
  Mostra();
  if (!ok) return;
  worklist::ListaLavoroQt lista(p_);
  try {
    compensato::Elabora(p_.ctx, selezione, &lista);
  } catch (const std::exception& e) {
    ui::MsgErrfrm(p_.ctx.op, util::AsRuntimeError(e));
  }
  Mostra();
  // The worklist is gone: the screen is ready for the next run.
  activateWindow();
}

// Unloading deletes the screen: not from inside the click of its own button.
void FrmSaldaSelezioni::ComAnnulla_Click() {
  QMetaObject::invokeMethod(
      this, [this] { p_.Scarica(this); }, Qt::QueuedConnection);
}

void FrmSaldaSelezioni::TimSel_Timer() {
  timSel_->stop();
  try {
    compensato::Controllo_Elaborazione(p_.ctx);
  } catch (const std::exception& e) {
    ui::MsgErrfrm(p_.ctx.op, util::AsRuntimeError(e));
  }
  // The check runs as the screen comes up, maybe before it had the keyboard:
  // once its messages are answered the keyboard is the screen's.
  activateWindow();
}

}  // namespace selection
