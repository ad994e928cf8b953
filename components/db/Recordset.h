#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "components/db/Catalog.h"
#include "components/db/Connection.h"
#include "components/util/Value.h"

namespace db {

// The rows of one cursor, read in full when it opens: the count is exact and
// the rows stay put while the program changes the table through another
// cursor or a statement. Row and column access by position serves a grid
// model; the cursor operations of DbCursor work on the current row.
//
// A forward-only cursor instead reads its rows a page at a time as it moves
// and keeps only the page of the current row: it is read only, cannot move
// back to a row it has left (3219), and its count is a query of its own, run
// the first time it is asked for.
class Recordset {
 public:
  Recordset(Connection& connection, ResultSet rows, const TableInfo* firstTable, bool updatable);
  Recordset(Connection& connection, std::unique_ptr<RowStream> stream, std::string countSql,
            const TableInfo* firstTable);

  int rowCount() const;
  int columnCount() const { return static_cast<int>(columns_.size()); }
  const std::string& columnName(int column) const { return columns_.at(static_cast<size_t>(column)).name; }
  ColumnType columnType(int column) const { return columns_.at(static_cast<size_t>(column)).type; }
  bool columnWritable(int column) const { return writable_.at(static_cast<size_t>(column)); }
  // -1 when there is no such column. "Table.Field" names a column of a join.
  int columnIndex(std::string_view name) const;
  // The raw value, null included.
  const util::Value& value(int row, int column) const;
  // A null as the empty value of the column's type.
  util::Value field(int row, int column) const;

  // The current row; rowCount() when past the last.
  int position() const { return pos_; }
  void moveTo(int row);
  bool updatable() const { return updatable_; }
  bool forwardOnly() const { return stream_ != nullptr; }

 private:
  friend class DbCursor;
  enum class Mode { None, Edit, AddNew };

  void describe(const TableInfo* firstTable);
  // One past the last row in memory: the row count, or the end of the
  // current page of a forward-only cursor.
  int loadedEnd() const { return base_ + static_cast<int>(rows_.size()); }
  bool readPage();
  int column(std::string_view name) const;  // raises 3265
  void requireCurrent() const;              // raises 3021
  util::Value read(int column, bool raw) const;
  void set(std::string_view name, const util::Value& value);
  void addNew();
  void edit();
  void update();
  void remove();
  void cancel() { mode_ = Mode::None, pending_.clear(); }
  std::vector<util::Value> keyValues(int row) const;

  Connection& connection_;
  std::vector<ResultColumn> columns_;
  // A row read from the engine holds every column; a row added through the
  // cursor holds only the fields that were set (a template cursor may add
  // many thousands of rows, and most of their fields are null).
  class Row {
   public:
    explicit Row(std::vector<util::Value> dense) : dense_(std::move(dense)) {}
    Row() = default;
    const util::Value& get(size_t column) const;
    void set(size_t column, util::Value value);
    void reserve(size_t fields) { sparse_.reserve(fields); }

   private:
    std::vector<util::Value> dense_;
    std::vector<std::pair<size_t, util::Value>> sparse_;
  };
  // A deque: a run walks its rows and deletes each as it goes, and erasing
  // near either end of a deque moves only the rows on that side.
  std::deque<Row> rows_;
  // Opened on no rows, the cursor is a template that only appends: while it
  // stands at its end it keeps just the row it stored last (what
  // GoToLastModified reaches), so a run that writes many thousands of rows
  // through it does not hold them all.
  bool soloAggiunte_ = false;
  std::optional<TableInfo> table_;                // the table written to
  std::vector<const ColumnDescription*> target_;  // per column: its column in table_, or null
  std::vector<bool> writable_;
  std::vector<int> keyColumns_;  // result column of each key column of table_, -1 when absent
  bool updatable_ = false;
  std::unique_ptr<RowStream> stream_;  // forward only: the rows not yet read
  std::string countSql_;
  mutable std::optional<int> count_;
  int base_ = 0;  // the row number of rows_.front()

  int pos_ = 0;
  bool currentDeleted_ = false;
  int lastModified_ = -1;
  Mode mode_ = Mode::None;
  std::vector<std::optional<util::Value>> pending_;
  std::unordered_map<std::string, int> byName_;
  std::vector<size_t> insertColumns_;  // the columns of insertSql_, which rows added one by one share
  std::string insertSql_;
  std::vector<size_t> scratchColumns_;      // reused by update, which runs once per row added
  std::vector<util::Value> scratchValues_;  // lower-case column name -> first column of that name
};

}  // namespace db
