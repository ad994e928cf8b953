#include "tools/batch/BatchOperatore.h"

#include <ostream>

namespace batch {
namespace {

class ProgressoTesto final : public progress::ProgressController {
 public:
  explicit ProgressoTesto(std::ostream& out) : out_(out) {}
  void Start(int32_t total, const std::string& heading, int, bool, bool, int, const std::string& message, int,
             bool) override {
    out_ << "-- " << message << " " << heading << ": " << total << "\n";
  }
  void Step(int32_t) override {}
  void SetText(const std::string& message) override { out_ << "-- " << message << "\n"; }
  void End() override {}

 private:
  std::ostream& out_;
};

}  // namespace

void BatchOperatore::Scrivi(const std::string& titolo, const std::string& testo) {
  if (testo.rfind("Errore", 0) == 0 || testo.find("Errore(") != std::string::npos) errori_ = true;
  out_ << (titolo.empty() ? "" : "[" + titolo + "] ") << testo << "\n";
}

int BatchOperatore::msgCom(const ui::RichiestaMsg& r) {
  Scrivi(r.pvTitolo.value_or(""), r.psLabel);
  if (r.psCom1 == "Si" && r.pvCom2 && *r.pvCom2 == "No") {
    out_ << (si_ ? "> Si\n" : "> No (usare --yes per confermare)\n");
    return si_ ? 1 : 2;
  }
  return r.piComDefault;
}

int BatchOperatore::MessageBox(const std::string& text, int style, const std::string& title) {
  Scrivi(title, text);
  const int bottoni = style & 7;
  if (bottoni == ui::box::kYesNo || bottoni == ui::box::kYesNoCancel) return si_ ? ui::box::kYes : ui::box::kNo;
  return ui::box::kOk;
}

std::optional<std::string> BatchOperatore::InputBox(const std::string& prompt, const std::string& title,
                                                    const std::string& defaultAnswer) {
  Scrivi(title, prompt);
  return defaultAnswer;
}

std::unique_ptr<progress::ProgressController> BatchOperatore::NuovoProgress() {
  return std::make_unique<ProgressoTesto>(out_);
}

}  // namespace batch
