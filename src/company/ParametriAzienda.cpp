#include "src/company/ParametriAzienda.h"

#include <charconv>
#include <cstdlib>

#include "components/db/DbCursor.h"
#include "components/host/MenuHost.h"
#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"

namespace company {
namespace {

bool Vuoto(const util::Value& v) {
  return v.isNull() || (v.type() == util::VType::Text && util::Trim(v.text()).empty());
}

std::string Parametro(host::MenuHost& host, const std::string& chiave, const std::string& predefinito) {
  const util::Value v = host.GetParameter(chiave);
  return Vuoto(v) ? predefinito : v.toText();
}

// A colour as the suite writes it: a decimal number, or hexadecimal as
// "&HFFFF80&" or "0xFFFF80". Anything unreadable keeps the default: a wrong
// colour in the parameters must not stop the program.
int64_t Colore(const util::Value& v, int64_t predefinito) {
  if (Vuoto(v)) return predefinito;
  if (v.type() != util::VType::Text) {
    try {
      return static_cast<int64_t>(v.toDouble());
    } catch (const std::exception&) {
      return predefinito;
    }
  }
  std::string t = util::ToUpper(util::Trim(v.text()));
  int base = 10;
  if (t.rfind("&H", 0) == 0) {
    t = t.substr(2);
    if (!t.empty() && t.back() == '&') t.pop_back();
    base = 16;
  } else if (t.rfind("0X", 0) == 0) {
    t = t.substr(2);
    base = 16;
  }
  int64_t out = 0;
  const auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), out, base);
  if (ec != std::errc() || ptr != t.data() + t.size()) return predefinito;
  return out;
}

}  // namespace

void CaricaDatiAzienda(host::MenuHost& host, db::DbExecutor& executor, const std::string& conn, DatiAzienda& d,
                       bool saltaMonete, const FileConfigurazione* configurazione) {
  d.dataLavoro = host.WorkDate();
  d.descrizione = Parametro(host, "DescAzie", "");
  d.monetaAzienda = Parametro(host, "Ditta.Moneta", "Euro");
  d.codLira = Parametro(host, "Ditta.CodLira", "L.");
  d.codEuro = Parametro(host, "Ditta.CodEuro", "Euro");
  d.operCambio = Parametro(host, "Ditta.OperCambio", "/");
  d.cambioLiraEuro = Parametro(host, "Ditta.CambioLiraEuro", "1936,27");

  if (saltaMonete) {
    d.decLire = d.decGestLire = 0;
    d.decEuro = d.decGestEuro = 2;
  } else {
    const Moneta lira = LeggiMoneta(executor, conn, d.codLira);
    const Moneta euro = LeggiMoneta(executor, conn, d.codEuro);
    d.decLire = lira.numDec;
    d.decGestLire = lira.numDecGest;
    d.decEuro = euro.numDec;
    d.decGestEuro = euro.numDecGest;
  }
  const bool inLire = util::EqualsIgnoreCase(d.monetaAzienda, d.codLira);
  d.decAzienda = inLire ? d.decLire : d.decEuro;
  d.decGestAzienda = inLire ? d.decGestLire : d.decGestEuro;

  d.coloreErrore = 255;
  d.coloreNormale = 0x80000005;
  d.coloreFuoco = Colore(host.GetParameter("ColBackGotFocus"), 0xFFFF80);
  d.coloreNoFuoco = Colore(host.GetParameter("ColBacklostFocus"), 0x80000005);
  d.coloreForm = Colore(util::Value(LeggiParPers(host, "Tutti", "ColBackForm", "0")), 0);

  const std::string massimizzato = LeggiParPers(host, "Tutti", "Massimizzato", "");
  d.statoFinestra = OperatoreMassimizzato(massimizzato, host.OperatorName()) ? "2" : "";
  d.tastierinoVirgola = LeggiParPers(host, "Tutti", "TastierinoVirgola", "");
  d.decodHelpAbil = LeggiParPers(host, "Tutti", "DecodHelpAbil", "N");
  d.decodHelpPersKey = util::EqualsIgnoreCase(util::Trim(LeggiParPers(host, "Tutti", "DecodHelpPersKey", "N")), "S");

  if (configurazione) LeggiChiaveIni(*configurazione, "Configurazioni", "FormatData", "dd/mm/yyyy", d.formatData);

  d.arrotondamenti = std::make_shared<TabelleArrotondamento>(CaricatoreDaDatabase(executor, conn));
}

std::string LeggiParPers(host::MenuHost& host, const std::string& sezione, const std::string& nome,
                         const std::string& predefinito, std::string* trovato,
                         const std::optional<std::string>& sezione2, const std::optional<std::string>& nome2) {
  auto chiede = [&](const std::string& s, const std::string& n) {
    return host.GetParameter("Personal." + s + ".\xC2\xA7" + n).toText();
  };
  std::string risposta = chiede(sezione, nome);
  if (risposta == kParametroMancante && sezione2 && nome2) risposta = chiede(*sezione2, *nome2);
  if (trovato) *trovato = risposta;
  return risposta == kParametroMancante ? predefinito : risposta;
}

Moneta LeggiMoneta(db::DbExecutor& executor, const std::string& conn, const std::string& codice) {
  db::DbCursor cursore;
  const std::string key = cursore.Open(
      executor, conn, "", "Select * from Monete where moneta = " + util::SqlLiteral(codice, 8), false, db::kSnapshot);
  Moneta m;
  if (!cursore.IsEmpty(key)) {
    m.trovata = true;
    m.numDec = cursore.GetField(key, "NumDec").toInteger();
    m.numDecGest = cursore.GetField(key, "NumDecGest").toInteger();
    m.operatore = cursore.GetField(key, "Operatore").toText();
    m.cee = cursore.GetField(key, "Cee").toText();
  }
  cursore.Close(key);
  return m;
}

bool OperatoreMassimizzato(const std::string& lista, const std::string& operatore) {
  const std::string l = util::Trim(lista);
  if (util::EqualsIgnoreCase(l, "tutti,") || util::EqualsIgnoreCase(l, "tutti")) return true;
  const std::string nome = util::Trim(operatore);
  if (nome.empty()) return false;
  // Whole names only: "ADA" is not listed by "ADAMO".
  size_t inizio = 0;
  while (inizio <= l.size()) {
    size_t fine = l.find(',', inizio);
    if (fine == std::string::npos) fine = l.size();
    if (util::EqualsIgnoreCase(util::Trim(std::string_view(l).substr(inizio, fine - inizio)), nome)) return true;
    inizio = fine + 1;
  }
  return false;
}

int16_t AnnoContabile(host::MenuHost& host, const util::Date& data, int16_t& anno) {
  const bool calcola = anno == -1;
  anno = 0;
  try {
    const util::Value vAnno = host.GetParameter("CoGe.AnnoCorr");
    const util::Value vInizio = host.GetParameter("CoGe.DataInizCont");
    const util::Value vFine = host.GetParameter("CoGe.DataFineCont");
    // Without the current year and its bounds no answer would be right.
    if (Vuoto(vAnno) || Vuoto(vInizio) || Vuoto(vFine) || data.isEmpty()) return kAnnoErrore;
    const int corrente = vAnno.toInteger();
    const util::Date inizio = vInizio.toDate().dateOnly();
    const util::Date fine = vFine.toDate().dateOnly();
    const util::Date d = data.dateOnly();
    if (inizio <= d && d <= fine) {
      anno = static_cast<int16_t>(corrente);
      return kAnnoCorrente;
    }
    if (d < inizio) {
      if (d >= inizio.addMonths(-12)) {
        anno = static_cast<int16_t>(corrente - 1);
        const bool aperto = util::EqualsIgnoreCase(util::Trim(host.GetParameter("CoGe.ApertoPrec").toText()), "S");
        return aperto ? kAnnoCorrente : kAnnoPrecChiuso;
      }
      if (calcola) {
        for (int i = 2; i <= 1000 && inizio.year() - i >= 100; ++i)
          if (d >= inizio.addMonths(-12 * i)) {
            anno = static_cast<int16_t>(corrente - i);
            break;
          }
      }
      return kAnnoPrima;
    }
    if (calcola) {
      for (int j = 1; j <= 1000 && fine.year() + j <= 9999; ++j)
        if (d <= fine.addMonths(12 * j)) {
          anno = static_cast<int16_t>(corrente + j);
          break;
        }
    }
    return kAnnoDopo;
  } catch (...) {
    anno = 0;
    return kAnnoErrore;
  }
}

}  // namespace company
