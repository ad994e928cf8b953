// The worklist grid's editing rules, as the operator meets them: where the
// cursor may stand, the paid amount's sign and rounding, the state it gives
// and the states the operator may type.
#include "src/worklist/RegoleLista.h"

#include <gtest/gtest.h>

namespace {

namespace lista = compensato::lista;

TEST(RegoleLista, IlCursoreStaSoloSuPagatoEStato) {
  struct Caso {
    int nuova, precedente, attesa;
  } casi[] = {
      {8, 5, 8},  {10, 8, 10},  // editable columns take it
      {9, 8, 10},               // leaving the paid amount forward goes to the state
      {5, 10, 8}, {0, 3, 8},    // anything else comes back to the paid amount
      {7, 8, 10},
  };
  for (const Caso& c : casi) EXPECT_EQ(lista::ColonnaAmmessa(c.nuova, c.precedente), c.attesa) << c.nuova;
}

TEST(RegoleLista, IlPagatoParteDalDovutoQuandoNonCeNulla) {
  EXPECT_EQ(lista::TestoInizialePagato("", "1.234,50"), "1.234,50");
  EXPECT_EQ(lista::TestoInizialePagato("0", "-100,00"), "-100,00");
  EXPECT_EQ(lista::TestoInizialePagato("0,00", "80,00"), "80,00");
  EXPECT_EQ(lista::TestoInizialePagato("40,00", "80,00"), "40,00");
}

TEST(RegoleLista, IlSegnoDelPagatoSegueQuelloDelDovuto) {
  struct Caso {
    const char* nome;
    double dovuto;
    const char* digitato;
    const char* rifiuto;  // nullptr: accepted
  } casi[] = {
      {"nota di credito, positivo", -100, "50", lista::kChiediNegativo},
      {"nota di credito, negativo", -100, "-50", nullptr},
      {"fattura, negativo", 100, "-5", lista::kChiediPositivo},
      {"fattura, positivo con migliaia", 2000, "1.500,25", nullptr},
      {"testo qualsiasi: diventa 0 dopo", 100, "abc", nullptr},
      {"vuoto", -100, "", nullptr},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    const auto r = lista::RifiutoPagato(c.dovuto, c.digitato);
    if (c.rifiuto) {
      ASSERT_TRUE(r.has_value());
      EXPECT_EQ(*r, c.rifiuto);
    } else {
      EXPECT_FALSE(r.has_value()) << *r;
    }
  }
}

TEST(RegoleLista, DopoIlPagatoArrotondatoLoStato) {
  struct Caso {
    const char* digitato;
    double dovuto;
    int decimali;
    double importo;
    const char* stato;
  } casi[] = {
      {"0", 100, 2, 0, " "},
      {"", 100, 2, 0, " "},
      {"xyz", 100, 2, 0, " "},
      {"40", 100, 2, 40, "A"},
      {"100", 100, 2, 100, "C"},
      {"110", 100, 2, 110, "C"},
      {"-50", -100, 2, -50, "A"},
      {"-100", -100, 2, -100, "C"},
      {"33,335", 100, 2, 33.34, "A"},  // half away from zero
      {"-33,335", -100, 2, -33.34, "A"},
      {"1.234,4", 5000, 0, 1234, "A"},  // a currency without decimals
      {"99,999", 100, 2, 100, "C"},     // rounding reaches the due amount
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.digitato);
    const lista::Pagato p = lista::DopoPagato(c.digitato, c.dovuto, c.decimali);
    EXPECT_DOUBLE_EQ(p.importo, c.importo);
    EXPECT_EQ(p.stato, c.stato);
  }
}

TEST(RegoleLista, StatiAccettati) {
  struct Caso {
    const char* nome;
    const char* digitato;
    double pagato, dovuto;
    const char* stato;  // nullptr: refused
    // clang-format off
  } casi[] = {
      {"c minuscola", "c", 100, 100, "C"},
      {"A parziale", "A", 40, 100, "A"},
      {"A che copre il dovuto", "a", 100, 100, "C"},
      {"A su nota di credito pagata tutta", "A", -100, -100, "C"},
      {"A senza pagato", "A", 0, 100, " "},
      {"C senza pagato", "C", 0, 100, " "},
      {"vuoto senza pagato", " ", 0, 100, " "},
      {"vuoto con pagato", "", 40, 100, nullptr},
      {"altra lettera", "x", 40, 100, nullptr},
      {"altra lettera senza pagato", "x", 0, 100, nullptr},
  };
  // clang-format on
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    const auto s = lista::StatoAccettato(c.digitato, c.pagato, c.dovuto);
    if (c.stato) {
      ASSERT_TRUE(s.has_value());
      EXPECT_EQ(*s, c.stato);
    } else {
      EXPECT_FALSE(s.has_value()) << *s;
    }
  }
}

}  // namespace
