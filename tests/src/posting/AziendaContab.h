#pragma once

#include <memory>
#include <string>
#include <vector>

#include "src/data/Contesto.h"
#include "src/posting/ContabMovPn.h"
#include "tests/support/FakeHost.h"
#include "tests/support/FakeOperatore.h"
#include "tests/support/TestDatabase.h"

namespace testsupport {

// A small company for posting tests, on one engine. Accounts: customers
// 14-01-000001 and 14-01-000002 (May excluded, moved to the 10th; bank
// "BPM"), supplier 40-01-000001, revenue 58-01-000001, cost 66-01-000001,
// goods 66-01-000002, sales VAT 26-01-000001, purchase VAT 26-01-000002,
// cash 18-01-000001, opening balances 91-01-000001.
// Transaction codes: "FV" sales invoice, "NC" credit note, "FA" purchase,
// "FI" intra-EU purchase, "AP" opening entry, "INC" receipt, "ANT" advance,
// "RIT" withholding, "FR" sales invoice with withholding "RIT", "INS" unpaid bill.
// Payment terms: "30" one at 30 days, "FM3" end of month, monthly, three, VAT
// first; "NEG" none; "AUT" collected automatically; "V3" three, in currency.
class AziendaContab {
 public:
  struct Riga {
    std::string tipo;   // TipoPartita
    std::string conto;  // "GGMMCCCCCC"
    std::string dareAvere;
    double importo = 0;
    double imposta = 0;
    std::string iva;  // "" leaves it null
    std::string forzatura;
    double cambio = 1;  // ImportoMon = importo * cambio
  };
  static Riga Linea(std::string tipo, std::string conto, std::string dareAvere, double importo, double imposta = 0,
                    std::string iva = "", std::string forzatura = "", double cambio = 1) {
    return Riga{std::move(tipo), std::move(conto), std::move(dareAvere), importo,
                imposta,         std::move(iva),   std::move(forzatura), cambio};
  }
  struct Registrazione {
    int16_t anno = 2026;
    int32_t numReg = 1;
    std::string causale = "INC";
    util::Date dataReg = util::Date::Carry(2026, 3, 15);
    std::string pagamento;
    std::string moneta = "Euro";
    double cambio = 1;
    std::string preProt = "V";
    int32_t numProt = 0;
    util::Date dataProt;
    std::string preDoc;
    std::string numDoc;
    util::Date dataDoc = util::Date::Carry(2026, 3, 15);
    int16_t annoFat = 0;
    int32_t numRifFat = 0;
    std::string banca;
    std::vector<Riga> righe;
    int righeIva = 0;  // VAT lines to stage
  };

  explicit AziendaContab(Engine engine);
  ~AziendaContab();

  TestDatabase database;
  FakeHost host;
  FakeOperatore op;
  compensato::Contesto& ctx() { return *ctx_; }

  // Writes the header into `testata` and the lines into `righe` (and VAT
  // lines into `iva`), as a run or the invoicing module stages them.
  void Prepara(const Registrazione& r, const std::string& testata = "MovPnTes",
               const std::string& righe = "MovPnDettApp", const std::string& iva = "MovPnIvaApp");

  // The arguments of a plain posting of the staged range of 2026.
  compensato::posting::ArgomentiContab Argomenti(int32_t da = 0, int32_t a = 0) const;

  // A query's rows, every value as text, columns separated by "|".
  std::vector<std::string> Righe(const std::string& sql);
  double Numero(const std::string& sql);
  void Esegui(const std::string& sql);
  std::string Invarianti();

  // The customer invoice of 1,220.00 with 220.00 of VAT on the term "FM3".
  static Registrazione FatturaCliente(int32_t numReg, double imponibile = 1000, double iva = 220);

 private:
  std::unique_ptr<compensato::Contesto> ctx_;
};

}  // namespace testsupport
