#pragma once

#include <string>

#include "components/db/DbExecutor.h"

namespace startup {

struct Programma;

// Opens the company database on the main executor: login for an ODBC
// source (asked of the host when missing, asked again after a refusal), the
// password of a file database. The result is the main connection name, a
// text beginning with "Err:" after a failure shown to the operator, or empty
// when the operator gave up the login. An unrecognised file (3343) is raised
// to the caller, which offers the repair.
std::string ApriDatabase(Programma& p, db::DbExecutor& executor, const std::string& nome, const std::string& password,
                         const std::string& connect);

// How a database name is opened directly: an empty database name with a
// connect string for an ODBC name, the path alone for a file.
struct AperturaDiretta {
  std::string database;
  std::string connect;
};
AperturaDiretta ParametriDiretti(const std::string& nome, const std::string& utente, const std::string& password);

// Opens the database by name on its own executor and returns its connection
// name. A file database gets the file password the main connection used.
std::string ApriDatabaseDiretto(db::DbExecutor& executor, const std::string& nome, const std::string& utente,
                                const std::string& password, const std::string& passwordFile = "");

}  // namespace startup
