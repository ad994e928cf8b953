#include "src/extraction/Blocco.h"

#include <algorithm>
#include <map>

#include "components/db/DbCursor.h"
#include "components/util/Money.h"
#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"
#include "src/data/ConversioneRun.h"
#include "src/ui/Errori.h"

namespace compensato {
namespace {

bool TabellaPrincipale(const std::string& t) { return util::EqualsIgnoreCase(t, "Scadenze"); }

int32_t Conta(Contesto& ctx, const std::string& sql) {
  db::DbCursor c;
  const std::string key = c.Open(ctx.db, ctx.conn, "", sql, false, db::kSnapshot);
  int32_t n = 0;
  if (!c.IsEmpty(key)) n = c.GetField(key, "Numero").toLong();
  c.Close(key);
  return n;
}

std::string Rilascio(const std::string& t) {
  std::string sql = "UPDATE " + t + " SET " + t + ".Utente = " + util::SqlLiteral(" ", 8);
  if (TabellaPrincipale(t)) sql += "," + t + ".FlStato = NULL";
  return sql;
}

// Keys per IN list: every statement that selects by one scans the table
// once, so few large lists cost far less than many small ones, and 2,000
// values stay well inside what the engines accept.
constexpr size_t kChiaviPerIstruzione = 2000;
// Installments per payment-reference UPDATE: each row walks the CASE's
// branches in turn, which a shorter list keeps cheap.
constexpr size_t kPagamentiPerIstruzione = 400;

}  // namespace

std::vector<std::string> CondizioniChiavi(const std::string& t, const std::vector<ChiaveScadenza>& chiavi) {
  std::map<std::string, std::vector<std::string>> perAnno;
  for (const ChiaveScadenza& k : chiavi) perAnno[util::SqlLiteral(k.anno, 2)].push_back(util::SqlLiteral(k.numProg, 3));
  std::vector<std::string> condizioni;
  for (const auto& [anno, numeri] : perAnno) {
    for (size_t i = 0; i < numeri.size(); i += kChiaviPerIstruzione) {
      std::string in;
      for (size_t j = i; j < numeri.size() && j < i + kChiaviPerIstruzione; ++j) in += (j > i ? ", " : "") + numeri[j];
      condizioni.push_back(t + ".Anno = " + anno + " AND " + t + ".NumProg IN (" + in + ")");
    }
  }
  return condizioni;
}

std::string CondizioneUtente(const std::string& tabScadenze, const std::string& utente) {
  return " " + tabScadenze + ".Utente = " + util::SqlLiteral(utente, 8);
}

int VerificaBloccoUtente(Contesto& ctx, const std::string& utente) {
  const std::string base = "SELECT COUNT(*) AS Numero FROM ";
  const std::string chi = " WHERE  Utente = " + util::SqlLiteral(utente, 8);
  if (Conta(ctx, base + ctx.run.tabScadenze + chi + " AND FlStato = " + util::SqlLiteral("0", 8)) > 0) return 1;
  if (Conta(ctx, base + ctx.run.tabScadenzeApp + chi) > 0) return 1;
  return 0;
}

int RilasciaScadenzeUtente(Contesto& ctx) {
  const std::string& t = ctx.run.tabScadenze;
  return AggiornaBloccoScadenze(ctx, blocco::kRilascia, t, CondizioneUtente(t, ctx.utente));
}

int SaldaScadenze(Contesto& ctx, const std::string& t, const std::vector<PagamentoScadenza>& pagamenti, int32_t numReg,
                  const util::Date& dataReg) {
  ui::Puntatore p(ctx.op);
  try {
    const std::string comuni = Rilascio(t) + "," + t + ".AnnoPag = " + util::SqlLiteral(ctx.run.par.anno, 2) + "," + t +
                               ".NumRegPag = " + util::SqlLiteral(numReg, 3) + "," + t +
                               ".DataRegPag = " + util::SqlLiteral(dataReg, 7);
    // An amount inside an expression is not rounded to the column's four
    // decimals on its way in, as a plain number is: it is written rounded.
    auto importo = [](double v) { return util::SqlLiteral(util::Value(util::Money::FromDouble(v)), 6); };
    std::map<std::string, std::vector<const PagamentoScadenza*>> perAnno;
    for (const PagamentoScadenza& pg : pagamenti) perAnno[util::SqlLiteral(pg.chiave.anno, 2)].push_back(&pg);
    for (const auto& [anno, tutti] : perAnno) {
      // Those that change the amounts and those that keep them: each kind is
      // one statement per slice, with the same columns for every row.
      for (const bool conImporto : {false, true}) {
        std::vector<const PagamentoScadenza*> gruppo;
        for (const PagamentoScadenza* pg : tutti)
          if ((pg->importo != util::Money()) == conImporto) gruppo.push_back(pg);
        for (size_t i = 0; i < gruppo.size(); i += kPagamentiPerIstruzione) {
          const size_t fine = std::min(gruppo.size(), i + kPagamentiPerIstruzione);
          std::string in, rigLiv, imp, lire, euro;
          for (size_t j = i; j < fine; ++j) {
            const PagamentoScadenza& pg = *gruppo[j];
            const std::string n = util::SqlLiteral(pg.chiave.numProg, 3);
            const std::string quando = " WHEN " + n + " THEN ";
            in += (j > i ? ", " : "") + n;
            rigLiv += quando + util::SqlLiteral(pg.rigLiv, 3);
            if (conImporto) {
              const company::ImportiConvertiti c = ConvertiPerScadenza(ctx, pg.importo.toDouble());
              imp += quando + util::SqlLiteral(util::Value(pg.importo), 6);
              lire += quando + importo(c.lire);
              euro += quando + importo(c.euro);
            }
          }
          const std::string caso = " CASE " + t + ".NumProg";
          std::string sql = comuni + "," + t + ".RigLivPag =" + caso + rigLiv + " END";
          if (conImporto)
            sql += "," + t + ".ImportoScad =" + caso + imp + " END," + t + ".ImportoScadLire =" + caso + lire +
                   " END," + t + ".ImportoScadEuro =" + caso + euro + " END";
          sql += " WHERE " + t + ".Anno = " + anno + " AND " + t + ".NumProg IN (" + in + ")";
          ctx.db.Execute(ctx.conn, sql);
        }
      }
    }
    return 0;
  } catch (const util::RuntimeError& e) {
    ui::MsgErrfrm(ctx.op, e, "", "", std::string("Aggiornamento blocco scadenze"));
    return 1;
  }
}

int RiservaScadenze(Contesto& ctx, const FiltroScadenze& filtro) {
  ui::Puntatore p(ctx.op);
  const std::string& t = filtro.tabella;
  try {
    std::string sql = "UPDATE " + filtro.from + " SET " + t + ".Utente = " + util::SqlLiteral(ctx.utente, 8);
    if (TabellaPrincipale(t)) sql += "," + t + ".FlStato = " + util::SqlLiteral("0", 8);
    ctx.db.Execute(ctx.conn, sql + filtro.where);
    return 0;
  } catch (const util::RuntimeError& e) {
    ui::MsgErrfrm(ctx.op, e, "", "", std::string("Aggiornamento blocco scadenze"));
    return 1;
  }
}

int AggiornaBloccoScadenze(Contesto& ctx, int modo, const std::string& t, const std::string& condizione, int32_t numReg,
                           const util::Date& dataReg, int32_t rigLiv, util::Money importo, const std::string& extra) {
  ui::Puntatore p(ctx.op);
  try {
    std::string sql;
    switch (modo) {
      case blocco::kRilascia:
        sql = Rilascio(t);
        if (!condizione.empty()) sql += " WHERE " + condizione;
        break;
      case blocco::kConferma:
        sql = "UPDATE " + t + " SET " + t + ".FaseElab = '1'" + extra + " WHERE " + t +
              ".Utente = " + util::SqlLiteral(ctx.utente, 8) + condizione;
        break;
      case blocco::kRilasciaSelezione: sql = Rilascio(t) + " WHERE " + condizione; break;
      case blocco::kSalda: {
        sql = Rilascio(t) + "," + t + ".AnnoPag = " + util::SqlLiteral(ctx.run.par.anno, 2) + "," + t +
              ".NumRegPag = " + util::SqlLiteral(numReg, 3) + "," + t +
              ".DataRegPag = " + util::SqlLiteral(dataReg, 7) + "," + t + ".RigLivPag = " + util::SqlLiteral(rigLiv, 3);
        if (importo != util::Money()) {
          const company::ImportiConvertiti imp = ConvertiPerScadenza(ctx, importo.toDouble());
          sql += "," + t + ".ImportoScad = " + util::SqlLiteral(util::Value(importo), 5) + "," + t +
                 ".ImportoScadLire = " + util::SqlLiteral(imp.lire, 5) + "," + t +
                 ".ImportoScadEuro = " + util::SqlLiteral(imp.euro, 5);
        }
        sql += " WHERE " + condizione;
        break;
      }
      default:
        throw util::RuntimeError(5, "Modo di aggiornamento non valido: " + std::to_string(modo),
                                 "AggiornaBloccoScadenze");
    }
    ctx.db.Execute(ctx.conn, sql);
    return 0;
  } catch (const util::RuntimeError& e) {
    ui::MsgErrfrm(ctx.op, e, "", "", std::string("Aggiornamento blocco scadenze"));
    return 1;
  }
}

}  // namespace compensato
