#include "src/startup/ApriConfigurazione.h"

#include "components/db/Repair.h"
#include "components/util/CommandLine.h"
#include "components/util/Error.h"
#include "components/util/Files.h"
#include "components/util/Ini.h"
#include "components/util/Text.h"
#include "components/util/Value.h"
#include "src/startup/Chiusura.h"
#include "src/startup/Connessione.h"
#include "src/startup/Programma.h"

namespace startup {
namespace {

namespace fs = std::filesystem;

int Intero(const std::string& testo) {
  double v = 0;
  if (!util::ParseItalianNumber(testo, v)) return 0;
  return static_cast<int>(v);
}

int Ferma(Programma& p) {
  p.pf.ChiudiSplash();
  RilasciaCollegamenti(p);
  return -1;
}

// The choice among the database configurations; false when the operator cancelled.
enum class Scelta { Fatta, Annullata };

Scelta ScegliConfigurazione(Programma& p) {
  const fs::path& ini = p.config.principale;
  for (;;) {
    std::string valore;
    util::ReadIniKey("Parametri Generali", "NumIni", "0", valore, ini);
    const int numIni = Intero(valore);
    int risposta = 0;
    std::string file;
    if (numIni >= 1) {
      std::string prompt = "Numero di ini scelto\n(da 0 a " + std::to_string(numIni) + ")";
      for (int i = 1; i <= numIni; ++i) {
        std::string voce;
        util::ReadIniKey("Lista File Ini", "OrdIniDBase" + std::to_string(i), "", voce, ini, 255);
        prompt += "\n" + std::to_string(i) + " -> " + voce;
      }
      const auto answer = p.ctx.op.InputBox(prompt, "Scelta dell'INI", "0");
      risposta = answer ? Intero(*answer) : 0;
      if (risposta > 0 && util::IniKeyExists("Lista File Ini", "OrdIniDBase" + std::to_string(risposta), ini))
        util::ReadIniKey("Lista File Ini", "OrdIniDBase" + std::to_string(risposta), "", file, ini, 255);
      // An entry with no file name is no choice at all.
      if (util::Trim(file).empty()) risposta = 0;
    }
    if (risposta == 0) {
      file.clear();
      if (util::IniKeyExists("Parametri Generali", "OrdIniDBase", ini))
        util::ReadIniKey("Parametri Generali", "OrdIniDBase", "", file, ini);
      // A key with no file name would let the run go on with no database
      // configuration at all, so it is refused as a missing key is.
      if (util::Trim(file).empty()) {
        p.ctx.op.MessageBox(
            "File di inizializzazione non trovato\no con informazioni non corrette.\nCorreggere e rieseguire il "
            "programma.",
            ui::box::kCritical);
        return Scelta::Annullata;
      }
    }
    p.config.database = file;
    std::string vis;
    util::ReadIniKey("Parametri Generali", "VisParam", "", vis, ini);
    if (!util::EqualsIgnoreCase(vis, "TUTTO") && !util::EqualsIgnoreCase(vis, "DB1")) return Scelta::Fatta;
    const int r = p.ctx.op.MessageBox("Parametri letti:\nFile dei parametri: " + p.config.database +
                                          "\nDatabase: " + p.nomeDb + "\nTipo Connessione: " + p.connectDb + "\n",
                                      ui::box::kQuestion + ui::box::kYesNoCancel);
    if (r == ui::box::kYes) return Scelta::Fatta;
    if (r != ui::box::kNo) return Scelta::Annullata;
  }
}

}  // namespace

fs::path FileInstallazione() { return util::StandardDirectory(util::DirectoryScope::System) / "TorvelInst.ini"; }

std::string CercaFileIni(const Programma& p, const std::string& nomeFile, const fs::path& fileInstallazione) {
  std::vector<fs::path> candidati;
  const std::string switchI = util::Trim(util::SwitchValue(p.rigaComando, 'I'));
  if (!switchI.empty()) candidati.emplace_back(switchI);
  std::string principale;
  util::ReadIniKey("Setup", "IniPrincipale", "", principale, fileInstallazione);
  if (!util::Trim(principale).empty()) candidati.emplace_back(util::Trim(principale));
  const fs::path standard = util::StandardDirectory(util::DirectoryScope::User);
  if (!standard.empty()) candidati.push_back(standard / nomeFile);
  const fs::path cartella = p.cartellaProgramma.empty() ? fs::path() : fs::path(p.cartellaProgramma);
  if (!cartella.empty()) candidati.push_back(cartella / "main" / nomeFile);
  std::error_code ec;
  const fs::path corrente = fs::current_path(ec);
  if (!ec) candidati.push_back(corrente / nomeFile);
  if (!cartella.empty()) candidati.push_back(cartella / nomeFile);
  for (const auto& c : candidati)
    if (util::FileExists(c)) return c.string();
  return "";
}

std::string TestoVersione(Programma& p) {
  const std::string versione = p.ctx.host.GetParameter("Versione").toText();
  const std::string data = p.ctx.host.GetParameter("DataVersione").toText();
  std::string t = "Versione " + versione;
  if (!data.empty()) t += " del " + data;
  return t;
}

int ApriConfigurazione(Programma& p, const std::string& nomeFile, const fs::path& fileInstallazione) {
  if (p.config.principale.empty()) {
    const std::string trovato = CercaFileIni(p, nomeFile, fileInstallazione);
    if (trovato.empty()) {
      p.pf.ChiudiSplash();
      p.ctx.op.MessageBox("File ini non trovato\nSistemare e rieseguire", ui::box::kCritical);
      return Ferma(p);
    }
    p.config.principale = trovato;
  }
  if (ScegliConfigurazione(p) == Scelta::Annullata) return Ferma(p);

  bool riparato = false;
  for (;;) {
    try {
      p.pf.MostraSplash("Connessione primaria al database", TestoVersione(p));
      const std::string password = p.ctx.host.GetParameter("PwdDbAzie").toText();
      p.ctx.conn = ApriDatabase(p, p.ctx.db, p.nomeDb, password, p.connectDb);
      return 0;
    } catch (const util::RuntimeError& e) {
      p.pf.ChiudiSplash();
      if (e.number() == util::err::kNotADatabase) {
        const int r =
            p.ctx.op.MessageBox("Errore nell'apertura del database " + p.nomeDb + "\nVuoi tentare di recuperarlo",
                                ui::box::kQuestion + ui::box::kOkCancel);
        if (r != ui::box::kOk) return Ferma(p);
        // One repair: a rebuilt file that is still refused will not get
        // better by rebuilding it again.
        const db::RepairResult esito = riparato ? db::RepairResult{} : db::RepairDatabase(p.nomeDb);
        if (esito.repaired) {
          riparato = true;
          p.ctx.op.MessageBox("Il database " + p.nomeDb +
                                  " e' stato recuperato.\nIl file danneggiato e' stato "
                                  "conservato come " +
                                  esito.kept,
                              ui::box::kInformation);
          continue;
        }
        p.ctx.op.MessageBox("Il database " + p.nomeDb +
                                " non puo' essere recuperato: non e' un database valido o e' danneggiato." +
                                (esito.reason.empty() ? std::string() : "\n(" + esito.reason + ")"),
                            ui::box::kCritical);
        return Ferma(p);
      }
      p.ctx.op.MessageBox("Errore " + std::to_string(e.number()) +
                              " nell'apertura del database.\nCorreggere e "
                              "riprovare. (" +
                              e.description() + ") ",
                          ui::box::kCritical);
      return Ferma(p);
    }
  }
}

}  // namespace startup
