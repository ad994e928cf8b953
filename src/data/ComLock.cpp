#include "src/data/ComLock.h"

#include "components/util/Convert.h"
#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"
#include "src/ui/Errori.h"

namespace compensato {
namespace {

bool ChiaveDuplicata(int numero) { return numero == util::err::kDuplicateKey; }

// Changes the state of the held lock. Setting the state of a lock that was
// never taken (a run that settled nothing) does nothing.
int CambiaStato(Contesto& ctx, const std::string& key, const std::string& stato) {
  db::DbCursor& c = ctx.lock.cursore;
  if (key.empty() || !c.IsOpen(key) || c.Eof(key)) return lock::kPreso;
  c.Edit(key);
  c.SetField(key, "Stato", util::Value(stato));
  c.Update(key);
  return lock::kPreso;
}

}  // namespace

std::string NomeUtility(const std::string& gestione) {
  if (gestione == "M") return "Movimenti Interrotti";
  if (gestione == "D") return "DDT Interrotti";
  if (gestione == "F") return "Fatture Interrotte";
  if (gestione == "O") return "Ordini Vendita Interrotti";
  if (gestione == "A") return "Ordini Acquisto Interrotti";
  if (gestione == "P") return "Preventivi Interrotti";
  if (gestione == "E" || gestione == "0") return "Evasione Ddt in fattura: Interrotta";
  if (gestione == "1") return "Ripristino Ddt da stampa: Interrotto";
  if (gestione == "C") return "Prima Nota Interrotti";
  return "";
}

int PrendiLock(Contesto& ctx, ArgomentiLock& a) {
  a.utente.clear();
  a.varie.clear();
  a.statoEsistente.clear();
  if (a.soloVerifica) a.acquisisci = true;
  int risultato = lock::kOccupato;
  const bool standard = a.cursore == "Standard";
  std::string key = standard ? ctx.lock.key : a.cursore;
  db::DbCursor& c = ctx.lock.cursore;
  try {
    if (!a.acquisisci) {
      risultato = CambiaStato(ctx, key, a.stato);
    } else {
      key = c.Open(ctx.db, ctx.conn, key,
                   "Select * from LockGest Where Tipo = " + util::SqlLiteral(a.tipo, 8) +
                       " AND Anno = " + util::SqlLiteral(a.anno, 2) + " AND NumReg = " + util::SqlLiteral(a.numReg, 3),
                   false, db::kUpdatable);
      if (c.IsEmpty(key)) {
        if (a.soloVerifica) {
          risultato = lock::kInesistente;
        } else {
          c.AddNew(key);
          c.SetField(key, "Tipo", util::Value(a.tipo));
          c.SetField(key, "Anno", util::Value(a.anno));
          c.SetField(key, "NumReg", util::Value(a.numReg));
          c.SetField(key, "Utente", util::Value(ctx.utente));
          c.SetField(key, "Stato", util::Value(a.stato));
          c.SetField(key, "Ora", util::Value(util::Date::Now()));
          c.SetField(key, "Gestione", util::Value(a.gestione));
          c.SetField(key, "PadreTipo", util::Value(a.padreTipo));
          c.SetField(key, "PadreAnno", util::Value(a.padreAnno));
          c.SetField(key, "PadreNumReg", util::Value(a.padreNumReg));
          c.SetField(key, "Varie", util::Value(""));
          c.Update(key);
          c.GoToLastModified(key);
          risultato = lock::kPreso;
        }
      } else {
        a.utente = c.GetField(key, "Utente").toText();
        a.varie = c.GetField(key, "Varie").toText();
        a.statoEsistente = c.GetField(key, "Stato").toText();
        a.gestione = c.GetField(key, "Gestione").toText();
        if (util::EqualsIgnoreCase(ctx.utente, a.utente) && a.accettaPropri > 0) {
          risultato = a.soloVerifica ? lock::kPreso : lock::kProprio;
        } else if (a.soloVerifica) {
          risultato = lock::kPreso;
        } else {
          risultato = lock::kOccupato;
          if (a.mostraMessaggi) {
            ui::Avviso(ctx.op,
                       a.descrizione + " (anno: " + std::to_string(a.anno) + " - Num.: " + std::to_string(a.numReg) +
                           ") è in uso da:\n" + a.utente + "\nImpossibile effettuare variazioni\n" +
                           "Se nessuno lo sta usando sbloccare con l'utility: \nGestione " + NomeUtility(a.gestione));
          }
        }
      }
    }
  } catch (const util::RuntimeError& e) {
    risultato = ChiaveDuplicata(e.number()) ? lock::kCollisione : lock::kErrore;
    if (a.mostraMessaggi) {
      if (risultato == lock::kCollisione)
        ctx.op.MessageBox(a.descrizione + " è in uso\nImpossibile effettuare variazioni", ui::box::kCritical);
      else
        ui::MsgErrfrm(ctx.op, e);
    }
  }
  if (standard)
    ctx.lock.key = key;
  else
    a.cursore = key;
  return risultato;
}

void RilasciaLock(Contesto& ctx, std::string* chiave, bool chiudi) {
  std::string& key = (chiave && !chiave->empty()) ? *chiave : ctx.lock.key;
  db::DbCursor& c = ctx.lock.cursore;
  try {
    if (!key.empty() && c.IsOpen(key) && !c.Eof(key)) c.Delete(key);
  } catch (...) {
    // a lock that is already gone is released
  }
  if (chiudi) {
    try {
      if (!key.empty() && c.IsOpen(key)) c.Close(key);
    } catch (...) {
    }
    key.clear();
  }
}

int32_t ProssimoNumero(Contesto& ctx, int16_t anno, const std::string& tabella, const std::string& campo,
                       bool azzeraEra) {
  std::string sql = "Select top 1 " + campo + " from " + tabella;
  if (!azzeraEra) {
    sql += " where anno = " + util::SqlLiteral(anno, 2);
  } else {
    // The host serves parameters as text as often as as numbers: "2026" read
    // as 0 would merge the eras and hand out numbers of the wrong sequence.
    const int annoAzzera = util::ToLong(ctx.host.GetParameter("Coge.AnnoAzzera"));
    if (annoAzzera != 0)
      sql += std::string(" where anno ") + (anno < annoAzzera ? "<" : ">=") +
             util::SqlLiteral(static_cast<int16_t>(annoAzzera), 2);
  }
  sql += " order by " + campo + " DESC";
  db::DbCursor c;
  const std::string key = c.Open(ctx.db, ctx.conn, "", sql, false, db::kSnapshot);
  int32_t numero = 1;
  if (!c.IsEmpty(key)) numero = c.GetField(key, campo).toLong() + 1;
  c.Close(key);
  return numero;
}

void UpdateNoKeyDoppia(db::DbCursor& cursor, const std::string& key, const std::string& campo, int32_t& numero) {
  numero = cursor.GetField(key, campo).toLong();
  int tentativi = 0;
  for (;;) {
    try {
      cursor.Update(key);
      return;
    } catch (const util::RuntimeError& e) {
      if (!ChiaveDuplicata(e.number()) || ++tentativi > 10) throw e.withSource("UpdateNoKeyDoppia");
      numero = cursor.GetField(key, campo).toLong() + 1;
      cursor.SetField(key, campo, util::Value(numero));
    }
  }
}

}  // namespace compensato
