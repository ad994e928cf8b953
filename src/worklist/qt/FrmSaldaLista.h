#pragma once

#include <QAbstractTableModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <map>
#include <optional>

#include "components/db/DbCursor.h"
#include "src/startup/qt/Maschera.h"
#include "src/worklist/ListaLavoro.h"
#include "src/worklist/TotaliLista.h"

namespace worklist {

inline constexpr int32_t kAiutoLista = 50000;
inline constexpr const char* kListaVuota = "Non ci sono scadenze che rientrano nelle selezioni";

// The worklist's rows as the grid shows them, over the updatable result set
// of the worklist query. What the operator types stays with its row until the
// grid leaves the row; then it goes to the working copy through the cursor.
class ModelloLista final : public QAbstractTableModel {
  Q_OBJECT
 public:
  ModelloLista(compensato::Contesto& ctx, QObject* padre) : QAbstractTableModel(padre), ctx_(ctx) {}

  // Binds the model to the cursor's result set `key` (or to nothing).
  void Collega(db::DbCursor* cursore, const std::string& key, std::string maschera, int decimali);

  int rowCount(const QModelIndex& = {}) const override;
  int columnCount(const QModelIndex& = {}) const override;
  QVariant data(const QModelIndex& i, int ruolo) const override;
  QVariant headerData(int sezione, Qt::Orientation o, int ruolo) const override;
  Qt::ItemFlags flags(const QModelIndex& i) const override;
  // A refused value shows its message and leaves the cell as it was.
  bool setData(const QModelIndex& i, const QVariant& valore, int ruolo) override;

  void ImpostaIntestazioni(std::vector<std::string> intestazioni) { intestazioni_ = std::move(intestazioni); }
  // Writes the row's pending values to the working copy; true when it wrote.
  bool SalvaRiga(int riga);
  bool InSospeso(int riga) const { return sospese_.count(riga) != 0; }
  // Whether the last setData refused what was typed.
  bool Rifiutato() const { return rifiutato_; }
  // The cell's text as the grid shows it.
  std::string Testo(int riga, int colonna) const;

 private:
  struct Sospesa {
    double pagato = 0;
    std::string stato;
  };
  double Pagato(int riga) const;
  std::string Stato(int riga) const;
  double Dovuto(int riga) const;

  compensato::Contesto& ctx_;
  db::DbCursor* cursore_ = nullptr;
  std::string key_, maschera_;
  int decimali_ = 2;
  std::vector<std::string> intestazioni_;
  std::map<int, Sospesa> sospese_;
  bool rifiutato_ = false;
};

// The grid: it lets the screen finish or keep an edit the way Enter asks.
class GrigliaLista final : public QTableView {
  Q_OBJECT
 public:
  using QTableView::QTableView;
  bool InModifica() const { return state() == QAbstractItemView::EditingState; }
  // Stores the open edit; true when it was taken (the editor closes), false
  // when refused (the editor stays open with the old value).
  bool ChiudiModifica();
};

// The worklist screen of an interactive run.
class frmSaldaLista final : public startup::Maschera {
  Q_OBJECT
 public:
  explicit frmSaldaLista(startup::Programma& p);
  ~frmSaldaLista() override;

  void CaricaSchermo() override;
  bool ScaricaSchermo() override;
  bool TastoGiu(int& tasto, int shift) override;

  // Opens the worklist over the working copy. False when there is nothing to
  // show: the operator is told, the outcome becomes 1000 and the screen unloads.
  bool Imposta_Griglia();

  void ComEsci_Click();
  void ComAnnulla_Click();
  // After the run the screen unloads itself, later: Mostra waits for that.
  bool Confermata() const { return confermata_; }

  const compensato::TotaliLista& Totali() const { return totali_; }

 private:
  void CalcolaResiduo();
  void RigaLasciata(int riga);
  void Chiudi();
  void TimSel_Timer();

  compensato::Contesto& ctx_;
  db::DbCursor cursore_;
  std::string key_;
  std::string maschera_ = "#,###.^^";
  int decimali_ = 2;
  bool cassa_ = false;
  bool confermata_ = false;
  int colonnaRicordata_ = 8;
  compensato::TotaliLista totali_;

  ModelloLista* modello_;
  GrigliaLista* dbgLista_;
  QPushButton *comAnnulla_, *comVisualizza_, *comEsci_;
  void ComVisualizza_Click();
  QLabel *labImportoSelezionato_, *labImportoResiduo_, *labNumScadSel_, *labMoneta_, *labDesMoneta_, *labImportoMax_;
  QTimer* timSel_;
};

// The worklist the run start shows: loaded over the working copy, shown
// modally until the operator confirms (and the run ends) or cancels.
class ListaLavoroQt final : public compensato::ListaLavoro {
 public:
  explicit ListaLavoroQt(startup::Programma& p) : p_(p) {}
  void Prepara(compensato::Contesto& ctx) override;
  void Mostra(compensato::Contesto& ctx) override;

 private:
  startup::Programma& p_;
  frmSaldaLista* form_ = nullptr;
};

}  // namespace worklist
