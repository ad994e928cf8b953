#pragma once

#include <memory>
#include <string>
#include <vector>

#include "components/db/DbCursor.h"
#include "src/data/Contesto.h"
#include "src/selection/Elabora.h"
#include "tests/support/FakeHost.h"
#include "tests/support/FakeOperatore.h"
#include "tests/support/TestDatabase.h"

namespace testsupport {

// An open installment of the fixture company. Customers are account
// 14-01-000001.., suppliers 40-01-000001..; amounts as stored (unsigned).
struct NuovaScadenza {
  int32_t numProg = 0;
  int tipo = 3;  // 3 customer, 2 supplier
  std::string conto = "000001";
  std::string entrataUscita = "E";
  double importo = 100;
  std::string numDoc;  // "" gives "F<numProg>"
  util::Date dataDoc = util::Date::Carry(2026, 3, 1);
  util::Date dataScad = util::Date::Carry(2026, 4, 30);
  int16_t anno = 2026;
};

// A run selection of the fixture company: all customers (or suppliers),
// receipts on cash, allowances on the two discount accounts.
compensato::SelezioneRun SelezioneProva(bool automatica, int tipo = 3, double massimo = 1e9);

// The columns of a row of AziendaProva::Righe.
std::vector<std::string> Campi(const std::string& riga);

// A small company on one engine, with a context as the program makes it at
// startup: a fake host, a scripted operator and the main connection. The
// accounts: cash 18-01-000001, discounts received 70-05-000001, granted
// 62-05-000001; three customers and two suppliers; payment type "RD"; the
// receipt code "INC".
class AziendaProva {
 public:
  explicit AziendaProva(Engine engine);
  ~AziendaProva();

  TestDatabase database;
  FakeHost host;
  FakeOperatore op;
  compensato::Contesto& ctx() { return *ctx_; }

  void Inserisci(const NuovaScadenza& s);
  // The working copy as the run start leaves it for the worklist: every open
  // installment of the kind (3 customers, 2 suppliers) reserved by the user
  // and copied. Throws when the reservation or the copy fails.
  void PreparaLista(int tipo = 3, double massimo = 1e9);
  compensato::SelezioneRun Selezione(bool automatica, int tipo = 3, double massimo = 1e9) const {
    return SelezioneProva(automatica, tipo, massimo);
  }

  // A query's rows, every value as text, columns separated by "|".
  std::vector<std::string> Righe(const std::string& sql);
  double Numero(const std::string& sql);

  // Checks every posted registration balances in both amount columns and the
  // running totals equal the posted lines; "" when they hold.
  std::string Invarianti();

 private:
  std::unique_ptr<compensato::Contesto> ctx_;
};

// Stands in for the worklist grid: marks rows of the working copy as the
// operator would (state and paid amount by NumProg, as typed in the grid,
// with the grid's sign) and confirms with InizioElab.
class GrigliaProva : public compensato::ListaLavoro {
 public:
  struct Scelta {
    int32_t numProg;
    std::string stato;  // "A", "C"
    double pagato;      // as typed: with the sign the grid shows
  };
  std::vector<Scelta> scelte;
  bool conferma = true;
  int esitoElab = -1;

  void Prepara(compensato::Contesto& ctx) override;
  void Mostra(compensato::Contesto& ctx) override;

 private:
  db::DbCursor cursore_;
  std::string key_;
};

}  // namespace testsupport
