#pragma once

#include <QEventLoop>
#include <QLineEdit>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "src/startup/qt/FormQt.h"
#include "src/ui/Campi.h"
#include "src/ui/Scala.h"
#include "src/ui/Tasti.h"
#include "src/ui/qt/FrmAiuto.h"
#include "src/ui/qt/TastieraQt.h"

namespace startup {

struct Programma;

// Every screen of the program: its set-up while it loads (colours, caption,
// loading splash, read-only switch, window state, scaling), one keyboard for
// all its controls (Enter moves on, find and replace, the operator's Ctrl
// keys, the keypad comma), focus colours, help on F1, and its lifecycle
// (an unload hands control back to the host). Controls are placed in twips,
// as designed, at the resolution of the screen they show on; the scaling
// then multiplies positions, sizes and fonts.
class Maschera : public FormQt {
  Q_OBJECT
 public:
  // `larghezza` and `altezza`: the designed inner size, in twips.
  Maschera(Programma& p, std::string nome, const std::string& didascalia, int32_t contestoAiuto, int larghezza,
           int altezza);
  ~Maschera() override;

  double odRisVidVal = 1;                  // the factor the screen was scaled by
  std::string osRisVidKey;                 // its key in "Risoluzione Video"; "" = program key + "-" + osKeySec
  int16_t oiAbilRW = 0;                    // 1 when launched with "/RO"
  int16_t oiNohelp = 0;                    // 0 none, 1 shown modally, 2 hidden for a lookup
  std::vector<ui::Esclusione> esclusioni;  // controls the scaling leaves alone, in part
  std::string esclusiColore;               // "name," of controls that keep their colour

  void Load() override;
  bool ScaricaSchermo() override;

  // The screen's own key-down, after the common keys: true when consumed.
  virtual bool TastoGiu(int& /*tasto*/, int /*shift*/) { return false; }
  // The key-up of a field array (PremiTasto raises it).
  virtual void TastoSu(const std::string& /*array*/, int /*indice*/, int /*tasto*/, int /*shift*/) {}
  // Called after the common colours when a text box is entered and left.
  virtual void CampoEntrato(QWidget*) {}
  virtual void CampoLasciato(QWidget*) {}

  // Field helpers the screens call from their events.
  void PrendeFuoco(QWidget* campo, bool forza);
  void PerdeFuoco(QWidget* campo, bool forza);
  void FuocoConto(QLineEdit* campo);
  int ControllaData(QLineEdit* campo, const ui::VerificaData& v, std::string* messaggio = nullptr);
  ui::ColoriCampi Colori() const;

  // Places a control at its designed position and size, in twips.
  void Posiziona(QWidget* w, int left, int top, int width, int height);

  // Shows the screen modally until it is hidden or closed; false when it
  // was unloaded meanwhile.
  bool EseguiModale();

  ui::TastieraQt* Tastiera() const { return tastiera_; }
  ui::AiutoQt& Guida();
  Programma& programma() const { return p_; }

 protected:
  void hideEvent(QHideEvent* e) override;
  Programma& p_;

 private:
  friend void InizioCaricaForm(Programma&, Maschera&, bool, bool, bool, const std::string&);
  ui::TastieraQt* tastiera_ = nullptr;
  QEventLoop* modale_ = nullptr;
  ui::StatoTastiera statoProprio_;
  std::unique_ptr<ui::AiutoQt> aiutoProprio_;
};

// DidascaliaForm: caption + " - " + the description, or the company's.
std::string DidascaliaForm(const Programma& p, const std::string& didascalia,
                           const std::optional<std::string>& descrizione = std::nullopt);

// The four page-command flags of the suite are always false here and are left out.
void InizioCaricaForm(Programma& p, Maschera& f, bool noControlloRO, bool noSplash, bool fattore,
                      const std::string& esclusiColore);
void FineCaricaForm(Programma& p, Maschera& f, bool tieniSplash, bool scala,
                    const std::vector<ui::Esclusione>& esclusioni = {});

// AdattaForm on any window of the program: resolves the factor for the key
// (see Maschera::osRisVidKey), and scales unless `noScala`. Returns the factor.
double AdattaForm(Programma& p, QWidget& finestra, const std::string& chiave, bool noScala, double fattore,
                  const std::vector<ui::Esclusione>& esclusioni);
// The key of a screen in "Risoluzione Video".
std::string ChiaveRisoluzione(const Programma& p, const Maschera& f);

// True when a launch parameter carries the switch "/RO".
bool SolaLettura(const std::string& osParam);

// NascondiModali: hides, last first, every visible screen shown modally, so
// that a lookup window can take the keyboard; MostraModale shows it again.
void NascondiModali(Programma& p);
void MostraModale(Maschera& s);

// PremiTasto: focus on field `indice` of the array (`txtAppo` or `Txt`), then
// its key-up with the key.
void PremiTasto(Programma& p, Maschera& s, int indice, int tasto, bool appo);

}  // namespace startup
