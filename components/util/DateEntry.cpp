#include "components/util/DateEntry.h"

#include <cctype>
#include <vector>

#include "components/util/Text.h"

namespace util {
namespace {

int Number(const std::string& s) {
  int n = 0;
  for (char c : s) n = n * 10 + (c - '0');
  return n;
}

int FullYear(const std::string& y) {
  const int n = Number(y);
  if (y.size() > 2) return n;
  return n < 30 ? 2000 + n : 1900 + n;
}

}  // namespace

int ValidateDate(std::string& testo, int opzione, const Date& dataLavoro, Date* data, std::string* messaggio) {
  auto esito = [&](int stato, const char* perche) {
    if (messaggio) *messaggio = perche;
    if (data && stato < 0) *data = Date();
    return stato;
  };
  const std::string t = Trim(testo);
  if (t.empty()) {
    if (data) *data = Date();
    if (opzione == kDataObbligatoria) return esito(kDataRifiutata, "Data obbligatoria");
    return esito(kDataVuota, "");
  }

  // Parts: runs of digits between separators.
  std::vector<std::string> parti;
  std::string corrente;
  for (char c : t) {
    if (std::isdigit(static_cast<unsigned char>(c))) {
      corrente += c;
    } else if (c == '/' || c == '-' || c == '.' || c == ' ') {
      if (corrente.empty()) return esito(kDataErrata, "Data non valida");
      parti.push_back(corrente);
      corrente.clear();
    } else {
      return esito(kDataErrata, "Data non valida");
    }
  }
  if (!corrente.empty()) parti.push_back(corrente);

  const Date lavoro = dataLavoro.isEmpty() ? Date::Today() : dataLavoro;
  std::string g, m, a;
  if (parti.size() == 1) {
    const std::string& s = parti[0];
    switch (s.size()) {
      case 1:
      case 2: g = s; break;
      case 3:
      case 4:
      case 6:
      case 8:
        // ggm, ggmm, ggmmaa, ggmmaaaa
        g = s.substr(0, 2);
        m = s.substr(2, 2);
        if (s.size() > 4) a = s.substr(4);
        break;
      default: return esito(kDataErrata, "Data non valida");
    }
  } else if (parti.size() <= 3) {
    g = parti[0];
    m = parti[1];
    if (parti.size() == 3) a = parti[2];
    if (g.size() > 2 || m.size() > 2 || a.size() == 3 || a.size() > 4) return esito(kDataErrata, "Data non valida");
  } else {
    return esito(kDataErrata, "Data non valida");
  }

  const int anno = a.empty() ? lavoro.year() : FullYear(a);
  const int mese = m.empty() ? lavoro.month() : Number(m);
  const auto d = Date::Make(anno, mese, Number(g));
  if (!d) return esito(kDataErrata, "Data non valida");

  const std::string scritto = d->toText();
  const bool completa = parti.size() == 3 || (parti.size() == 1 && parti[0].size() == 8);
  const bool comeScritto = completa && a.size() == 4 && g.size() == 2 && m.size() == 2;
  testo = scritto;
  if (data) *data = *d;
  return esito(comeScritto ? kDataValida : kDataCompletata, "");
}

Date EndOfMonth(const Date& d) {
  if (d.isEmpty()) return d;
  return d.dateOnly().endOfMonth();
}

}  // namespace util
