#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "components/db/DbExecutor.h"
#include "src/data/Contesto.h"
#include "src/startup/Programma.h"
#include "tests/src/startup/FakePiattaforma.h"
#include "tests/support/FakeHost.h"
#include "tests/support/FakeOperatore.h"
#include "tests/support/TestDatabase.h"

namespace testsupport {

// A program ready to start: fake host, operator and windows, a real executor,
// and a folder with a main configuration file "torvel.ini" naming "db.ini".
struct Banco {
  explicit Banco(Engine engine = Engine::Sqlite);
  ~Banco();

  void Scrivi(const std::filesystem::path& file, const std::string& testo);
  // Starts the program on the command line and runs the events that follow.
  void Avvia(const std::string& riga);
  std::string UltimoMsgBox() const { return host.messaggi.empty() ? "" : host.messaggi.back(); }
  FakeSchermo* Schermo(const std::string& nome);

  std::filesystem::path dir;
  std::filesystem::path ini;
  TestDatabase azienda;
  FakeHost host;
  FakeOperatore op;
  FakePiattaforma pf;
  db::DbExecutor executor;
  std::unique_ptr<compensato::Contesto> ctx;
  std::unique_ptr<startup::Programma> p;
};

}  // namespace testsupport
