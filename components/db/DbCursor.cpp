#include "components/db/DbCursor.h"

#include "components/db/Connection.h"
#include "components/db/Recordset.h"
#include "components/util/Error.h"

namespace db {

using util::RuntimeError;
namespace err = util::err;

DbCursor::DbCursor() = default;
DbCursor::~DbCursor() = default;

namespace {

Recordset& Find(std::map<std::string, std::unique_ptr<Recordset>>& sets, const std::string& key) {
  const auto it = sets.find(key);
  if (it == sets.end()) throw RuntimeError(err::kEngine, "Cursore non aperto: " + key, "DbCursor");
  return *it->second;
}

}  // namespace

std::string DbCursor::Open(DbExecutor& executor, const std::string& conn, const std::string& key,
                           const std::string& sql, bool, int kind) {
  Connection& c = executor.connection(conn);
  if (kind == kForwardOnly) {
    const Statement st = c.translate(sql);
    if (st.kind != Statement::Kind::Select)
      throw RuntimeError(err::kSyntax, "Un cursore si apre solo su una SELECT: " + sql, "DbCursor");
    const TableInfo* first = st.firstTable.empty() ? nullptr : c.catalog().table(st.firstTable);
    auto set = std::make_unique<Recordset>(c, c.stream(sql), sql, first);
    return Keep(key, std::move(set));
  }
  const bool updatable = kind != kSnapshot;
  // Rows read to be changed inside a transaction are locked on engines that
  // lock rows, so two operators never both take the same ones.
  const bool lock = updatable && c.depth() > 0;
  const Statement st = c.translate(sql, lock);
  if (st.kind != Statement::Kind::Select)
    throw RuntimeError(err::kSyntax, "Un cursore si apre solo su una SELECT: " + sql, "DbCursor");
  ResultSet rows = c.query(sql, lock);
  const TableInfo* first = st.firstTable.empty() ? nullptr : c.catalog().table(st.firstTable);
  return Keep(key, std::make_unique<Recordset>(c, std::move(rows), first, updatable));
}

std::string DbCursor::Keep(const std::string& key, std::unique_ptr<Recordset> set) {
  std::string k = key;
  if (k.empty()) {
    do k = "Cur" + std::to_string(nextKey_++);
    while (sets_.count(k));
  }
  sets_[k] = std::move(set);
  return k;
}

void DbCursor::Close(const std::string& key) { sets_.erase(key); }
bool DbCursor::IsOpen(const std::string& key) const { return sets_.count(key) > 0; }
bool DbCursor::IsEmpty(const std::string& key) {
  Recordset& r = Find(sets_, key);
  if (r.forwardOnly()) return r.base_ == 0 && r.rows_.empty();
  return r.rowCount() == 0;
}
int32_t DbCursor::RecordCount(const std::string& key) { return Find(sets_, key).rowCount(); }
void DbCursor::MoveFirst(const std::string& key) { Find(sets_, key).moveTo(0); }

void DbCursor::MoveNext(const std::string& key) {
  Recordset& r = Find(sets_, key);
  if (r.currentDeleted_) {
    r.moveTo(r.pos_);  // the row after the deleted one is already in its place
    return;
  }
  if (r.pos_ >= r.loadedEnd()) throw RuntimeError(err::kNoCurrentRecord, "Nessun record corrente", "DbCursor");
  r.moveTo(r.pos_ + 1);
}

bool DbCursor::Eof(const std::string& key) {
  Recordset& r = Find(sets_, key);
  return r.pos_ >= r.loadedEnd();
}

util::Value DbCursor::GetField(const std::string& key, const std::string& field) {
  Recordset& r = Find(sets_, key);
  return r.read(r.column(field), false);
}

util::Value DbCursor::FieldValue(const std::string& key, const std::string& field) {
  Recordset& r = Find(sets_, key);
  return r.read(r.column(field), true);
}

void DbCursor::SetField(const std::string& key, const std::string& field, const util::Value& value) {
  Find(sets_, key).set(field, value);
}

void DbCursor::AddNew(const std::string& key) { Find(sets_, key).addNew(); }
void DbCursor::Edit(const std::string& key) { Find(sets_, key).edit(); }
void DbCursor::Update(const std::string& key) { Find(sets_, key).update(); }
void DbCursor::Delete(const std::string& key) { Find(sets_, key).remove(); }

int DbCursor::CopyRecord(const std::string& sourceKey, const std::string& targetKey, bool, bool, bool) {
  Recordset& src = Find(sets_, sourceKey);
  Recordset& dst = Find(sets_, targetKey);
  src.requireCurrent();
  dst.addNew();
  for (int c = 0; c < src.columnCount(); ++c) {
    const int t = dst.columnIndex(src.columnName(c));
    if (t < 0 || !dst.columnWritable(t)) continue;
    const util::Value& v = src.value(src.pos_, c);
    dst.pending_[static_cast<size_t>(t)] = ToColumnValue(*dst.target_[static_cast<size_t>(t)], v);
  }
  return 0;
}

void DbCursor::GoToLastModified(const std::string& key) {
  Recordset& r = Find(sets_, key);
  if (r.lastModified_ < 0) throw RuntimeError(err::kNoCurrentRecord, "Nessun record modificato", "DbCursor");
  r.moveTo(r.lastModified_);
}

Recordset& DbCursor::GetRecordset(const std::string& key) { return Find(sets_, key); }

}  // namespace db
