#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "components/db/DbExecutor.h"

namespace schema {

struct Column {
  std::string name;
  db::ColumnType type = db::ColumnType::Text;
  int size = 0;  // characters of a text column
};

struct Table {
  std::string name;
  std::vector<Column> columns;
  std::vector<std::string> key;  // primary key columns in order; may be empty
  const Column* find(std::string_view column) const;
};

struct Index {
  std::string table;
  std::vector<std::string> columns;
  bool unique = false;
};

struct Schema {
  std::vector<Table> tables;
  std::vector<Index> indexes;
  const Table* find(std::string_view table) const;
};

// Reads a schema description (see schema/compensato.schema for the format).
// Throws std::runtime_error naming the line of a malformed description.
Schema Parse(std::string_view text);

// The company database of the suite, as embedded in the program.
const Schema& CompanySchema();

enum class Engine { Sqlite, Postgres };

// The statements that create the schema on an empty database of the engine.
// PostgreSQL needs the citext extension in the database.
std::vector<std::string> DdlStatements(const Schema& schema, Engine engine);
// The same statements as one script, each ending in ";" and a line break.
std::string DdlScript(const Schema& schema, Engine engine);

}  // namespace schema
