#include "src/recovery/Ripristino.h"

#include <memory>

#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"
#include "src/data/AppoTemp.h"
#include "src/extraction/Blocco.h"
#include "src/extraction/CopiaScadenze.h"
#include "src/settlement/Elaborazione.h"
#include "src/settlement/TestataMovimento.h"
#include "src/ui/Avanzamento.h"

namespace compensato {
namespace {

struct Fallimento {};

void Riuscito(int esito) {
  if (esito != 0) throw Fallimento{};
}

std::string FaseDi(Contesto& ctx, const std::string& utente) {
  db::DbCursor c;
  const std::string k = c.Open(ctx.db, ctx.conn, "",
                               "SELECT MAX(FaseElab) AS Fase FROM " + ctx.run.tabScadenzeApp +
                                   " WHERE Utente = " + util::SqlLiteral(utente, 8) + " GROUP BY Utente",
                               false, db::kSnapshot);
  std::string fase = c.IsEmpty(k) ? std::string() : c.GetField(k, "Fase").toText();
  c.Close(k);
  return fase;
}

// The LIKE pattern of every identity of the operator. A wildcard in the
// operator's own name would match other operators' identities too, so every
// row the pattern finds is also checked by DiOperatore.
std::string ModelloOperatore(const std::string& operatore) { return operatore + "~" + "*"; }

bool DiOperatore(const std::string& utente, const std::string& operatore) {
  const std::string prefisso = operatore + "~";
  return utente.size() >= prefisso.size() && util::EqualsIgnoreCase(utente.substr(0, prefisso.size()), prefisso);
}

using ui::Avanzamento;

std::unique_ptr<Avanzamento> NuovoAvanzamento(Contesto& ctx, int32_t totale) {
  return std::make_unique<Avanzamento>(ctx.op, totale, " Ripristino", "Ripristino Scadenze");
}

void Annulla(Contesto& ctx, Avanzamento* av, const std::string& utente, bool appoggio, const std::string& programma) {
  if (av) av->Testo("Sblocco delle scadenze");
  Riuscito(AggiornaBloccoScadenze(ctx, blocco::kRilascia, ctx.run.tabScadenze,
                                  CondizioneUtente(ctx.run.tabScadenze, utente)));
  if (av) av->Testo("Cancellazione scadenze da file temporaneo");
  Riuscito(CancellaScadenzeApp(ctx, ctx.run.tabScadenzeApp, utente, true));
  if (appoggio) Riuscito(CancellaAppoggio(ctx, utente, programma));
}

void Completa(Contesto& ctx, Avanzamento* av, const std::string& utente, const std::string& programma) {
  if (av) av->Testo("Ripristino scadenze in elaborazione");
  // The interrupted run's header went with its rolled-back transaction and
  // nothing records its number: the completion writes its own, numbered anew.
  ElaborazioneScadenze(ctx, utente, programma, true, false, 0);
}

}  // namespace

std::string TestoFase(const std::string& flag) {
  if (flag == "10") return "Trovato scadenze bloccate: il ripristino procede allo sblocco (scadenze)";
  if (flag == "0") return "Trovato scadenze bloccate: il ripristino procede allo sblocco (scadenze + file temporaneo)";
  return "Trovato scadenze da elaborare: il ripristino procede all'elaborazione del compensato";
}

std::vector<IdentitaBloccata> CercaLock(Contesto& ctx) {
  const std::string& t = ctx.run.tabScadenze;
  db::DbCursor c;
  const std::string k = c.Open(ctx.db, ctx.conn, "",
                               " SELECT Utente  FROM " + t + " WHERE (" + t + ".Utente IS NOT NULL AND " + t +
                                   ".FlStato = " + util::SqlLiteral("0", 8) + ") GROUP BY Utente",
                               false, db::kSnapshot);
  std::vector<IdentitaBloccata> elenco;
  for (; !c.Eof(k); c.MoveNext(k)) {
    IdentitaBloccata id;
    id.utente = c.GetField(k, "Utente").toText();
    id.fase = FaseDi(ctx, id.utente);
    id.flag = id.fase.empty() ? "10" : id.fase;
    id.inUso = InUso(ctx, id.utente);
    id.testo = id.inUso ? kTestoInUso : TestoFase(id.flag);
    elenco.push_back(std::move(id));
  }
  c.Close(k);
  return elenco;
}

int Controllo_Elaborazione(Contesto& ctx) {
  const std::string modello = util::SqlLiteral(ModelloOperatore(ctx.operatore), 8);
  const std::string query = "SELECT MAX(FaseElab) AS Fase, Utente FROM " + ctx.run.tabScadenzeApp + " WHERE " +
                            ctx.run.tabScadenzeApp + ".Utente LIKE " + modello + " GROUP BY Utente";
  const bool solo = ctx.istanze < 2;
  try {
    db::DbCursor c;
    const std::string k = c.Open(ctx.db, ctx.conn, "", query, false, db::kSnapshot);
    // Identities the pattern matched only by a wildcard in the operator's
    // name are another operator's: they are neither announced nor counted,
    // and they do not stand in the way of this operator's entry lock.
    struct Trovata {
      std::string utente, fase;
    };
    std::vector<Trovata> proprie;
    for (; !c.Eof(k); c.MoveNext(k)) {
      const std::string utente = c.GetField(k, "Utente").toText();
      // A run whose program still runs is going on, not interrupted.
      if (DiOperatore(utente, ctx.operatore) && !InUso(ctx, utente))
        proprie.push_back({utente, c.GetField(k, "Fase").toText()});
    }
    c.Close(k);
    if (!proprie.empty()) {
      std::unique_ptr<Avanzamento> av;
      int32_t conta = 0;
      for (const Trovata& t : proprie) {
        if (solo)
          ui::Avviso(ctx.op, "ATTENZIONE: l'ultima elaborazione è stata interrotta. Si procede ora al ripristino: "
                             "assicurarsi che nessuno utilizzi le scadenze");
        if (!av) av = NuovoAvanzamento(ctx, static_cast<int32_t>(proprie.size()));
        av->Avanza(++conta);
        if (!solo) continue;
        const std::string& utente = t.utente;
        const std::string& fase = t.fase;
        if (fase == "0") {
          Annulla(ctx, av.get(), utente, true, ctx.programId);
          ui::Avviso(ctx.op, "E' stata completamente annullata l'ultima elaborazione effettuata");
        } else if (fase == "1") {
          Completa(ctx, av.get(), utente, ctx.programId);
          ui::Avviso(ctx.op, "E' stata completata l'ultima elaborazione effettuata");
        }
      }
      return 0;
    }

    const std::string sqlLock =
        "Select LockGest.* FROM LockGest Where LockGest.Gestione = " + util::SqlLiteral(kGestioneCompensato, 8) +
        " AND LockGest.Tipo = " + util::SqlLiteral(kTipoLockMovimento, 8) + " and LockGest.Utente LIKE " + modello;
    std::string kl = c.Open(ctx.db, ctx.conn, "", sqlLock, false, db::kSnapshot);
    while (!c.Eof(kl) && (!DiOperatore(c.GetField(kl, "Utente").toText(), ctx.operatore) ||
                          InUso(ctx, c.GetField(kl, "Utente").toText())))
      c.MoveNext(kl);
    if (!c.Eof(kl)) {
      const int32_t numReg = c.GetField(kl, "NumReg").toLong();
      const int16_t anno = c.GetField(kl, "Anno").toInteger();
      if (solo) {
        ui::Avviso(ctx.op, "ATTENZIONE: l'ultima elaborazione è stata interrotta (contab.). Si procede ora al "
                           "ripristino: assicurarsi che nessuno utilizzi le scadenze");
        const std::string utente = c.GetField(kl, "Utente").toText();
        c.Close(kl);
        ElaborazioneScadenze(ctx, utente, ctx.programId, false, true, numReg, anno);
        return 0;
      }
      c.Close(kl);
      return 0;
    }
    c.Close(kl);

    if (solo) {
      auto identita = [&](const std::string& sql) {
        const std::string ks = c.Open(ctx.db, ctx.conn, "", sql, false, db::kSnapshot);
        std::vector<std::string> utenti;
        for (; !c.Eof(ks); c.MoveNext(ks)) {
          const std::string u = c.GetField(ks, "Utente").toText();
          // This process's own identity may already hold a run starting.
          if (DiOperatore(u, ctx.operatore) && u != ctx.utente && !InUso(ctx, u)) utenti.push_back(u);
        }
        c.Close(ks);
        return utenti;
      };
      // A run stopped after it reserved its installments and before it copied
      // them, or after it posted and before it gave the rest back, leaves
      // reservations and nothing else; only the recovery window would free
      // them, so the check gives them back itself.
      const std::string& t = ctx.run.tabScadenze;
      for (const std::string& u :
           identita("SELECT Utente FROM " + t + " WHERE " + t + ".Utente LIKE " + modello + " AND " + t +
                    ".FlStato = " + util::SqlLiteral("0", 8) + " GROUP BY Utente")) {
        Riuscito(AggiornaBloccoScadenze(ctx, blocco::kRilascia, t, CondizioneUtente(t, u)));
        Riuscito(CancellaAppoggio(ctx, u, ctx.programId));
      }
      // Stopped after it stored its run parameters and before it reserved
      // anything, a run leaves only those; every run has an identity of its
      // own, so no later run would ever delete them.
      for (const std::string& u :
           identita("SELECT Utente FROM AppoggioTemp WHERE Utente LIKE " + modello +
                    " AND IdProgramma = " + util::SqlLiteral(ctx.programId, 8) + " GROUP BY Utente"))
        Riuscito(CancellaAppoggio(ctx, u, ctx.programId));
    }
    return 0;
  } catch (...) {
    ui::Avviso(ctx.op, "Errore durante il ripristino delle scadenze (controllo elaborazione selez.)");
    ui::Avviso(ctx.op, ctx.operatore + "---" + query);
    return 1;
  }
}

int RipristinaIdentita(Contesto& ctx, const std::string& utente, const std::string& flag) {
  const std::string programma = kProgrammaRipristino;
  try {
    if (InUso(ctx, utente)) {
      ui::Avviso(ctx.op,
                 "L'elaborazione di " + utente + " è ancora in corso: le sue scadenze non vengono ripristinate");
      return 1;
    }
    if (flag == "10") {
      Riuscito(AggiornaBloccoScadenze(ctx, blocco::kRilascia, ctx.run.tabScadenze,
                                      CondizioneUtente(ctx.run.tabScadenze, utente)));
      Riuscito(CancellaAppoggio(ctx, utente, programma));
      return 0;
    }
    const auto av = NuovoAvanzamento(ctx, 1);
    av->Avanza(1);
    if (flag == "0")
      Annulla(ctx, av.get(), utente, true, programma);
    else if (flag == "1")
      Completa(ctx, av.get(), utente, programma);
    return 0;
  } catch (...) {
    ui::Avviso(ctx.op, "Errore durante il ripristino delle scadenze (controllo elaborazione: ripristino)");
    return 1;
  }
}

}  // namespace compensato
