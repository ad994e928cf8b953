#pragma once

#include <functional>
#include <string>

#include "src/ui/Operatore.h"

class QWidget;

namespace ui {

// The operator at the screen: the message window, the standard boxes, the
// hourglass, the progress window, the signal sound.
class QtOperatore : public Operatore {
 public:
  explicit QtOperatore(std::string titoloProgramma = "Compensato");

  int msgCom(const RichiestaMsg& request) override;
  bool msgComVisibile() const override { return aperta_; }
  int MessageBox(const std::string& text, int style = box::kOkOnly, const std::string& title = "") override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultAnswer) override;
  void Clessidra(bool on) override;
  std::unique_ptr<progress::ProgressController> NuovoProgress() override;
  void Suona() override;
  void ChiudiSplash() override {
    if (chiudiSplash) chiudiSplash();
  }

  void ImpostaBeepCome(const std::string& v) { beepCome_ = v; }
  std::function<void()> chiudiSplash;
  // Called once a message window is on screen (tests answer it from here).
  std::function<void(QWidget*)> allApertura;
  // The help key in the message window (AiutoTasto with the window).
  std::function<bool(int& tasto, int shift, QWidget* finestra)> aiuto;
  // Scales a window of its own (the progress window) as the screens are scaled.
  std::function<void(QWidget*)> adatta;

 private:
  std::string titolo_;
  std::string beepCome_;
  bool aperta_ = false;
  int clessidra_ = 0;
};

// Plays a WAVE sound or a sound file where the machine has audio; nothing otherwise.
void RiproduciSuono(const std::vector<uint8_t>& wave, bool attendi);
void RiproduciFile(const std::string& file);

}  // namespace ui
