#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "components/db/Catalog.h"
#include "components/db/Dialect.h"
#include "components/db/LiveMark.h"
#include "components/db/Translator.h"
#include "components/util/Value.h"

namespace db {

// A column of a result: its name, the type its values have, and where it
// comes from when it is a plain column of a table.
struct ResultColumn {
  std::string name;
  ColumnType type = ColumnType::Text;
  bool typed = false;  // false for an expression whose type the engine does not say
  std::string table;   // base table, "" for an expression
  std::string origin;  // base column name, "" for an expression
};

struct ResultSet {
  std::vector<ResultColumn> columns;
  std::vector<std::vector<util::Value>> rows;
};

// The rows of a query read a page at a time, for a cursor that only moves
// forward: memory holds one page however many rows the query has.
class RowStream {
 public:
  virtual ~RowStream() = default;
  const std::vector<ResultColumn>& columns() const { return columns_; }
  // Replaces `rows` with the next page; false, with `rows` empty, once all
  // rows have been read.
  virtual bool next(std::vector<std::vector<util::Value>>& rows) = 0;

 protected:
  std::vector<ResultColumn> columns_;
};

// One open database. The base class owns what every engine shares (the
// translator, the catalog, transaction nesting, the conversion of values
// written to columns); an engine supplies the calls to its library.
class Connection {
 public:
  explicit Connection(std::unique_ptr<Dialect> dialect);
  virtual ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  const Dialect& dialect() const { return *dialect_; }
  virtual bool isOdbc() const = 0;
  virtual bool isSqlServer() const { return false; }
  // Whether results say which table and column each of their columns comes
  // from (ResultColumn::table, origin); expressions then have no table.
  virtual bool reportsOrigins() const { return true; }

  // Statements of the program's dialect.
  int64_t execute(std::string_view sql);
  ResultSet query(std::string_view sql, bool forUpdate);
  // A SELECT of the program's dialect read as the caller moves on. What the
  // program writes meanwhile to the tables it reads may or may not show in
  // the rows not yet read, so a caller that changes them reads with query.
  std::unique_ptr<RowStream> stream(std::string_view sql);
  // The number of rows a SELECT of the program's dialect gives, by a query
  // of its own.
  int64_t countRows(std::string_view sql);
  // Text for the engine as it stands. The catalog is read again afterwards:
  // such text is how tables get created.
  int64_t executeRaw(const std::string& sql);
  Statement translate(std::string_view sql, bool forUpdate = false);

  // Row writes of an updatable cursor. `values` are in the columns' own
  // types (ToColumnValue); rows are found by `keys`, the key columns' values.
  void insertRow(const TableInfo& table, const std::vector<std::string>& columns,
                 const std::vector<util::Value>& values);
  // The statement insertRow runs, for a caller that runs it many times (write).
  std::string insertSql(const TableInfo& table, const std::vector<std::string>& columns) const;
  int64_t write(const std::string& sql, const std::vector<util::Value>& values) { return runValues(sql, values); }
  int64_t updateRow(const TableInfo& table, const std::vector<std::string>& columns,
                    const std::vector<util::Value>& values, const std::vector<util::Value>& keys);
  int64_t deleteRow(const TableInfo& table, const std::vector<util::Value>& keys);

  void begin();
  void commit();
  void rollback();
  int depth() const { return depth_; }

  // Rows of a query written for the engine as it stands, untranslated.
  ResultSet queryRaw(const std::string& sql);
  // The path of a file database; "" for a server.
  virtual std::string databaseFile() const { return {}; }
  // The marks that say which user identities have a live owner.
  LiveMarks& liveMarks();

  Catalog& catalog();
  ColumnDescription columnInfo(const std::string& table, const std::string& column);
  void reloadCatalog();

 protected:
  virtual int64_t run(const Statement& st) = 0;
  virtual ResultSet fetch(const Statement& st) = 0;
  virtual std::unique_ptr<RowStream> openStream(const Statement& st) = 0;
  virtual int64_t runRaw(const std::string& sql) = 0;
  // A statement with "?" for each value, for the engine to bind or write inline.
  virtual int64_t runValues(const std::string& sql, const std::vector<util::Value>& values) = 0;
  virtual void loadCatalog(TableCatalog& catalog) = 0;
  virtual void beginOuter() = 0;
  virtual void commitOuter() = 0;
  virtual void rollbackOuter() = 0;

 private:
  std::string where(const TableInfo& table) const;

  std::unique_ptr<Dialect> dialect_;
  std::unique_ptr<LiveMarks> liveMarks_;
  TableCatalog catalog_;
  Translator translator_;
  int depth_ = 0;
};

// The value as the column's type stores it: "" in a non-text column and the
// empty date are null; a currency is rounded to four decimals; a text longer
// than the column raises 3163 and a number outside the type 3349.
util::Value ToColumnValue(const ColumnDescription& column, const util::Value& value);

// The empty value of a type, what a null reads as.
util::Value EmptyValue(ColumnType type);

// "VARCHAR(2)", "SMALLINT", "NUMERIC(19,4)"... as a column type and size.
ColumnDescription DescribeDeclaredType(std::string_view declared);

}  // namespace db
