// democompany: creates the demo company database and the menu host's
// parameters file for it, then reports what the company holds.
//
//   democompany <database> [--params <file>] [--force] [--installments <n>]
//
// <database> is a file path (SQLite) or an ODBC name; --force replaces an
// existing file database.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "components/db/DbExecutor.h"
#include "components/util/CommandLine.h"
#include "components/util/Error.h"
#include "tools/democompany/DemoCompany.h"

int main(int argc, char** argv) {
  std::string nome, parametri;
  bool forza = false;
  demo::Opzioni opzioni;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--params" && i + 1 < argc) {
      parametri = argv[++i];
    } else if (a == "--force") {
      forza = true;
    } else if (a == "--installments" && i + 1 < argc) {
      try {
        opzioni.scadenze = static_cast<int>(util::IntegerOption("--installments", argv[++i], 0, 1000000));
      } catch (const util::OptionError& e) {
        std::cerr << "democompany: " << e.what() << "\n";
        return 2;
      }
    } else if (!a.empty() && a[0] != '-' && nome.empty()) {
      nome = a;
    } else {
      std::cerr << "uso: democompany <database> [--params <file>] [--force] [--installments <n>]\n";
      return 2;
    }
  }
  if (nome.empty()) {
    std::cerr << "uso: democompany <database> [--params <file>] [--force] [--installments <n>]\n";
    return 2;
  }
  opzioni.odbc = db::ENomeOdbc(nome);
  try {
    if (!opzioni.odbc && std::filesystem::exists(nome)) {
      if (!forza) {
        std::cerr << "democompany: " << nome << " esiste già (--force per ricrearlo)\n";
        return 1;
      }
      for (const char* suffisso : {"", "-wal", "-shm"}) std::filesystem::remove(nome + suffisso);
    }
    if (!opzioni.odbc && std::filesystem::path(nome).has_parent_path())
      std::filesystem::create_directories(std::filesystem::path(nome).parent_path());
    db::DbExecutor db;
    const std::string conn = opzioni.odbc ? db.OpenDatabase(nome) : db.CreateDatabase(nome);
    demo::CreaAzienda(db, conn, opzioni);
    if (!parametri.empty()) {
      std::ofstream f(parametri, std::ios::trunc);
      f << demo::FileParametri(nome, opzioni);
      if (!f) throw std::runtime_error("cannot write " + parametri);
    }
    std::cout << "Azienda demo creata in " << nome << "\n";
    for (const auto& [tabella, righe] : demo::ContaRighe(db, conn))
      if (righe > 0) std::cout << "  " << tabella << ": " << righe << " righe\n";
    if (!parametri.empty()) std::cout << "Parametri del menu in " << parametri << "\n";
    db.CloseDatabase(conn);
    return 0;
  } catch (const util::RuntimeError& e) {
    std::cerr << "democompany: errore " << e.number() << ": " << e.description() << "\n";
  } catch (const std::exception& e) {
    std::cerr << "democompany: " << e.what() << "\n";
  }
  return 1;
}
