#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ui {

// A rectangle in pixels, edges as the window system gives them.
struct Rettangolo {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Larghezza() const { return right - left; }
  int Altezza() const { return bottom - top; }
};

// The edges an application bar can sit on.
enum BordoBarra : int { kBordoNessuno = -1, kBordoSinistro = 0, kBordoAlto = 1, kBordoDestro = 2, kBordoBasso = 3 };

// The taskbar as the scaling sees it.
struct BarraApplicazioni {
  bool autoHide = false;
  bool sempreInPrimoPiano = false;
  int bordo = kBordoNessuno;
  Rettangolo rect;
  // A bar that takes room from the screen: one that hides itself does not.
  bool Visibile() const { return bordo != kBordoNessuno && !autoHide; }
};

// The window system gives no taskbar of its own: the strip of the screen's
// full geometry that its available geometry leaves out is the bar. A screen
// whose whole area is available has none (edge -1). A strip on more than one
// side is read as the widest. Auto-hide and always-on-top cannot be seen
// this way and stay false.
BarraApplicazioni StatoBarraApplicazioni(const Rettangolo& schermo, const Rettangolo& disponibile);

// The screen in pixels and its resolution.
struct Video {
  int larghezzaPx = 0, altezzaPx = 0;
  double twipsPerPixelX = 15, twipsPerPixelY = 15;
  BarraApplicazioni barra;
};

// The factors of "Risoluzione Video" that every screen reads.
struct FattoriVideo {
  double generale = 0;  // -1 never scale, -2 per screen
  double persBase = 0;  // when "Generale" is -2 and the screen has no value
};

// A screen's outer rectangle in twips, as designed.
struct GeometriaForm {
  double left = 0, top = 0, width = 0, height = 0;
};

// AdattaForm's factor for one screen. `fattore` is the one asked for (-2:
// configured); `chiaveSchermo` the screen's key in "Risoluzione Video", and
// `leggiChiave` reads it (nullopt when absent or unreadable). The result is
// the factor the screen is scaled by; 1 leaves it as designed.
double RisolviFattore(double fattore, const FattoriVideo& config, const std::string& chiaveSchermo,
                      const std::function<std::optional<double>(const std::string&)>& leggiChiave,
                      const GeometriaForm& form, const Video& video);

// Flags of an exclusion triple.
inline constexpr int kNonSpostare = 1;
inline constexpr int kNonRidimensionare = 2;
inline constexpr int kNonCambiareFont = 4;

// One triple of an exclusion list: control name, index (-1 any), flags.
struct Esclusione {
  std::string nome;
  int indice = -1;
  int flags = 0;
};

// The flags of a control: those of the first triple naming it, 0 when none.
int FlagsEsclusione(const std::vector<Esclusione>& lista, const std::string& nome, int indice);

// Kinds of control the scaling tells apart.
enum class TipoControllo {
  Comando,
  Testo,
  Etichetta,
  Combo,
  Lista,
  Check,
  Opzione,
  Cornice,
  GrigliaDati,
  GrigliaFlessibile,
  Linea,
  Forma,
  Immagine,
  BarraStato,
  Altro
};

// A control as the scaling sees it, in twips and points.
struct ControlloScala {
  std::string nome;
  int indice = -1;
  TipoControllo tipo = TipoControllo::Altro;
  bool stretch = true;  // images only
  double left = 0, top = 0, width = 0, height = 0;
  double fontSize = 0;                    // 0: no font of its own
  double headFontSize = 0;                // data grid headings
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // lines
  std::vector<double> pannelli;           // status bar panel widths
};

// The form's own size and font.
struct FormScala {
  double width = 0, height = 0;
  double fontSize = 0;
};

// ScalaControlli: the form and its controls by a factor that is positive
// and not 1 (any other factor changes nothing). A list box keeps more than
// 60 twips of height, so that it still shows a line.
void ScalaControlli(FormScala& form, std::vector<ControlloScala>& controlli, double fattore,
                    const std::vector<Esclusione>& esclusioni);

// "Txt_3" -> ("Txt", 3); a name with no index part -> (name, -1).
std::pair<std::string, int> NomeEIndice(const std::string& nomeOggetto);

}  // namespace ui
