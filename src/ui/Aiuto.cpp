#include "src/ui/Aiuto.h"

#include <filesystem>
#include <system_error>

#include "components/util/Text.h"

namespace ui {

TargetAiuto ScomponiTarget(const std::string& target) {
  TargetAiuto t;
  std::string resto = target;
  if (const auto p = resto.find("::/"); p != std::string::npos) {
    t.argomento = resto.substr(p + 3);
    resto.resize(p);
  }
  if (const auto p = resto.find('>'); p != std::string::npos) {
    t.finestra = resto.substr(p + 1);
    resto.resize(p);
  }
  t.file = resto;
  return t;
}

std::string FileAiuto(const std::string& configurato) {
  std::string f = configurato;
  if (f.empty()) return "";
  if (f.size() < 4 || !util::EqualsIgnoreCase(f.substr(f.size() - 4), ".chm")) {
    if (f.size() >= 4) f.resize(f.size() - 4);
    f += ".chm";
  }
  std::error_code ec;
  if (!std::filesystem::is_regular_file(f, ec)) return "";
  return f;
}

namespace {

std::string Target(const std::string& file, const std::string& finestra) {
  return finestra.empty() ? file : file + ">" + finestra;
}

}  // namespace

void MostraArgomento(VisualizzatoreAiuto& v, const std::string& file, const std::string& argomento,
                     const std::string& finestra) {
  ComandoAiuto c;
  c.comando = kAiutoSommario;
  c.target = Target(file, finestra);
  if (!util::Trim(argomento).empty()) c.target += "::/" + util::Trim(argomento);
  v.HtmlHelp(c);
}

void MostraContesto(VisualizzatoreAiuto& v, const std::string& file, uint32_t contesto, const std::string& finestra) {
  MostraArgomento(v, file, "", finestra);
  ComandoAiuto c;
  c.comando = kAiutoContesto;
  c.target = Target(file, finestra);
  c.contesto = contesto;
  v.HtmlHelp(c);
}

void MostraIndice(VisualizzatoreAiuto& v, const std::string& file, const std::string& parolaChiave) {
  ComandoAiuto c;
  c.comando = kAiutoIndice;
  c.target = file;
  c.parolaChiave = parolaChiave.substr(0, 254);
  v.HtmlHelp(c);
}

int32_t ContestoAttivo(const std::vector<std::optional<int32_t>>& catena, int32_t contestoSchermo, bool fallita) {
  if (fallita) return contestoSchermo;
  for (const std::optional<int32_t>& c : catena) {
    if (!c) break;
    if (*c >= 1) return *c;
  }
  return contestoSchermo;
}

bool AiutoTasto(int& tasto, int shift, const std::string& fileConfigurato, int32_t contesto, int32_t contestoAttivo,
                VisualizzatoreAiuto& v) {
  if (tasto != 112) return false;
  const std::string file = FileAiuto(fileConfigurato);
  if (file.empty()) return false;
  if (shift == 2)
    MostraArgomento(v, file, "", "");
  else if (shift == 4)
    MostraIndice(v, file, "");
  else
    MostraContesto(v, file, contesto < 0 ? static_cast<uint32_t>(contestoAttivo) : static_cast<uint32_t>(contesto), "");
  tasto = 0;
  return true;
}

}  // namespace ui
