#include "components/db/Repair.h"

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "components/db/DbExecutor.h"

namespace db {
namespace {

namespace fs = std::filesystem;

constexpr size_t kHeader = 100;
constexpr char kMagic[] = "SQLite format 3";  // 16 bytes with its terminating zero

// An open handle that closes itself, whatever way the repair leaves.
struct Handle {
  sqlite3* db = nullptr;
  ~Handle() { sqlite3_close(db); }
};

bool Open(const fs::path& file, Handle& h, int flags) {
  return sqlite3_open_v2(file.c_str(), &h.db, flags, nullptr) == SQLITE_OK;
}

// The first column of the first row, "" when the statement fails.
std::string Scalar(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* st = nullptr;
  std::string result;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW) {
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    result = t ? t : "";
  }
  sqlite3_finalize(st);
  return result;
}

// How well a working copy reads: not at all, its schema only (a damaged page
// may still lie in an index the rebuild makes anew), or wholly.
enum class Reading { None, Schema, Whole };

Reading Read(const fs::path& file) {
  Handle h;
  if (!Open(file, h, SQLITE_OPEN_READWRITE)) return Reading::None;
  if (Scalar(h.db, "SELECT count(*) FROM sqlite_master").empty()) return Reading::None;
  return Scalar(h.db, "PRAGMA quick_check") == "ok" ? Reading::Whole : Reading::Schema;
}

std::optional<std::array<unsigned char, kHeader>> ReadHeader(const fs::path& file) {
  std::array<unsigned char, kHeader> h{};
  std::ifstream in(file, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(h.data()), kHeader)) return std::nullopt;
  return h;
}

bool WriteHeader(const fs::path& file, const std::array<unsigned char, kHeader>& h) {
  std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
  return static_cast<bool>(out.write(reinterpret_cast<const char*>(h.data()), kHeader));
}

bool ValidPageSize(unsigned size) { return size >= 512 && size <= 65536 && (size & (size - 1)) == 0; }

// Puts back the parts of the header that are the same in every file of this
// engine; the page size is tried among the possible ones, the stored one
// first, until the file reads wholly, else the first that reads its schema.
// True when the working copy reads.
bool MendHeader(const fs::path& work) {
  if (Read(work) == Reading::Whole) return true;
  auto header = ReadHeader(work);
  if (!header) return false;
  auto& h = *header;
  std::memcpy(h.data(), kMagic, sizeof kMagic);
  // Read and write format: 1 rollback journal, 2 write-ahead log.
  const bool wal = fs::exists(work.string() + "-wal");
  for (size_t i : {18, 19})
    if (h[i] != 1 && h[i] != 2) h[i] = wal ? 2 : 1;
  h[21] = 64;  // payload fractions: fixed by the file format
  h[22] = 32;
  h[23] = 32;
  const unsigned field = static_cast<unsigned>(h[16]) << 8 | static_cast<unsigned>(h[17]);
  const unsigned stored = field == 1 ? 65536u : field;
  std::vector<unsigned> sizes;
  if (ValidPageSize(stored)) sizes.push_back(stored);
  for (unsigned s = 512; s <= 65536; s *= 2)
    if (s != stored) sizes.push_back(s);
  auto withSize = [&](unsigned s) {
    h[16] = static_cast<unsigned char>(s == 65536 ? 0 : s >> 8);
    h[17] = static_cast<unsigned char>(s == 65536 ? 1 : s & 0xff);
    return WriteHeader(work, h);
  };
  const auto size = fs::file_size(work);
  std::optional<unsigned> schemaOnly;
  for (unsigned s : sizes) {
    if (size % s != 0) continue;
    if (!withSize(s)) return false;
    const Reading r = Read(work);
    if (r == Reading::Whole) return true;
    if (r == Reading::Schema && !schemaOnly) schemaOnly = s;
  }
  return schemaOnly && withSize(*schemaOnly);
}

std::string Quoted(const std::string& name) {
  std::string q = "\"";
  for (char c : name) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  return q + "\"";
}

// Copies every row of one table by a plain scan of the table, which reads no
// index; false at the first row that cannot be read or written.
bool CopyRows(sqlite3* src, sqlite3* dst, const std::string& table) {
  sqlite3_stmt* read = nullptr;
  sqlite3_stmt* write = nullptr;
  bool ok = sqlite3_prepare_v2(src, ("SELECT * FROM " + Quoted(table)).c_str(), -1, &read, nullptr) == SQLITE_OK;
  const int columns = ok ? sqlite3_column_count(read) : 0;
  if (ok) {
    std::string sql = "INSERT INTO " + Quoted(table) + " VALUES (";
    for (int i = 0; i < columns; ++i) sql += i ? ",?" : "?";
    ok = sqlite3_prepare_v2(dst, (sql + ")").c_str(), -1, &write, nullptr) == SQLITE_OK;
  }
  int rc = SQLITE_DONE;
  while (ok && (rc = sqlite3_step(read)) == SQLITE_ROW) {
    for (int i = 0; i < columns; ++i) sqlite3_bind_value(write, i + 1, sqlite3_column_value(read, i));
    ok = sqlite3_step(write) == SQLITE_DONE;
    sqlite3_reset(write);
  }
  ok = ok && rc == SQLITE_DONE;
  sqlite3_finalize(read);
  sqlite3_finalize(write);
  return ok;
}

// The rebuild for a file whose indexes the engine's own copy cannot read (it
// copies them as they are): the tables are created and filled row by row,
// then the indexes are built anew from the rows.
bool CopyByRows(const fs::path& work, const fs::path& target) {
  Handle src, dst;
  if (!Open(work, src, SQLITE_OPEN_READONLY) || !Open(target, dst, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE))
    return false;
  struct Object {
    std::string type, name, sql;
  };
  std::vector<Object> objects;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(src.db,
                         "SELECT type, name, sql FROM sqlite_master WHERE sql IS NOT NULL AND "
                         "name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY type <> 'table'",
                         -1, &st, nullptr) != SQLITE_OK) {
    sqlite3_finalize(st);
    return false;
  }
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    auto text = [&](int i) {
      const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
      return std::string(t ? t : "");
    };
    objects.push_back({text(0), text(1), text(2)});
  }
  sqlite3_finalize(st);
  if (rc != SQLITE_DONE) return false;
  if (sqlite3_exec(dst.db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) return false;
  for (const Object& o : objects) {
    if (sqlite3_exec(dst.db, o.sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) return false;
    if (o.type == "table" && !CopyRows(src.db, dst.db, o.name)) return false;
  }
  return sqlite3_exec(dst.db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
}

// A name beside the damaged file that nothing holds yet.
fs::path FreeName(const fs::path& base, const std::string& suffix) {
  fs::path candidate = base.string() + suffix;
  for (int n = 1; fs::exists(candidate) || fs::exists(candidate.string() + "-wal"); ++n)
    candidate = base.string() + suffix + "." + std::to_string(n);
  return candidate;
}

void RemoveWithJournals(const fs::path& file) {
  std::error_code ec;
  for (const char* s : {"", "-wal", "-shm", "-journal"}) fs::remove(file.string() + s, ec);
}

}  // namespace

RepairResult RepairDatabase(const std::string& path) {
  RepairResult r;
  std::error_code ec;
  if (ENomeOdbc(path)) {
    r.reason = "un database su server non si ripara da qui";
    return r;
  }
  const fs::path original(path);
  if (!fs::is_regular_file(original, ec)) {
    r.reason = "il file non esiste";
    return r;
  }
  const fs::path work = FreeName(original, ".riparazione");
  const fs::path rebuilt = FreeName(original, ".nuovo");
  auto cleanUp = [&] {
    RemoveWithJournals(work);
    RemoveWithJournals(rebuilt);
  };
  // Work on copies only: until the rebuilt file has passed its check the
  // damaged one is exactly as it was found.
  fs::copy_file(original, work, ec);
  if (!ec && fs::exists(original.string() + "-wal"))
    fs::copy_file(original.string() + "-wal", work.string() + "-wal", ec);
  if (ec) {
    cleanUp();
    r.reason = "non si puo' copiare il file (" + ec.message() + ")";
    return r;
  }
  if (!MendHeader(work)) {
    cleanUp();
    r.reason = "il contenuto non e' leggibile";
    return r;
  }
  // Either copy reads every row of every table: one unreadable row fails it,
  // so nothing is lost without a word.
  bool copied = false;
  {
    Handle h;
    std::string into = rebuilt.string();
    for (size_t i = into.find('\''); i != std::string::npos; i = into.find('\'', i + 2)) into.insert(i, 1, '\'');
    copied = Open(work, h, SQLITE_OPEN_READWRITE) &&
             sqlite3_exec(h.db, ("VACUUM INTO '" + into + "'").c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  if (!copied) {
    RemoveWithJournals(rebuilt);
    copied = CopyByRows(work, rebuilt);
  }
  if (!copied) {
    cleanUp();
    r.reason = "le tabelle non si possono copiare";
    return r;
  }
  {
    Handle h;
    if (!Open(rebuilt, h, SQLITE_OPEN_READONLY) || Scalar(h.db, "PRAGMA integrity_check") != "ok") {
      cleanUp();
      r.reason = "la copia ricostruita non supera il controllo";
      return r;
    }
  }
  // Every operator who could open the damaged file must be able to open the
  // repaired one.
  fs::permissions(rebuilt, fs::status(original).permissions(), ec);
  if (ec) {
    cleanUp();
    r.reason = "non si possono dare al file ricostruito i permessi dell'originale (" + ec.message() + ")";
    return r;
  }
  const fs::path kept = FreeName(original, ".danneggiato");
  fs::rename(original, kept, ec);
  if (ec) {
    cleanUp();
    r.reason = "non si puo' mettere da parte il file danneggiato (" + ec.message() + ")";
    return r;
  }
  if (fs::exists(original.string() + "-wal")) fs::rename(original.string() + "-wal", kept.string() + "-wal", ec);
  fs::remove(original.string() + "-shm", ec);
  fs::rename(rebuilt, original, ec);
  if (ec) {
    // Put the damaged file back under its name rather than leave none.
    std::error_code back;
    fs::rename(kept, original, back);
    if (fs::exists(kept.string() + "-wal")) fs::rename(kept.string() + "-wal", original.string() + "-wal", back);
    cleanUp();
    r.reason = "non si puo' sostituire il file (" + ec.message() + ")";
    return r;
  }
  cleanUp();
  r.repaired = true;
  r.kept = kept.string();
  return r;
}

}  // namespace db
