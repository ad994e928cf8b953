#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <exception>
#include <optional>

#include "components/lookup/Finestra.h"
#include "components/lookup/qt/ModelloRighe.h"

namespace lookup {

class FinestraQt;

// The lookup window: a search box over the rows of a kind's table. The
// keyboard never leaves the search box: what is typed narrows the list,
// the movement keys move the current row (see Lookdex for every key).
// Controls: txtCerca, lblChiave, griRighe, lblConta, cmdScegli,
// cmdAggiorna, cmdGestione, cmdAnnulla.
class FrmRicerca final : public QDialog {
  Q_OBJECT
 public:
  FrmRicerca(QWidget* parent, Ricerca& ricerca, const RichiestaFinestra& richiesta, const FinestraQt& impostazioni);

  // The row chosen, after exec() returned Accepted.
  std::optional<Riga> Scelta() const { return scelta_; }
  // A failure of a search, kept to be raised once the window is closed.
  std::exception_ptr Errore() const { return errore_; }
  void Aggiorna();
  void Gestione();

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void Cerca();
  void Muovi(int righe, bool assoluta = false);
  void Scegli();
  void CambiaCriterio(const Criterio& c);
  void MostraCriterio();
  int Pagina() const;
  void Dimensiona();

  Ricerca& ricerca_;
  RichiestaFinestra richiesta_;
  const FinestraQt& imp_;
  Criterio criterio_;
  ModelloRighe* modello_;
  QLineEdit* txtCerca_;
  QLabel* lblChiave_;
  QTableView* griglia_;
  QLabel* lblConta_;
  std::optional<Riga> scelta_;
  std::exception_ptr errore_;
};

// The window object the component hands out: its settings live here, and
// each opening makes a new FrmRicerca over the active screen.
class FinestraQt final : public FinestraAiuto {
 public:
  bool Visibile() const override { return aperta_ && aperta_->isVisible(); }
  void HideFrm() override;
  void PortaDavanti() override;
  void ButtonComando(const std::string& comando) override;
  std::optional<Riga> Mostra(Ricerca& ricerca, const RichiestaFinestra& richiesta) override;

  // The window open now, or nullptr (tests drive it).
  FrmRicerca* Aperta() const { return aperta_; }

 private:
  QPointer<FrmRicerca> aperta_;
};

}  // namespace lookup
