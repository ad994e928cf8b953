// The worklist screen on real widgets, offscreen, over a small company:
// typing in the grid, the totals following the saved rows, and the two ways
// out, on every engine.
#include "src/worklist/qt/FrmSaldaLista.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "src/startup/Programma.h"
#include "src/worklist/QueryLista.h"
#include "tests/src/settlement/AziendaProva.h"
#include "tests/src/startup/FakePiattaforma.h"
#include "tests/support/AppQt.h"

namespace {

using testsupport::AziendaProva;
namespace col = compensato::lista;

class ListaQt : public ::testing::TestWithParam<testsupport::Engine> {
 protected:
  ListaQt() { testsupport::AppQt(); }

  AziendaProva az{GetParam()};
  testsupport::FakePiattaforma pf;
  startup::Programma p{az.ctx(), pf};
  compensato::Contesto& ctx = az.ctx();

  // Two customer invoices of 100 and a customer credit note of 100.
  void Scadenze() {
    az.Inserisci({.numProg = 1, .importo = 100});
    az.Inserisci({.numProg = 2, .conto = "000002", .importo = 100});
    az.Inserisci({.numProg = 3, .conto = "000003", .entrataUscita = "U", .importo = 100});
  }
  // The working copy as the run start leaves it for the worklist.
  void Copia(double massimo = 1e9) { az.PreparaLista(3, massimo); }
  worklist::frmSaldaLista& Apri() {
    auto* f = static_cast<worklist::frmSaldaLista*>(p.Carica(std::make_unique<worklist::frmSaldaLista>(p)));
    f->show();
    f->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(f));
    EXPECT_TRUE(f->Imposta_Griglia());
    return *f;
  }
  static worklist::GrigliaLista& Griglia(QWidget& f) { return *f.findChild<worklist::GrigliaLista*>("dbgLista"); }
  static std::string Testo(QWidget& f, const char* etichetta) {
    return f.findChild<QLabel*>(etichetta)->text().toStdString();
  }
  static int Riga(QWidget& f, int numProg) {
    auto* m = Griglia(f).model();
    for (int r = 0; r < m->rowCount(); ++r)
      if (m->index(r, col::kNumProg).data().toString() == QString::number(numProg)) return r;
    return -1;
  }
  static std::string Cella(QWidget& f, int riga, int colonna) {
    return Griglia(f).model()->index(riga, colonna).data().toString().toStdString();
  }
  static QLineEdit* Editor(QWidget& f) {
    for (auto* e : Griglia(f).findChildren<QLineEdit*>())
      if (e->isVisible()) return e;
    return nullptr;
  }
  // Enter on a cell while not editing: the edit opens once the key is over.
  static QLineEdit* Entra(QWidget& f, int riga, int colonna) {
    auto& g = Griglia(f);
    g.setFocus();
    g.selectionModel()->setCurrentIndex(g.model()->index(riga, colonna), QItemSelectionModel::NoUpdate);
    QTest::keyClick(&g, Qt::Key_Return);
    QLineEdit* e = nullptr;
    for (int i = 0; i < 50 && !(e = Editor(f)); ++i) QTest::qWait(5);
    return e;
  }
  // Types over the cell's editor and presses Enter.
  static void Digita(QWidget& f, int riga, int colonna, const char* testo) {
    QLineEdit* e = Entra(f, riga, colonna);
    ASSERT_NE(e, nullptr) << "no editor on " << riga << "," << colonna;
    e->selectAll();
    QTest::keyClicks(e, testo);
    QTest::keyClick(e, Qt::Key_Return);
  }
  // Leaves the row for another, as the operator's arrow would.
  static void Lascia(QWidget& f, int versoRiga) {
    auto& g = Griglia(f);
    g.setCurrentIndex(g.model()->index(versoRiga, col::kImpPagInc));
  }
  std::string Salvata(int numProg) {
    const auto righe =
        az.Righe("SELECT ImpPagInc, StatoScad FROM ScadenzeApp WHERE NumProg = " + std::to_string(numProg));
    return righe.empty() ? "(none)" : righe[0];
  }
};

TEST_P(ListaQt, IntestazioniLarghezzeEFormati) {
  Scadenze();
  Copia(250);
  auto& f = Apri();
  auto& g = Griglia(f);
  EXPECT_EQ(f.windowTitle().toStdString().rfind("Elenco Scadenze", 0), 0u);
  const std::pair<int, const char*> intestazioni[] = {{3, "Cliente"}, {7, "Importo"}, {8, "Incasso"},
                                                      {9, "Abb/Res"}, {10, "St"},     {20, "N.Prot"}};
  for (const auto& [c, t] : intestazioni)
    EXPECT_EQ(g.model()->headerData(c, Qt::Horizontal).toString().toStdString(), t) << c;
  for (int c = col::kAnno; c <= col::kPreProt; ++c) EXPECT_TRUE(g.isColumnHidden(c)) << c;
  EXPECT_FALSE(g.isColumnHidden(col::kNumProt));
  EXPECT_GT(g.columnWidth(col::kDescrizione), g.columnWidth(col::kImportoSegno));
  const int nota = Riga(f, 3);
  EXPECT_EQ(Cella(f, nota, col::kImportoSegno), "-100,00") << "a credit note is shown negative";
  EXPECT_EQ(Cella(f, nota, col::kPagato), "") << "nothing paid yet";
  EXPECT_EQ(Testo(f, "labImportoMax"), "250,00");
  EXPECT_EQ(Testo(f, "labMoneta"), "Euro");
  EXPECT_TRUE(f.findChild<QPushButton*>("ComVisualizza")->isEnabled());
  // The cursor stands only on the paid amount and the state.
  ASSERT_EQ(g.currentIndex().column(), col::kImpPagInc);
  g.setCurrentIndex(g.model()->index(0, col::kDataScad));
  EXPECT_EQ(g.currentIndex().column(), col::kStatoScad) << "coming from the paid amount";
  g.setCurrentIndex(g.model()->index(0, col::kPagato));
  EXPECT_EQ(g.currentIndex().column(), col::kImpPagInc) << "coming from anywhere else";
}

// What the operator types, what the grid keeps and what it refuses.
TEST_P(ListaQt, DigitazioneNellaGriglia) {
  Scadenze();
  Copia();
  auto& f = Apri();
  auto& g = Griglia(f);
  const int fattura = Riga(f, 1), nota = Riga(f, 3);

  // Enter on "Dt.Scad" opens the paid column, filled with the due amount:
  // a full payment is one more Enter.
  g.selectionModel()->blockSignals(true);
  QLineEdit* e = Entra(f, fattura, col::kDataScad);
  g.selectionModel()->blockSignals(false);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(g.currentIndex().column(), col::kImpPagInc);
  EXPECT_EQ(e->text().toStdString(), "100,00");
  QTest::keyClick(e, Qt::Key_Return);
  EXPECT_EQ(Cella(f, fattura, col::kStatoScad), "C");

  constexpr const char* kStato = "Si prega di inserire: A = Aperta  , C = Chiusa ";
  struct Caso {
    const char* nome;
    int riga, colonna;
    const char* digitato;
    const char* rifiuto;  // the message refusing it, then what is typed instead
    const char* poi;
    const char *pagato, *stato;
  } casi[] = {
      {"credit note: 50 refused, -50 a part payment", nota, col::kImpPagInc, "50",
       "Si prega di inserire l'importo negativo ", "-50", "-50,00", "A"},
      {"invoice: -50 refused", fattura, col::kImpPagInc, "-50", "Si prega di inserire l'importo positivo ", "100",
       "100,00", "C"},
      {"A on a full payment is C", fattura, col::kStatoScad, "A", nullptr, nullptr, "100,00", "C"},
      {"zero leaves it blank", fattura, col::kImpPagInc, "0", nullptr, nullptr, "0,00", " "},
      {"A with nothing paid stays blank", fattura, col::kStatoScad, "A", nullptr, nullptr, "0,00", " "},
      {"not a number is 0", fattura, col::kImpPagInc, "abc", nullptr, nullptr, "0,00", " "},
      {"rounded to the currency", fattura, col::kImpPagInc, "40,126", nullptr, nullptr, "40,13", "A"},
      {"c is stored as C", fattura, col::kStatoScad, "c", nullptr, nullptr, "40,13", "C"},
      {"x refused", fattura, col::kStatoScad, "x", kStato, "a", "40,13", "A"},
      {"blank with something paid refused", fattura, col::kStatoScad, " ", kStato, "C", "40,13", "C"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    az.op.messaggi.clear();
    Digita(f, c.riga, c.colonna, c.digitato);
    if (c.rifiuto) {
      ASSERT_EQ(az.op.messaggi.size(), 1u) << az.op.Elenco();
      EXPECT_EQ(az.op.messaggi[0].testo, c.rifiuto);
      ASSERT_TRUE(g.InModifica()) << "a refused edit stays open";
      QLineEdit* aperto = Editor(f);
      ASSERT_NE(aperto, nullptr);
      EXPECT_EQ(g.currentIndex().column(), c.colonna);
      aperto->selectAll();
      QTest::keyClicks(aperto, c.poi);
      QTest::keyClick(aperto, Qt::Key_Return);
    }
    EXPECT_EQ(az.op.messaggi.size(), c.rifiuto ? 1u : 0u) << az.op.Elenco();
    EXPECT_FALSE(g.InModifica());
    // Enter moves from the paid amount to the state and back.
    EXPECT_EQ(g.currentIndex().column(), c.colonna == col::kImpPagInc ? col::kStatoScad : col::kImpPagInc);
    EXPECT_EQ(Cella(f, c.riga, col::kImpPagInc), c.pagato);
    EXPECT_EQ(Cella(f, c.riga, col::kStatoScad), c.stato);
  }
  EXPECT_EQ(Cella(f, nota, col::kPagato), "-50,00") << "the residue of the credit note";
}

// A row reaches the working copy when the grid leaves it; the totals follow
// the saved rows.
TEST_P(ListaQt, RigaSalvataELasciataTotaliAggiornati) {
  Scadenze();
  Copia(150);
  auto& f = Apri();
  const int a = Riga(f, 1), b = Riga(f, 2), nota = Riga(f, 3);
  EXPECT_EQ(Testo(f, "labNumScadSel"), "");

  Digita(f, a, col::kImpPagInc, "100");
  EXPECT_EQ(Salvata(1), "0|") << "still on the row: not saved";
  Lascia(f, b);
  EXPECT_EQ(Salvata(1), "100|C");
  EXPECT_EQ(Testo(f, "labNumScadSel"), "1");
  EXPECT_EQ(Testo(f, "LabImportoSelezionato"), "100,00");
  EXPECT_EQ(Testo(f, "labImportoResiduo"), "50,00");
  EXPECT_FALSE(f.Totali().rosso);

  Digita(f, b, col::kImpPagInc, "80");
  Lascia(f, nota);
  EXPECT_EQ(Testo(f, "labImportoResiduo"), "-30,00");
  EXPECT_TRUE(f.Totali().rosso) << "over the maximum";
  auto* residuo = f.findChild<QLabel*>("labImportoResiduo");
  EXPECT_EQ(residuo->palette().color(QPalette::Window), QColor(255, 0, 0));

  // A settled credit note lowers the total.
  Digita(f, nota, col::kImpPagInc, "-100");
  Lascia(f, a);
  EXPECT_EQ(Testo(f, "labNumScadSel"), "3");
  EXPECT_EQ(Testo(f, "LabImportoSelezionato"), "80,00");
  EXPECT_EQ(Testo(f, "labImportoResiduo"), "70,00");
  EXPECT_FALSE(f.Totali().rosso);

  if (const char* cartella = std::getenv("COMPENSATO_SCREENSHOTS"))
    f.grab().save(QString::fromUtf8(cartella) + "/frmSaldaLista.png");
}

// Over the maximum, Conferma asks the other question; "No" keeps the grid.
TEST_P(ListaQt, ConfermaOltreIlMassimoNo) {
  Scadenze();
  Copia(50);
  auto& f = Apri();
  Digita(f, Riga(f, 1), col::kImpPagInc, "100");
  az.op.risposte = {2};  // "No"
  QTest::mouseClick(f.findChild<QPushButton*>("ComEsci"), Qt::LeftButton);
  ASSERT_FALSE(az.op.messaggi.empty());
  EXPECT_NE(az.op.messaggi.back().testo.find("superiore all'importo massimo"), std::string::npos) << az.op.Elenco();
  EXPECT_EQ(Salvata(1), "100|C") << "the pending edit was saved first";
  QCoreApplication::processEvents();
  EXPECT_TRUE(f.isVisible());
  EXPECT_NE(p.CercaForm("frmSaldaLista", ""), -1);
}

// The whole interactive path: the run start shows the worklist, the
// operator types and confirms, one balanced entry is written.
TEST_P(ListaQt, ConfermaSiScriveUnaRegistrazione) {
  Scadenze();
  worklist::ListaLavoroQt lista(p);
  bool visto = false;
  QTimer::singleShot(0, [&] {
    worklist::frmSaldaLista* f = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* x = qobject_cast<worklist::frmSaldaLista*>(w); x && x->isVisible()) f = x;
    ASSERT_NE(f, nullptr);
    visto = true;
    Digita(*f, Riga(*f, 1), col::kImpPagInc, "100");
    Digita(*f, Riga(*f, 2), col::kImpPagInc, "40");
    Digita(*f, Riga(*f, 3), col::kImpPagInc, "-100");
    az.op.risposte = {1};  // "Si"
    QTest::mouseClick(f->findChild<QPushButton*>("ComEsci"), Qt::LeftButton);
  });
  EXPECT_EQ(compensato::Elabora(ctx, az.Selezione(false), &lista), 0) << az.op.Elenco();
  EXPECT_TRUE(visto);
  QCoreApplication::processEvents();
  EXPECT_EQ(p.CercaForm("frmSaldaLista", ""), -1);
  EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM MovPnTes"), 1) << az.op.Elenco();
  EXPECT_EQ(az.Invarianti(), "");
  EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM Scadenze WHERE NumRegPag IS NOT NULL"), 3);
  EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM Scadenze WHERE Utente <> ' ' OR FlStato IS NOT NULL"), 0);
  EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM ScadenzeApp"), 0);
}

// Annulla, or closing the window: "No" leaves everything; "Si" gives every
// installment back and empties the working copy.
TEST_P(ListaQt, AnnullaOChiusura) {
  Scadenze();
  const std::pair<const char*, void (*)(worklist::frmSaldaLista&)> modi[] = {
      {"Annulla",
       [](worklist::frmSaldaLista& f) { QTest::mouseClick(f.findChild<QPushButton*>("ComAnnulla"), Qt::LeftButton); }},
      {"window closed", [](worklist::frmSaldaLista& f) { f.close(); }},
  };
  for (const auto& [nome, esci] : modi) {
    SCOPED_TRACE(nome);
    Copia();
    auto& f = Apri();
    az.op.risposte = {2};
    esci(f);
    QCoreApplication::processEvents();
    ASSERT_NE(p.CercaForm("frmSaldaLista", ""), -1);
    EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM ScadenzeApp"), 3);
    EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM Scadenze WHERE Utente <> ' '"), 3);

    az.op.risposte = {1};
    esci(f);
    QCoreApplication::processEvents();
    EXPECT_EQ(p.CercaForm("frmSaldaLista", ""), -1);
    EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM ScadenzeApp"), 0);
    EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM Scadenze WHERE Utente <> ' ' OR FlStato IS NOT NULL"), 0);
  }
}

// Nothing to show: the operator is told, the outcome is 1000, the screen goes.
TEST_P(ListaQt, ListaVuota) {
  Copia();
  worklist::ListaLavoroQt lista(p);
  lista.Prepara(ctx);
  EXPECT_TRUE(az.op.Mostrato(worklist::kListaVuota)) << az.op.Elenco();
  EXPECT_EQ(ctx.run.esitoLista, 1000);
  QCoreApplication::processEvents();
  EXPECT_EQ(p.CercaForm("frmSaldaLista", ""), -1);
}

// "Visualizza" opens the card of the current row's installment, modally.
TEST_P(ListaQt, VisualizzaLaSchedaDellaRigaCorrente) {
  Scadenze();
  Copia();
  worklist::frmSaldaLista& f = Apri();
  auto& g = Griglia(f);
  g.setCurrentIndex(g.model()->index(Riga(f, 3), col::kImpPagInc));
  std::string vista;
  QTimer::singleShot(0, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() != "frmSaldaVis" || !w->isVisible()) continue;
      vista = w->findChild<QLabel*>("labCodice")->text().toStdString() + " " +
              w->findChild<QLabel*>("labImportoScad")->text().toStdString();
      QTest::mouseClick(w->findChild<QPushButton*>("ComEsci"), Qt::LeftButton);
    }
  });
  QTest::mouseClick(f.findChild<QPushButton*>("ComVisualizza"), Qt::LeftButton);
  EXPECT_EQ(vista, "14-01-000003 100,00") << "the credit note's card, its amount unsigned";
  EXPECT_EQ(p.CercaForm("frmSaldaVis", ""), -1);
}

INSTANTIATE_TEST_SUITE_P(Motori, ListaQt, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
