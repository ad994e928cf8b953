#include "src/extraction/CopiaScadenze.h"

#include <cctype>
#include <vector>

#include "components/db/DbCursor.h"
#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"
#include "src/data/ComLock.h"
#include "src/data/ConversioneRun.h"
#include "src/data/CopiaRighe.h"
#include "src/extraction/Blocco.h"
#include "src/ui/Errori.h"

namespace compensato {
namespace {

struct Chiave {
  util::Value anno, numProg;
};

// Removes exactly the rows a failed call appended, found by their keys.
void EliminaAggiunte(Contesto& ctx, const std::string& tabella, const std::vector<Chiave>& chiavi) {
  for (const Chiave& k : chiavi) {
    try {
      ctx.db.Execute(ctx.conn, "DELETE FROM " + tabella + " WHERE Anno = " + util::SqlLiteral(k.anno, 2) +
                                   " AND NumProg = " + util::SqlLiteral(k.numProg, 3));
    } catch (...) {
      // keep removing the others
    }
  }
}

bool FiniscePerApp(const std::string& t) {
  return t.size() >= 3 && util::EqualsIgnoreCase(t.substr(t.size() - 3), "app");
}

}  // namespace

int RiservaECopia(Contesto& ctx) {
  const StatoRun& r = ctx.run;
  if (RiservaScadenze(ctx, r.filtro) != 0) return 1;
  return CopiaScadenzeApp(ctx, r.tabScadenze, r.tabScadenzeApp);
}

int CopiaScadenzeApp(Contesto& ctx, const std::string& s, const std::string& a) {
  ui::Puntatore p(ctx.op);
  try {
    // The rows the user holds reserved are exactly the ones to copy, whatever
    // the selection was.
    const std::string riservate =
        s + ".Utente = " + util::SqlLiteral(ctx.utente, 8) + " AND " + s + ".FlStato = " + util::SqlLiteral("0", 8);
    CopiaRighe(ctx, s, a).Esegui(riservate, {{"FaseElab", util::SqlLiteral("0", 8)},
                                             {"StatoScad", util::SqlLiteral("", 8)},
                                             {"ImpPagInc", util::SqlLiteral(0.0, 5)}});
    return 0;
  } catch (const util::RuntimeError& e) {
    ui::MsgErrfrm(ctx.op, e);
  } catch (const std::exception& e) {
    ui::MsgErrfrm(ctx.op, e.what(), util::err::kEngine);
  }
  return 1;
}

int CancellaScadenzeApp(Contesto& ctx, const std::optional<std::string>& a, const std::string& utente, bool guardia) {
  if (!a) return 0;
  ui::Puntatore p(ctx.op);
  if (guardia && !FiniscePerApp(*a)) {
    ctx.op.MessageBox("Nome File non valido");
    return 1;
  }
  try {
    ctx.db.Execute(ctx.conn, "DELETE FROM " + *a + " WHERE " + *a +
                                 ".Utente = " + util::SqlLiteral(utente.empty() ? ctx.utente : utente, 8));
    return 0;
  } catch (const util::RuntimeError& e) {
    ui::MsgErrfrm(ctx.op, e);
    return 1;
  }
}

int CreaScadenzaResiduo(Contesto& ctx, const std::string& condizione, util::Money residuo, int16_t anno) {
  ui::Puntatore p(ctx.op);
  db::DbCursor c;
  std::vector<Chiave> aggiunte;
  try {
    const std::string src =
        c.Open(ctx.db, ctx.conn, "", "SELECT * FROM Scadenze WHERE " + condizione, false, db::kSnapshot);
    if (!c.IsEmpty(src)) {
      const std::string dst = c.Open(ctx.db, ctx.conn, "", "SELECT * FROM Scadenze WHERE false", false, db::kUpdatable);
      for (c.MoveFirst(src); !c.Eof(src); c.MoveNext(src)) {
        const company::ImportiConvertiti imp = ConvertiPerScadenza(ctx, residuo.toDouble());
        if (c.CopyRecord(src, dst, true, false, true) != 0)
          throw util::RuntimeError(util::err::kEngine, "Copia della scadenza non riuscita", "CreaScadenzaResiduo");
        int32_t numero = ProssimoNumero(ctx, anno, "Scadenze", "NumProg", false);
        if (numero == 0)
          throw util::RuntimeError(util::err::kEngine, "Numero di scadenza non disponibile", "CreaScadenzaResiduo");
        c.SetField(dst, "NumProg", util::Value(numero));
        c.SetField(dst, "ImportoScad", util::Value(residuo));
        c.SetField(dst, "ImportoScadLire", util::Value(imp.lire));
        c.SetField(dst, "ImportoScadEuro", util::Value(imp.euro));
        // Another operator may take the same number between the read and the
        // insert: move on to the next one rather than failing the whole run.
        UpdateNoKeyDoppia(c, dst, "NumProg", numero);
        aggiunte.push_back({c.FieldValue(src, "Anno"), util::Value(numero)});
      }
      c.Close(dst);
    }
    c.Close(src);
    return 0;
  } catch (const std::exception&) {
    EliminaAggiunte(ctx, "Scadenze", aggiunte);
    return 1;
  }
}

}  // namespace compensato
