// compensato-batch: the settlement without screens, for unattended runs and
// support.
//
//   compensato-batch auto    [connection] [selection and run parameters] [--yes]
//   compensato-batch recover [connection] [--utente <identity> --flag <10|0|1>]
//   compensato-batch list    [connection]
//
// Connection: --params <file> (the menu host's parameters file, read
// directly), --menu <instance> (a running menu host), --db <name> (the company
// database; default the host's "NomeDBAzie"), --operator <name>.
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "components/db/DbCursor.h"
#include "components/db/DbExecutor.h"
#include "components/host/SocketMenuHost.h"
#include "components/util/CommandLine.h"
#include "components/util/Error.h"
#include "components/util/SqlLiteral.h"
#include "src/company/ParametriAzienda.h"
#include "src/data/Contesto.h"
#include "src/recovery/Ripristino.h"
#include "src/selection/Controlli.h"
#include "src/selection/Elabora.h"
#include "tools/batch/BatchOperatore.h"
#include "tools/batch/HostFile.h"

namespace {

constexpr const char* kUso =
    "uso: compensato-batch auto|recover|list [--params F | --menu ISTANZA] [--db NOME] [--operator OP]\n"
    "  auto:    --clienti|--fornitori --massimo N --causale C --conto-partita CONTO --abb-att CONTO\n"
    "           --abb-pas CONTO --data-reg GG/MM/AAAA --anno AAAA [--moneta M --cambio N --conto-da C\n"
    "           --conto-a C --scad-da D --scad-a D --doc-da D --doc-a D --prefisso P --numdoc-da N\n"
    "           --numdoc-a N --pagtipo T --effetti --desc TESTO --uti-cambio C --perd-cambio C --cdc C\n"
    "           --num-prot N --data-prot D --pref-prot P --ordine 1|2|3] [--yes]\n"
    "  recover: [--utente IDENTITA --flag 10|0|1]\n"
    "  list\n";

struct Argomenti {
  std::string comando;
  std::map<std::string, std::string> valori;
  bool Ha(const std::string& k) const { return valori.count(k) > 0; }
  std::string Di(const std::string& k, const std::string& d = "") const {
    auto it = valori.find(k);
    return it == valori.end() ? d : it->second;
  }
};

bool Leggi(int argc, char** argv, Argomenti& a) {
  if (argc < 2) return false;
  a.comando = argv[1];
  const std::vector<std::string> senzaValore = {"--yes", "--clienti", "--fornitori", "--effetti"};
  for (int i = 2; i < argc; ++i) {
    std::string k = argv[i];
    if (k.rfind("--", 0) != 0) return false;
    bool flag = false;
    for (const auto& s : senzaValore) flag = flag || s == k;
    if (flag) {
      a.valori[k] = "1";
    } else {
      if (i + 1 >= argc) return false;
      a.valori[k] = argv[++i];
    }
  }
  return a.comando == "auto" || a.comando == "recover" || a.comando == "list";
}

util::Date Data(const Argomenti& a, const std::string& k) {
  const std::string t = a.Di(k);
  if (t.empty()) return util::Date();
  try {
    return util::Value(t).toDate();
  } catch (const std::invalid_argument&) {
    throw util::OptionError(k + ": \"" + t + "\" non è una data");
  }
}

// Amounts and rates: wide enough for any the database's currency holds; what
// the run accepts is the selection checks' business.
double Numero(const Argomenti& a, const std::string& k, double d = 0) {
  const std::string t = a.Di(k);
  return t.empty() ? d : util::NumberOption(k, t, -1e14, 1e14);
}

int64_t Intero(const Argomenti& a, const std::string& k, int64_t min, int64_t max, int64_t d = 0) {
  const std::string t = a.Di(k);
  return t.empty() ? d : util::IntegerOption(k, t, min, max);
}

std::string Testo(const util::Value& v) { return v.isNull() ? std::string() : v.toText(); }

compensato::SelezioneRun Selezione(const Argomenti& a, compensato::Contesto& ctx) {
  compensato::SelezioneRun s;
  s.automatica = true;
  s.tipoConto = a.Ha("--fornitori") ? 2 : 3;
  s.contoDa = a.Di("--conto-da");
  s.contoA = a.Di("--conto-a");
  s.dataScadDa = Data(a, "--scad-da");
  s.dataScadA = Data(a, "--scad-a");
  s.dataDocDa = Data(a, "--doc-da");
  s.dataDocA = Data(a, "--doc-a");
  s.prefissoDoc = a.Di("--prefisso");
  s.numDocDa = a.Di("--numdoc-da");
  s.numDocA = a.Di("--numdoc-a");
  s.pagTipo = a.Di("--pagtipo");
  s.effetti = a.Ha("--effetti") ? "s" : "n";
  s.moneta = a.Di("--moneta", ctx.azienda.monetaAzienda);
  s.cambio = Numero(a, "--cambio", 1);
  s.importoMassimo = Numero(a, "--massimo");
  s.causale = a.Di("--causale");
  s.contoPartita = a.Di("--conto-partita");
  s.descAggiuntiva = a.Di("--desc");
  s.contoAbbAtt = a.Di("--abb-att");
  s.contoAbbPas = a.Di("--abb-pas");
  s.dataReg = Data(a, "--data-reg");
  s.anno = static_cast<int16_t>(Intero(a, "--anno", 1, 9999));
  s.contoUtiCambio = a.Di("--uti-cambio");
  s.contoPerdCambio = a.Di("--perd-cambio");
  s.cdc = a.Di("--cdc");
  s.numProt = static_cast<int32_t>(Intero(a, "--num-prot", 0, INT32_MAX));
  s.dataProt = Data(a, "--data-prot");
  const std::string pref = a.Di("--pref-prot");
  s.prefProt = pref.find_first_not_of(' ') == std::string::npos ? "." : pref;
  s.ordinamento = static_cast<int>(Intero(a, "--ordine", 1, 3, 3));
  return s;
}

// The entry this run wrote, and no other: another operator's run numbers its
// entries in the same year at the same time.
void Riepilogo(compensato::Contesto& ctx, bool scritto) {
  const compensato::StatoRun& r = ctx.run;
  const std::string chiave =
      " WHERE Anno = " + util::SqlLiteral(r.par.anno, 2) + " AND NumReg = " + util::SqlLiteral(r.numReg, 3);
  db::DbCursor c;
  const std::string k = c.Open(ctx.db, ctx.conn, "", "SELECT COUNT(*) AS N FROM MovPnTes" + chiave, false,
                               db::kSnapshot);
  const bool trovato = scritto && c.GetField(k, "N").toLong() > 0;
  c.Close(k);
  if (!trovato) {
    std::cout << "Nessun movimento registrato.\n";
    return;
  }
  const std::string kr = c.Open(ctx.db, ctx.conn, "",
                                "SELECT COUNT(*) AS Righe, SUM(IIF(DareAvere = 'D', Importo, 0)) AS Dare, "
                                "SUM(IIF(DareAvere = 'A', Importo, 0)) AS Avere FROM MovPnDett" + chiave,
                                false, db::kSnapshot);
  std::printf("Movimento %d/%d: %d righe, dare %.2f, avere %.2f\n", static_cast<int>(r.par.anno), r.numReg,
              c.GetField(kr, "Righe").toLong(), c.GetField(kr, "Dare").toDouble(), c.GetField(kr, "Avere").toDouble());
  c.Close(kr);
}

}  // namespace

int main(int argc, char** argv) {
  Argomenti a;
  if (!Leggi(argc, argv, a)) {
    std::cerr << kUso;
    return 2;
  }
  std::unique_ptr<host::MenuHost> host;
  try {
    if (a.Ha("--menu")) {
      // The batch only asks the host: attaching would make it the program
      // that gets the host's commands.
      auto h = std::make_unique<host::SocketMenuHost>();
      h->Collega(a.Di("--menu"));
      host = std::move(h);
    } else if (a.Ha("--params")) {
      host = std::make_unique<batch::HostFile>(a.Di("--params"), a.Di("--operator"));
    } else {
      std::cerr << "compensato-batch: indicare --params o --menu\n" << kUso;
      return 2;
    }

    batch::BatchOperatore op(std::cout, a.Ha("--yes"));
    db::DbExecutor db;
    std::string nome = a.Di("--db");
    if (nome.empty()) nome = Testo(host->GetParameter("NomeDBAzie"));
    if (nome.empty()) {
      std::cerr << "compensato-batch: nessun database (--db o NomeDBAzie)\n";
      return 2;
    }
    db.SetSetting("DbSqlPubUID", host->GetParameter("SqlLogin"));
    db.SetSetting("DbSqlPubPWD", host->GetParameter("SqlPwd"));
    db.SetSetting("DbAccPWD", host->GetParameter("PwdDbAzie"));
    const std::string conn = db.OpenDatabase(nome);
    compensato::Contesto ctx(*host, db, conn, op);
    compensato::LeggiIdentita(ctx);
    if (a.Ha("--operator")) ctx.operatore = a.Di("--operator");
    // Held until the process ends, so that no other process of the operator
    // recovers this run while it goes on.
    compensato::MarcaVita(ctx);
    // A host counts the programs attached to it, and the batch does not
    // attach: it is one instance more than the host sees.
    ctx.istanze = host->CountRunning("tuttiprginesec|" + ctx.programId + "~", 12) + (a.Ha("--menu") ? 1 : 0);
    company::CaricaDatiAzienda(*host, db, conn, ctx.azienda);

    if (a.comando == "list") {
      for (const compensato::IdentitaBloccata& id : compensato::CercaLock(ctx))
        std::cout << id.utente << "\t" << (id.fase.empty() ? "-" : id.fase) << "\t" << id.flag << "\t" << id.testo
                  << "\n";
      return 0;
    }
    if (a.comando == "recover") {
      int esito = 0;
      if (a.Ha("--utente"))
        esito = compensato::RipristinaIdentita(ctx, a.Di("--utente"), a.Di("--flag", "10"));
      else
        esito = compensato::Controllo_Elaborazione(ctx);
      return esito == 0 && !op.erroriMostrati() ? 0 : 1;
    }

    const compensato::SelezioneRun s = Selezione(a, ctx);
    const std::vector<std::string> errori = compensato::ControllaSelezione(ctx, s);
    for (const std::string& e : errori) std::cout << e << "\n";
    if (!errori.empty()) return 1;
    // An interrupted run of this operator is dealt with first, as the
    // selection screen does when it opens.
    if (compensato::Controllo_Elaborazione(ctx) != 0) return 1;
    // The number a recovery above left behind is not this run's.
    ctx.run.numReg = 0;
    const int esito = compensato::Elabora(ctx, s, nullptr);
    // A failed run rolled its entry back, and its number may be another's by now.
    Riepilogo(ctx, esito == 0 && ctx.run.numReg > 0);
    return esito == 0 && !op.erroriMostrati() ? 0 : 1;
  } catch (const util::OptionError& e) {
    std::cerr << "compensato-batch: " << e.what() << "\n";
    return 2;
  } catch (const util::RuntimeError& e) {
    std::cerr << "compensato-batch: errore " << e.number() << ": " << e.description() << "\n";
  } catch (const std::exception& e) {
    std::cerr << "compensato-batch: " << e.what() << "\n";
  }
  return 1;
}
