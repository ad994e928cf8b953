#include "src/schedule/CalcolaScadenze.h"

#include <cctype>
#include <stdexcept>

#include "components/util/Error.h"
#include "components/util/Round.h"
#include "components/util/Text.h"

namespace compensato::schedule {
namespace {

constexpr const char* kRoutine = "Calcolo scadenze";
constexpr int kMaxErroriNelTesto = 30;
// A date pushed beyond 31/12/9999 is the classic run-time overflow.
constexpr int kOverflow = 6;

bool Uguale(const std::string& a, const char* b) { return util::EqualsIgnoreCase(a, b); }

template <typename T>
T Indice(const std::vector<T>& v, int n) {
  return n >= 1 && static_cast<size_t>(n) <= v.size() ? v[static_cast<size_t>(n - 1)] : T{};
}

// Walks the due dates of one document: the current date moves by one period
// per installment, and an installment that falls in an excluded month moves
// to the following month.
class CalendarioRate {
 public:
  CalendarioRate(const TerminePagamento& t, const MesiEsclusi& m, util::Date inizio)
      : t_(t), m_(m), corrente_(inizio) {}

  util::Date Avanza(int rata) {
    // After a move to a fixed day of the next month the periods go on from
    // the date the installment would have had, not from the moved one.
    if (primaDelloSpostamento_) {
      corrente_ = *primaDelloSpostamento_;
      primaDelloSpostamento_.reset();
    }
    const bool fineMese = (Uguale(t_.decorrenza, "F") || Uguale(t_.decorrenza, "S")) && t_.giornoFisso == 0;
    if (Uguale(t_.periodicita, "M")) {
      corrente_ = corrente_.addMonths(t_.numGGMM);
      if (fineMese) corrente_ = corrente_.endOfMonth();
    } else if (Uguale(t_.periodicita, "T")) {
      corrente_ = corrente_.addMonths(Indice(t_.periodo, rata));
      if (fineMese) corrente_ = corrente_.endOfMonth();
    } else if (Uguale(t_.periodicita, "G")) {
      corrente_ = corrente_.addDays(t_.numGGMM);
    } else if (Uguale(t_.periodicita, "A")) {
      corrente_ = corrente_.addDays(Indice(t_.periodo, rata));
    }

    const int mese = corrente_.month();
    int16_t giornoMeseSucc = 0;
    if (m_.meseNoEf1 != 0 && mese == m_.meseNoEf1)
      giornoMeseSucc = m_.gioMesSucc1;
    else if (m_.meseNoEf2 != 0 && mese == m_.meseNoEf2)
      giornoMeseSucc = m_.gioMesSucc2;
    else
      return corrente_;

    const util::Date meseDopo = corrente_.addMonths(1);
    const int giorno = giornoMeseSucc > 0 ? giornoMeseSucc : t_.giornoFisso;
    const util::Date spostata = giorno > 0 ? util::Date::Carry(meseDopo.year(), meseDopo.month(), giorno) : meseDopo;
    if (giornoMeseSucc > 0)
      primaDelloSpostamento_ = corrente_;
    else
      corrente_ = spostata;
    return spostata;
  }

 private:
  const TerminePagamento& t_;
  const MesiEsclusi& m_;
  util::Date corrente_;
  std::optional<util::Date> primaDelloSpostamento_;
};

util::Date DataInizio(const TerminePagamento& t, util::Date doc) {
  if (Uguale(t.decorrenza, "F")) {
    const util::Date fine = doc.endOfMonth();
    return t.giornoFisso > 0 ? fine.addDays(t.giornoFisso) : fine;
  }
  if (Uguale(t.decorrenza, "S")) {
    const util::Date fine = doc.addMonths(1).endOfMonth();
    return t.giornoFisso > 0 ? fine.addDays(t.giornoFisso) : fine;
  }
  if (Uguale(t.decorrenza, "D") && t.giornoFisso > 0) {
    const util::Date fisso = util::Date::Carry(doc.year(), doc.month(), t.giornoFisso);
    return t.giornoFisso < doc.day() ? fisso.addMonths(1) : fisso;
  }
  return doc;
}

class Calcolo {
 public:
  explicit Calcolo(ArgomentiScadenze& a) : a_(a) {}

  double R(double x) const { return util::Round(x, "A", 1, -a_.decimali); }

  double Maggiorazione(double rata) const {
    double m =
        util::Round(rata * a_.percMagg.toDouble() / 100, a_.modoArrotMagg, a_.passoArrotMagg.toDouble(), std::nullopt);
    if (a_.minimoMagg > 0 && m < a_.minimoMagg) m = a_.minimoMagg;
    if (a_.massimoMagg > 0 && m > a_.massimoMagg) m = a_.massimoMagg;
    return m;
  }

  // Surcharges go on top of the installments once every amount is final;
  // each was rounded by its own step, so the sum is not rounded again.
  void ApplicaMaggiorazioni() {
    if (a_.modoMagg == maggiorazione::kCalcolata) {
      a_.importiMagg.assign(a_.importiScad.size(), 0.0);
      for (size_t i = 0; i < a_.importiScad.size(); ++i) a_.importiMagg[i] = Maggiorazione(a_.importiScad[i]);
    }
    if (a_.modoMagg == maggiorazione::kCalcolata || a_.modoMagg == maggiorazione::kData) {
      for (size_t i = 0; i < a_.importiScad.size(); ++i)
        if (i < a_.importiMagg.size()) a_.importiScad[i] += a_.importiMagg[i];
    }
  }

  void Esegui(const TerminePagamento& termine, const MesiEsclusi& mesi) {
    const int16_t numScad = termine.numScad;
    if (numScad < 0) return;
    if (numScad == 0) {
      a_.numScad = 1;
      a_.dateScad.assign(1, a_.dataDoc);
      a_.importiScad.assign(1, R(a_.importo + a_.iva));
      a_.dataInizio = a_.dataDoc;
      ApplicaMaggiorazioni();
      return;
    }

    // A single installment cannot carry the VAT alone.
    std::string trattamIva = termine.trattamIva;
    if (numScad == 1 && Uguale(trattamIva, "U")) trattamIva = "P";
    const bool soloIva = Uguale(trattamIva, "U");
    const bool ivaSullaPrima = Uguale(trattamIva, "P");

    a_.numScad = numScad;
    a_.dateScad.assign(static_cast<size_t>(numScad), util::Date());
    a_.importiScad.assign(static_cast<size_t>(numScad), 0.0);
    a_.dataInizio = DataInizio(termine, a_.dataDoc);
    CalendarioRate calendario(termine, mesi, a_.dataInizio);

    double base = a_.importo + a_.iva;
    int primo = 1;
    if (soloIva) {
      a_.dateScad[0] = calendario.Avanza(1);
      a_.importiScad[0] = R(a_.iva);
      base = a_.importo;
      primo = 2;
    } else if (ivaSullaPrima) {
      base = a_.importo;
    }

    const bool uguali = Uguale(termine.periodicita, "M") || Uguale(termine.periodicita, "G");
    const bool percentuali = Uguale(termine.periodicita, "T") || Uguale(termine.periodicita, "A");
    if (uguali || percentuali) {
      const int n = numScad - primo + 1;
      const double quota = R(base / n);
      double resto = base;
      for (int j = primo; j <= numScad; ++j) {
        const double perc = percentuali ? Indice(termine.percentuale, j) : 0.0;
        const double rata = perc != 0 ? R(base * perc / 100) : quota;
        a_.importiScad[static_cast<size_t>(j - 1)] = rata;
        a_.dateScad[static_cast<size_t>(j - 1)] = calendario.Avanza(j);
        resto -= rata;
      }
      // The last installment takes the rounding differences and whatever
      // share the percentages leave out.
      double& ultima = a_.importiScad[static_cast<size_t>(numScad - 1)];
      ultima = R(ultima + resto);
    }

    if (ivaSullaPrima) a_.importiScad[0] = R(a_.importiScad[0] + a_.iva);
    ApplicaMaggiorazioni();
  }

 private:
  ArgomentiScadenze& a_;
};

}  // namespace

void ErroriScadenze::Aggiungi(int numeroErrore, const std::string& descrizione) {
  ++numero_;
  if (numero_ <= kMaxErroriNelTesto)
    testo_ += "Errore n°" + std::to_string(numeroErrore) + " : " + descrizione + " in " + kRoutine + "\n";
  else if (numero_ == kMaxErroriNelTesto + 1)
    testo_ += "..............";
}

void CalcolaScadenze(const std::optional<TerminePagamento>& termine, const std::optional<MesiEsclusi>& conto,
                     ArgomentiScadenze& a) {
  if (a.modoMagg == maggiorazione::kData)
    for (double m : a.importiMagg) a.importo -= m;
  a.numErrori = 0;
  a.testoErrori.clear();
  a.numScad = 0;
  a.dateScad.clear();
  a.importiScad.clear();
  ErroriScadenze errori(a.numErrori, a.testoErrori);
  if (a.pagamento.empty() || !termine) return;
  if (!conto) {
    errori.Aggiungi(0, "Manca il cliente con codice :" + a.gruppo + "-" + a.mastro + "-" + a.conto);
    return;
  }
  try {
    Calcolo(a).Esegui(*termine, *conto);
  } catch (const util::RuntimeError& e) {
    errori.Aggiungi(e.number(), e.description());
  } catch (const std::out_of_range& e) {
    errori.Aggiungi(kOverflow, e.what());
  }
}

}  // namespace compensato::schedule
