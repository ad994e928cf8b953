#pragma once

#include <string>

#include "components/host/MenuHost.h"

namespace startup {

struct Programma;
class Schermo;

// Receives the host's command event for the whole run: it keeps the last
// command and hands it to EseguiComandoMenu.
class scMenuComandiClie final : public host::RicevitoreComandi {
 public:
  // Takes the host object and starts receiving its commands.
  explicit scMenuComandiClie(Programma& programma);
  ~scMenuComandiClie() override;
  scMenuComandiClie(const scMenuComandiClie&) = delete;
  scMenuComandiClie& operator=(const scMenuComandiClie&) = delete;

  host::MenuHost* ogMenuClient;
  std::string UltCom;
  std::string UltParam;  // element 1 of an array parameter
  host::HostValue UltParamVar;

  host::HostReply EseguiComando(const host::HostCommand& command) override;

 private:
  Programma& p_;
};

// The dispatch of a host command; the reply the host gets back.
host::HostReply EseguiComandoMenu(Programma& p, const std::string& menuInstance, const std::string& secondaryKey,
                                  const std::string& command, const host::HostValue& parameter);

// The texts of the invoice notices ("FEInvio", "FEAttesa", "FEInfo") for an
// array parameter; empty when nothing is to be shown.
std::string MessaggioFattura(const std::string& command, const host::HostValue& parameter);

// A screen closes: it gives control back to whoever launched it (unless the
// host is closing the program), asks for the program's close, frees its key.
void LasciaForm(Programma& p, Schermo& schermo, bool ritorno);

// Brings the host's main menu to the front.
void MostraMenu(Programma& p);

}  // namespace startup
