#pragma once

#include <memory>
#include <optional>
#include <string>

#include "components/progress/ProgressController.h"

namespace ui {

// A request to the message and command window (msgCom): a text, one to three
// commands; the answer is the number of the command chosen (1, 2 or 3), or 0
// when the window was already showing another message.
struct RichiestaMsg {
  std::string psLabel;
  std::string psCom1 = "&Ok";
  std::optional<std::string> pvCom2;
  std::optional<std::string> pvCom3;  // taken only with pvCom2
  std::optional<std::string> pvTitolo;
  int piLargForm = 80;   // widest window, percent of the screen width
  bool pbSuona = false;  // play the signal sound first
  int piLatiForm = 600;  // twips added to the width of the message
  std::optional<double> pvFontSize;
  int piComDefault = 1;  // command with the focus when the window opens
  std::optional<double> pvWidthCom;
  bool pbSempreTxt = false;
};

// Styles and answers of the standard message box.
namespace box {
inline constexpr int kOkOnly = 0;
inline constexpr int kOkCancel = 1;
inline constexpr int kYesNoCancel = 3;
inline constexpr int kYesNo = 4;
inline constexpr int kCritical = 16;
inline constexpr int kQuestion = 32;
inline constexpr int kExclamation = 48;
inline constexpr int kInformation = 64;
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
}  // namespace box

// What the program's logic needs from whoever faces the operator: the
// message window, the standard message and input boxes, the busy pointer and
// progress windows. The screens implement it with Qt; tests with a script;
// the batch front with its terminal.
class Operatore {
 public:
  virtual ~Operatore() = default;

  virtual int msgCom(const RichiestaMsg& request) = 0;
  // True while the message window shows a request (a lookup never opens then).
  virtual bool msgComVisibile() const = 0;
  // The standard message box; style is a sum of box:: values; returns box::kOk ...
  virtual int MessageBox(const std::string& text, int style = box::kOkOnly, const std::string& title = "") = 0;
  // The standard input box; nullopt when cancelled.
  virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                              const std::string& defaultAnswer) = 0;
  // The hourglass pointer (Clessidra).
  virtual void Clessidra(bool on) = 0;
  virtual std::unique_ptr<progress::ProgressController> NuovoProgress() = 0;
  // Plays the signal sound configured under "BeepCome".
  virtual void Suona() = 0;
  // Unloads the connection splash when it is showing (fatal messages do).
  virtual void ChiudiSplash() {}
};

// Shows the hourglass for the life of the object, as the routines that change
// data do around their statements.
class Puntatore {
 public:
  explicit Puntatore(Operatore& op) : op_(op) { op_.Clessidra(true); }
  ~Puntatore() { op_.Clessidra(false); }
  Puntatore(const Puntatore&) = delete;
  Puntatore& operator=(const Puntatore&) = delete;

 private:
  Operatore& op_;
};

// Asks msgCom with a single "&Ok" command.
int Avviso(Operatore& op, const std::string& text);
// Asks msgCom with "Si" and "No" and the given title; true for "Si".
bool ChiediSiNo(Operatore& op, const std::string& text, const std::string& title, int comDefault = 1);

}  // namespace ui
