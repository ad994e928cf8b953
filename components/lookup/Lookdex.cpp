#include "components/lookup/Lookdex.h"

#include "components/db/DbCursor.h"
#include "components/util/AccountCode.h"
#include "components/util/Error.h"
#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"

namespace lookup {
namespace {

constexpr int kErrOggettoAssente = 91;

Tipo Richiedi(const std::string& kind) {
  auto tipo = TrovaTipo(kind);
  if (!tipo) throw util::RuntimeError(util::err::kFieldNotFound, "Tipo di decodifica sconosciuto: " + kind, "Lookdex");
  return *tipo;
}

int Intero(const util::Value& v) {
  try {
    return v.toInteger();
  } catch (const std::exception&) {
    return 0;
  }
}

}  // namespace

Lookdex::Lookdex() : finestra_(std::make_unique<FinestraAiuto>()) {}

Lookdex::Lookdex(db::DbExecutor& executor, std::string conn) : Lookdex() {
  avvio_.db = &executor;
  avvio_.conn = std::move(conn);
}

Lookdex::~Lookdex() = default;

void Lookdex::Inizializza(const Avvio& avvio) {
  avvio_ = avvio;
  decodifica_.ogComlin.ovLeggiPar("ColoreNormale", util::Value(static_cast<double>(avvio.coloreNormale)));
  decodifica_.ogComlin.ovLeggiPar("ColoreErrore", util::Value(static_cast<double>(avvio.coloreErrore)));
  decodifica_.ogComlin.ovLeggiPar("FormatoData", avvio.formatoData);
  decodifica_.ogComlin.ovLeggiPar("Chiamante", avvio.chiamante);
}

void Lookdex::ImpostaFinestra(std::unique_ptr<FinestraAiuto> finestra) {
  finestra_ = finestra ? std::move(finestra) : std::make_unique<FinestraAiuto>();
}

db::DbExecutor& Lookdex::Db() const {
  if (!avvio_.db) throw util::RuntimeError(kErrOggettoAssente, "Componente di decodifica non inizializzato", "Lookdex");
  return *avvio_.db;
}

Decodifica Lookdex::DecodificaCodice(const std::string& kind, const std::string& code,
                                     const std::vector<std::string>& campi, const std::string& filtro,
                                     const std::string& tipoConto) {
  const Tipo tipo = Richiedi(kind);
  std::string where;
  auto aggiungi = [&](const std::string& condizione) { where += (where.empty() ? " WHERE " : " AND ") + condizione; };
  if (!code.empty()) {
    std::vector<std::string> valori{code};
    if (tipo.Conto()) {
      const util::AccountParts p = util::SplitAccountCode(code);
      valori = {p.gruppo, p.mastro, p.conto};
    }
    for (size_t i = 0; i < tipo.colonneCodice.size(); ++i)
      aggiungi(tipo.tabella + "." + tipo.colonneCodice[i] + " = " + util::SqlLiteral(valori[i], 8));
  }
  if (!tipoConto.empty() && tipo.Conto()) aggiungi(tipo.tabella + ".Tipo = " + util::SqlLiteral(tipoConto, 8));
  if (!filtro.empty()) aggiungi("(" + filtro + ")");
  if (where.empty()) return Decodifica{false, kInesistente, std::vector<util::Value>(campi.size())};

  db::DbCursor c;
  const std::string key = c.Open(Db(), avvio_.conn, "", "SELECT * FROM " + tipo.tabella + where, false, db::kSnapshot);
  Decodifica d;
  d.valori.resize(campi.size());
  if (c.IsEmpty(key)) {
    d.descrizione = kInesistente;
  } else {
    d.trovato = true;
    d.descrizione = c.GetField(key, tipo.descrizione).toText();
    for (size_t i = 0; i < campi.size(); ++i) d.valori[i] = c.GetField(key, campi[i]);
  }
  c.Close(key);
  return d;
}

bool Lookdex::DecodificaInCampo(const std::string& kind, Campo& campo, Etichetta& etichetta,
                                std::vector<util::Value>* campi, bool noColore, const std::string& opzioneTesto,
                                int tipoConto, const std::optional<std::string>& valore, const std::string& filtro) {
  const std::string codice = util::Trim(valore ? *valore : campo.Testo());
  std::vector<std::string> nomi;
  if (campi)
    for (const util::Value& v : *campi) nomi.push_back(v.toText());
  const bool colonnaTesto = !util::Trim(opzioneTesto).empty();
  if (colonnaTesto) nomi.push_back(util::Trim(opzioneTesto));

  Decodifica d;
  if (codice.empty()) {
    d.valori.resize(nomi.size());
  } else {
    d = DecodificaCodice(kind, codice, nomi, filtro,
                         tipoConto >= 1 && tipoConto <= 3 ? std::to_string(tipoConto) : std::string());
  }
  if (campi)
    for (size_t i = 0; i < campi->size(); ++i) (*campi)[i] = d.valori[i];

  if (codice.empty())
    etichetta.ImpostaTesto("");
  else if (d.trovato)
    etichetta.ImpostaTesto(colonnaTesto ? d.valori.back().toText() : d.descrizione);
  else
    etichetta.ImpostaTesto(kInesistente);
  if (!noColore) {
    if (!codice.empty() && !d.trovato)
      campo.ImpostaSfondo(avvio_.coloreErrore);
    else if (campo.Sfondo() == avvio_.coloreErrore)
      campo.ImpostaSfondo(avvio_.coloreNormale);
  }
  return d.trovato;
}

int Lookdex::ApriFinestra(const std::string& kind, Campo& campo, Etichetta& etichetta, int tasto, Proprietario* form,
                          int tipoConto, bool& scelto, const std::string& opzione, const std::string& colonne,
                          const std::string& filtro) {
  scelto = false;
  const Tipo tipo = Richiedi(kind);
  if (!eventi_.ClsPrepDecod(tipo.kind, campo.Testo(), filtro, tasto, tipoConto, opzione)) return 2;
  if (!(tasto < 0 || (tasto >= kTastoF2 && tasto <= kTastoF12))) return 2;
  if (avvio_.chiamante != "p") return 2;

  DefinizioneRicerca def;
  def.tipo = tipo;
  def.tipoConto = tipoConto;
  def.colonne = LeggiColonne(tipo, colonne);
  def.filtro = filtro;
  def.formatoData = avvio_.formatoData;
  Ricerca ricerca(Db(), avvio_.conn, def);

  RichiestaFinestra r;
  r.campo = &campo;
  r.etichetta = &etichetta;
  r.form = form ? form : avvio_.formPrincipale;
  r.tasto = tasto;
  r.didascalia = "Ricerca " + tipo.kind;
  r.margini[0] = Intero(impFinestra_.ovLeggiPar("MargSopra"));
  r.margini[1] = Intero(impFinestra_.ovLeggiPar("MargSotto"));
  r.margini[2] = Intero(impFinestra_.ovLeggiPar("MargSin"));
  r.margini[3] = Intero(impFinestra_.ovLeggiPar("MargDestra"));
  r.coloreOk = impFinestra_.olColBackOk;
  r.coloreErrore = avvio_.coloreErrore;
  r.eventi = &eventi_;
  r.testo = util::Trim(campo.Testo());
  r.criterioF2 = tipo.Conto() ? CriterioDaLettera(impFinestra_.ovLeggiPar("CFHelpRic11").toText(), {Chiave::Codice, ""})
                              : Criterio{Chiave::Codice, ""};
  r.criterioF3 = tipo.Conto()
                     ? CriterioDaLettera(impFinestra_.ovLeggiPar("CFHelpRic12").toText(), {Chiave::Descrizione, ""})
                     : Criterio{Chiave::Descrizione, ""};
  if (tasto == kTastoF2) {
    r.criterio = r.criterioF2;
  } else if (tasto == kTastoF3) {
    r.criterio = r.criterioF3;
  } else if (tasto < 0) {
    const size_t n = static_cast<size_t>(-tasto - 1);
    const auto& cols = ricerca.Colonne();
    if (n >= 1 && n <= cols.size() && !(tipo.Conto() && cols[n - 1].campo == kCampoCodice) &&
        !util::EqualsIgnoreCase(cols[n - 1].campo, tipo.colonneCodice[0]))
      r.criterio = util::EqualsIgnoreCase(cols[n - 1].campo, tipo.descrizione)
                       ? Criterio{Chiave::Descrizione, ""}
                       : Criterio{Chiave::Colonna, cols[n - 1].campo};
  } else {
    r.testo.clear();
  }

  ricerca.Cerca(r.criterio, r.testo);
  if (ricerca.Righe().empty() && !r.testo.empty()) {
    if (Intero(decodifica_.ovLeggiPar("RetZeroRec")) == 1) return 1;
    r.testo.clear();
    ricerca.Cerca(r.criterio, r.testo);
  }
  const std::optional<Riga> riga = finestra_->Mostra(ricerca, r);
  if (!riga) return 0;
  scelto = true;
  campo.ImpostaTesto(riga->codice);
  etichetta.ImpostaTesto(riga->descrizione);
  if (campo.Sfondo() == avvio_.coloreErrore) campo.ImpostaSfondo(avvio_.coloreNormale);
  return 0;
}

}  // namespace lookup
