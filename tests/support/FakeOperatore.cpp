#include "tests/support/FakeOperatore.h"

namespace testsupport {
namespace {

class ProgressoRegistrato : public progress::ProgressController {
 public:
  explicit ProgressoRegistrato(std::vector<std::string>& righe) : righe_(righe) {}
  void Start(int32_t total, const std::string& heading, int, bool, bool, int, const std::string& message, int,
             bool) override {
    righe_.push_back("start " + std::to_string(total) + " " + heading + "|" + message);
  }
  void Step(int32_t counter) override { righe_.push_back("step " + std::to_string(counter)); }
  void SetText(const std::string& message) override { righe_.push_back("text " + message); }
  void End() override { righe_.push_back("end"); }

 private:
  std::vector<std::string>& righe_;
};

}  // namespace

int FakeOperatore::msgCom(const ui::RichiestaMsg& r) {
  Messaggio m{r.psLabel, r.pvTitolo.value_or(""), {r.psCom1}};
  if (r.pvCom2) m.comandi.push_back(*r.pvCom2);
  if (r.pvCom2 && r.pvCom3) m.comandi.push_back(*r.pvCom3);
  messaggi.push_back(std::move(m));
  if (risposte.empty()) return r.piComDefault;
  const int a = risposte.front();
  risposte.pop_front();
  return a;
}

int FakeOperatore::MessageBox(const std::string& text, int style, const std::string& title) {
  messaggi.push_back({text, title, {}});
  if (!risposteBox.empty()) {
    const int a = risposteBox.front();
    risposteBox.pop_front();
    return a;
  }
  const int bottoni = style & 7;
  return bottoni == ui::box::kYesNo || bottoni == ui::box::kYesNoCancel ? ui::box::kYes : ui::box::kOk;
}

std::optional<std::string> FakeOperatore::InputBox(const std::string& prompt, const std::string& title,
                                                   const std::string& defaultAnswer) {
  messaggi.push_back({prompt, title, {}});
  if (risposteInput.empty()) return defaultAnswer;
  auto a = risposteInput.front();
  risposteInput.pop_front();
  return a;
}

std::unique_ptr<progress::ProgressController> FakeOperatore::NuovoProgress() {
  return std::make_unique<ProgressoRegistrato>(progresso);
}

bool FakeOperatore::Mostrato(const std::string& parte) const {
  for (const Messaggio& m : messaggi)
    if (m.testo.find(parte) != std::string::npos) return true;
  return false;
}

std::string FakeOperatore::Elenco() const {
  std::string s;
  for (const Messaggio& m : messaggi) s += m.testo + "\n";
  return s;
}

}  // namespace testsupport
