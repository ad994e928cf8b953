#include "components/db/Recordset.h"

#include <stdexcept>

#include "components/util/Error.h"

namespace db {

using util::RuntimeError;
namespace err = util::err;

namespace {
constexpr int kRecordDeleted = 3167;
constexpr int kInvalidOperation = 3219;
}  // namespace

Recordset::Recordset(Connection& connection, ResultSet rows, const TableInfo* firstTable, bool updatable)
    : connection_(connection), columns_(std::move(rows.columns)), updatable_(updatable) {
  for (auto& r : rows.rows) rows_.emplace_back(std::move(r));
  soloAggiunte_ = updatable_ && rows_.empty();
  describe(firstTable);
}

Recordset::Recordset(Connection& connection, std::unique_ptr<RowStream> stream, std::string countSql,
                     const TableInfo* firstTable)
    : connection_(connection), columns_(stream->columns()), stream_(std::move(stream)), countSql_(std::move(countSql)) {
  describe(firstTable);
  readPage();
}

int Recordset::rowCount() const {
  if (!stream_) return static_cast<int>(rows_.size());
  if (!count_) count_ = static_cast<int>(connection_.countRows(countSql_));
  return *count_;
}

bool Recordset::readPage() {
  std::vector<std::vector<util::Value>> page;
  const bool more = stream_->next(page);
  base_ += static_cast<int>(rows_.size());
  rows_.clear();
  for (auto& r : page) rows_.emplace_back(std::move(r));
  // Once the last row is read the count is known without asking.
  if (!more) count_ = base_;
  return more;
}

void Recordset::describe(const TableInfo* firstTable) {
  if (firstTable) table_ = *firstTable;
  for (size_t c = 0; c < columns_.size(); ++c) byName_.emplace(Lower(columns_[c].name), static_cast<int>(c));
  target_.assign(columns_.size(), nullptr);
  writable_.assign(columns_.size(), false);
  if (!table_) return;
  // A column is the first table's when the engine says so; with a driver
  // that does not say, the first result column of the same name is.
  for (size_t c = 0; c < columns_.size(); ++c) {
    const ResultColumn& col = columns_[c];
    const ColumnDescription* target = nullptr;
    if (connection_.reportsOrigins()) {
      if (SameName(col.table, table_->name)) target = table_->find(col.origin.empty() ? col.name : col.origin);
    } else {
      target = table_->find(col.name);
      for (size_t p = 0; p < c && target; ++p)
        if (target_[p] == target) target = nullptr;
    }
    target_[c] = target;
    writable_[c] = updatable_ && target != nullptr;
    if (target && !col.typed) {
      columns_[c].type = target->type;
      columns_[c].typed = true;
    }
  }
  for (const std::string& k : table_->key) {
    int found = -1;
    for (size_t c = 0; c < columns_.size() && found < 0; ++c)
      if (target_[c] && SameName(target_[c]->name, k)) found = static_cast<int>(c);
    keyColumns_.push_back(found);
  }
}

const util::Value& Recordset::Row::get(size_t column) const {
  static const util::Value kNull;
  if (!dense_.empty()) return dense_[column];
  for (const auto& [c, v] : sparse_)
    if (c == column) return v;
  return kNull;
}

void Recordset::Row::set(size_t column, util::Value value) {
  if (!dense_.empty()) {
    dense_[column] = std::move(value);
    return;
  }
  for (auto& [c, v] : sparse_)
    if (c == column) {
      v = std::move(value);
      return;
    }
  sparse_.emplace_back(column, std::move(value));
}

int Recordset::columnIndex(std::string_view name) const {
  if (const auto it = byName_.find(Lower(name)); it != byName_.end()) return it->second;
  const size_t dot = name.find('.');
  if (dot != std::string_view::npos) {
    const std::string_view table = name.substr(0, dot), field = name.substr(dot + 1);
    for (size_t c = 0; c < columns_.size(); ++c) {
      const ResultColumn& col = columns_[c];
      if (SameName(col.table, table) && SameName(col.origin.empty() ? col.name : col.origin, field))
        return static_cast<int>(c);
    }
    return columnIndex(field);
  }
  return -1;
}

int Recordset::column(std::string_view name) const {
  const int c = columnIndex(name);
  if (c < 0)
    throw RuntimeError(err::kFieldNotFound, "Elemento non trovato nell'insieme: " + std::string(name), "DbCursor");
  return c;
}

const util::Value& Recordset::value(int row, int column) const {
  if (column < 0 || column >= columnCount()) throw std::out_of_range("column");
  if (row < base_)
    throw RuntimeError(kInvalidOperation, "Il cursore va solo avanti: la riga è già stata lasciata", "DbCursor");
  return rows_.at(static_cast<size_t>(row - base_)).get(static_cast<size_t>(column));
}

util::Value Recordset::field(int row, int column) const {
  const util::Value& v = value(row, column);
  if (!v.isNull()) return v;
  const ResultColumn& col = columns_.at(static_cast<size_t>(column));
  return col.typed ? EmptyValue(col.type) : util::Value();
}

void Recordset::moveTo(int row) {
  cancel();
  currentDeleted_ = false;
  if (row < 0) row = 0;
  if (stream_) {
    if (row < base_)
      throw RuntimeError(kInvalidOperation, "Il cursore va solo avanti: la riga è già stata lasciata", "DbCursor");
    while (row >= loadedEnd() && readPage()) {
    }
  }
  pos_ = row > loadedEnd() ? loadedEnd() : row;
}

void Recordset::requireCurrent() const {
  if (currentDeleted_) throw RuntimeError(kRecordDeleted, "Il record è stato eliminato", "DbCursor");
  if (pos_ >= loadedEnd()) throw RuntimeError(err::kNoCurrentRecord, "Nessun record corrente", "DbCursor");
}

util::Value Recordset::read(int c, bool raw) const {
  const auto cu = static_cast<size_t>(c);
  if (mode_ != Mode::None && pending_[cu]) return *pending_[cu];
  if (mode_ == Mode::AddNew) {
    const ResultColumn& col = columns_[cu];
    return raw || !col.typed ? util::Value() : EmptyValue(col.type);
  }
  requireCurrent();
  return raw ? value(pos_, c) : field(pos_, c);
}

void Recordset::set(std::string_view name, const util::Value& v) {
  const int c = column(name);
  if (mode_ == Mode::None) edit();  // writing a field opens the current row for editing
  if (!writable_[static_cast<size_t>(c)])
    throw RuntimeError(err::kNotUpdatable, "Il campo " + std::string(name) + " non è aggiornabile", "DbCursor");
  pending_[static_cast<size_t>(c)] = ToColumnValue(*target_[static_cast<size_t>(c)], v);
}

void Recordset::addNew() {
  if (!updatable_ || !table_) throw RuntimeError(err::kNotUpdatable, "Il cursore non è aggiornabile", "DbCursor");
  mode_ = Mode::AddNew;
  pending_.assign(columns_.size(), std::nullopt);
}

void Recordset::edit() {
  if (!updatable_ || !table_) throw RuntimeError(err::kNotUpdatable, "Il cursore non è aggiornabile", "DbCursor");
  requireCurrent();
  mode_ = Mode::Edit;
  pending_.assign(columns_.size(), std::nullopt);
}

std::vector<util::Value> Recordset::keyValues(int row) const {
  std::vector<util::Value> keys;
  for (size_t k = 0; k < keyColumns_.size(); ++k) {
    if (keyColumns_[k] < 0)
      throw RuntimeError(err::kNotUpdatable,
                         "La chiave " + table_->key[k] + " di " + table_->name + " non è tra i campi del cursore",
                         "DbCursor");
    keys.push_back(value(row, keyColumns_[k]));
  }
  if (keyColumns_.empty())
    throw RuntimeError(err::kNotUpdatable, "La tabella " + table_->name + " non ha chiave primaria", "DbCursor");
  return keys;
}

void Recordset::update() {
  if (mode_ == Mode::None) throw RuntimeError(err::kUpdateWithoutEdit, "Aggiornamento senza AddNew o Edit", "DbCursor");
  std::vector<size_t>& set = scratchColumns_;
  std::vector<util::Value>& values = scratchValues_;
  set.clear();
  values.clear();
  for (size_t c = 0; c < columns_.size(); ++c) {
    if (!pending_[c]) continue;
    set.push_back(c);
    values.push_back(*pending_[c]);
  }
  std::vector<std::string> names;
  if (mode_ == Mode::Edit || set != insertColumns_)
    for (size_t c : set) names.push_back(target_[c]->name);
  // On failure the row stays open with its values, so the caller can change
  // a field (a key that turned out to be taken, say) and store it again.
  if (mode_ == Mode::AddNew) {
    if (set != insertColumns_ || insertSql_.empty()) {
      insertSql_ = connection_.insertSql(*table_, names);
      insertColumns_ = set;
    }
    connection_.write(insertSql_, values);
    if (soloAggiunte_ && pos_ >= rowCount() && !currentDeleted_) {
      rows_.clear();
      pos_ = 0;
    }
    Row row;
    row.reserve(set.size());
    for (size_t c = 0; c < columns_.size(); ++c)
      if (pending_[c] && !pending_[c]->isNull()) row.set(c, std::move(*pending_[c]));
    rows_.push_back(std::move(row));
    lastModified_ = rowCount() - 1;
    if (pos_ == rowCount() - 1 && !currentDeleted_) pos_ = rowCount();  // an EOF cursor stays at EOF
  } else {
    requireCurrent();
    if (!names.empty()) {
      const int64_t n = connection_.updateRow(*table_, names, values, keyValues(pos_));
      if (n == 0)
        throw RuntimeError(err::kWriteConflict,
                           "Il record di " + table_->name + " è stato eliminato o cambiato da un altro utente",
                           "DbCursor");
      for (size_t c = 0; c < columns_.size(); ++c)
        if (pending_[c]) rows_[static_cast<size_t>(pos_)].set(c, *pending_[c]);
    }
    lastModified_ = pos_;
  }
  cancel();
}

void Recordset::remove() {
  if (!updatable_ || !table_) throw RuntimeError(err::kNotUpdatable, "Il cursore non è aggiornabile", "DbCursor");
  cancel();
  requireCurrent();
  connection_.deleteRow(*table_, keyValues(pos_));
  rows_.erase(rows_.begin() + pos_);
  if (lastModified_ == pos_)
    lastModified_ = -1;
  else if (lastModified_ > pos_)
    --lastModified_;
  currentDeleted_ = true;
}

}  // namespace db
