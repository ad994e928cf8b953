#pragma once

#include <map>
#include <memory>
#include <string>

#include "components/db/DbExecutor.h"
#include "components/util/Value.h"

namespace db {

class Recordset;

// Cursor kinds of Open.
inline constexpr int kUpdatable = 2;  // rows can be added, edited and deleted
inline constexpr int kSnapshot = 4;   // read only
// Read only, and read a page at a time as it moves forward, for a walk over
// more rows than should sit in memory (Recordset.h says what it cannot do).
inline constexpr int kForwardOnly = 8;

// Any number of result sets over SQL text, each known by a text key. Every
// operation after Open takes the key first. A result set stands on its first
// row after Open. Field names compare ignoring case.
//
// An updatable result set writes to the first table of its FROM: edits and
// deletes find the row by that table's key, which must be in the select list;
// a column from another table of a join, or an expression, is read only.
class DbCursor {
 public:
  DbCursor();
  ~DbCursor();
  DbCursor(const DbCursor&) = delete;
  DbCursor& operator=(const DbCursor&) = delete;

  // key "" makes a new key; an existing key is closed and reopened. Returns the key.
  std::string Open(DbExecutor& executor, const std::string& conn, const std::string& key, const std::string& sql,
                   bool options = false, int kind = kUpdatable);
  void Close(const std::string& key);
  bool IsOpen(const std::string& key) const;

  bool IsEmpty(const std::string& key);
  int32_t RecordCount(const std::string& key);
  void MoveFirst(const std::string& key);
  void MoveNext(const std::string& key);
  // EOF of the contract (the name EOF is taken by the C library).
  bool Eof(const std::string& key);

  // A null reads as the empty value of the column's type: "" for text, 0 for
  // numbers, the empty date for dates, false for booleans.
  util::Value GetField(const std::string& key, const std::string& field);
  // The raw value, null included.
  util::Value FieldValue(const std::string& key, const std::string& field);

  void SetField(const std::string& key, const std::string& field, const util::Value& value);
  void AddNew(const std::string& key);
  void Edit(const std::string& key);
  // Stores the row open by AddNew or Edit. A duplicate key raises 3022 on a
  // file database and 3146 on ODBC. A cursor opened on no rows (a template,
  // "... where false") keeps, of the rows added while it stands at its end,
  // only the last one stored.
  void Update(const std::string& key);
  // Opens a new row of target holding every field of source's current row
  // that target has by the same name, ready for SetField and Update. Returns 0.
  int CopyRecord(const std::string& sourceKey, const std::string& targetKey, bool = true, bool = false, bool = true);
  void GoToLastModified(const std::string& key);
  void Delete(const std::string& key);

  // Row and column access by position and name, for a grid model.
  Recordset& GetRecordset(const std::string& key);

 private:
  std::string Keep(const std::string& key, std::unique_ptr<Recordset> set);

  std::map<std::string, std::unique_ptr<Recordset>> sets_;
  int nextKey_ = 1;
};

}  // namespace db
