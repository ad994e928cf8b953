#include "src/posting/FigureDocumento.h"

#include <gtest/gtest.h>

#include <vector>

namespace compensato::posting {
namespace {

util::Money M(double v) { return util::Money::FromDouble(v); }

RigaMovimento Riga(int32_t rig, std::string tipo, std::string conto, std::string da, double importo, double imposta = 0,
                   std::string iva = "", std::string revCharge = "") {
  RigaMovimento r;
  r.rigReg = rig;
  r.tipoPartita = std::move(tipo);
  r.gruppoPartita = conto.substr(0, 2);
  r.mastroPartita = conto.substr(2, 2);
  r.contoPartita = conto.substr(4);
  r.dareAvere = std::move(da);
  r.importo = M(importo);
  r.importoMon = M(importo * 2);  // the entry's currency at rate 0.5
  r.imposta = M(imposta);
  r.impostaMon = M(imposta * 2);
  r.ivaNulla = iva.empty();
  r.iva = std::move(iva);
  r.revCharge = std::move(revCharge);
  return r;
}

AttributiCausale Causale(std::string tipoCausale, std::string tipoReg) {
  AttributiCausale c;
  c.tipoCausale = std::move(tipoCausale);
  c.tipoReg = std::move(tipoReg);
  return c;
}

FigureDocumento Cammina(const AttributiCausale& c, const std::vector<RigaMovimento>& righe, bool creaRate = true,
                        bool tuttoMerci = false) {
  FigureDocumento f;
  for (const RigaMovimento& r : righe)
    AccumulaRiga(f, c, r, creaRate, [&](const RigaMovimento&) { return tuttoMerci; });
  return f;
}

// The customer invoice of 1,220.00: customer debit, revenue with its VAT, VAT account.
const std::vector<RigaMovimento> kFatturaCliente = {
    Riga(1, "3", "0401000001", "D", 1220),
    Riga(2, "1", "5001000001", "A", 1000, 220, "22"),
    Riga(3, "1", "2001000001", "A", 220),
};

TEST(FigureDocumento, LineWalkGathersTheDocumentAccountTotalAndVat) {
  const FigureDocumento f = Cammina(Causale("V", "V"), kFatturaCliente);
  EXPECT_EQ(f.gruppo + f.mastro + f.conto, "0401000001");
  EXPECT_EQ(f.primoTipo, "3");
  EXPECT_DOUBLE_EQ(f.totale.azienda, 1220);
  EXPECT_DOUBLE_EQ(f.totale.mon, 2440);
  EXPECT_DOUBLE_EQ(f.iva.azienda, 220);
  EXPECT_DOUBLE_EQ(f.iva.mon, 440);
  EXPECT_DOUBLE_EQ(f.ivaRevCharge.azienda, 0);
}

TEST(FigureDocumento, DocumentAccountCases) {
  struct Caso {
    const char* nome;
    AttributiCausale causale;
    std::vector<RigaMovimento> righe;
    std::string conto;
    double totale;
  };
  // clang-format off
  const Caso casi[] = {
      {"credit note: customer on the credit side", Causale("V", "V"),
       {Riga(1, "3", "0401000001", "A", 1220), Riga(2, "1", "5001000001", "D", 1000, 220, "22")},
       "0401000001", -1220},
      {"first line not a customer line: no document account", Causale("V", "V"),
       {Riga(1, "1", "5001000001", "A", 1000), Riga(2, "3", "0401000001", "D", 1000)}, "", 0},
      {"later lines of the same customer add up", Causale("V", "V"),
       {Riga(1, "3", "0401000001", "D", 1000), Riga(2, "3", "0401000001", "D", 220),
        Riga(3, "3", "0401000002", "D", 50)},
       "0401000001", 1220},
      {"supplier line of a purchase", Causale("A", "A"),
       {Riga(1, "2", "3001000007", "A", 610), Riga(2, "1", "6001000001", "D", 500, 110, "22")},
       "3001000007", -610},
      {"supplier line in a sales register is not the document's", Causale("V", "V"),
       {Riga(1, "2", "3001000007", "A", 610)}, "", 0},
      {"unpaid bill identifies the customer outside the sales register",
       [] {
         AttributiCausale c = Causale("", "");
         c.regInsoluto = "S";
         return c;
       }(),
       {Riga(1, "3", "0401000001", "D", 300), Riga(2, "1", "1801000001", "A", 300)}, "0401000001",
       300},
  };
  // clang-format on
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    const FigureDocumento f = Cammina(c.causale, c.righe);
    EXPECT_EQ(f.gruppo + f.mastro + f.conto, c.conto);
    EXPECT_DOUBLE_EQ(f.totale.azienda, c.totale);
  }
}

TEST(FigureDocumento, ReverseChargeVatIsKeptApart) {
  const FigureDocumento f = Cammina(
      Causale("A", "A"), {Riga(1, "2", "3001000007", "A", 1000), Riga(2, "1", "6001000001", "D", 500, 110, "RC", "S"),
                          Riga(3, "1", "6001000002", "D", 500, 110, "22")});
  EXPECT_DOUBLE_EQ(f.iva.azienda, 220);
  EXPECT_DOUBLE_EQ(f.ivaRevCharge.azienda, 110);
  EXPECT_DOUBLE_EQ(f.ivaRevCharge.mon, 220);
}

TEST(FigureDocumento, GoodsLinesOfANonEuImport) {
  AttributiCausale c = Causale("A", "A");
  c.importNoCee = "S";
  c.collegataSenzaContropartita = true;
  std::vector<RigaMovimento> righe = {
      Riga(1, "2", "3001000009", "A", 1000), Riga(2, "1", "6101000001", "D", 600, 132, "22"),
      Riga(3, "1", "6101000002", "D", 400, 88, "22"), Riga(4, "1", "6101000003", "D", 77),  // no VAT code
  };
  righe[2].forzatura = "I";
  EXPECT_DOUBLE_EQ(Cammina(c, righe, true, true).merci.azienda, 600);
  EXPECT_DOUBLE_EQ(Cammina(c, righe, false, true).merci.azienda, 0) << "no installments, no goods";
  EXPECT_DOUBLE_EQ(Cammina(c, righe, true, false).merci.azienda, 0) << "not goods accounts";
  c.collegataSenzaContropartita = false;
  EXPECT_DOUBLE_EQ(Cammina(c, righe, true, true).merci.azienda, 0);
}

TEST(CalcolaImportiRate, AdjustmentAndSign) {
  struct Caso {
    const char* nome;
    AttributiCausale causale;
    FigureRate figure;
    double totaleAzienda;
    ImportiDaScadenzare atteso;
  };
  auto con = [](AttributiCausale c, auto modifica) {
    modifica(c);
    return c;
  };
  const AttributiCausale vendita = Causale("V", "V");
  const AttributiCausale acquisto = Causale("A", "A");
  // clang-format off
  const Caso casi[] = {
      {"customer invoice of 1,220.00", vendita, {1220, 220, 0, 0, 0, 0}, 1220, {1220, 1220, 220, '+'}},
      {"customer credit note", vendita, {-1220, 220, 0, 0, 0, 0}, -1220, {1220, 1220, 220, '-'}},
      {"advance and withholding reduce the amount", vendita, {1220, 220, 0, 0, 200, 100}, 1220,
       {920, 1220, 220, '+'}},
      {"intra-EU purchase drops its VAT", con(acquisto, [](auto& c) { c.intraCee = "S"; }),
       {-1220, 220, 0, 0, 0, 0}, -1220, {1000, 1000, 0, '-'}},
      {"full reverse charge, same signs", con(acquisto, [](auto& c) { c.revCharge = "S"; }),
       {1220, 220, 0, 0, 0, 0}, 1220, {1000, 1000, 0, '+'}},
      {"reverse charge on some lines, opposite signs",
       con(acquisto, [](auto& c) { c.revCharge = "M"; }), {-1110, 220, 110, 0, 0, 0}, -1110,
       {1000, 1000, 220, '-'}},
      {"reverse charge on some lines, same signs",
       con(acquisto, [](auto& c) { c.revCharge = "M"; }), {1110, 220, 110, 0, 0, 0}, 1110,
       {1000, 1000, 220, '+'}},
      {"import with a linked non-sales code: goods and VAT, opposite signs",
       con(acquisto, [](auto& c) { c.importNoCee = "S"; c.collegataNonVendita = true; }),
       {-1342, 242, 0, 1000, 0, 0}, -1342, {1242, 1242, 242, '-'}},
      {"import whose goods face the supplier: the goods alone, positive",
       con(acquisto, [](auto& c) { c.importNoCee = "S"; c.collegataSenzaContropartita = true; }),
       {-1342, 242, 0, 1000, 0, 0}, -1342, {1000, 1000, 0, '-'}},
      {"import with a linked non-sales code, same signs",
       con(acquisto, [](auto& c) { c.importNoCee = "S"; c.collegataNonVendita = true; }),
       {1000, 220, 0, 600, 0, 0}, 1000, {820, 820, 220, '+'}},
      {"import whose linked code has no counter-account: the goods alone",
       con(acquisto, [](auto& c) { c.importNoCee = "S"; c.collegataSenzaContropartita = true; }),
       {1000, 220, 0, 600, 0, 0}, 1000, {600, 600, 0, '+'}},
      {"import linked to a sales code with a counter-account drops the VAT",
       con(acquisto, [](auto& c) { c.importNoCee = "S"; }), {1220, 220, 0, 600, 0, 0}, 1220,
       {1000, 1000, 0, '+'}},
      {"a zero document is positive", vendita, {0, 0, 0, 0, 0, 0}, 0, {0, 0, 0, '+'}},
      {"the sign follows the company-currency total", vendita, {50, 0, 0, 0, 0, 0}, -100,
       {-50, -50, 0, '-'}},
  };
  // clang-format on
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    const ImportiDaScadenzare r = CalcolaImportiRate(c.causale, c.figure, c.totaleAzienda);
    EXPECT_DOUBLE_EQ(r.netto, c.atteso.netto);
    EXPECT_DOUBLE_EQ(r.totale, c.atteso.totale);
    EXPECT_DOUBLE_EQ(r.iva, c.atteso.iva);
    EXPECT_EQ(r.segno, c.atteso.segno);
  }
}

}  // namespace
}  // namespace compensato::posting
