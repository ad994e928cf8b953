#include "components/lookup/qt/FrmRicerca.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

#include "components/lookup/Eventi.h"
#include "components/lookup/qt/CampiQt.h"
#include "components/util/ScreenFactor.h"

namespace lookup {
namespace {

constexpr int kRigheVisibili = 15;

QString Q(const std::string& s) { return QString::fromStdString(s); }

QString NomeCriterio(const Criterio& c, const Ricerca& r) {
  switch (c.chiave) {
    case Chiave::Codice: return QStringLiteral("Cerca per codice (F2)");
    case Chiave::Descrizione: return QStringLiteral("Cerca per descrizione (F3)");
    case Chiave::Colonna:
      for (const Colonna& col : r.Colonne())
        if (col.campo == c.colonna) return QStringLiteral("Cerca per ") + Q(col.titolo).toLower();
      if (c.colonna == "PartitaIva") return QStringLiteral("Cerca per partita IVA");
      if (c.colonna == "CodFiscale") return QStringLiteral("Cerca per codice fiscale");
      return QStringLiteral("Cerca per ") + Q(c.colonna);
  }
  return {};
}

bool Uguali(const Criterio& a, const Criterio& b) { return a.chiave == b.chiave && a.colonna == b.colonna; }

}  // namespace

FrmRicerca::FrmRicerca(QWidget* parent, Ricerca& ricerca, const RichiestaFinestra& richiesta,
                       const FinestraQt& impostazioni)
    : QDialog(parent), ricerca_(ricerca), richiesta_(richiesta), imp_(impostazioni), criterio_(richiesta.criterio) {
  setObjectName("frmRicerca");
  setWindowTitle(Q(richiesta.didascalia));
  setModal(true);

  lblChiave_ = new QLabel(this);
  lblChiave_->setObjectName("lblChiave");
  txtCerca_ = new QLineEdit(this);
  txtCerca_->setObjectName("txtCerca");
  txtCerca_->setText(Q(richiesta.testo));
  modello_ = new ModelloRighe(ricerca_, this);
  griglia_ = new QTableView(this);
  griglia_->setObjectName("griRighe");
  griglia_->setModel(modello_);
  griglia_->setSelectionBehavior(QAbstractItemView::SelectRows);
  griglia_->setSelectionMode(QAbstractItemView::SingleSelection);
  griglia_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  griglia_->setFocusPolicy(Qt::NoFocus);
  griglia_->verticalHeader()->hide();
  griglia_->horizontalHeader()->setStretchLastSection(true);
  griglia_->setWordWrap(false);
  lblConta_ = new QLabel(this);
  lblConta_->setObjectName("lblConta");

  auto pulsante = [this](const char* nome, const QString& testo) {
    auto* b = new QPushButton(testo, this);
    b->setObjectName(nome);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoDefault(false);
    return b;
  };
  QPushButton* scegli = pulsante("cmdScegli", QStringLiteral("&Scegli"));
  QPushButton* aggiorna = pulsante("cmdAggiorna", QStringLiteral("A&ggiorna (F5)"));
  QPushButton* gestione = pulsante("cmdGestione", QStringLiteral("&Gestione (F6)"));
  QPushButton* annulla = pulsante("cmdAnnulla", QStringLiteral("&Annulla"));
  connect(scegli, &QPushButton::clicked, this, [this] { Scegli(); });
  connect(aggiorna, &QPushButton::clicked, this, [this] { Aggiorna(); });
  connect(gestione, &QPushButton::clicked, this, [this] { Gestione(); });
  connect(annulla, &QPushButton::clicked, this, [this] { reject(); });
  connect(griglia_, &QTableView::doubleClicked, this, [this] { Scegli(); });
  connect(txtCerca_, &QLineEdit::textEdited, this, [this] { Cerca(); });

  auto* alto = new QHBoxLayout;
  alto->addWidget(lblChiave_);
  alto->addWidget(txtCerca_, 1);
  auto* basso = new QHBoxLayout;
  basso->addWidget(lblConta_, 1);
  basso->addWidget(scegli);
  basso->addWidget(aggiorna);
  basso->addWidget(gestione);
  basso->addWidget(annulla);
  auto* l = new QVBoxLayout(this);
  l->addLayout(alto);
  l->addWidget(griglia_, 1);
  l->addLayout(basso);

  txtCerca_->installEventFilter(this);
  MostraCriterio();
  modello_->Ricaricato();
  Muovi(0, true);
  Dimensiona();
  txtCerca_->setFocus(Qt::OtherFocusReason);
}

void FrmRicerca::Dimensiona() {
  // Columns are designed in twips, like the screens, and scaled with the
  // window's own factor.
  double fattore = imp_.odRisVid;
  if (fattore == 0) {
    const QScreen* s = screen() ? screen() : QApplication::primaryScreen();
    fattore = s ? util::AutomaticScreenFactor(s->geometry().width(), s->geometry().height()) : 1;
  }
  if (fattore <= 0) fattore = 1;
  const double pxPerTwip = logicalDpiX() / 1440.0 * fattore;
  int larghezza = 0;
  const auto& colonne = ricerca_.Colonne();
  for (size_t i = 0; i < colonne.size(); ++i) {
    const int w = static_cast<int>(colonne[i].larghezza * pxPerTwip + 0.5);
    griglia_->setColumnWidth(static_cast<int>(i), w);
    larghezza += w;
  }
  if (fattore != 1.0) {
    QFont f = font();
    f.setPointSizeF(f.pointSizeF() * fattore);
    setFont(f);
  }
  // Every column and every row of a page in sight, without a horizontal scroll bar.
  const int altezzaRiga = griglia_->fontMetrics().height() + 8;
  griglia_->verticalHeader()->setDefaultSectionSize(altezzaRiga);
  griglia_->setMinimumWidth(larghezza + griglia_->verticalScrollBar()->sizeHint().width() + 2 * griglia_->frameWidth());
  griglia_->setMinimumHeight(altezzaRiga * kRigheVisibili + griglia_->horizontalHeader()->sizeHint().height() +
                             2 * griglia_->frameWidth());
  resize(sizeHint());

  // Under the field when there is one, kept inside the screen less the margins.
  QScreen* schermo = screen() ? screen() : QApplication::primaryScreen();
  if (!schermo) return;
  const double pxMargine = logicalDpiX() / 1440.0;
  QRect area = schermo->availableGeometry().adjusted(
      static_cast<int>(richiesta_.margini[2] * pxMargine), static_cast<int>(richiesta_.margini[0] * pxMargine),
      -static_cast<int>(richiesta_.margini[3] * pxMargine), -static_cast<int>(richiesta_.margini[1] * pxMargine));
  QPoint pos = area.center() - QPoint(width() / 2, height() / 2);
  if (auto* c = dynamic_cast<CampoLineEdit*>(richiesta_.campo); c && c->Widget() && c->Widget()->isVisible())
    pos = c->Widget()->mapToGlobal(QPoint(0, c->Widget()->height()));
  pos.setX(std::clamp(pos.x(), area.left(), std::max(area.left(), area.right() - width())));
  pos.setY(std::clamp(pos.y(), area.top(), std::max(area.top(), area.bottom() - height())));
  move(pos);
}

void FrmRicerca::MostraCriterio() { lblChiave_->setText(NomeCriterio(criterio_, ricerca_)); }

void FrmRicerca::Cerca() {
  try {
    ricerca_.Cerca(criterio_, txtCerca_->text().trimmed().toStdString());
  } catch (...) {
    errore_ = std::current_exception();
    reject();
    return;
  }
  modello_->Ricaricato();
  Muovi(0, true);
}

void FrmRicerca::Aggiorna() { Cerca(); }

void FrmRicerca::Gestione() {
  if (!richiesta_.eventi) return;
  richiesta_.eventi->LanciaKeyPrim(ricerca_.Definizione().tipo.kind);
  const QModelIndex i = griglia_->currentIndex();
  richiesta_.eventi->LanciaKeySec(i.isValid() ? ricerca_.Righe().at(static_cast<size_t>(i.row())).codice : "");
  richiesta_.eventi->ClsMainMenuFrm();
}

void FrmRicerca::CambiaCriterio(const Criterio& c) {
  if (Uguali(c, criterio_)) return;
  criterio_ = c;
  MostraCriterio();
  Cerca();
}

int FrmRicerca::Pagina() const {
  if (imp_.obLockSpostaCurs && imp_.oiSpostaCurs > 0) return imp_.oiSpostaCurs;
  const int altezza = griglia_->verticalHeader()->defaultSectionSize();
  return std::max(1, altezza > 0 ? griglia_->viewport()->height() / altezza - 1 : kRigheVisibili - 1);
}

void FrmRicerca::Muovi(int righe, bool assoluta) {
  const int n = modello_->rowCount();
  const int64_t colore = n > 0 ? richiesta_.coloreOk : richiesta_.coloreErrore;
  ImpostaSfondoDi(txtCerca_, colore);
  lblConta_->setText(n == 0   ? QStringLiteral("Nessuna riga trovata")
                     : n == 1 ? QStringLiteral("1 riga")
                              : QLocale(QLocale::Italian).toString(n) + QStringLiteral(" righe"));
  if (n == 0) return;
  const int attuale = griglia_->currentIndex().isValid() ? griglia_->currentIndex().row() : 0;
  const int nuova = std::clamp(assoluta ? righe : attuale + righe, 0, n - 1);
  const QModelIndex i = modello_->index(nuova, 0);
  griglia_->setCurrentIndex(i);
  griglia_->selectRow(nuova);
  griglia_->scrollTo(i);
}

void FrmRicerca::Scegli() {
  const QModelIndex i = griglia_->currentIndex();
  if (!i.isValid() || i.row() >= modello_->rowCount()) return;
  scelta_ = ricerca_.Righe().at(static_cast<size_t>(i.row()));
  accept();
}

bool FrmRicerca::eventFilter(QObject* o, QEvent* e) {
  if (o != txtCerca_ || e->type() != QEvent::KeyPress) return QDialog::eventFilter(o, e);
  auto* k = static_cast<QKeyEvent*>(e);
  const bool ctrl = k->modifiers() & Qt::ControlModifier;
  switch (k->key()) {
    case Qt::Key_Up: Muovi(-1); return true;
    case Qt::Key_Down: Muovi(1); return true;
    case Qt::Key_PageUp: Muovi(-Pagina()); return true;
    case Qt::Key_PageDown: Muovi(Pagina()); return true;
    case Qt::Key_Home:
      if (!ctrl) break;
      Muovi(0, true);
      return true;
    case Qt::Key_End:
      if (!ctrl) break;
      Muovi(modello_->rowCount() - 1, true);
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: Scegli(); return true;
    case Qt::Key_Escape: reject(); return true;
    case Qt::Key_F2: CambiaCriterio(richiesta_.criterioF2); return true;
    case Qt::Key_F3: CambiaCriterio(richiesta_.criterioF3); return true;
    case Qt::Key_F5: Aggiorna(); return true;
    case Qt::Key_F6: Gestione(); return true;
    default: break;
  }
  return QDialog::eventFilter(o, e);
}

void FinestraQt::HideFrm() {
  if (aperta_) aperta_->hide();
}

void FinestraQt::PortaDavanti() {
  if (aperta_ && aperta_->isVisible()) {
    aperta_->raise();
    aperta_->activateWindow();
  }
}

void FinestraQt::ButtonComando(const std::string& comando) {
  if (!aperta_) return;
  if (comando == "Aggiorna") aperta_->Aggiorna();
  if (comando == "Gestione") aperta_->Gestione();
}

std::optional<Riga> FinestraQt::Mostra(Ricerca& ricerca, const RichiestaFinestra& richiesta) {
  QWidget* parent = nullptr;
  if (auto* p = dynamic_cast<ProprietarioQt*>(richiesta.form)) parent = p->Widget();
  if (!parent)
    if (auto* c = dynamic_cast<CampoLineEdit*>(richiesta.campo); c && c->Widget()) parent = c->Widget()->window();
  QPointer<FrmRicerca> f = new FrmRicerca(parent, ricerca, richiesta, *this);
  aperta_ = f;
  const int esito = f->exec();
  // The screen under the window may have gone meanwhile, and the window with it.
  if (!f) return std::nullopt;
  std::optional<Riga> scelta = esito == QDialog::Accepted ? f->Scelta() : std::nullopt;
  const std::exception_ptr errore = f->Errore();
  delete f.data();
  if (errore) std::rethrow_exception(errore);
  return scelta;
}

}  // namespace lookup
