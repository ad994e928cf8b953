#include "src/ui/Tasti.h"

#include <algorithm>
#include <cstdlib>

#include "components/host/MenuHost.h"
#include "components/util/Text.h"
#include "components/util/Value.h"

namespace ui {
namespace {

std::u16string Utf16(const std::string& s) {
  std::u16string out;
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    char32_t cp = c;
    size_t n = 1;
    if (c >= 0xF0 && i + 3 < s.size()) {
      cp = (c & 0x07u) << 18 | (s[i + 1] & 0x3Fu) << 12 | (s[i + 2] & 0x3Fu) << 6 | (s[i + 3] & 0x3Fu);
      n = 4;
    } else if (c >= 0xE0 && i + 2 < s.size()) {
      cp = (c & 0x0Fu) << 12 | (s[i + 1] & 0x3Fu) << 6 | (s[i + 2] & 0x3Fu);
      n = 3;
    } else if (c >= 0xC0 && i + 1 < s.size()) {
      cp = (c & 0x1Fu) << 6 | (s[i + 1] & 0x3Fu);
      n = 2;
    }
    i += n;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

// Lower case of the letters an Italian text holds: ASCII and Latin-1.
char16_t Minuscola(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  return c;
}

bool Uguali(const std::u16string& a, const std::u16string& b, bool ignora) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (ignora ? Minuscola(a[i]) != Minuscola(b[i]) : a[i] != b[i]) return false;
  return true;
}

int Consuma(int& tasto) {
  tasto = 0;
  return 1;
}

// Ctrl keys the operator defined in the host: a key to swallow, or a text to type.
bool TastoCtrl(int& tasto, int shift, AmbienteTasti& amb, ServiziTasti srv) {
  if (!srv.host) return false;
  const int32_t k = shift & kShift ? -tasto : tasto;
  const std::string risposta = srv.host->ProgramValue("TastiCtrl", "Tutti", host::HostValue(util::Value::Long(k)));
  if (std::atoi(util::Trim(risposta).c_str()) == 1) return Consuma(tasto);
  if (!risposta.empty() && (risposta[0] == 'D' || risposta[0] == 'N' || risposta[0] == 'd' || risposta[0] == 'n')) {
    const std::u16string testo = Utf16(util::Trim(risposta.substr(1)));
    if (CampoTesto* c = amb.CampoAttivo(); c && util::EqualsIgnoreCase(c->Nome(), "txt")) {
      if (c->MultiRiga())
        c->SostituisciSelezione(testo);
      else
        c->ImpostaTesto(testo);
    }
    amb.FuocoAlForm();
    return Consuma(tasto);
  }
  return false;
}

void SostituisciESeleziona(CampoTesto& c, int inizio, int lunghezza, const std::u16string& con) {
  c.Seleziona(inizio, lunghezza);
  c.SostituisciSelezione(con);
  c.Seleziona(inizio, static_cast<int>(con.size()));
}

std::string Utf8(const std::u16string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t cp = s[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size()) cp = 0x10000 + ((cp - 0xD800) << 10) + (s[++i] - 0xDC00);
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | cp >> 6));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | cp >> 12));
      out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | cp >> 18));
      out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

// Asks for a text, proposing the current one; false when the answer is empty.
bool Chiedi(Operatore& op, const char* domanda, std::u16string& valore) {
  const std::optional<std::string> r = op.InputBox(domanda, "", Utf8(valore));
  if (!r || r->empty()) return false;
  valore = Utf16(*r);
  return true;
}

// Ctrl+Alt (+Shift) F, S, Page Up, Page Down in a text box.
void CercaSostituisci(int tasto, int shift, CampoTesto& c, StatoTastiera& st, Operatore& op) {
  const bool maiuscolo = (shift & kShift) != 0;
  const bool ignora = st.modoConfronto != 0;
  const bool pagina = tasto == kTastoPagSu || tasto == kTastoPagGiu;
  if (!pagina && !Chiedi(op, "Stringa da cercare", st.cerca)) return;
  if (st.cerca.empty()) return;
  if (tasto == kTastoS && !Chiedi(op, "Sostituire con", st.sostituisci)) return;

  // Where the search looks: the whole text, before the selection, or after it.
  enum class Dove { Tutto, Prima, Dopo } dove = Dove::Tutto;
  bool avanti = !maiuscolo;
  if (tasto == kTastoPagSu) dove = Dove::Prima, avanti = false;
  if (tasto == kTastoPagGiu) dove = Dove::Dopo, avanti = true;

  int inizio = c.InizioSelezione();
  int dopo = inizio + 1;
  bool pendente = false;
  // Shift with the page keys replaces only once a replacement was given:
  // without one it would delete every occurrence it walks over.
  const bool sostituisce = tasto == kTastoS || (pagina && maiuscolo && !st.sostituisci.empty());
  if (sostituisce) {
    const std::u16string testo = c.Testo();
    const int lunghezza = c.LunghezzaSelezione();
    const bool selezioneUguale =
        lunghezza > 0 && inizio >= 0 && static_cast<size_t>(inizio + lunghezza) <= testo.size() &&
        Uguali(testo.substr(static_cast<size_t>(inizio), static_cast<size_t>(lunghezza)), st.cerca, ignora);
    if (selezioneUguale) {
      SostituisciESeleziona(c, inizio, lunghezza, st.sostituisci);
      // The search goes on after the replacement, never inside it: a
      // replacement that holds the search text would be found again.
      dopo = inizio + static_cast<int>(st.sostituisci.size());
      if (tasto == kTastoS) {
        dove = maiuscolo ? Dove::Prima : Dove::Dopo;
        avanti = !maiuscolo;
      }
    } else {
      pendente = true;
    }
  }

  const std::u16string testo = c.Testo();
  int da = 0, a = static_cast<int>(testo.size());
  if (dove == Dove::Prima) a = inizio;
  if (dove == Dove::Dopo) da = dopo;
  const int trovato = CercaTesto(testo, st.cerca, da, a, avanti, ignora);
  if (trovato < 0) {
    op.MessageBox("Testo non trovato");
    return;
  }
  if (pendente)
    SostituisciESeleziona(c, trovato, static_cast<int>(st.cerca.size()), st.sostituisci);
  else
    c.Seleziona(trovato, static_cast<int>(st.cerca.size()));
}

}  // namespace

int CercaTesto(const std::u16string& testo, const std::u16string& cosa, int da, int a, bool avanti, bool ignora) {
  const int n = static_cast<int>(cosa.size());
  if (n == 0) return -1;
  const int fine = std::min(a, static_cast<int>(testo.size()));
  const int inizio = std::max(da, 0);
  if (avanti) {
    for (int i = inizio; i + n <= fine; ++i)
      if (Uguali(testo.substr(static_cast<size_t>(i), static_cast<size_t>(n)), cosa, ignora)) return i;
  } else {
    for (int i = fine - n; i >= inizio; --i)
      if (Uguali(testo.substr(static_cast<size_t>(i), static_cast<size_t>(n)), cosa, ignora)) return i;
  }
  return -1;
}

int GestisciTasto(int& tasto, int& shift, AmbienteTasti& amb, StatoTastiera& st, ServiziTasti srv, bool griglia,
                  bool multiRiga) {
  if (amb.Aiuto(tasto, shift)) return 1;
  st.ultimoTasto = tasto;
  st.ultimoShift = shift;

  if (shift == kCtrl || shift == (kCtrl | kShift)) {
    if (TastoCtrl(tasto, shift, amb, srv)) return 1;
  }

  if (shift == (kCtrl | kAlt) || shift == (kCtrl | kAlt | kShift)) {
    if (tasto == kTastoModoConfronto) st.modoConfronto = shift & kShift ? 0 : 1;
    if (st.modoConfronto == -1) st.modoConfronto = 1;
    CampoTesto* c = amb.CampoAttivo();
    if (c && (tasto == kTastoF || tasto == kTastoS || tasto == kTastoPagSu || tasto == kTastoPagGiu)) {
      try {
        CercaSostituisci(tasto, shift, *c, st, srv.op);
      } catch (...) {
      }
      return Consuma(tasto);
    }
  }

  if (tasto == kTastoInvio && !(shift & (kCtrl | kAlt))) {
    try {
      CampoTesto* c = amb.CampoAttivo();
      bool delCampo = false;
      if (multiRiga && c && c->MultiRiga()) delCampo = c->LunghezzaSelezione() != static_cast<int>(c->Testo().size());
      st.invioPassa = delCampo;
      if (!delCampo && (griglia || !amb.GrigliaDatiAttiva())) {
        amb.SpostaFuoco(shift & kShift ? -1 : 1);
        st.invioPassa = false;
        return Consuma(tasto);
      }
    } catch (...) {
    }
  }
  return 0;
}

char16_t FiltraTasto(char16_t c, const StatoTastiera& st, const std::string& tastierinoVirgola) {
  if (util::EqualsIgnoreCase(tastierinoVirgola, "S") && st.ultimoTasto == kTastoDecimaleTastierino &&
      st.ultimoShift == 0 && c == u'.')
    return u',';
  if (c == kTastoEsc) return 0;
  if (c == kTastoInvio && !st.invioPassa) return 0;
  return c;
}

}  // namespace ui
