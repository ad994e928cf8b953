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
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "components/db/DbCursor.h"
#include "components/db/DbExecutor.h"
#include "components/host/SocketMenuHost.h"
#include "components/util/CommandLine.h"
#include "components/util/Error.h"
#include "components/util/NumberFormat.h"
#include "components/util/SqlLiteral.h"
#include "src/company/AziUtilPrg.h"
#include "src/company/ParametriAzienda.h"
#include "src/data/Contesto.h"
#include "src/recovery/Ripristino.h"
#include "src/selection/Elabora.h"
#include "src/selection/ModelloSelezioni.h"
#include "tools/batch/BatchOperatore.h"
#include "tools/batch/HostFile.h"

namespace {

constexpr const char* kUso =
    "uso: compensato-batch auto|recover|list [--params F | --menu ISTANZA] [--db NOME] [--operator OP]\n"
    "  auto:    --clienti|--fornitori [--massimo N --causale C --conto-partita CONTO --abb-att CONTO\n"
    "           --abb-pas CONTO --data-reg GG/MM/AAAA --anno AAAA --moneta M --cambio N --conto-da C\n"
    "           --conto-a C --scad-da D --scad-a D --doc-da D --doc-a D --prefisso P --numdoc-da N\n"
    "           --numdoc-a N --pagtipo T --effetti --desc TESTO --uti-cambio C --perd-cambio C --cdc C\n"
    "           --num-prot N --data-prot D --pref-prot P --ordine 1|2|3] [--yes]\n"
    "           what is not given takes the selection screen's default\n"
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

// The options of each command. A mistyped option must stop the run: ignored,
// it would settle without the bound the operator meant to set.
const std::set<std::string> kConValore = {"--params", "--menu", "--db", "--operator"};
const std::map<std::string, std::set<std::string>> kOpzioni = {
    {"auto",
     {"--massimo",     "--causale",  "--conto-partita", "--abb-att",   "--abb-pas",   "--data-reg", "--anno",
      "--moneta",      "--cambio",   "--conto-da",      "--conto-a",   "--scad-da",   "--scad-a",   "--doc-da",
      "--doc-a",       "--prefisso", "--numdoc-da",     "--numdoc-a",  "--pagtipo",   "--desc",     "--uti-cambio",
      "--perd-cambio", "--cdc",      "--num-prot",      "--data-prot", "--pref-prot", "--ordine"}},
    {"recover", {"--utente", "--flag"}},
    {"list", {}},
};
const std::map<std::string, std::set<std::string>> kInterruttori = {
    {"auto", {"--yes", "--clienti", "--fornitori", "--effetti"}},
    {"recover", {"--yes"}},
    {"list", {"--yes"}},
};

bool Leggi(int argc, char** argv, Argomenti& a) {
  if (argc < 2) return false;
  a.comando = argv[1];
  if (!kOpzioni.count(a.comando)) return false;
  const auto& conValore = kOpzioni.at(a.comando);
  const auto& interruttori = kInterruttori.at(a.comando);
  for (int i = 2; i < argc; ++i) {
    const std::string k = argv[i];
    if (interruttori.count(k)) {
      a.valori[k] = "1";
    } else if (conValore.count(k) || kConValore.count(k)) {
      if (i + 1 >= argc) {
        std::cerr << "compensato-batch: manca il valore di " << k << "\n";
        return false;
      }
      a.valori[k] = argv[++i];
    } else {
      std::cerr << "compensato-batch: opzione sconosciuta: " << k << "\n";
      return false;
    }
  }
  return true;
}

// A date option that is no date at all stops the run before anything is
// typed; one the screen would refuse is left to the screen's check.
void Data(const Argomenti& a, const std::string& k) {
  const std::string t = a.Di(k);
  if (t.empty()) return;
  try {
    util::Value(t).toDate();
  } catch (const std::invalid_argument&) {
    throw util::OptionError(k + ": \"" + t + "\" non è una data");
  }
}

// Amounts and rates: wide enough for any the database's currency holds; what
// the run accepts is the selection checks' business. Typed into the screen's
// field the way the screen reads it, with the decimal comma.
std::string Numero(const Argomenti& a, const std::string& k) {
  return util::FormatNumber(util::NumberOption(k, a.Di(k), -1e14, 1e14), "0.##########");
}

std::string Intero(const Argomenti& a, const std::string& k, int64_t min, int64_t max) {
  return std::to_string(util::IntegerOption(k, a.Di(k), min, max));
}

// The option's text as its field gets it; numbers checked for what their
// field can hold.
std::string Valore(const Argomenti& a, const std::string& k) {
  if (k == "--cambio" || k == "--massimo") return Numero(a, k);
  if (k == "--anno") return Intero(a, k, 1, 9999);
  if (k == "--num-prot") return Intero(a, k, 0, INT32_MAX);
  if (k == "--scad-da" || k == "--scad-a" || k == "--doc-da" || k == "--doc-a" || k == "--data-reg" ||
      k == "--data-prot")
    Data(a, k);
  return a.Di(k);
}

namespace txt = compensato::txt;

// The fields the options go into, in the order they are typed.
struct Opzione {
  const char* nome;
  int indice;
};
const Opzione kCampi[] = {
    {"--data-reg", txt::kDataReg},
    {"--anno", txt::kAnno},
    {"--conto-da", txt::kContoDa},
    {"--conto-a", txt::kContoA},
    {"--scad-da", txt::kScadDa},
    {"--scad-a", txt::kScadA},
    {"--doc-da", txt::kDocDa},
    {"--doc-a", txt::kDocA},
    {"--prefisso", txt::kPrefissoDoc},
    {"--numdoc-da", txt::kNumDocDa},
    {"--numdoc-a", txt::kNumDocA},
    {"--pagtipo", txt::kPagTipo},
    {"--moneta", txt::kMoneta},
    {"--massimo", txt::kMassimo},
    {"--causale", txt::kCausale},
    {"--conto-partita", txt::kPartita},
    {"--desc", txt::kDescAgg},
    {"--abb-att", txt::kAbbAtt},
    {"--abb-pas", txt::kAbbPas},
    {"--data-prot", txt::kDataProt},
    {"--pref-prot", txt::kPrefProt},
    {"--num-prot", txt::kNumProt},
    {"--uti-cambio", txt::kUtiCambio},
    {"--perd-cambio", txt::kPerdCambio},
    {"--cdc", txt::kCdc},
    {"--cambio", txt::kCambio},
};

// The selection as an operator would type it into the screen: each option
// given goes into its field, which is then left, so that the same checks
// mark it and fill the fields that follow from it; what is not given keeps
// the screen's default or fill. The registration date goes first: the year
// and the currency's rate follow from it. Returns false, having said why,
// when a given value is refused.
bool Compila(const Argomenti& a, compensato::ModelloSelezioni& m) {
  using namespace compensato::txt;
  m.tipoElab = 0;
  if (a.Ha("--clienti") && a.Ha("--fornitori")) {
    std::cout << "Indicare se cliente o fornitore, non entrambi\n";
    return false;
  }
  if (a.Ha("--fornitori")) {
    m.ScegliFornitore();
  } else if (!a.Ha("--clienti")) {
    m.optCliente = m.optFornitore = false;
  }
  // What no field could hold stops the run before anything is typed.
  for (const Opzione& o : kCampi)
    if (a.Ha(o.nome)) Valore(a, o.nome);
  if (a.Ha("--ordine")) m.ordinamento = static_cast<int>(util::IntegerOption("--ordine", a.Di("--ordine"), 1, 3)) - 1;
  std::vector<std::string> rifiutati;
  for (const Opzione& o : kCampi) {
    const bool dato = a.Ha(o.nome);
    // Suppliers settle with their own default transaction code, as the
    // screen gives it when the code is emptied.
    if (!dato && !(o.indice == kCausale && m.optFornitore)) continue;
    if (o.indice == kCambio && !m.Txt(kCambio).abilitato) {
      std::cout << "--cambio: la moneta " << m.Txt(kMoneta).Testo() << " ha un cambio fisso\n";
      return false;
    }
    m.Entra(o.indice);
    m.Txt(o.indice).ImpostaTesto(dato ? Valore(a, o.nome) : "");
    m.Esci(o.indice);
    if (dato && m.Rosso(o.indice)) rifiutati.push_back(std::string(o.nome) + " " + a.Di(o.nome));
  }
  // Set as the operator ticks the box; a payment type that issues no bills
  // is refused by the confirmation, as the screen's locked box would.
  if (a.Ha("--effetti")) m.ancheEffetti = true;
  if (!rifiutati.empty()) {
    std::cout << "Ci sono dei dati errati. Non è possibile continuare l'elaborazione\n";
    for (const std::string& r : rifiutati) std::cout << "  " << r << "\n";
    return false;
  }
  return true;
}

// The entry this run wrote, and no other: another operator's run numbers its
// entries in the same year at the same time.
void Riepilogo(compensato::Contesto& ctx, bool scritto) {
  const compensato::StatoRun& r = ctx.run;
  const std::string chiave =
      " WHERE Anno = " + util::SqlLiteral(r.par.anno, 2) + " AND NumReg = " + util::SqlLiteral(r.numReg, 3);
  db::DbCursor c;
  const std::string k =
      c.Open(ctx.db, ctx.conn, "", "SELECT COUNT(*) AS N FROM MovPnTes" + chiave, false, db::kSnapshot);
  const bool trovato = scritto && c.GetField(k, "N").toLong() > 0;
  c.Close(k);
  if (!trovato) {
    std::cout << "Nessun movimento registrato.\n";
    return;
  }
  const std::string kr = c.Open(ctx.db, ctx.conn, "",
                                "SELECT COUNT(*) AS Righe, SUM(IIF(DareAvere = 'D', Importo, 0)) "
                                "AS Dare, "
                                "SUM(IIF(DareAvere = 'A', Importo, 0)) AS Avere FROM MovPnDett" +
                                    chiave,
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
      // Without its file the run would go on with made-up company parameters.
      if (!std::ifstream(a.Di("--params"))) {
        std::cerr << "compensato-batch: file dei parametri non leggibile: " << a.Di("--params") << "\n";
        return 2;
      }
      host = std::make_unique<batch::HostFile>(a.Di("--params"), a.Di("--operator"));
    } else {
      std::cerr << "compensato-batch: indicare --params o --menu\n" << kUso;
      return 2;
    }

    batch::BatchOperatore op(std::cout, a.Ha("--yes"));
    db::DbExecutor db;
    std::string nome = a.Di("--db");
    if (nome.empty()) nome = host->GetParameter("NomeDBAzie").toText();
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
    switch (compensato::MarcaVita(ctx)) {
      case compensato::EsitoMarca::Presa: break;
      case compensato::EsitoMarca::InUsoAltrove:
        std::cerr << "compensato-batch: " << compensato::TestoIdentitaInUso(ctx.utente) << "\n";
        return 1;
      case compensato::EsitoMarca::NonDisponibile:
        std::cerr << "compensato-batch: segno di esecuzione non registrato: il database non lo consente\n";
        break;
    }
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

    // An interrupted run of this operator is dealt with first, as the
    // selection screen does when it opens: no option can keep it waiting.
    if (compensato::Controllo_Elaborazione(ctx) != 0) return 1;
    // The number a recovery above left behind is not this run's.
    ctx.run.numReg = 0;
    ctx.dataMinima = company::LeggiParPers(ctx.host, "Tutti", "DataMinima", "01/01/1900");
    company::scAziUtilPrg aiuti(ctx);
    lookup::Avvio avvio;
    avvio.db = &ctx.db;
    avvio.conn = ctx.conn;
    avvio.coloreNormale = ctx.azienda.coloreNormale;
    avvio.coloreErrore = ctx.azienda.coloreErrore;
    avvio.chiamante = "b";
    avvio.formatoData = ctx.azienda.formatData;
    aiuti.ogAziAiuto().Inizializza(avvio);
    ctx.lookup = &aiuti.ogAziAiuto();
    compensato::ModelloSelezioni modello(ctx, aiuti);
    modello.Inizializza_Form();
    compensato::SelezioneRun s;
    if (!Compila(a, modello)) return 1;
    if (!modello.Conferma(s)) {
      // The screen shows which fields are wrong; here they are named.
      for (const Opzione& o : kCampi)
        if (modello.Rosso(o.indice)) std::cout << "  " << o.nome << " " << modello.Txt(o.indice).Testo() << "\n";
      return 1;
    }
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
