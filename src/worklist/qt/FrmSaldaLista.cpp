#include "src/worklist/qt/FrmSaldaLista.h"

#include "src/worklist/qt/FrmSaldaVis.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>

#include "components/db/Recordset.h"
#include "components/util/Error.h"
#include "components/util/NumberFormat.h"
#include "components/util/SqlLiteral.h"
#include "src/settlement/Elaborazione.h"
#include "src/startup/Programma.h"
#include "src/ui/Errori.h"
#include "src/ui/Operatore.h"
#include "src/ui/Tasti.h"
#include "src/ui/qt/AdattaQt.h"
#include "src/worklist/QueryLista.h"
#include "src/worklist/RegoleLista.h"

namespace worklist {
namespace {

namespace col = compensato::lista;
namespace regole = compensato::lista;

constexpr int kLarghezza = 14040, kAltezza = 6300;

// Widths of the shown columns in twips; `true` where the screen's factor applies.
struct Colonna {
  int posizione;
  int larghezza;
  bool scala;
};
constexpr Colonna kColonne[] = {
    {0, 200, false}, {1, 700, false},  {2, 1100, false}, {3, 2700, true}, {4, 900, true},
    {5, 1000, true}, {6, 350, true},   {7, 1100, true},  {8, 1100, true}, {9, 1100, true},
    {10, 300, true}, {20, 600, false}, {21, 1000, true},
};

bool Importo(int c) { return c == col::kImportoSegno || c == col::kImpPagInc || c == col::kPagato; }
bool Modificabile(int c) { return c == regole::kColonnaPagato || c == regole::kColonnaStato; }

QPushButton* Pulsante(QWidget* padre, const char* nome, const char* testo) {
  auto* b = new QPushButton(QString::fromUtf8(testo), padre);
  b->setObjectName(nome);
  return b;
}

QLabel* Etichetta(QWidget* padre, const char* nome, const char* testo, Qt::Alignment allinea = Qt::AlignLeft) {
  auto* l = new QLabel(QString::fromUtf8(testo), padre);
  if (nome) l->setObjectName(nome);
  l->setAlignment(allinea | Qt::AlignVCenter);
  return l;
}

QString Q(const std::string& s) { return QString::fromUtf8(s.c_str(), static_cast<int>(s.size())); }

// A stored colour of the company (0x00BBGGRR) as Qt takes it.
QColor Colore(int64_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

}  // namespace

// ---------------------------------------------------------------------------

void ModelloLista::Collega(db::DbCursor* cursore, const std::string& key, std::string maschera, int decimali) {
  beginResetModel();
  cursore_ = cursore;
  key_ = key;
  maschera_ = std::move(maschera);
  decimali_ = decimali;
  sospese_.clear();
  endResetModel();
}

int ModelloLista::rowCount(const QModelIndex& padre) const {
  if (padre.isValid() || !cursore_ || !cursore_->IsOpen(key_)) return 0;
  return cursore_->GetRecordset(key_).rowCount();
}

int ModelloLista::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : col::kColonne; }

double ModelloLista::Dovuto(int riga) const {
  return cursore_->GetRecordset(key_).field(riga, col::kImportoSegno).toDouble();
}

double ModelloLista::Pagato(int riga) const {
  if (auto it = sospese_.find(riga); it != sospese_.end()) return it->second.pagato;
  return cursore_->GetRecordset(key_).field(riga, col::kImpPagInc).toDouble();
}

std::string ModelloLista::Stato(int riga) const {
  if (auto it = sospese_.find(riga); it != sospese_.end()) return it->second.stato;
  return cursore_->GetRecordset(key_).field(riga, col::kStatoScad).toText();
}

std::string ModelloLista::Testo(int riga, int colonna) const {
  switch (colonna) {
    case col::kImportoSegno: return util::FormatNumber(Dovuto(riga), maschera_);
    case col::kImpPagInc: return util::FormatNumber(Pagato(riga), maschera_);
    case col::kPagato: {
      // Computed by the query: follows what is typed, before the row is saved too.
      const double pagato = Pagato(riga);
      return pagato == 0 ? std::string() : util::FormatNumber(Dovuto(riga) - pagato, maschera_);
    }
    case col::kStatoScad: return Stato(riga);
    default: return cursore_->GetRecordset(key_).value(riga, colonna).toText();
  }
}

QVariant ModelloLista::data(const QModelIndex& i, int ruolo) const {
  if (!i.isValid() || i.row() >= rowCount()) return {};
  const int c = i.column();
  switch (ruolo) {
    case Qt::DisplayRole: return Q(Testo(i.row(), c));
    case Qt::EditRole:
      // A full payment needs only a confirmation: the paid amount starts
      // from the due amount while nothing is paid.
      if (c == col::kImpPagInc)
        return Q(regole::TestoInizialePagato(Testo(i.row(), c), Testo(i.row(), col::kImportoSegno)));
      return Q(Testo(i.row(), c));
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::Alignment((Importo(c) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    default: return {};
  }
}

QVariant ModelloLista::headerData(int sezione, Qt::Orientation o, int ruolo) const {
  if (o != Qt::Horizontal || ruolo != Qt::DisplayRole) return {};
  if (sezione >= 0 && sezione < static_cast<int>(intestazioni_.size()))
    return Q(intestazioni_[static_cast<size_t>(sezione)]);
  return {};
}

Qt::ItemFlags ModelloLista::flags(const QModelIndex& i) const {
  if (!i.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (Modificabile(i.column())) f |= Qt::ItemIsEditable;
  return f;
}

bool ModelloLista::setData(const QModelIndex& i, const QVariant& valore, int ruolo) {
  rifiutato_ = false;
  if (!i.isValid() || ruolo != Qt::EditRole || !Modificabile(i.column())) return false;
  const int r = i.row();
  const std::string testo = valore.toString().toStdString();
  if (i.column() == regole::kColonnaPagato) {
    if (auto no = regole::RifiutoPagato(Dovuto(r), testo)) {
      rifiutato_ = true;
      ui::Avviso(ctx_.op, *no);
      return false;
    }
    const regole::Pagato p = regole::DopoPagato(testo, Dovuto(r), decimali_);
    sospese_[r] = {p.importo, p.stato};
  } else {
    const std::optional<std::string> stato = regole::StatoAccettato(testo, Pagato(r), Dovuto(r));
    if (!stato) {
      rifiutato_ = true;
      ui::Avviso(ctx_.op, regole::kChiediStato);
      return false;
    }
    sospese_[r] = {Pagato(r), *stato};
  }
  Q_EMIT dataChanged(index(r, col::kImpPagInc), index(r, col::kStatoScad));
  return true;
}

bool ModelloLista::SalvaRiga(int riga) {
  const auto it = sospese_.find(riga);
  if (it == sospese_.end() || !cursore_ || !cursore_->IsOpen(key_)) return false;
  const Sospesa s = it->second;
  sospese_.erase(it);
  cursore_->GetRecordset(key_).moveTo(riga);
  cursore_->Edit(key_);
  cursore_->SetField(key_, "ImpPagInc", util::Value(s.pagato));
  cursore_->SetField(key_, "StatoScad", util::Value(s.stato));
  cursore_->Update(key_);
  Q_EMIT dataChanged(index(riga, 0), index(riga, col::kColonne - 1));
  return true;
}

// ---------------------------------------------------------------------------

bool GrigliaLista::ChiudiModifica() {
  if (!InModifica()) return true;
  QWidget* editor = indexWidget(currentIndex());
  if (!editor) editor = qobject_cast<QWidget*>(focusWidget());
  auto* m = static_cast<ModelloLista*>(model());
  if (!editor || editor == this) return true;
  commitData(editor);
  if (m->Rifiutato()) {
    // The cell stays in edit with the value it had.
    itemDelegateForIndex(currentIndex())->setEditorData(editor, currentIndex());
    if (auto* le = qobject_cast<QLineEdit*>(editor)) le->selectAll();
    return false;
  }
  closeEditor(editor, QAbstractItemDelegate::NoHint);
  return true;
}

// ---------------------------------------------------------------------------

frmSaldaLista::frmSaldaLista(startup::Programma& p)
    : Maschera(p, "frmSaldaLista", "Elenco Scadenze", kAiutoLista, kLarghezza, kAltezza), ctx_(p.ctx) {
  modello_ = new ModelloLista(ctx_, this);
  dbgLista_ = new GrigliaLista(this);
  dbgLista_->setObjectName("dbgLista");
  dbgLista_->setProperty("GrigliaDati", true);
  dbgLista_->setModel(modello_);
  dbgLista_->setSelectionMode(QAbstractItemView::SingleSelection);
  dbgLista_->setSelectionBehavior(QAbstractItemView::SelectItems);
  dbgLista_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
  dbgLista_->verticalHeader()->setDefaultSectionSize(dbgLista_->fontMetrics().height() + 6);
  dbgLista_->verticalHeader()->setFixedWidth(14);
  Posiziona(dbgLista_, 120, 120, 13800, 4200);

  auto* frame1 = new QGroupBox(this);
  frame1->setObjectName("Frame1");
  Posiziona(frame1, 120, 4440, 8760, 1740);
  // Every control is named: the screen's scaling moves only named controls.
  const char* titoli[] = {"Importo selezionato:", "Importo residuo:", "Scadenze selezionate:"};
  for (int i = 0; i < 3; ++i) {
    auto* l = Etichetta(frame1, QString("Label1_%1").arg(i).toUtf8().constData(), titoli[i]);
    Posiziona(l, 120, 240 + i * 420, 2160, 300);
  }
  labImportoSelezionato_ = Etichetta(frame1, "LabImportoSelezionato", "", Qt::AlignRight);
  labImportoResiduo_ = Etichetta(frame1, "labImportoResiduo", "", Qt::AlignRight);
  labNumScadSel_ = Etichetta(frame1, "labNumScadSel", "", Qt::AlignRight);
  QLabel* valori[] = {labImportoSelezionato_, labImportoResiduo_, labNumScadSel_};
  for (int i = 0; i < 3; ++i) {
    valori[i]->setFrameShape(QFrame::Panel);
    valori[i]->setFrameShadow(QFrame::Sunken);
    valori[i]->setAutoFillBackground(true);
    Posiziona(valori[i], 2340, 240 + i * 420, 1680, 300);
  }
  Posiziona(Etichetta(frame1, "Label1_3", "Moneta:"), 4200, 240, 1620, 300);
  labMoneta_ = Etichetta(frame1, "labMoneta", "");
  Posiziona(labMoneta_, 5880, 240, 780, 300);
  labDesMoneta_ = Etichetta(frame1, "labDesMoneta", "");
  Posiziona(labDesMoneta_, 6720, 240, 1920, 300);
  Posiziona(Etichetta(frame1, "Label1_4", "Importo massimo:"), 4200, 660, 1620, 300);
  labImportoMax_ = Etichetta(frame1, "labImportoMax", "", Qt::AlignRight);
  labImportoMax_->setFrameShape(QFrame::Panel);
  labImportoMax_->setFrameShadow(QFrame::Sunken);
  Posiziona(labImportoMax_, 5880, 660, 1680, 300);

  comEsci_ = Pulsante(this, "ComEsci", "&Conferma");
  comVisualizza_ = Pulsante(this, "ComVisualizza", "&Visualizza");
  comAnnulla_ = Pulsante(this, "ComAnnulla", "&Annulla");
  QPushButton* pulsanti[] = {comEsci_, comVisualizza_, comAnnulla_};
  for (int i = 0; i < 3; ++i) Posiziona(pulsanti[i], 10380 + i * 1200, 5100, 1140, 420);
  setTabOrder(dbgLista_, comEsci_);
  setTabOrder(comEsci_, comVisualizza_);
  setTabOrder(comVisualizza_, comAnnulla_);

  timSel_ = new QTimer(this);
  timSel_->setObjectName("TimSel");
  timSel_->setSingleShot(true);
  timSel_->setInterval(1);
  connect(timSel_, &QTimer::timeout, this, [this] { TimSel_Timer(); });

  // Closing the window is a cancel: an unload that kept the working copy
  // would leave the operator's next run refused as interrupted.
  allaChiusura = [this](FormQt&) { ComAnnulla_Click(); };
  connect(comEsci_, &QPushButton::clicked, this, [this] { ComEsci_Click(); });
  connect(comAnnulla_, &QPushButton::clicked, this, [this] { ComAnnulla_Click(); });
  connect(comVisualizza_, &QPushButton::clicked, this, [this] { ComVisualizza_Click(); });
  connect(dbgLista_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& ora, const QModelIndex& prima) {
            if (prima.isValid() && ora.row() != prima.row()) RigaLasciata(prima.row());
            if (!ora.isValid()) return;
            // Only the paid amount and the state take the cursor.
            const int c = regole::ColonnaAmmessa(ora.column(), prima.isValid() ? prima.column() : -1);
            if (c != ora.column()) dbgLista_->setCurrentIndex(modello_->index(ora.row(), c));
          });
}

frmSaldaLista::~frmSaldaLista() { modello_->Collega(nullptr, "", maschera_, decimali_); }

void frmSaldaLista::CaricaSchermo() {
  const compensato::SelezioneRun& s = ctx_.run.selezione;
  const std::string moneta = ctx_.run.monetaRun.empty() ? s.moneta : ctx_.run.monetaRun;
  labNumScadSel_->clear();
  labMoneta_->setText(Q(moneta));
  db::DbCursor c;
  const std::string k = c.Open(ctx_.db, ctx_.conn, "",
                               "SELECT NumDec, Descrizione FROM Monete WHERE Moneta = " + util::SqlLiteral(moneta, 8),
                               false, db::kSnapshot);
  if (!c.IsEmpty(k)) {
    decimali_ = c.GetField(k, "NumDec").toInteger();
    labDesMoneta_->setText(Q(c.GetField(k, "Descrizione").toText()));
  }
  c.Close(k);
  maschera_ = util::BuildNumberMask(decimali_);
  labImportoMax_->setText(Q(util::FormatNumber(s.importoMassimo, maschera_)));
  labImportoSelezionato_->clear();
  labImportoResiduo_->clear();
}

bool frmSaldaLista::ScaricaSchermo() {
  if (oiLoadOk == 1 && cursore_.IsOpen(key_)) {
    modello_->Collega(nullptr, "", maschera_, decimali_);
    try {
      cursore_.Close(key_);
    } catch (...) {
    }
  }
  return Maschera::ScaricaSchermo();
}

bool frmSaldaLista::Imposta_Griglia() {
  cassa_ = compensato::ContoDiCassa(ctx_);
  if (cursore_.IsOpen(key_)) {
    modello_->Collega(nullptr, "", maschera_, decimali_);
    try {
      cursore_.Close(key_);
    } catch (...) {
    }
  }
  key_ = cursore_.Open(
      ctx_.db, ctx_.conn, "",
      compensato::QueryListaScadenze(ctx_.run.tabScadenzeApp, ctx_.utente, ctx_.run.selezione.ordinamento), false,
      db::kUpdatable);
  const bool clienti = ctx_.run.selezione.tipoConto == 3;
  std::vector<std::string> intestazioni(col::kColonne);
  const char* testi[] = {"P.",      "Nr.Doc.", "Dt.Doc.", clienti ? "Cliente" : "Fornitore", "Conto",
                         "Dt.Scad", "TP",      "Importo", clienti ? "Incasso" : "Pagamento", "Abb/Res",
                         "St",      "Anno",    "Nr.Prog"};
  for (size_t i = 0; i < std::size(testi); ++i) intestazioni[i] = testi[i];
  intestazioni[col::kNumProt] = "N.Prot";
  intestazioni[col::kDataProt] = "Dt.Prot";
  modello_->ImpostaIntestazioni(intestazioni);
  modello_->Collega(&cursore_, key_, maschera_, decimali_);

  const double s = odRisVidVal > 0 ? odRisVidVal : 1;
  const double tx = ui::TwipsPerPixelX(this);
  // The designed widths, but never narrower than the caption or the first
  // rows' text: the scaling enlarges the font while some widths stay as
  // designed, and a cut date or amount cannot be read.
  const QFontMetrics fm(dbgLista_->font());
  const QFontMetrics fmTitolo(dbgLista_->horizontalHeader()->font());
  const int righe = std::min(cursore_.RecordCount(key_), 50);
  for (const Colonna& c : kColonne) {
    int px = static_cast<int>((c.scala ? c.larghezza * s : c.larghezza) / tx + 0.5);
    int serve = fmTitolo.horizontalAdvance(Q(intestazioni[static_cast<size_t>(c.posizione)])) + 12;
    for (int r = 0; r < righe; ++r)
      serve = std::max(serve, fm.horizontalAdvance(Q(modello_->Testo(r, c.posizione))) + 10);
    dbgLista_->setColumnWidth(c.posizione, std::max(px, serve));
  }
  for (int c = col::kAnno; c <= col::kPreProt; ++c) dbgLista_->setColumnHidden(c, true);

  if (cursore_.IsEmpty(key_)) {
    ui::Avviso(ctx_.op, kListaVuota);
    ctx_.run.esitoLista = 1000;
    Chiudi();
    return false;
  }
  dbgLista_->setCurrentIndex(modello_->index(0, regole::kColonnaPagato));
  dbgLista_->setFocus(Qt::OtherFocusReason);
  return true;
}

void frmSaldaLista::RigaLasciata(int riga) {
  try {
    if (modello_->SalvaRiga(riga)) CalcolaResiduo();
  } catch (const util::RuntimeError& e) {
    ui::MsgErrfrm(ctx_.op, e);
  }
}

void frmSaldaLista::CalcolaResiduo() {
  totali_ = compensato::CalcolaResiduo(ctx_, labImportoMax_->text().toStdString(), maschera_, decimali_, cassa_);
  labNumScadSel_->setText(Q(totali_.testoNumero));
  labImportoSelezionato_->setText(Q(totali_.testoSelezionato));
  labImportoResiduo_->setText(Q(totali_.testoResiduo));
  QPalette pal = labImportoResiduo_->palette();
  pal.setColor(QPalette::Window, totali_.rosso
                                     ? Colore(ctx_.azienda.coloreErrore)
                                     : labImportoResiduo_->style()->standardPalette().color(QPalette::Button));
  labImportoResiduo_->setPalette(pal);
}

bool frmSaldaLista::TastoGiu(int& tasto, int shift) {
  if (tasto != ui::kTastoInvio || shift != 0) return false;
  bool nellaGriglia = false;
  for (QWidget* w = focusWidget(); w && w != this; w = w->parentWidget())
    if (w == dbgLista_) nellaGriglia = true;
  if (!nellaGriglia) return false;
  const QModelIndex qui = dbgLista_->currentIndex();
  if (!qui.isValid()) return true;
  if (dbgLista_->InModifica()) {
    if (!dbgLista_->ChiudiModifica()) return true;
    const int verso = qui.column() == regole::kColonnaPagato ? regole::kColonnaStato : regole::kColonnaPagato;
    dbgLista_->setCurrentIndex(modello_->index(qui.row(), verso));
    return true;
  }
  // The edit starts once this key has been handled, or the key would reach
  // the editor it opens.
  colonnaRicordata_ = qui.column();
  timSel_->start();
  return true;
}

void frmSaldaLista::TimSel_Timer() {
  timSel_->stop();
  const QModelIndex qui = dbgLista_->currentIndex();
  if (!qui.isValid()) return;
  // The remembered column is made current again, so the jump rule applies
  // even when the grid already stands on it.
  int c = colonnaRicordata_;
  if (c != regole::kColonnaPagato && c != regole::kColonnaStato) c = regole::ColonnaAmmessa(c, c);
  dbgLista_->setCurrentIndex(modello_->index(qui.row(), c));
  // The paid column's editor starts from the due amount while it is empty.
  dbgLista_->edit(dbgLista_->currentIndex());
}

void frmSaldaLista::ComEsci_Click() {
  if (!dbgLista_->ChiudiModifica()) return;
  const QModelIndex qui = dbgLista_->currentIndex();
  if (qui.isValid()) RigaLasciata(qui.row());
  if (!compensato::ConfermaLista(ctx_, totali_.rosso)) {
    dbgLista_->setFocus(Qt::OtherFocusReason);
    return;
  }
  confermata_ = true;
  hide();
  compensato::InizioElab(ctx_, cursore_, key_);
  Chiudi();
}

void frmSaldaLista::ComAnnulla_Click() {
  if (compensato::AnnullaLista(ctx_)) Chiudi();
}

// Unloading deletes the screen: not from inside the click of one of its own
// buttons, which is still on the stack.
void frmSaldaLista::Chiudi() {
  QMetaObject::invokeMethod(
      this, [this] { p_.Scarica(this); }, Qt::QueuedConnection);
}

// ---------------------------------------------------------------------------

void ListaLavoroQt::Prepara(compensato::Contesto& ctx) {
  form_ = static_cast<frmSaldaLista*>(p_.Carica(std::make_unique<frmSaldaLista>(p_)));
  if (!form_) return;
  QPointer<frmSaldaLista> vivo(form_);
  if (!form_->Imposta_Griglia() && vivo) {
    p_.Scarica(form_);
    form_ = nullptr;
  }
  if (ctx.run.esitoLista == 1000) form_ = nullptr;
}

void ListaLavoroQt::Mostra(compensato::Contesto&) {
  if (!form_) return;
  QPointer<frmSaldaLista> vivo(form_);
  form_ = nullptr;
  vivo->EseguiModale();
  // Closed by the window system, or hidden for the run: what is still
  // loaded goes now, before the run start releases what is left.
  if (vivo) p_.Scarica(vivo.data());
}

// The card of the current row's installment; nothing without a current row.
void frmSaldaLista::ComVisualizza_Click() {
  const QModelIndex qui = dbgLista_->currentIndex();
  if (!qui.isValid() || key_.empty()) return;
  const db::Recordset& rs = cursore_.GetRecordset(key_);
  if (qui.row() < 0 || qui.row() >= rs.rowCount()) return;
  MostraSchedaScadenza(p_, rs.field(qui.row(), col::kAnno), rs.field(qui.row(), col::kNumProg));
}

}  // namespace worklist
