#pragma once

#include <string>

namespace startup {

struct Programma;

inline constexpr const char* kFormSelezione = "FrmSaldaSelezioni";
inline constexpr const char* kFormRipristino = "frmRipriSal";

// Opens the screen a name asks for (any letter case); any other name, an
// empty one too, is refused with a message and the program closes.
void ApriFormRichiesta(Programma& p, const std::string& nome, bool usaTipo, const std::string& parametri,
                       const std::string& lanciatore, const std::string& chiaveLanciatore,
                       const std::string& paramLanciatore);

// Opens a screen or brings an open one to the front; true when it is shown.
bool AttivaForm(Programma& p, const std::string& nome, bool usaTipo, const std::string& chiave,
                const std::string& lanciatore, const std::string& chiaveLanciatore, const std::string& paramLanciatore,
                int showFlag, const std::string& parteDidascalia = "");

// The display type of a new screen: the company's window state when it is a
// number, otherwise the host's osTipoForm (0 when that is no number either).
int TipoVisualizzazione(Programma& p);

}  // namespace startup
