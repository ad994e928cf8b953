#include "src/ui/Errori.h"

namespace ui {

std::string TestoErrore(const std::string& psMsgAggPri, int number, const std::string& text,
                        const std::string& psMsgAggDop) {
  return psMsgAggPri + "Errore(" + std::to_string(number) + "): " + text + psMsgAggDop;
}

std::string DescrizioneErrore(const util::RuntimeError& error) {
  if (error.source().empty()) return error.description();
  return error.description() + " - " + error.source();
}

int MsgErrfrm(Operatore& op, const util::RuntimeError& error, const std::string& psMsgAggPri,
              const std::string& psMsgAggDop, const std::optional<std::string>& pvTitolo) {
  return MsgErrfrm(op, DescrizioneErrore(error), error.number(), psMsgAggPri, psMsgAggDop, pvTitolo);
}

int MsgErrfrm(Operatore& op, const std::string& pvError, int pverr, const std::string& psMsgAggPri,
              const std::string& psMsgAggDop, const std::optional<std::string>& pvTitolo) {
  RichiestaMsg r;
  r.psLabel = TestoErrore(psMsgAggPri, pverr, pvError, psMsgAggDop);
  r.psCom1 = "&Ok";
  r.pvTitolo = pvTitolo;
  return op.msgCom(r);
}

int MostraErrore(Operatore& op, const util::RuntimeError& error, const std::string& psMsgAggPri,
                 const std::string& psMsgAggDop) {
  return op.MessageBox(TestoErrore(psMsgAggPri, error.number(), DescrizioneErrore(error), psMsgAggDop),
                       box::kExclamation);
}

void SegnalaErroreMenu(host::MenuHost& host, Operatore& op, const util::RuntimeError& error,
                       const std::string& psMsgAggPri, const std::string& psMsgAggDop) {
  SegnalaErroreMenu(host, op, error.source().empty() ? error.description() : error.source(), error.number(),
                    psMsgAggPri, psMsgAggDop);
}

void SegnalaErroreMenu(host::MenuHost& host, Operatore& op, const std::string& text, int number,
                       const std::string& psMsgAggPri, const std::string& psMsgAggDop) {
  host.ProgramValue("MsgBox", "Tutti",
                    host::HostValue(util::Value(TestoErrore(psMsgAggPri, number, text, psMsgAggDop))));
  try {
    op.ChiudiSplash();
  } catch (...) {
    // a splash that cannot be unloaded must not hide the error being reported
  }
}

}  // namespace ui
