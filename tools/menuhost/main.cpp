// The reference menu host.
//
//   menuhost run --params FILE [--instance NAME] [--ini FILE] -- PROGRAM [ARGS...]
//   menuhost send INSTANCE COMMAND [PARAMETER] [--key KEY] [--wait MS]
#include <signal.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "components/util/CommandLine.h"
#include "components/util/Error.h"
#include "tools/menuhost/Server.h"

namespace {

int Uso() {
  std::cerr << "uso: menuhost run --params FILE [--instance NOME] [--ini FILE] -- PROGRAMMA [ARGOMENTI...]\n"
               "     menuhost send ISTANZA COMANDO [PARAMETRO] [--key CHIAVE] [--wait MS]\n";
  return 64;
}

}  // namespace

int main(int argc, char** argv) {
  ::signal(SIGPIPE, SIG_IGN);
  const std::vector<std::string> a(argv + 1, argv + argc);
  if (a.empty()) return Uso();
  try {
    if (a[0] == "run") {
      menuhost::Parametri par;
      std::string istanza = "menu" + std::to_string(::getpid());
      std::vector<std::string> programma;
      for (size_t i = 1; i < a.size(); ++i) {
        if (a[i] == "--params" && i + 1 < a.size())
          par.file = a[++i];
        else if (a[i] == "--instance" && i + 1 < a.size())
          istanza = a[++i];
        else if (a[i] == "--ini" && i + 1 < a.size())
          par.iniFile = a[++i];
        else if (a[i] == "--") {
          programma.assign(a.begin() + static_cast<long>(i) + 1, a.end());
          break;
        } else
          return Uso();
      }
      if (par.file.empty() || programma.empty()) return Uso();
      if (!std::ifstream(par.file)) {
        std::cerr << "menuhost: il file dei parametri " << par.file << " non si apre\n";
        return 66;
      }
      menuhost::Server server(par, istanza);
      std::cerr << "menuhost: istanza " << server.istanza() << "\n";
      server.Lancia(programma);
      return server.Servi();
    }
    if (a[0] == "send" && a.size() >= 3) {
      std::string parametro, chiave;
      int attesa = 30000;
      for (size_t i = 3; i < a.size(); ++i) {
        if (a[i] == "--key" && i + 1 < a.size())
          chiave = a[++i];
        else if (a[i] == "--wait" && i + 1 < a.size())
          attesa = static_cast<int>(util::IntegerOption("--wait", a[++i], 0, INT32_MAX));
        else
          parametro = a[i];
      }
      return menuhost::Invia(a[1], a[2], parametro, chiave, attesa);
    }
  } catch (const util::OptionError& e) {
    std::cerr << "menuhost: " << e.what() << "\n";
    return Uso();
  } catch (const util::RuntimeError& e) {
    std::cerr << "menuhost: " << e.description() << "\n";
    return 1;
  }
  return Uso();
}
