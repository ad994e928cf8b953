#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ui {

// Commands of the help viewer.
inline constexpr int kAiutoSommario = 1;   // contents, or a topic path after "::/"
inline constexpr int kAiutoIndice = 2;     // index, with an optional keyword
inline constexpr int kAiutoContesto = 15;  // topic by context number

// One request to the help viewer. The target is the file, then ">" and a
// window name when there is one, then "::/" and a topic path when there is one.
struct ComandoAiuto {
  int comando = kAiutoSommario;
  std::string target;
  uint32_t contesto = 0;
  std::string parolaChiave;
};

// The help viewer: whatever shows the compiled help file.
class VisualizzatoreAiuto {
 public:
  virtual ~VisualizzatoreAiuto() = default;
  virtual void HtmlHelp(const ComandoAiuto& c) = 0;
};

// The target of a ComandoAiuto taken apart.
struct TargetAiuto {
  std::string file, finestra, argomento;
};
TargetAiuto ScomponiTarget(const std::string& target);

// FileAiuto: the configured help file with the ending ".chm" in place of any
// other four-character one; "" when there is none or no such file exists.
std::string FileAiuto(const std::string& configurato);

void MostraArgomento(VisualizzatoreAiuto& v, const std::string& file, const std::string& argomento,
                     const std::string& finestra);
void MostraContesto(VisualizzatoreAiuto& v, const std::string& file, uint32_t contesto, const std::string& finestra);
void MostraIndice(VisualizzatoreAiuto& v, const std::string& file, const std::string& parolaChiave);

// ContestoAttivo: the context of the active control, else of the first of its
// containers (innermost first) that has one, else the screen's. A container
// without the property (nullopt) ends the climb; `fallita` means the chain
// could not be read at all.
int32_t ContestoAttivo(const std::vector<std::optional<int32_t>>& catena, int32_t contestoSchermo,
                       bool fallita = false);

// AiutoTasto: F1 (112) opens the topic (`contesto`, or `contestoAttivo` when
// it is negative), Ctrl+F1 the contents, Alt+F1 the index. False, with the
// key left alone, for any other key or when there is no help file.
bool AiutoTasto(int& tasto, int shift, const std::string& fileConfigurato, int32_t contesto, int32_t contestoAttivo,
                VisualizzatoreAiuto& v);

}  // namespace ui
