#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "src/ui/Operatore.h"

namespace testsupport {

// The operator of a test: records every message the program shows and answers
// from a script (command numbers, in order); with the script empty it answers
// the default command. Progress windows are recorded as text lines.
class FakeOperatore : public ui::Operatore {
 public:
  struct Messaggio {
    std::string testo;
    std::string titolo;
    std::vector<std::string> comandi;
  };

  std::deque<int> risposte;     // answers to msgCom, in order
  std::deque<int> risposteBox;  // answers to MessageBox
  std::deque<std::optional<std::string>> risposteInput;
  std::vector<Messaggio> messaggi;     // msgCom and MessageBox texts, in order
  std::vector<std::string> progresso;  // "start <total> <heading>", "step <n>", "text ...", "end"
  int clessidra = 0;                   // hourglass depth
  int suoni = 0;

  int msgCom(const ui::RichiestaMsg& request) override;
  bool visibile = false;  // the message window is showing another request
  bool msgComVisibile() const override { return visibile; }
  int MessageBox(const std::string& text, int style = ui::box::kOkOnly, const std::string& title = "") override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultAnswer) override;
  void Clessidra(bool on) override { clessidra += on ? 1 : -1; }
  std::unique_ptr<progress::ProgressController> NuovoProgress() override;
  void Suona() override { ++suoni; }

  // True when some message shown contains the text.
  bool Mostrato(const std::string& parte) const;
  // Every message text, one per line, for failure output.
  std::string Elenco() const;
};

}  // namespace testsupport
