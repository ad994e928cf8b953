#pragma once

#include <optional>
#include <string>

#include "components/host/MenuHost.h"
#include "components/util/Error.h"
#include "src/ui/Operatore.h"

namespace ui {

// The program's standard error text: prefix + "Errore(" + number + "): " + text + suffix.
std::string TestoErrore(const std::string& psMsgAggPri, int number, const std::string& text,
                        const std::string& psMsgAggDop);

// The text of an error as the error form shows it: the description, then
// " - " and the source when there is one.
std::string DescrizioneErrore(const util::RuntimeError& error);

// The error form of the message window: the standard text with the single
// command "&Ok". The title is the context of the failing operation when given.
int MsgErrfrm(Operatore& op, const util::RuntimeError& error, const std::string& psMsgAggPri = "",
              const std::string& psMsgAggDop = "", const std::optional<std::string>& pvTitolo = std::nullopt);
int MsgErrfrm(Operatore& op, const std::string& pvError, int pverr, const std::string& psMsgAggPri = "",
              const std::string& psMsgAggDop = "", const std::optional<std::string>& pvTitolo = std::nullopt);

// The plain error box: the standard text, exclamation icon, OK only, no title.
int MostraErrore(Operatore& op, const util::RuntimeError& error, const std::string& psMsgAggPri = "",
                 const std::string& psMsgAggDop = "");

// The error report through the menu host (program value "MsgBox"), used while a
// screen loads or the program closes. The text is the error's source when it
// has one, otherwise its description. The splash is unloaded afterwards.
void SegnalaErroreMenu(host::MenuHost& host, Operatore& op, const util::RuntimeError& error,
                       const std::string& psMsgAggPri = "", const std::string& psMsgAggDop = "");
void SegnalaErroreMenu(host::MenuHost& host, Operatore& op, const std::string& text, int number,
                       const std::string& psMsgAggPri = "", const std::string& psMsgAggDop = "");

}  // namespace ui
