#include "src/startup/Avvio.h"

#include <iostream>

#include "components/lookup/Lookdex.h"
#include "components/util/CommandLine.h"
#include "components/util/Error.h"
#include "components/util/Text.h"
#include "components/util/Value.h"
#include "src/company/AziUtilPrg.h"
#include "src/company/ParametriAzienda.h"
#include "src/startup/ApriConfigurazione.h"
#include "src/startup/Chiusura.h"
#include "src/startup/ComandiMenu.h"
#include "src/startup/Connessione.h"
#include "src/startup/Programma.h"
#include "src/startup/Schermi.h"

namespace startup {
namespace {

void MessaggioAvvio(Programma& p, const std::string& testo) {
  ui::RichiestaMsg r;
  r.psLabel = testo;
  r.psCom1 = "&Ok";
  r.piLargForm = 80;
  r.pbSuona = false;
  r.piLatiForm = 600;
  r.piComDefault = 1;
  r.pbSempreTxt = false;
  p.ctx.op.msgCom(r);
}

double Fattore(Programma& p, const std::string& chiave, double predefinito) {
  std::string valore;
  company::LeggiChiaveIni(p.config, "Risoluzione Video", chiave, "", valore);
  double v = 0;
  if (util::Trim(valore).empty() || !util::ParseItalianNumber(valore, v)) return predefinito;
  return v;
}

void LeggiRisoluzione(Programma& p) {
  RisoluzioneVideo& r = p.risoluzione;
  r.generale = Fattore(p, "Generale", 0);
  r.persBase = r.generale == -2 ? Fattore(p, "PersBase", 0) : r.generale;
  r.staVid = Fattore(p, "StaVid", -2);
  r.help = Fattore(p, "Help", -2);
  r.msgCom = Fattore(p, "MsgCom", -2);
}

// Hosts from version 1.07 take the program's registration with the
// procedure it continues; older ones only the program number.
void RegistraProgramma(Programma& p, int32_t numero, const std::string& chiave) {
  double versione = 0;
  const util::Value v = p.ctx.host.GetParameter("VersMenu");
  if (v.isNumeric())
    versione = v.toDouble();
  else
    util::ParseItalianNumber(v.toText(), versione);
  if (versione >= 1.07 - 1e-9) {
    std::vector<util::Value> arr;
    arr.push_back(numero == -1 ? util::Value(chiave) : util::Value::Long(numero));
    arr.push_back(util::Value(p.prepProcCorr));
    p.prepProcCorr = p.ctx.host.ProgramValue("AddSeg", "Tutti", host::HostValue(arr));
  } else {
    p.ctx.host.ProgramValue("AddSeg", "Tutti", host::HostValue(util::Value::Long(numero)));
  }
}

// Everything after the host link: the company, the lookup, the operator's
// settings and the requested screen. Errors go to the caller's report.
void AvviaDopoIlMenu(Programma& p, int32_t numero, const std::string& chiave) {
  compensato::Contesto& ctx = p.ctx;
  // Where the configuration and the company database are, as the host says.
  p.config.principale = ctx.host.IniFile();
  p.nomeDb = ctx.host.GetParameter("NomeDBAzie").toText();
  p.connectDb = ctx.host.GetParameter("ConnectDBAzie").toText();
  // The configuration files and the company connection.
  if (ApriConfigurazione(p, "torvel.ini", FileInstallazione()) != 0) {
    RichiediChiusura(p);
    return;
  }
  if (ctx.conn.empty() || ctx.conn.rfind("Err:", 0) == 0) {
    RichiediChiusura(p);
    return;
  }
  // The company's parameters, the operator's identity, the direct database.
  company::CaricaDatiAzienda(ctx.host, ctx.db, ctx.conn, ctx.azienda, false, &p.config);
  compensato::LeggiIdentita(ctx);
  // Held until the process ends: the interrupted-run check of another
  // process of this operator must not take this one's runs for crashed.
  compensato::EsitoMarca marca = compensato::EsitoMarca::NonDisponibile;
  try {
    marca = compensato::MarcaVita(ctx);
    if (marca == compensato::EsitoMarca::NonDisponibile)
      std::cerr << "compensato: segno di esecuzione non registrato: il database non lo consente\n";
  } catch (const std::exception& e) {
    std::cerr << "compensato: segno di esecuzione non registrato: " << e.what() << "\n";
  }
  if (marca == compensato::EsitoMarca::InUsoAltrove) {
    try {
      p.pf.ChiudiSplash();
    } catch (...) {
    }
    MessaggioAvvio(p, compensato::TestoIdentitaInUso(ctx.utente));
    p.codiceUscita = 1;
    RichiediChiusura(p);
    return;
  }
  p.connDiretta = ApriDatabaseDiretto(p.diretto, p.nomeDb, ctx.host.GetParameter("SqlLogin").toText(),
                                      ctx.host.GetParameter("SqlPwd").toText(), ctx.db.GetSetting("DbAccPWD").toText());
  ctx.chiusuraDaHost = false;
  // The screen-resolution factors.
  LeggiRisoluzione(p);
  // The lookup component's holder and its window.
  CaricaAiuti(p);
  // The component set up on the company and its colours.
  lookup::Lookdex& l = p.aiuti->ogAziAiuto();
  lookup::Avvio avvio;
  avvio.db = &ctx.db;
  avvio.conn = ctx.conn;
  avvio.diretto = &p.diretto;
  avvio.connDiretta = p.connDiretta;
  avvio.coloreNormale = ctx.azienda.coloreNormale;
  avvio.coloreErrore = ctx.azienda.coloreErrore;
  avvio.chiamante = p.lookupInit;
  avvio.formatoData = ctx.azienda.formatData;
  l.Inizializza(avvio);
  ctx.lookup = &l;
  p.finestraAiuto = &l.ogFrmAiuto();
  // The operator's cursor movement in the lookup window ("HlpSpost").
  p.hlpSpost = company::LeggiParPers(ctx.host, "Help", "HlpSpost", "");
  if (!util::Trim(p.hlpSpost).empty()) {
    double spostamento = 0;
    util::ParseItalianNumber(util::Trim(p.hlpSpost), spostamento);
    p.finestraAiuto->obLockSpostaCurs = true;
    p.finestraAiuto->oiSpostaCurs = static_cast<int>(spostamento);
  }
  // The screen the host asked for ("/F").
  p.formRichiesta = util::Trim(util::SwitchValue(p.rigaComando, 'F'));
  // Registration with the host.
  RegistraProgramma(p, numero, chiave);
  // How the program beeps.
  company::LeggiChiaveIni(p.config, "Parametri Generali", "BeepCome", "", p.beepCome);
  p.pf.ImpostaSegnale(p.beepCome);
  // The earliest date a date field takes.
  ctx.dataMinima = company::LeggiParPers(ctx.host, "Tutti", "DataMinima", "01/01/1900");
  // Open the requested screen.
  const host::LaunchInfo li = ctx.host.GetLaunchInfo();
  ApriFormRichiesta(p, p.formRichiesta, true, p.parametriProgramma, li.osChiLancia, li.osKeySecLancia,
                    li.osParamLancia);
}

}  // namespace

void CaricaAiuti(Programma& p) {
  p.aiuti = std::make_unique<company::scAziUtilPrg>(p.ctx);
  p.aiuti->mostraMenu = [&p] { MostraMenu(p); };
  p.aiuti->chiaveLancioPrim = [&p](const std::string& k) { p.chiaveLancioPrim = k; };
  p.aiuti->chiaveLancioSec = [&p](const std::string& k) { p.chiaveLancioSec = k; };
  p.aiuti->schermi = &p.pf;
  lookup::Lookdex& l = p.aiuti->ogAziAiuto();
  l.ImpostaFinestra(p.pf.CreaFinestraAiuto());
  // "Help" -2 follows "Generale" (or "PersBase" when that is -2 too), as
  // every screen's factor does; the window reads 0 as automatic and -1 as none.
  const RisoluzioneVideo& r = p.risoluzione;
  l.ogFrmAiuto().odRisVid = r.help != -2 ? r.help : r.generale != -2 ? r.generale : r.persBase;
}

void AvvioProgramma(Programma& p, int32_t numero, const std::string& chiave) {
  // A fresh start: no refused close, the lookup's caller is the program.
  p.ctx.motivoRifiuto.clear();
  p.lookupInit = "p";
  // The host instance ("/M"), the program key and its parameters ("/P").
  p.istanzaMenu = util::Trim(util::SwitchValue(p.rigaComando, 'M'));
  const std::string valoreP = util::Trim(util::SwitchValue(p.rigaComando, 'P'));
  const auto blank = valoreP.find(' ');
  if (blank == std::string::npos) {
    p.chiaveProgramma = valoreP;
    p.parametriProgramma.clear();
  } else {
    p.chiaveProgramma = valoreP.substr(0, blank);
    p.parametriProgramma = valoreP.substr(blank + 1);
  }
  // The main form.
  CreaFormPrincipale(p);
  // The host link: without it the program cannot run.
  try {
    p.client = std::make_unique<scMenuComandiClie>(p);
    p.ctx.host.Attach(p.istanzaMenu, p.chiaveProgramma, p.parametriProgramma);
    p.prepProcCorr = p.ctx.host.ProgramValue("PrepProcCorr", "Tutti");
  } catch (const std::exception&) {
    MessaggioAvvio(p, kMenuAssente);
    RichiediChiusura(p);
    return;
  }
  // The help file named in the launch ("/H").
  try {
    const host::LaunchInfo li = p.ctx.host.GetLaunchInfo();
    p.ctx.fileAiuto = util::Trim(util::SwitchValue(li.osParam, 'H'));
  } catch (const std::exception&) {
    MessaggioAvvio(p, "Problemi col collegamento col men\xC3\xB9\nForse questo programma non \xC3\xA8 stato lanciato "
                      "correttamente");
    RichiediChiusura(p);
    return;
  }
  // The rest of the start, with one error report.
  int numeroErrore = 0;
  std::string descrizione;
  try {
    AvviaDopoIlMenu(p, numero, chiave);
    return;
  } catch (const util::RuntimeError& e) {
    numeroErrore = e.number();
    descrizione = e.description();
  } catch (const std::bad_alloc&) {
    numeroErrore = util::err::kOutOfMemory;
  } catch (const std::exception& e) {
    numeroErrore = util::err::kTypeMismatch;
    descrizione = e.what();
  }
  try {
    p.pf.ChiudiSplash();
  } catch (...) {
  }
  if (numeroErrore == host::kHostNonDisponibile)
    p.ctx.op.MessageBox(kMenuAssente, ui::box::kCritical);
  else if (numeroErrore == util::err::kOutOfMemory)
    p.ctx.op.MessageBox("Memoria esaurita\nChiudere qualche programma e riprovare", ui::box::kCritical);
  else
    p.ctx.op.MessageBox("Errore (" + std::to_string(numeroErrore) + "): " + descrizione +
                            "\nProbabilmente il men\xC3\xB9 non \xC3\xA8 stato avviato correttamente",
                        ui::box::kOkOnly);
  RichiediChiusura(p);
}

void Main(Programma& p) { AvvioProgramma(p, kNumeroProgramma, ""); }

}  // namespace startup
