#include "src/company/Decodifica.h"

#include "components/util/AccountCode.h"
#include "components/util/Text.h"
#include "src/company/ParametriAzienda.h"
#include "src/data/Contesto.h"

namespace company {
namespace {

// Settings the component may not have are skipped: another version of it
// must not stop a lookup.
template <class F>
void IgnoraErrori(F&& f) {
  try {
    f();
  } catch (const std::exception&) {
  }
}

bool Vuoto(const std::string& s) { return util::Trim(s).empty(); }

// Steps shared by every decode: the caller's filter, and for articles the
// inactive ones left out when the operator asks so.
std::string Filtro(scAziUtilPrg& a, const std::string& kind, const std::string& filtro) {
  std::string f = filtro;
  if (util::EqualsIgnoreCase(kind, "Articolo")) {
    if (!a.noDecInattivi)
      a.noDecInattivi = util::EqualsIgnoreCase(LeggiParPers(a.ctx().host, "Articoli", "NoDecInattivi", "N"), "S");
    if (*a.noDecInattivi) f += (f.empty() ? "" : " And ") + std::string(" (ucase(Inattivo)<>'S') ");
  }
  return f;
}

int TipoConto(const std::string& kind, const std::string& extra, int opzioneIntero) {
  if (!util::EqualsIgnoreCase(kind, "Conto") || Vuoto(extra)) return opzioneIntero;
  double n = 0;
  return util::ParseItalianNumber(util::Trim(extra), n) ? static_cast<int>(n) : opzioneIntero;
}

// The key of the automatic lookup.
int TastoAutomatico(scAziUtilPrg& a, const std::string& kind, int tasto) {
  const DatiAzienda& d = a.ctx().azienda;
  if (d.decodHelpPersKey) {
    double n = 0;
    if (util::ParseItalianNumber(util::Trim(LeggiParPers(a.ctx().host, "Tutti", kind + "Hlp", "0")), n) && n != 0)
      tasto = static_cast<int>(n) + 111;
  }
  if (tasto != -1) return tasto;
  const std::string abil = util::Trim(d.decodHelpAbil);
  if (util::EqualsIgnoreCase(abil, "C")) return lookup::kTastoF2;
  if (util::EqualsIgnoreCase(abil, "D")) return lookup::kTastoF3;
  double n = 0;
  if (util::ParseItalianNumber(abil, n) && n >= 1) return -(static_cast<int>(n) + 1);
  return -1;
}

// "RetZeroRec" as it was before the window, whatever way the lookup ends.
class RipristinaRetZero {
 public:
  RipristinaRetZero(lookup::Lookdex& l, util::Value prima) : l_(l), prima_(std::move(prima)) {}
  ~RipristinaRetZero() {
    IgnoraErrori([&] { l_.ogDecodifica().ovLeggiPar("RetZeroRec", prima_); });
  }
  RipristinaRetZero(const RipristinaRetZero&) = delete;
  RipristinaRetZero& operator=(const RipristinaRetZero&) = delete;

 private:
  lookup::Lookdex& l_;
  util::Value prima_;
};

}  // namespace

bool DecodificaCampo(scAziUtilPrg& a, const std::string& kind, lookup::Campo& campo, lookup::Etichetta& etichetta,
                     const OpzioniDecodifica& o) {
  if (Vuoto(campo.Testo()) || o.noAiuto || o.noAiuto2) {
    return a.ogAziAiuto().DecodificaInCampo(kind, campo, etichetta, o.campi, false, o.opzioneTesto, o.opzioneIntero,
                                            o.valore, Filtro(a, kind, o.filtro));
  }
  AiutoAutomatico aiuto;
  if (util::EqualsIgnoreCase(kind, "Conto")) aiuto.codiceNormalizzato = util::NormaliseCode(campo.Testo(), "Conto");
  return DecodificaConAiuto(a, kind, campo, etichetta, o, aiuto);
}

bool DecodificaConto(scAziUtilPrg& a, lookup::Campo& campo, lookup::Etichetta& etichetta, const std::string& tipoConto,
                     const OpzioniDecodifica& o) {
  campo.ImpostaTesto(util::FormatCode(campo.Testo(), "conto"));
  AiutoAutomatico aiuto;
  aiuto.extra = tipoConto;
  return DecodificaConAiuto(a, "Conto", campo, etichetta, o, aiuto);
}

bool DecodificaConAiuto(scAziUtilPrg& a, const std::string& kind, lookup::Campo& campo, lookup::Etichetta& etichetta,
                        const OpzioniDecodifica& o, const AiutoAutomatico& aiuto) {
  lookup::Lookdex& l = a.ogAziAiuto();
  compensato::Contesto& ctx = a.ctx();
  const std::string filtro = Filtro(a, kind, o.filtro);
  const util::Value retZero = l.ogDecodifica().ovLeggiPar("RetZeroRec");
  const int tipoConto = TipoConto(kind, aiuto.extra, o.opzioneIntero);
  const bool conto = util::EqualsIgnoreCase(kind, "Conto");

  for (;;) {
    bool scelto = false;
    const bool trovato =
        l.DecodificaInCampo(kind, campo, etichetta, o.campi, false, o.opzioneTesto, tipoConto, o.valore, filtro);
    if (trovato || Vuoto(campo.Testo()) || retZero.toDouble() == 0 ||
        util::EqualsIgnoreCase(util::Trim(ctx.azienda.decodHelpAbil), "N") || !aiuto.aiutoAbilitato ||
        ctx.op.msgComVisibile())
      return trovato;

    const std::string kindFinestra = util::EqualsIgnoreCase(kind, "ArticoloCod") ? "Articolo" : kind;
    int tasto = TastoAutomatico(a, kind, aiuto.tasto);
    std::optional<std::string> ricordato;
    if (!aiuto.codiceNormalizzato.empty()) {
      ricordato = campo.Testo();
      campo.ImpostaTesto(aiuto.codiceNormalizzato);
    }
    if (aiuto.aiutoAperto) *aiuto.aiutoAperto = true;
    a.statoAiuto = kAiutoAperto;
    if (aiuto.griglia) {
      a.posizioneGriglia = std::make_pair(aiuto.griglia->Riga(), aiuto.griglia->Colonna());
      a.statoAiuto = kAiutoGriglia;
    }
    int esito = 0;
    try {
      RipristinaRetZero ripristino(l, retZero);
      l.ogDecodifica().ovLeggiPar("RetZeroRec", util::Value::Integer(1));
      esito = ApriAiuto(a, kindFinestra, campo, etichetta, tasto, aiuto.extra, scelto, o.opzione, filtro);
      if (esito == 1 && etichetta.Testo() == lookup::kInesistente) {
        tasto = tasto == lookup::kTastoF2 ? lookup::kTastoF3 : lookup::kTastoF2;
        esito = ApriAiuto(a, kindFinestra, campo, etichetta, tasto, aiuto.extra, scelto, o.opzione, filtro);
      }
    } catch (...) {
      if (ricordato) campo.ImpostaTesto(*ricordato);
      a.statoAiuto = kAiutoNessuno;
      throw;
    }
    if (!scelto) {
      if (ricordato) campo.ImpostaTesto(*ricordato);
      a.statoAiuto = kAiutoNessuno;
      return false;
    }
    if (conto && ricordato) campo.ImpostaTesto(util::FormatCode(campo.Testo(), "conto"));
    if (a.statoAiuto == kAiutoGriglia && aiuto.griglia && a.posizioneGriglia)
      aiuto.griglia->Posiziona(a.posizioneGriglia->first, a.posizioneGriglia->second);
    a.posizioneGriglia.reset();
    a.statoAiuto = kAiutoNessuno;
  }
}

int ApriAiuto(scAziUtilPrg& a, const std::string& kind, lookup::Campo& campo, lookup::Etichetta& etichetta, int tasto,
              const std::string& extra, bool& scelto, const std::string& opzione, const std::string& filtro) {
  scelto = false;
  if (!(tasto < 0 || (tasto >= lookup::kTastoF2 && tasto <= lookup::kTastoF12))) return 0;
  lookup::Lookdex& l = a.ogAziAiuto();
  compensato::Contesto& ctx = a.ctx();
  const bool conto = util::EqualsIgnoreCase(kind, "Conto");

  std::string nomeSet = "Campi" + kind;
  if (conto) {
    if (!Vuoto(extra) && util::Trim(extra) != "0") nomeSet += util::Trim(extra);
    IgnoraErrori(
        [&] { l.ogImpFinestra().ovLeggiPar("CFHelpRic11", LeggiParPers(ctx.host, "Tutti", "CFHelpRic11", "")); });
    IgnoraErrori(
        [&] { l.ogImpFinestra().ovLeggiPar("CFHelpRic12", LeggiParPers(ctx.host, "Tutti", "CFHelpRic12", "")); });
  }
  std::string colonne = LeggiParPers(ctx.host, "Help", nomeSet, "");
  if (conto && colonne.empty()) colonne = LeggiParPers(ctx.host, "Help", "CampiConto", "");
  if (colonne.rfind(",No,", 0) == 0) colonne.clear();
  colonne += opzione;

  IgnoraErrori([&] {
    l.ogDecodifica().ovLeggiPar("ForzaPassThrough",
                                util::EqualsIgnoreCase(LeggiParPers(ctx.host, "Help", "SQLPass" + kind, ""), "S"));
  });
  for (const char* margine : {"MargSopra", "MargSotto", "MargSin", "MargDestra"})
    IgnoraErrori([&] { l.ogImpFinestra().ovLeggiPar(margine, util::Value::Integer(0)); });
  IgnoraErrori([&] { l.ogImpFinestra().ovLeggiPar("MostraImg", false); });

  const int64_t coloreOk = l.ogImpFinestra().olColBackOk;
  l.ogImpFinestra().olColBackOk = ctx.azienda.coloreFuoco;
  struct Ripristino {
    lookup::Lookdex& l;
    int64_t colore;
    ~Ripristino() {
      l.ogImpFinestra().olColBackOk = colore;
      IgnoraErrori([&] { l.ogImpFinestra().ovLeggiPar("MostraImg", false); });
    }
  } ripristino{l, coloreOk};

  if (a.schermi) a.schermi->NascondiModali();
  int tipoConto = 0;
  if (conto) tipoConto = TipoConto(kind, extra, 0);
  return l.ApriFinestra(kind, campo, etichetta, tasto, a.schermi ? a.schermi->FormAttiva() : nullptr, tipoConto, scelto,
                        opzione, colonne, filtro);
}

bool DecodificaCodice(scAziUtilPrg& a, const std::string& kind, const std::string& codice,
                      std::vector<util::Value>& valori, const std::vector<std::string>& campi,
                      const std::string& filtro) {
  const lookup::Decodifica d = a.ogAziAiuto().DecodificaCodice(kind, codice, campi, Filtro(a, kind, filtro));
  valori = d.valori;
  return d.trovato;
}

void SpezzaConto(const std::string& conto, std::string& gruppo, std::string& mastro, std::string& contoParte) {
  auto parte = [&](size_t pos, size_t len) { return pos < conto.size() ? conto.substr(pos, len) : std::string(); };
  gruppo = parte(0, 2);
  if (conto.find('-') == std::string::npos) {
    mastro = parte(2, 2);
    contoParte = parte(4, std::string::npos);
  } else {
    mastro = parte(3, 2);
    contoParte = parte(6, std::string::npos);
  }
}

}  // namespace company
