#include "src/ui/Scala.h"

#include <algorithm>
#include <cctype>

#include "components/util/ScreenFactor.h"

namespace ui {

BarraApplicazioni StatoBarraApplicazioni(const Rettangolo& s, const Rettangolo& d) {
  BarraApplicazioni b;
  const int strisce[4] = {d.left - s.left, d.top - s.top, s.right - d.right, s.bottom - d.bottom};
  int bordo = kBordoNessuno, larga = 0;
  for (int i = 0; i < 4; ++i) {
    if (strisce[i] > larga) {
      larga = strisce[i];
      bordo = i;
    }
  }
  b.bordo = bordo;
  switch (bordo) {
    case kBordoSinistro: b.rect = {s.left, s.top, d.left, s.bottom}; break;
    case kBordoAlto: b.rect = {s.left, s.top, s.right, d.top}; break;
    case kBordoDestro: b.rect = {d.right, s.top, s.right, s.bottom}; break;
    case kBordoBasso: b.rect = {s.left, d.bottom, s.right, s.bottom}; break;
    default: break;
  }
  return b;
}

double RisolviFattore(double fattore, const FattoriVideo& config, const std::string& chiaveSchermo,
                      const std::function<std::optional<double>(const std::string&)>& leggiChiave,
                      const GeometriaForm& form, const Video& video) {
  double f = fattore;
  if (f == -2) {
    if (config.generale == -1) return 1;
    if (config.generale != -2) {
      f = config.generale;
    } else if (chiaveSchermo.empty()) {
      f = config.persBase;
    } else {
      const std::optional<double> v = leggiChiave ? leggiChiave(chiaveSchermo) : std::nullopt;
      f = !v || *v == -2 ? config.persBase : *v;
    }
  }
  if (f == -1) return 1;
  if (f == -2) f = 0;
  const bool entrambe = f == 0;
  if (entrambe) f = util::AutomaticScreenFactor(video.larghezzaPx, video.altezzaPx);
  const bool adatta = entrambe || video.barra.Visibile();
  if (!(f > 0)) f = 1;
  if (adatta && f != 1) {
    double utile = video.altezzaPx * video.twipsPerPixelY;
    if (video.barra.Visibile() && video.barra.bordo == kBordoBasso) utile = video.barra.rect.top * video.twipsPerPixelX;
    const double basso = form.top + form.height;
    if (basso > 0 && utile > 0 && basso * f > utile) f = utile / basso;
    if (entrambe) {
      const double larghezza = video.larghezzaPx * video.twipsPerPixelX;
      const double destra = form.left + form.width;
      if (destra > 0 && larghezza > 0 && destra * f > larghezza) f = larghezza / destra;
    }
  }
  return f;
}

int FlagsEsclusione(const std::vector<Esclusione>& lista, const std::string& nome, int indice) {
  for (const Esclusione& e : lista)
    if (e.nome == nome && (e.indice == -1 || e.indice == indice)) return e.flags;
  return 0;
}

namespace {

bool HaFont(TipoControllo t) {
  switch (t) {
    case TipoControllo::Immagine:
    case TipoControllo::BarraStato:
    case TipoControllo::Altro: return false;
    default: return true;
  }
}

}  // namespace

void ScalaControlli(FormScala& form, std::vector<ControlloScala>& controlli, double f,
                    const std::vector<Esclusione>& esclusioni) {
  if (!(f > 0) || f == 1) return;
  form.width *= f;
  form.height *= f;
  form.fontSize *= f;
  for (ControlloScala& c : controlli) {
    const int flags = FlagsEsclusione(esclusioni, c.nome, c.indice);
    if (c.tipo == TipoControllo::Immagine && !c.stretch) continue;
    if (!(flags & kNonSpostare)) {
      c.top *= f;
      c.left *= f;
    }
    if (!(flags & kNonRidimensionare)) {
      c.width *= f;
      c.height *= f;
    }
    if (!(flags & kNonCambiareFont)) {
      if (HaFont(c.tipo)) c.fontSize *= f;
      if (c.tipo == TipoControllo::GrigliaDati) c.headFontSize *= f;
    }
    if (c.tipo == TipoControllo::Linea) {
      c.x1 *= f;
      c.y1 *= f;
      c.x2 *= f;
      c.y2 *= f;
    }
    if (c.tipo == TipoControllo::BarraStato)
      for (double& w : c.pannelli) w *= f;
    if (c.tipo == TipoControllo::Lista && c.height <= 60) c.height = 61;
  }
}

std::pair<std::string, int> NomeEIndice(const std::string& n) {
  const auto sep = n.rfind('_');
  if (sep == std::string::npos || sep == 0 || sep + 1 == n.size()) return {n, -1};
  for (size_t i = sep + 1; i < n.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(n[i]))) return {n, -1};
  return {n.substr(0, sep), std::stoi(n.substr(sep + 1))};
}

}  // namespace ui
