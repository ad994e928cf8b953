#include "src/recovery/qt/FrmRipriSal.h"

#include <QHeaderView>

#include "components/util/Error.h"
#include "src/startup/Programma.h"
#include "src/ui/Errori.h"
#include "src/ui/qt/AdattaQt.h"

namespace recovery {
namespace {

constexpr int kLarghezza = 10800, kAltezza = 4320;

QPushButton* Pulsante(QWidget* padre, const char* nome, const char* testo) {
  auto* b = new QPushButton(QString::fromUtf8(testo), padre);
  b->setObjectName(nome);
  return b;
}

}  // namespace

frmRipriSal::frmRipriSal(startup::Programma& p)
    : Maschera(p, "frmRipriSal", "Ripristino da interruzioni in elaborazione Compensato", kAiutoRipristino, kLarghezza,
               kAltezza) {
  griLock_ = new QTableWidget(this);
  griLock_->setObjectName("griLock");
  griLock_->setSelectionBehavior(QAbstractItemView::SelectRows);
  griLock_->setSelectionMode(QAbstractItemView::SingleSelection);
  griLock_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  griLock_->verticalHeader()->hide();
  Posiziona(griLock_, 120, 120, 10560, 2820);

  labNessuno_ = new QLabel(QString::fromUtf8(compensato::kNessunaInterruzione), this);
  labNessuno_->setObjectName("LabNessuno");
  labNessuno_->setAlignment(Qt::AlignCenter);
  Posiziona(labNessuno_, 120, 1200, 10560, 300);

  const char* avvisi[2] = {compensato::kAvvisoInUso, compensato::kAvvisoDanni};
  for (int i = 0; i < 2; ++i) {
    label1_[i] = new QLabel(QString::fromUtf8(avvisi[i]), this);
    label1_[i]->setObjectName(QString("Label1_%1").arg(i));
    QFont f = label1_[i]->font();
    f.setBold(true);
    label1_[i]->setFont(f);
    label1_[i]->setStyleSheet("color: #B00000");
    Posiziona(label1_[i], 120, 3060 + i * 300, 7800, 285);
  }

  comOk_ = Pulsante(this, "comOk", "&Elabora Scadenze");
  Posiziona(comOk_, 6840, 3720, 1860, 420);
  comAnnulla_[0] = Pulsante(this, "ComAnnulla_0", "&Annulla");
  Posiziona(comAnnulla_[0], 8820, 3720, 1860, 420);
  comAnnulla_[1] = Pulsante(this, "ComAnnulla_1", "&Annulla");
  Posiziona(comAnnulla_[1], 4470, 1800, 1860, 420);

  // Tab order: the grid, the recovery, then the way out.
  setTabOrder(griLock_, comOk_);
  setTabOrder(comOk_, comAnnulla_[0]);

  connect(comOk_, &QPushButton::clicked, this, [this] { comOk_Click(); });
  connect(griLock_, &QTableWidget::cellDoubleClicked, this, [this](int, int) { comOk_Click(); });
  for (QPushButton* b : comAnnulla_) connect(b, &QPushButton::clicked, this, [this] { Chiudi(); });
}

// Unloading deletes the window: not from inside the click of one of its
// own buttons, which is still on the stack.
void frmRipriSal::Chiudi() {
  QMetaObject::invokeMethod(
      this, [this] { p_.Scarica(this); }, Qt::QueuedConnection);
}

void frmRipriSal::CaricaSchermo() {
  p_.ctx.run.tabScadenze = "Scadenze";
  p_.ctx.run.tabScadenzeApp = "ScadenzeApp";
  modello_.Carica(p_.ctx, odRisVidVal);
  Mostra();
}

void frmRipriSal::Mostra() {
  const bool vuota = modello_.Vuota();
  griLock_->setVisible(!vuota);
  comOk_->setVisible(!vuota);
  for (QLabel* l : label1_) l->setVisible(!vuota);
  comAnnulla_[0]->setVisible(!vuota);
  comAnnulla_[1]->setVisible(vuota);
  labNessuno_->setVisible(vuota);
  if (vuota) return;

  const auto& colonne = modello_.Colonne();
  griLock_->setColumnCount(static_cast<int>(colonne.size()));
  const double tx = ui::TwipsPerPixelX(this);
  for (size_t c = 0; c < colonne.size(); ++c) {
    griLock_->setHorizontalHeaderItem(static_cast<int>(c),
                                      new QTableWidgetItem(QString::fromUtf8(colonne[c].intestazione)));
    griLock_->setColumnWidth(static_cast<int>(c), static_cast<int>(colonne[c].larghezza / tx + 0.5));
  }
  // One twip wide: there for the recovery to read, not for the eye.
  griLock_->setColumnHidden(2, true);
  const auto& righe = modello_.Righe();
  griLock_->setRowCount(static_cast<int>(righe.size()));
  for (size_t r = 0; r < righe.size(); ++r) {
    const std::string celle[3] = {righe[r].utente, righe[r].testo, righe[r].flag};
    for (int c = 0; c < 3; ++c) {
      auto* item = new QTableWidgetItem(QString::fromUtf8(celle[c]));
      if (righe[r].inUso) item->setForeground(QColor(0x80, 0x80, 0x80));
      griLock_->setItem(static_cast<int>(r), c, item);
    }
  }
  griLock_->setCurrentCell(modello_.corrente, 0);
}

void frmRipriSal::comOk_Click() {
  if (modello_.Vuota()) return;
  modello_.corrente = std::max(0, griLock_->currentRow());
  try {
    switch (modello_.Elabora(p_.ctx)) {
      case compensato::FinestraRipristino::Dopo::Chiudi: Chiudi(); return;
      case compensato::FinestraRipristino::Dopo::TogliRiga:
        griLock_->removeRow(modello_.corrente);
        if (modello_.corrente >= griLock_->rowCount()) modello_.corrente = griLock_->rowCount() - 1;
        griLock_->setCurrentCell(modello_.corrente, 0);
        return;
      case compensato::FinestraRipristino::Dopo::Resta: return;
    }
  } catch (const std::exception& e) {
    ui::MsgErrfrm(p_.ctx.op, util::AsRuntimeError(e));
  }
}

void frmRipriSal::PassaA() { p_.ctx.host.RegisterWindow("Gestione Compensati Interrotti", "frmRipriSal", osKeySec); }

}  // namespace recovery
