// Prints the DDL of the company schema for one engine:
//   schemagen sqlite|postgresql [description-file]
// Without a file it uses the description built into the program.
#include <fstream>
#include <iostream>
#include <sstream>

#include "schema/Schema.h"

int main(int argc, char** argv) {
  if (argc < 2 || (std::string(argv[1]) != "sqlite" && std::string(argv[1]) != "postgresql")) {
    std::cerr << "usage: schemagen sqlite|postgresql [description-file]\n";
    return 2;
  }
  try {
    const auto engine = std::string(argv[1]) == "sqlite" ? schema::Engine::Sqlite : schema::Engine::Postgres;
    if (argc > 2) {
      std::ifstream in(argv[2]);
      if (!in) {
        std::cerr << "schemagen: cannot read " << argv[2] << "\n";
        return 1;
      }
      std::stringstream text;
      text << in.rdbuf();
      std::cout << schema::DdlScript(schema::Parse(text.str()), engine);
    } else {
      std::cout << schema::DdlScript(schema::CompanySchema(), engine);
    }
  } catch (const std::exception& e) {
    std::cerr << "schemagen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
