#include "src/schedule/CalcolaScadenze.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace compensato::schedule {
namespace {

util::Date D(int y, int m, int d) { return *util::Date::Make(y, m, d); }

TerminePagamento Termine(std::string decorrenza, std::string periodicita, int16_t numScad, std::string trattamIva = "",
                         int16_t numGGMM = 1, int16_t giornoFisso = 0, std::vector<int16_t> periodo = {},
                         std::vector<double> percentuale = {}) {
  TerminePagamento t;
  t.decorrenza = std::move(decorrenza);
  t.periodicita = std::move(periodicita);
  t.numScad = numScad;
  t.trattamIva = std::move(trattamIva);
  t.numGGMM = numGGMM;
  t.giornoFisso = giornoFisso;
  t.periodo = std::move(periodo);
  t.percentuale = std::move(percentuale);
  return t;
}

ArgomentiScadenze Documento(util::Date data, double importo, double iva) {
  ArgomentiScadenze a;
  a.dataDoc = data;
  a.importo = importo;
  a.iva = iva;
  a.pagamento = "R3";
  a.gruppo = "04";
  a.mastro = "01";
  a.conto = "000001";
  a.decimali = 2;
  return a;
}

struct Rata {
  util::Date data;
  double importo;
};

struct Caso {
  const char* nome;
  util::Date dataDoc;
  double importo, iva;
  TerminePagamento termine;
  MesiEsclusi mesi;
  util::Date inizio;
  std::vector<Rata> rate;
};

void Verifica(const ArgomentiScadenze& a, const std::vector<Rata>& attese) {
  EXPECT_EQ(a.numErrori, 0) << a.testoErrori;
  ASSERT_EQ(a.numScad, static_cast<int16_t>(attese.size()));
  ASSERT_EQ(a.dateScad.size(), attese.size());
  ASSERT_EQ(a.importiScad.size(), attese.size());
  for (size_t i = 0; i < attese.size(); ++i) {
    EXPECT_EQ(a.dateScad[i], attese[i].data) << "rata " << i + 1 << ": " << a.dateScad[i].toText();
    EXPECT_DOUBLE_EQ(a.importiScad[i], attese[i].importo) << "rata " << i + 1;
  }
}

TEST(CalcolaScadenze, DueDatesAndAmountsOfEveryTermKind) {
  // clang-format off
  const Caso casi[] = {
      {"end of month, VAT alone first (the March invoice)", D(2024, 3, 15), 1000, 220,
       Termine("F", "M", 3, "U"), {}, D(2024, 3, 31),
       {{D(2024, 4, 30), 220}, {D(2024, 5, 31), 500}, {D(2024, 6, 30), 500}}},
      {"the March invoice with May excluded to the 10th", D(2024, 3, 15), 1000, 220,
       Termine("F", "M", 3, "U"), {5, 10, 0, 0}, D(2024, 3, 31),
       {{D(2024, 4, 30), 220}, {D(2024, 6, 10), 500}, {D(2024, 6, 30), 500}}},
      {"last installment takes the rounding rest", D(2024, 3, 15), 100, 0, Termine("D", "M", 3),
       {}, D(2024, 3, 15), {{D(2024, 4, 15), 33.33}, {D(2024, 5, 15), 33.33}, {D(2024, 6, 15), 33.34}}},
      {"VAT shared with the amount", D(2024, 3, 15), 1000, 220, Termine("D", "M", 2, "X"), {},
       D(2024, 3, 15), {{D(2024, 4, 15), 610}, {D(2024, 5, 15), 610}}},
      {"VAT added to the first installment", D(2024, 3, 15), 1000, 220, Termine("D", "M", 2, "P"),
       {}, D(2024, 3, 15), {{D(2024, 4, 15), 720}, {D(2024, 5, 15), 500}}},
      {"no installments count: one on the document date", D(2024, 3, 15), 1000, 220,
       Termine("F", "M", 0, "U"), {}, D(2024, 3, 15), {{D(2024, 3, 15), 1220}}},
      {"a single installment cannot hold the VAT alone", D(2024, 3, 15), 1000, 220,
       Termine("F", "M", 1, "U"), {}, D(2024, 3, 31), {{D(2024, 4, 30), 1220}}},
      {"percentages 30 and 30: the second takes the missing 40", D(2024, 3, 15), 1000, 0,
       Termine("D", "T", 2, "", 0, 0, {1, 2}, {30, 30}), {}, D(2024, 3, 15),
       {{D(2024, 4, 15), 300}, {D(2024, 6, 15), 700}}},
      {"a zero percentage takes an equal share", D(2024, 3, 15), 1000, 0,
       Termine("D", "T", 3, "", 0, 0, {1, 1, 1}, {50, 0, 0}), {}, D(2024, 3, 15),
       {{D(2024, 4, 15), 500}, {D(2024, 5, 15), 333.33}, {D(2024, 6, 15), 166.67}}},
      {"percentage months from the end of month", D(2024, 1, 10), 900, 0,
       Termine("F", "T", 2, "", 0, 0, {1, 2}, {50, 50}), {}, D(2024, 1, 31),
       {{D(2024, 2, 29), 450}, {D(2024, 4, 30), 450}}},
      {"every 30 days", D(2024, 3, 1), 200, 0, Termine("D", "G", 2, "", 30), {}, D(2024, 3, 1),
       {{D(2024, 3, 31), 100}, {D(2024, 4, 30), 100}}},
      {"days per installment", D(2024, 3, 1), 200, 0,
       Termine("D", "A", 2, "", 0, 0, {10, 20}, {0, 0}), {}, D(2024, 3, 1),
       {{D(2024, 3, 11), 100}, {D(2024, 3, 31), 100}}},
      {"end of the following month", D(2024, 3, 15), 100, 0, Termine("S", "M", 1), {},
       D(2024, 4, 30), {{D(2024, 5, 31), 100}}},
      {"end of month plus a fixed day keeps the day", D(2024, 3, 15), 100, 0,
       Termine("F", "M", 2, "", 1, 10), {}, D(2024, 4, 10),
       {{D(2024, 5, 10), 50}, {D(2024, 6, 10), 50}}},
      {"fixed day before the document's day moves a month on", D(2024, 3, 15), 100, 0,
       Termine("D", "M", 1, "", 1, 10), {}, D(2024, 4, 10), {{D(2024, 5, 10), 100}}},
      {"fixed day after the document's day stays in its month", D(2024, 3, 15), 100, 0,
       Termine("D", "M", 1, "", 1, 20), {}, D(2024, 3, 20), {{D(2024, 4, 20), 100}}},
      {"excluded month without days: same day next month, clamped, and on from there",
       D(2023, 12, 31), 100, 0, Termine("F", "M", 2), {1, 0, 0, 0}, D(2023, 12, 31),
       {{D(2024, 2, 29), 50}, {D(2024, 3, 31), 50}}},
      {"excluded month moves to the fixed day", D(2024, 3, 5), 100, 0,
       Termine("D", "M", 2, "", 1, 10), {4, 0, 0, 0}, D(2024, 3, 10),
       {{D(2024, 5, 10), 50}, {D(2024, 6, 10), 50}}},
      {"two excluded months in a row: the moved date is not tested again", D(2024, 4, 15), 100,
       0, Termine("D", "M", 2), {5, 0, 6, 0}, D(2024, 4, 15),
       {{D(2024, 6, 15), 50}, {D(2024, 7, 15), 50}}},
      {"second excluded month with its own day", D(2024, 4, 15), 100, 0, Termine("D", "M", 2),
       {1, 0, 5, 3}, D(2024, 4, 15), {{D(2024, 6, 3), 50}, {D(2024, 6, 15), 50}}},
      {"a day beyond the month's end carries over", D(2024, 2, 15), 100, 0, Termine("D", "M", 1),
       {3, 31, 0, 0}, D(2024, 2, 15), {{D(2024, 5, 1), 100}}},
      {"an unknown periodicity leaves the installments empty", D(2024, 3, 15), 100, 0,
       Termine("D", "X", 2), {}, D(2024, 3, 15), {{util::Date(), 0}, {util::Date(), 0}}},
  };
  // clang-format on
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    ArgomentiScadenze a = Documento(c.dataDoc, c.importo, c.iva);
    CalcolaScadenze(c.termine, c.mesi, a);
    EXPECT_EQ(a.dataInizio, c.inizio) << a.dataInizio.toText();
    Verifica(a, c.rate);
  }
}

TEST(CalcolaScadenze, CodesCompareIgnoringCase) {
  ArgomentiScadenze a = Documento(D(2024, 3, 15), 1000, 220);
  CalcolaScadenze(Termine("f", "m", 3, "u"), MesiEsclusi{}, a);
  Verifica(a, {{D(2024, 4, 30), 220}, {D(2024, 5, 31), 500}, {D(2024, 6, 30), 500}});
}

TEST(CalcolaScadenze, NothingToScheduleWithoutAnError) {
  struct Vuoto {
    const char* nome;
    std::string pagamento;
    std::optional<TerminePagamento> termine;
  };
  const Vuoto casi[] = {
      {"no payment code", "", Termine("D", "M", 2)},
      {"payment term not found", "ZZ", std::nullopt},
      {"negative installment count", "R3", Termine("D", "M", -1)},
  };
  for (const Vuoto& c : casi) {
    SCOPED_TRACE(c.nome);
    ArgomentiScadenze a = Documento(D(2024, 3, 15), 100, 0);
    a.pagamento = c.pagamento;
    a.numScad = 7;
    a.numErrori = 3;
    a.testoErrori = "left from before";
    CalcolaScadenze(c.termine, MesiEsclusi{}, a);
    EXPECT_EQ(a.numScad, 0);
    EXPECT_TRUE(a.importiScad.empty());
    EXPECT_EQ(a.numErrori, 0);
    EXPECT_EQ(a.testoErrori, "");
  }
}

TEST(CalcolaScadenze, MissingAccountIsTheOneError) {
  ArgomentiScadenze a = Documento(D(2024, 3, 15), 100, 0);
  CalcolaScadenze(Termine("D", "M", 2), std::nullopt, a);
  EXPECT_EQ(a.numScad, 0);
  EXPECT_EQ(a.numErrori, 1);
  EXPECT_EQ(a.testoErrori, "Errore n°0 : Manca il cliente con codice :04-01-000001 in Calcolo scadenze\n");
}

TEST(CalcolaScadenze, DateBeyondTheCalendarIsRecordedNotThrown) {
  ArgomentiScadenze a = Documento(D(9999, 10, 15), 300, 0);
  CalcolaScadenze(Termine("D", "M", 3), MesiEsclusi{}, a);
  EXPECT_EQ(a.numErrori, 1);
  EXPECT_NE(a.testoErrori.find("in Calcolo scadenze"), std::string::npos) << a.testoErrori;
  // What was computed before the failure is returned.
  ASSERT_EQ(a.dateScad.size(), 3u);
  EXPECT_EQ(a.dateScad[1], D(9999, 12, 15));
}

TEST(ErroriScadenze, TextStopsGrowingAfterThirtyErrors) {
  int16_t numero = 0;
  std::string testo;
  ErroriScadenze errori(numero, testo);
  for (int i = 1; i <= 35; ++i) errori.Aggiungi(3000 + i, "guasto");
  EXPECT_EQ(numero, 35);
  EXPECT_NE(testo.find("Errore n°3030 : guasto in Calcolo scadenze\n"), std::string::npos);
  EXPECT_EQ(testo.find("Errore n°3031"), std::string::npos);
  const std::string coda = "..............";
  ASSERT_GE(testo.size(), coda.size());
  EXPECT_EQ(testo.substr(testo.size() - coda.size()), coda);
  EXPECT_EQ(testo.find(coda), testo.size() - coda.size()) << "the ellipsis is written once";
}

struct CasoMagg {
  const char* nome;
  TerminePagamento termine;
  double importo, iva;
  int16_t modo;
  double percentuale;
  std::vector<double> date;  // given surcharges (mode 2)
  double passo;
  std::string modoArrot;
  double minimo, massimo;
  std::vector<double> rate;
  std::vector<double> maggiorazioni;  // expected surcharges out (mode 1)
};

TEST(CalcolaScadenze, Surcharges) {
  // clang-format off
  const CasoMagg casi[] = {
      {"computed on each installment", Termine("D", "M", 2), 1000, 0, maggiorazione::kCalcolata, 2,
       {}, 0.01, "A", 0, 0, {510, 510}, {10, 10}},
      {"raised to the minimum", Termine("D", "M", 2), 1000, 0, maggiorazione::kCalcolata, 1, {},
       0.01, "A", 8, 0, {508, 508}, {8, 8}},
      {"lowered to the maximum", Termine("D", "M", 2), 1000, 0, maggiorazione::kCalcolata, 10, {},
       0.01, "A", 0, 20, {520, 520}, {20, 20}},
      {"rounded by its own step and mode, the last after its rest", Termine("D", "M", 3), 100, 0,
       maggiorazione::kCalcolata, 3, {}, 0.5, "E", 0, 0, {34.33, 34.33, 34.84}, {1, 1, 1.5}},
      {"on the first installment after its VAT", Termine("D", "M", 2, "P"), 1000, 220,
       maggiorazione::kCalcolata, 10, {}, 0.01, "A", 0, 0, {792, 550}, {72, 50}},
      {"single installment on the document date", Termine("D", "M", 0), 1000, 220,
       maggiorazione::kCalcolata, 1, {}, 0.01, "A", 0, 0, {1232.2}, {12.2}},
      {"given amounts come out of the amount and go back on each installment",
       Termine("D", "M", 2), 1030, 0, maggiorazione::kData, 0, {10, 20}, 0, "", 0, 0, {510, 520},
       {10, 20}},
      {"no surcharge", Termine("D", "M", 2), 1000, 0, maggiorazione::kNessuna, 5, {}, 0.01, "A",
       0, 0, {500, 500}, {}},
      // A surcharge kept to a finer step than the currency's cents is added
      // as it is; the installment is not rounded a second time.
      {"a surcharge finer than the currency is added whole", Termine("D", "M", 2), 1000, 0,
       maggiorazione::kCalcolata, 0.301, {}, 0.005, "A", 0, 0, {501.505, 501.505}, {1.505, 1.505}},
      {"a given surcharge finer than the currency is added whole", Termine("D", "M", 2), 1000.01, 0,
       maggiorazione::kData, 0, {0.005, 0.005}, 0, "", 0, 0, {500.005, 500.005}, {0.005, 0.005}},
  };
  // clang-format on
  for (const CasoMagg& c : casi) {
    SCOPED_TRACE(c.nome);
    ArgomentiScadenze a = Documento(D(2024, 3, 15), c.importo, c.iva);
    a.modoMagg = c.modo;
    a.percMagg = util::Money::FromDouble(c.percentuale);
    a.importiMagg = c.date;
    a.passoArrotMagg = util::Money::FromDouble(c.passo);
    a.modoArrotMagg = c.modoArrot;
    a.minimoMagg = c.minimo;
    a.massimoMagg = c.massimo;
    CalcolaScadenze(c.termine, MesiEsclusi{}, a);
    EXPECT_EQ(a.numErrori, 0) << a.testoErrori;
    ASSERT_EQ(a.importiScad.size(), c.rate.size());
    for (size_t i = 0; i < c.rate.size(); ++i) EXPECT_DOUBLE_EQ(a.importiScad[i], c.rate[i]) << "rata " << i + 1;
    ASSERT_EQ(a.importiMagg.size(), c.maggiorazioni.size());
    for (size_t i = 0; i < c.maggiorazioni.size(); ++i)
      EXPECT_DOUBLE_EQ(a.importiMagg[i], c.maggiorazioni[i]) << "maggiorazione " << i + 1;
  }
}

}  // namespace
}  // namespace compensato::schedule
