#pragma once

#include <cstdint>
#include <string>

#include "src/ui/Operatore.h"

namespace host {
class MenuHost;
}

namespace ui {

// Key codes and shift states as the screens' key events carry them.
inline constexpr int kShift = 1;
inline constexpr int kCtrl = 2;
inline constexpr int kAlt = 4;
inline constexpr int kTastoInvio = 13;
inline constexpr int kTastoEsc = 27;
inline constexpr int kTastoPagSu = 33;
inline constexpr int kTastoPagGiu = 34;
inline constexpr int kTastoF = 70;
inline constexpr int kTastoS = 83;
inline constexpr int kTastoModoConfronto = 92;
inline constexpr int kTastoDecimaleTastierino = 110;
inline constexpr int kTastoF1 = 112;
inline constexpr int kTastoF2 = 113;

// The keyboard state of the whole run: the last key down, whether the Enter
// just pressed belongs to a multi-line box, and find and replace.
struct StatoTastiera {
  int ultimoTasto = 0;
  int ultimoShift = 0;
  bool invioPassa = false;
  std::u16string cerca, sostituisci;
  int modoConfronto = -1;  // 1 ignoring case, 0 exact, -1 not set yet
};

// A text box as the key rules see it; positions count UTF-16 units, as the
// screens' text boxes do.
class CampoTesto {
 public:
  virtual ~CampoTesto() = default;
  virtual std::string Nome() const = 0;  // the field array's name ("Txt")
  virtual bool MultiRiga() const = 0;
  virtual std::u16string Testo() const = 0;
  virtual void ImpostaTesto(const std::u16string& t) = 0;
  virtual int InizioSelezione() const = 0;
  virtual int LunghezzaSelezione() const = 0;
  virtual void Seleziona(int inizio, int lunghezza) = 0;
  // Replaces the selection (or inserts at the cursor) and leaves the cursor after it.
  virtual void SostituisciSelezione(const std::u16string& t) = 0;
};

// The screen a key was pressed in.
class AmbienteTasti {
 public:
  virtual ~AmbienteTasti() = default;
  // The active control when it is a text box, otherwise nullptr.
  virtual CampoTesto* CampoAttivo() = 0;
  virtual bool GrigliaDatiAttiva() = 0;
  // SpostaFuoco: to the next control that takes the focus in tab order (backwards with a negative step).
  virtual void SpostaFuoco(int passo) = 0;
  virtual void FuocoAlForm() = 0;
  // The help key (AiutoTasto) with the screen's own topic; true when handled.
  virtual bool Aiuto(int& tasto, int shift) = 0;
};

// What GestisciTasto reaches outside the screen.
struct ServiziTasti {
  host::MenuHost* host = nullptr;  // "TastiCtrl"; none in a test that has no host
  Operatore& op;
};

// GestisciTasto: the key-down of every screen. 1 when the key was consumed
// (tasto is then 0). With `griglia` Enter moves on from a data grid too;
// with `multiRiga` Enter stays in a multi-line box unless its text is
// wholly selected.
int GestisciTasto(int& tasto, int& shift, AmbienteTasti& amb, StatoTastiera& st, ServiziTasti srv, bool griglia,
                  bool multiRiga);

// FiltraTasto: the character a key press types, 0 for none.
char16_t FiltraTasto(char16_t c, const StatoTastiera& st, const std::string& tastierinoVirgola);

// Finds `cosa` in `testo`: the first occurrence from `da` forwards, or the
// last one that ends by `a` backwards; -1 when none. Case is ignored for
// the letters of Italian text when `ignoraMaiuscole`.
int CercaTesto(const std::u16string& testo, const std::u16string& cosa, int da, int a, bool avanti,
               bool ignoraMaiuscole);

}  // namespace ui
