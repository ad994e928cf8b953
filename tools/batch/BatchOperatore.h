#pragma once

#include <iosfwd>
#include <string>

#include "src/ui/Operatore.h"

namespace batch {

// The operator of an unattended run: every message goes to the output, a
// "Si"/"No" question is answered "Si" only when the run was started with
// --yes, every other message takes its default command.
class BatchOperatore final : public ui::Operatore {
 public:
  BatchOperatore(std::ostream& out, bool si) : out_(out), si_(si) {}
  int msgCom(const ui::RichiestaMsg& request) override;
  bool msgComVisibile() const override { return false; }
  int MessageBox(const std::string& text, int style, const std::string& title) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultAnswer) override;
  void Clessidra(bool) override {}
  std::unique_ptr<progress::ProgressController> NuovoProgress() override;
  void Suona() override {}
  // True once an error was shown: the run failed even if it came back.
  bool erroriMostrati() const { return errori_; }

 private:
  void Scrivi(const std::string& titolo, const std::string& testo);
  std::ostream& out_;
  bool si_;
  bool errori_ = false;
};

}  // namespace batch
