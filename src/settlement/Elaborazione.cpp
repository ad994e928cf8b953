#include "src/settlement/Elaborazione.h"

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "components/db/Recordset.h"
#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"
#include "src/company/ParametriAzienda.h"
#include "src/data/AppoTemp.h"
#include "src/data/ComLock.h"
#include "src/data/ParametriRun.h"
#include "src/data/Transazioni.h"
#include "src/extraction/Blocco.h"
#include "src/extraction/CopiaScadenze.h"
#include "src/extraction/Selezioni.h"
#include "src/settlement/Contabilizza.h"
#include "src/settlement/RigheMovimento.h"
#include "src/settlement/TestataMovimento.h"
#include "src/ui/Avanzamento.h"
#include "src/ui/Errori.h"
#include "src/worklist/QueryLista.h"

namespace compensato {
namespace {

// A step of the run that failed: the step already told the operator what went
// wrong; the run only has to undo and name the step.
struct PassoFallito {
  int passo;
};

// Runs step n of the run. The step in progress is kept in `corrente` so that
// an unexpected error thrown inside it is reported under its number; between
// steps it is 0 again.
template <class Azione>
void EseguiPasso(int& corrente, int n, Azione&& azione) {
  corrente = n;
  if (azione() != 0) throw PassoFallito{n};
  corrente = 0;
}

std::string CondizioneScadenza(Contesto& ctx, const util::Value& anno, const util::Value& numProg) {
  const std::string& t = ctx.run.tabScadenze;
  return t + ".Anno = " + util::SqlLiteral(anno, 2) + " AND " + t + ".NumProg = " + util::SqlLiteral(numProg, 3);
}

// Keeps what an unexpected error of a step says, for the failure message.
void ConservaErrore(const std::exception& e, int& numero, std::string& descrizione) {
  const util::RuntimeError r = util::AsRuntimeError(e);
  numero = r.number();
  descrizione = r.description();
}

bool StatoVuoto(const std::string& s) { return s.empty() || s == " "; }

// An amount of the working copy as a magnitude, exact to the ten-thousandth:
// the grid keeps the sign of the money, the installment stores none.
util::Money Modulo(const util::Value& v) { return v.isNull() ? util::Money() : util::Abs(v.toMoney()); }

// Whether a row settles something: closed, or partly paid for less than due.
// A row marked partly paid that pays all it is due settles nothing.
bool DaSaldare(const std::string& stato, util::Money pagato, util::Money dovuto) {
  return (stato == "A" && pagato < dovuto) || stato == "C";
}

// Sets the state of the entry lock (nothing when the run took none). The lock
// was taken with messages, so its state change reports its own errors; the
// state is what recovery reads, so a change that fails fails the run.
int StatoLock(Contesto& ctx, const std::string& stato) {
  ArgomentiLock a;
  a.acquisisci = false;
  a.stato = stato;
  a.mostraMessaggi = true;
  a.descrizione = "Il movimento";
  return PrendiLock(ctx, a) == lock::kPreso ? 0 : 1;
}

// Forgets the entry lock without deleting it: after a rollback the row is gone
// and its number may already belong to another run's entry.
void DimenticaLock(Contesto& ctx) {
  try {
    if (!ctx.lock.key.empty() && ctx.lock.cursore.IsOpen(ctx.lock.key)) ctx.lock.cursore.Close(ctx.lock.key);
  } catch (...) {
  }
  ctx.lock.key.clear();
}

// Gives back every installment the user still holds and empties the working copy.
void RilasciaTutto(Contesto& ctx, const std::string& utente) {
  AggiornaBloccoScadenze(ctx, blocco::kRilascia, ctx.run.tabScadenze, CondizioneUtente(ctx.run.tabScadenze, utente));
  CancellaScadenzeApp(ctx, ctx.run.tabScadenzeApp, utente, true);
}

using ui::Avanzamento;

// Undoes what a failed run holds: its progress window, its transaction (the
// header, lines and installment updates with it), the entry lock and the
// entry tables.
void AnnullaRun(Contesto& ctx, Avanzamento* avanzamento, std::optional<Transazione>& transazione) {
  if (avanzamento) avanzamento->Chiudi();
  transazione.reset();
  DimenticaLock(ctx);
  ChiudiTabelleMovimento(ctx);
}

// The installment as the lines need it, from a source that gives each field
// by its worklist position or by its name. The grid shows and takes amounts
// with the sign of the money, the installment stores them without it: the
// paid and due amounts are taken as magnitudes.
template <class Campo>
RigaScadenza LeggiRiga(Campo campo, const std::string& stato) {
  RigaScadenza s;
  s.entrataUscita = campo(lista::kEntrataUscita, "EntrataUscita").toText();
  s.statoScad = stato;
  s.tipo = campo(lista::kTipo, "Tipo").toText();
  s.gruppoScad = campo(lista::kGruppoScad, "GruppoScad").toText();
  s.mastroScad = campo(lista::kMastroScad, "MastroScad").toText();
  s.contoScad = campo(lista::kContoScad, "ContoScad").toText();
  s.pagato = Modulo(campo(lista::kImpPagInc, "ImpPagInc"));
  s.dovuto = Modulo(campo(lista::kImportoScad, "ImportoScad"));
  s.preProt = campo(lista::kPreProt, "PreProt").toText();
  s.numProt = campo(lista::kNumProt, "NumProt").toLong();
  s.dataProt = campo(lista::kDataProt, "DataProt").toDate();
  s.prefisso = campo(lista::kPrefisso, "Prefisso").toText();
  s.numDoc = campo(lista::kNumDoc, "NumDoc").toText();
  s.dataDoc = campo(lista::kDataDoc, "DataDoc").toDate();
  s.dataScad = campo(lista::kDataScad, "DataScad").toDate();
  return s;
}

ScadenzaRiferimento Riferimento(const RigaScadenza& s) {
  return {s.preProt, s.numProt, s.dataProt,   s.prefisso,   s.numDoc,
          s.dataDoc, s.tipo,    s.gruppoScad, s.mastroScad, s.contoScad};
}

// The payment references of the installments a walk settles, written in a few
// statements once the walk is over instead of one per installment. Each
// group keeps the step its installments belong to; the run's transaction
// holds them all, and a residual installment is copied from its installment
// before this changes it, as row by row.
class Pagamenti {
 public:
  void Aggiungi(int passo, const ChiaveScadenza& k, int32_t rigLiv, util::Money importo = util::Money()) {
    perPasso_[passo].push_back({k, rigLiv, importo});
  }
  void Esegui(Contesto& ctx, int& passo) {
    const StatoRun& r = ctx.run;
    for (const auto& [n, pagamenti] : perPasso_)
      EseguiPasso(passo, n, [&] { return SaldaScadenze(ctx, r.tabScadenze, pagamenti, r.numRegPag, r.par.dataReg); });
  }

 private:
  std::map<int, std::vector<PagamentoScadenza>> perPasso_;
};

// Writes the staged lines held in memory; a refused line fails the step of
// the installment it settles (5 partly paid, 7 closed) or of the closing
// line (9).
void ScriviRighe(Contesto& ctx) {
  std::string stato;
  if (ScriviRigheMovimento(ctx, stato) != 0) throw PassoFallito{stato == "A" ? 5 : stato == "C" ? 7 : 9};
}

// Lines held in memory before a walk writes them.
constexpr size_t kRigheInMemoria = 250;

// Settles one installment marked "A" or "C": for a partial payment the rest
// becomes a new installment and the settled one keeps the paid part; then its
// lines and its payment references. A row marked "A" that pays all it is due
// is left for the final release. Each failure names its step.
void SaldaScadenza(Contesto& ctx, const RigaScadenza& s, const ChiaveScadenza& chiave, int& passo,
                   Pagamenti& pagamenti) {
  int32_t rigLiv = 0;
  if (s.statoScad == "A") {
    if (s.pagato >= s.dovuto) return;
    EseguiPasso(passo, 4, [&] {
      return CreaScadenzaResiduo(ctx, CondizioneScadenza(ctx, chiave.anno, chiave.numProg), s.dovuto - s.pagato,
                                 chiave.anno.toInteger());
    });
    EseguiPasso(passo, 5, [&] { return CreaRigheScadenza(ctx, s, rigLiv); });
    pagamenti.Aggiungi(6, chiave, rigLiv, s.pagato);
  } else {
    EseguiPasso(passo, 7, [&] { return CreaRigheScadenza(ctx, s, rigLiv); });
    pagamenti.Aggiungi(8, chiave, rigLiv);
  }
}

// The step a row's removal from the working copy belongs to: the last step
// of the row's branch.
int PassoRimozione(const std::string& stato) { return stato == "A" ? 6 : 8; }

// The rows a walk over the working copy has handled, removed from it (and,
// for rows that settle nothing, their installments given back) in a few
// statements once the walk is over instead of one or two per row. Each group
// keeps the step its rows belong to; the run's transaction holds them all, so
// what a crash or a rollback leaves is the same as row by row.
class Rimozioni {
 public:
  void Rilascia(int passo, const ChiaveScadenza& k) {
    rilascia_[passo].push_back(k);
    rimuovi_[passo].push_back(k);
  }
  void Rimuovi(int passo, const ChiaveScadenza& k) { rimuovi_[passo].push_back(k); }

  void Esegui(Contesto& ctx, const std::string& utente, int& passo) {
    const StatoRun& r = ctx.run;
    for (const auto& [n, chiavi] : rilascia_)
      EseguiPasso(passo, n, [&] {
        for (const std::string& cond : CondizioniChiavi(r.tabScadenze, chiavi))
          if (AggiornaBloccoScadenze(ctx, blocco::kRilasciaSelezione, r.tabScadenze, cond) != 0) return 1;
        return 0;
      });
    const std::string& app = r.tabScadenzeApp;
    for (const auto& [n, chiavi] : rimuovi_)
      EseguiPasso(passo, n, [&] {
        for (const std::string& cond : CondizioniChiavi(app, chiavi))
          ctx.db.Execute(ctx.conn, "DELETE FROM " + app + " WHERE " + app + ".Utente = " + util::SqlLiteral(utente, 8) +
                                       " AND " + cond);
        return 0;
      });
  }

 private:
  std::map<int, std::vector<ChiaveScadenza>> rilascia_, rimuovi_;
};

// Walks the working copy once, counting each row on the progress window:
// rows outside the run and rows the operator left unmarked give their
// installments back, rows marked "A" or "C" are settled, and the handled rows
// leave the working copy once the walk is over. `campo` reads a field of the
// current row by its worklist position or by its name; `fuoriRun` says whether
// the current row is outside the run; `prima` sees each row to settle before
// it is settled.
template <class Campo, class FuoriRun, class Prima>
void SaldaCopia(Contesto& ctx, db::DbCursor& c, const std::string& key, Avanzamento& avanzamento,
                const std::string& utente, int& passo, Campo campo, FuoriRun fuoriRun, Prima prima) {
  int32_t conta = 0;
  Rimozioni fatte;
  Pagamenti pagamenti;
  for (c.MoveFirst(key); !c.Eof(key); c.MoveNext(key)) {
    avanzamento.Avanza(++conta);
    const ChiaveScadenza chiave{campo(lista::kAnno, "Anno"), campo(lista::kNumProg, "NumProg")};
    const std::string stato = campo(lista::kStatoScad, "StatoScad").toText();
    if (fuoriRun()) {
      fatte.Rilascia(2, chiave);
    } else if (StatoVuoto(stato)) {
      fatte.Rilascia(3, chiave);
    } else if (stato == "A" || stato == "C") {
      const RigaScadenza s = LeggiRiga(campo, stato);
      prima(s);
      SaldaScadenza(ctx, s, chiave, passo, pagamenti);
      if (ctx.run.righe.InAttesa() >= kRigheInMemoria) ScriviRighe(ctx);
      fatte.Rimuovi(PassoRimozione(stato), chiave);
    }
  }
  ScriviRighe(ctx);
  pagamenti.Esegui(ctx, passo);
  fatte.Esegui(ctx, utente, passo);
}

}  // namespace

bool LeggiParametriRun(Contesto& ctx, const std::string& utente, const std::string& programId) {
  const bool ok = LeggiParametriAppoggio(ctx, utente, programId, ctx.run.par);
  // The run currency came later than the fourteen parameters: a run stored
  // without it was made in the company currency.
  const util::Value moneta = LeggiAppoggio(ctx, utente, programId, kChiaveMonetaRun, appoggio::kTesto);
  const std::string m = moneta.toText();
  ctx.run.monetaRun = (m.empty() || m == appoggio::kMancante) ? ctx.azienda.monetaAzienda : m;
  // The rate's operator is the currency's own: a process that completes an
  // interrupted run never saw the selection that chose it.
  db::DbCursor c;
  const std::string k = c.Open(ctx.db, ctx.conn, "",
                               "SELECT Operatore FROM Monete WHERE Moneta = " + util::SqlLiteral(ctx.run.monetaRun, 8),
                               false, db::kSnapshot);
  if (!c.Eof(k)) {
    const std::string operatore = util::Trim(c.GetField(k, "Operatore").toText());
    if (!operatore.empty()) ctx.run.selezione.operatoreMoneta = operatore;
  }
  c.Close(k);
  return ok;
}

int InizioElab(Contesto& ctx, db::DbCursor& lista, const std::string& key) {
  StatoRun& r = ctx.run;
  r.numRegPag = 999999;
  r.descAggRighe = company::LeggiParPers(ctx.host, "Compen", "DescAgg", "");
  const std::string& tabApp = r.tabScadenzeApp;
  std::optional<Transazione> transazione;
  bool qualcosa = false;
  int passo = 0;
  int numeroErrore = 0;
  std::string descrizioneErrore;
  std::unique_ptr<Avanzamento> avanzamento;
  auto col = [&](int pos) {
    const db::Recordset& rs = lista.GetRecordset(key);
    return rs.field(rs.position(), pos);
  };
  try {
    try {
      EseguiPasso(passo, 1, [&] { return AggiornaBloccoScadenze(ctx, blocco::kConferma, tabApp, ""); });
      avanzamento = std::make_unique<Avanzamento>(ctx.op, lista.RecordCount(key), " Scadenze", "Elaborazione Scadenze");
      if (lista.IsEmpty(key)) throw PassoFallito{0};

      // The header's document data come from the rows that settle something
      // (the last of them): a row marked "A" that pays all it is due is not
      // part of the entry.
      int32_t numero = 0;
      std::string prefisso, numDoc;
      util::Date dataDoc;
      lista.MoveFirst(key);
      for (; !lista.Eof(key); lista.MoveNext(key)) {
        if (DaSaldare(col(lista::kStatoScad).toText(), Modulo(col(lista::kImpPagInc)),
                      Modulo(col(lista::kImportoSegno)))) {
          ++numero;
          qualcosa = true;
          prefisso = col(lista::kPrefisso).toText();
          numDoc = col(lista::kNumDoc).toText();
          dataDoc = col(lista::kDataDoc).toDate();
        }
      }

      if (qualcosa) ApriTabelleMovimento(ctx);
      transazione.emplace(ctx);
      if (qualcosa)
        EseguiPasso(passo, 2,
                    [&] { return CreaTestataMovimento(ctx, numero, r.monetaRun, numDoc, dataDoc, prefisso); });

      // The closing line refers to the last installment that settles something.
      ScadenzaRiferimento rif;
      SaldaCopia(
          ctx, lista, key, *avanzamento, ctx.utente, passo, [&](int pos, const char*) { return col(pos); },
          [] { return false; },
          [&](const RigaScadenza& s) {
            if (DaSaldare(s.statoScad, s.pagato, s.dovuto)) rif = Riferimento(s);
          });

      if (!qualcosa) {
        ui::Avviso(ctx.op, "Attenzione: Nessuna scadenza è stata selezionata e quindi messa in compensato");
      } else {
        EseguiPasso(passo, 9, [&] { return CreaRigheChiusura(ctx, numero, rif); });
        ScriviRighe(ctx);
        EseguiPasso(passo, 9, [&] { return StatoLock(ctx, "C"); });
      }
      avanzamento->Chiudi();
      transazione->Conferma();
      transazione.reset();
    } catch (const std::exception& e) {
      ConservaErrore(e, numeroErrore, descrizioneErrore);
      throw PassoFallito{passo};
    }
  } catch (const PassoFallito& f) {
    AnnullaRun(ctx, avanzamento.get(), transazione);
    RilasciaTutto(ctx, ctx.utente);
    ui::Avviso(ctx.op, "Errore durante l'elaborazione delle scadenze: l'operazione verrà annullata in " +
                           std::to_string(f.passo) + ", Errore n." + std::to_string(numeroErrore) + " " +
                           descrizioneErrore);
    r.esitoLista = 1000;
    return 1;
  }

  if (qualcosa) {
    ContabilizzaMovimento(ctx);
    RilasciaLock(ctx);
    ChiudiTabelleMovimento(ctx);
  }
  RilasciaTutto(ctx, ctx.utente);
  return 0;
}

int ElaborazioneScadenze(Contesto& ctx, const std::string& utente, const std::string& programId, bool creaTestata,
                         bool soloContab, int32_t numReg, std::optional<int16_t> annoLock) {
  StatoRun& r = ctx.run;
  const std::string& tabApp = r.tabScadenzeApp;
  r.numRegPag = 999999;
  bool qualcosa = false;
  std::optional<Transazione> transazione;
  int numeroErrore = 0;
  std::string descrizioneErrore;
  std::unique_ptr<Avanzamento> avanzamento;
  db::DbCursor copia;
  std::string kc;

  auto fine = [&] {
    CancellaAppoggio(ctx, utente, programId);
    RilasciaTutto(ctx, utente);
  };

  bool letti = false;
  try {
    letti = LeggiParametriRun(ctx, utente, programId);
  } catch (const std::exception&) {
    letti = false;
  }
  // Posting an entry needs only its year and number: the lock gives both when
  // the run's parameters went with the interrupted process.
  if (!letti && soloContab && annoLock) {
    r.par.anno = *annoLock;
    letti = true;
  }
  if (!letti) {
    ui::Avviso(ctx.op, "Errore durante la lettura delle selezioni dal file temporaneo: l'operazione verrà annullata");
    fine();
    return 1;
  }

  if (soloContab) {
    r.numReg = numReg;
    r.numRegPag = numReg;
    PrendiLockMovimento(ctx);
    qualcosa = true;
  } else {
    int passo = 0;
    try {
      try {
        transazione.emplace(ctx);
        ApriTabelleMovimento(ctx);
        // Only the fields the run reads: the working copy may hold tens of
        // thousands of rows, and the cursor keeps them all while it walks.
        kc = copia.Open(ctx.db, ctx.conn, "",
                        "SELECT Anno, NumProg, FaseElab, StatoScad, ImpPagInc, ImportoScad, EntrataUscita, Tipo, "
                        "GruppoScad, MastroScad, ContoScad, PreProt, NumProt, DataProt, Prefisso, NumDoc, DataDoc, "
                        "DataScad FROM " +
                            tabApp + " WHERE Utente = " + util::SqlLiteral(utente, 8),
                        false, db::kUpdatable);
        auto campoCopia = [&](int, const char* nome) { return copia.GetField(kc, nome); };
        if (copia.IsEmpty(kc)) {
          ui::Avviso(ctx.op, "Non ci sono registrazioni con i dati richiesti");
        } else {
          // The entry's references come from what the run settles: the first
          // row that settles something gives the header's document data and
          // the closing line's installment.
          int32_t numero = 0;
          std::optional<RigaScadenza> primo;
          for (copia.MoveFirst(kc); !copia.Eof(kc); copia.MoveNext(kc)) {
            if (copia.GetField(kc, "FaseElab").toText() == "0") continue;
            const std::string stato = copia.GetField(kc, "StatoScad").toText();
            if (DaSaldare(stato, Modulo(copia.GetField(kc, "ImpPagInc")), Modulo(copia.GetField(kc, "ImportoScad")))) {
              ++numero;
              qualcosa = true;
              if (!primo) primo = LeggiRiga(campoCopia, stato);
            }
          }
          if (qualcosa) {
            EseguiPasso(passo, 1, [&] {
              // Lines without their header would be posted under whatever
              // entry number the process last held.
              if (!creaTestata) {
                ui::Avviso(ctx.op, "Testata del movimento mancante");
                return 1;
              }
              // The run's currency, as read back with its parameters: a
              // header in the company currency would call the lines' dollars
              // euro, at a rate of 1.
              return CreaTestataMovimento(ctx, numero, r.monetaRun, primo->numDoc, primo->dataDoc, primo->prefisso);
            });
          }
          avanzamento = std::make_unique<Avanzamento>(ctx.op, copia.RecordCount(kc), " Ripristino Scadenze",
                                                      "Elaborazione Scadenze");
          const ScadenzaRiferimento rif = primo ? Riferimento(*primo) : ScadenzaRiferimento{};
          // Rows of phase "0" were never confirmed: the interrupted run had
          // not reached them.
          SaldaCopia(
              ctx, copia, kc, *avanzamento, utente, passo, campoCopia,
              [&] { return copia.GetField(kc, "FaseElab").toText() == "0"; }, [](const RigaScadenza&) {});
          if (qualcosa) {
            EseguiPasso(passo, 9, [&] { return CreaRigheChiusura(ctx, numero, rif); });
            ScriviRighe(ctx);
          }
          avanzamento->Chiudi();
          EseguiPasso(passo, 9, [&] { return StatoLock(ctx, "C"); });
        }
        copia.Close(kc);
        transazione->Conferma();
        transazione.reset();
      } catch (const std::exception& e) {
        ConservaErrore(e, numeroErrore, descrizioneErrore);
        throw PassoFallito{passo};
      }
    } catch (const PassoFallito& f) {
      AnnullaRun(ctx, avanzamento.get(), transazione);
      std::string testo =
          "Errore durante l'elaborazione delle scadenze: l'operazione verrà annullata - " + std::to_string(f.passo);
      ui::MsgErrfrm(ctx.op, descrizioneErrore.empty() ? testo : testo + " (" + descrizioneErrore + ")", numeroErrore);
      fine();
      return 1;
    }
    ChiudiTabelleMovimento(ctx);
  }

  if (qualcosa) {
    ContabilizzaMovimento(ctx);
    RilasciaLock(ctx);
  }
  fine();
  return 0;
}

}  // namespace compensato
