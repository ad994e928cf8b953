#include "src/ui/LibroAiuto.h"

#include <chm_lib.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "components/util/Text.h"

namespace ui {
namespace {

uint32_t Dword(const std::string& s, size_t at) {
  if (at + 4 > s.size()) return 0;
  return static_cast<uint32_t>(static_cast<unsigned char>(s[at])) |
         static_cast<uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(s[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(s[at + 3])) << 24;
}

uint16_t Word(const std::string& s, size_t at) {
  if (at + 2 > s.size()) return 0;
  return static_cast<uint16_t>(static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8);
}

std::string FinoAZero(const std::string& s, size_t at) {
  if (at >= s.size()) return "";
  const size_t fine = s.find('\0', at);
  return s.substr(at, fine == std::string::npos ? std::string::npos : fine - at);
}

std::string Entita(std::string s) {
  static const std::pair<const char*, const char*> tabella[] = {{"&amp;", "&"},   {"&lt;", "<"},  {"&gt;", ">"},
                                                                {"&quot;", "\""}, {"&#39;", "'"}, {"&apos;", "'"}};
  for (const auto& [da, a] : tabella) {
    for (size_t p = s.find(da); p != std::string::npos; p = s.find(da, p + std::strlen(a)))
      s.replace(p, std::strlen(da), a);
  }
  return s;
}

// The value of attribute `nome` inside one tag's text.
std::string Attributo(const std::string& tag, const std::string& nome) {
  const std::string basso = util::ToLower(tag);
  size_t p = 0;
  while ((p = basso.find(nome, p)) != std::string::npos) {
    size_t q = p + nome.size();
    while (q < basso.size() && std::isspace(static_cast<unsigned char>(basso[q]))) ++q;
    if (q < basso.size() && basso[q] == '=' && (p == 0 || !std::isalnum(static_cast<unsigned char>(basso[p - 1])))) {
      ++q;
      while (q < basso.size() && std::isspace(static_cast<unsigned char>(basso[q]))) ++q;
      if (q < tag.size() && (tag[q] == '"' || tag[q] == '\'')) {
        const size_t fine = tag.find(tag[q], q + 1);
        return Entita(tag.substr(q + 1, fine == std::string::npos ? std::string::npos : fine - q - 1));
      }
      size_t fine = q;
      while (fine < tag.size() && !std::isspace(static_cast<unsigned char>(tag[fine])) && tag[fine] != '>') ++fine;
      return Entita(tag.substr(q, fine - q));
    }
    p = q;
  }
  return "";
}

}  // namespace

std::vector<LibroAiuto::Voce> LeggiMappaSito(const std::string& html) {
  std::vector<LibroAiuto::Voce> voci;
  int livello = -1;
  bool inOggetto = false;
  LibroAiuto::Voce corrente;
  for (size_t p = html.find('<'); p != std::string::npos; p = html.find('<', p + 1)) {
    const size_t fine = html.find('>', p);
    if (fine == std::string::npos) break;
    const std::string tag = html.substr(p + 1, fine - p - 1);
    const std::string basso = util::ToLower(tag);
    auto inizia = [&](const char* t) {
      const size_t n = std::strlen(t);
      return basso.compare(0, n, t) == 0 && (basso.size() == n || !std::isalnum(static_cast<unsigned char>(basso[n])));
    };
    if (inizia("ul")) {
      ++livello;
    } else if (inizia("/ul")) {
      --livello;
    } else if (inizia("object") && util::ToLower(Attributo(tag, "type")) == "text/sitemap") {
      inOggetto = true;
      corrente = LibroAiuto::Voce{};
      corrente.livello = std::max(livello, 0);
    } else if (inOggetto && inizia("param")) {
      const std::string nome = util::ToLower(Attributo(tag, "name"));
      const std::string valore = Attributo(tag, "value");
      if (nome == "name" && corrente.nome.empty()) corrente.nome = valore;
      if (nome == "local" && corrente.percorso.empty()) corrente.percorso = valore;
    } else if (inOggetto && inizia("/object")) {
      inOggetto = false;
      if (!corrente.percorso.empty() && corrente.percorso[0] != '/') corrente.percorso.insert(0, "/");
      if (!corrente.nome.empty()) voci.push_back(corrente);
    }
    p = fine;
  }
  return voci;
}

std::unique_ptr<LibroAiuto> LibroAiuto::Apri(const std::string& file) {
  chmFile* h = chm_open(file.c_str());
  if (!h) return nullptr;
  std::unique_ptr<LibroAiuto> l(new LibroAiuto(h));
  l->LeggiSistema();
  l->LeggiMappa();
  return l;
}

LibroAiuto::~LibroAiuto() { chm_close(h_); }

bool LibroAiuto::Esiste(const std::string& percorso) const {
  chmUnitInfo ui{};
  return chm_resolve_object(h_, percorso.c_str(), &ui) == CHM_RESOLVE_SUCCESS;
}

std::optional<std::string> LibroAiuto::Leggi(const std::string& percorso) const {
  chmUnitInfo ui{};
  if (chm_resolve_object(h_, percorso.c_str(), &ui) != CHM_RESOLVE_SUCCESS) return std::nullopt;
  std::string dati(static_cast<size_t>(ui.length), '\0');
  LONGINT64 letti = 0;
  if (ui.length > 0) {
    letti = chm_retrieve_object(h_, &ui, reinterpret_cast<unsigned char*>(dati.data()), 0,
                                static_cast<LONGINT64>(ui.length));
    if (letti < 0) return std::nullopt;
  }
  dati.resize(static_cast<size_t>(letti));
  return dati;
}

// "#SYSTEM": a version, then records of code, length and data. Code 0 names
// the contents, 1 the index, 2 the first page, 3 the title.
void LibroAiuto::LeggiSistema() {
  const std::string s = Leggi("/#SYSTEM").value_or("");
  std::string fileSommario, fileIndice;
  for (size_t at = 4; at + 4 <= s.size();) {
    const uint16_t codice = Word(s, at);
    const uint16_t lunghezza = Word(s, at + 2);
    const std::string dati = s.substr(at + 4, std::min<size_t>(lunghezza, s.size() - at - 4));
    const std::string testo = FinoAZero(dati, 0);
    if (codice == 0) fileSommario = testo;
    if (codice == 1) fileIndice = testo;
    if (codice == 2) iniziale_ = Normalizza(testo);
    if (codice == 3) titolo_ = testo;
    at += 4 + lunghezza;
  }
  if (!fileSommario.empty()) sommario_ = LeggiMappaSito(Leggi(Normalizza(fileSommario)).value_or(""));
  if (!fileIndice.empty()) indice_ = LeggiMappaSito(Leggi(Normalizza(fileIndice)).value_or(""));
  for (std::vector<Voce>* v : {&sommario_, &indice_})
    for (Voce& voce : *v) voce.percorso = voce.percorso.empty() ? "" : Normalizza(voce.percorso);
  std::stable_sort(indice_.begin(), indice_.end(),
                   [](const Voce& a, const Voce& b) { return util::ToLower(a.nome) < util::ToLower(b.nome); });
}

// "#IVB": the length of the pairs, then pairs of context number and the
// offset of its page's name in "#STRINGS".
void LibroAiuto::LeggiMappa() {
  const std::string ivb = Leggi("/#IVB").value_or("");
  const std::string stringhe = Leggi("/#STRINGS").value_or("");
  const size_t fine = std::min<size_t>(ivb.size(), 4 + static_cast<size_t>(Dword(ivb, 0)));
  for (size_t at = 4; at + 8 <= fine; at += 8)
    contesti_.emplace_back(Dword(ivb, at), Normalizza(FinoAZero(stringhe, Dword(ivb, at + 4))));
}

// A page as a file names it: relative, absolute, or with the folder of the
// machine that compiled it in front. The first suffix that the file holds.
std::string LibroAiuto::Normalizza(const std::string& percorso) const {
  std::string p = percorso;
  std::replace(p.begin(), p.end(), '\\', '/');
  if (const auto h = p.find('#'); h != std::string::npos) p.resize(h);
  if (p.empty()) return "";
  if (p[0] != '/') p.insert(0, "/");
  for (std::string prova = p;;) {
    if (Esiste(prova)) return prova;
    const auto barra = prova.find('/', 1);
    if (barra == std::string::npos) break;
    prova = prova.substr(barra);
  }
  return p;
}

std::optional<std::string> LibroAiuto::Contesto(uint32_t numero) const {
  for (const auto& [n, pagina] : contesti_)
    if (n == numero && !pagina.empty()) return pagina;
  return std::nullopt;
}

}  // namespace ui
