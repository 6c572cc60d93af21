#include "store/check.h"

#include <cstring>

#include "runtime/codepage.h"
#include "store/key_encoding.h"
#include "store/layout.h"
#include "store/sqlite_util.h"

namespace store {

namespace {

struct Connection {
  sqlite3* db = nullptr;
  ~Connection() { sqlite3_close_v2(db); }
};

}  // namespace

Status checkFile(const std::string& path, CheckReport& report) {
  report = CheckReport();
  Status s = readLayout(path, report.def);
  if (!s.ok()) return s;
  const TableDef& def = report.def;
  Connection c;
  if (!(s = openExisting(path, c.db)).ok()) return s;
  int rc;
  // One read transaction, so that the records and the indexes are seen at one moment.
  if (!(s = exec(c.db, "BEGIN")).ok()) return s;

  Stmt st;
  if (!(s = prepare(c.db, "PRAGMA integrity_check(100)", st)).ok()) return s;
  while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
    const unsigned char* t = sqlite3_column_text(st.get(), 0);
    std::string line = t ? reinterpret_cast<const char*>(t) : "";
    if (line != "ok") report.problems.push_back("integrity: " + line);
  }
  if (rc != SQLITE_DONE) {
    report.problems.push_back(std::string("integrity check failed: ") + sqlite3_errmsg(c.db));
    return {};
  }

  std::string sql = "SELECT id, data, seq";
  for (size_t i = 0; i < def.keys.size(); ++i) sql += ", k" + std::to_string(i);
  sql += " FROM records ORDER BY id";
  if (!(s = prepare(c.db, sql, st)).ok()) {
    report.problems.push_back("the records cannot be read: " + s.store_text);
    return {};
  }
  std::string record, key;
  while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
    ++report.records;
    const long long id = sqlite3_column_int64(st.get(), 0);
    const int size = sqlite3_column_bytes(st.get(), 1);
    if (size != def.record_size) {
      report.problems.push_back("record " + std::to_string(id) + " has " + std::to_string(size) +
                                " bytes instead of " + std::to_string(def.record_size));
      continue;
    }
    if (sqlite3_column_int64(st.get(), 2) != id)
      report.problems.push_back("record " + std::to_string(id) + " has a wrong sequence number");
    record.assign(static_cast<const char*>(sqlite3_column_blob(st.get(), 1)), size);
    if (def.oem) {
      for (const FieldDef& f : def.fields) {
        if (f.type != FieldType::String) continue;
        std::string t = rt::cp850ToCp1252(std::string_view(record.data() + f.offset, f.size));
        std::memcpy(record.data() + f.offset, t.data(), f.size);
      }
    }
    for (size_t i = 0; i < def.keys.size(); ++i) {
      const int col = static_cast<int>(3 + i);
      const bool in_key = encodeKey(def, def.keys[i], reinterpret_cast<const unsigned char*>(record.data()), key);
      const bool stored_in_key = sqlite3_column_type(st.get(), col) != SQLITE_NULL;
      bool agrees = in_key == stored_in_key;
      if (agrees && in_key)
        agrees = static_cast<size_t>(sqlite3_column_bytes(st.get(), col)) == key.size() &&
                 std::memcmp(sqlite3_column_blob(st.get(), col), key.data(), key.size()) == 0;
      if (!agrees)
        report.problems.push_back("record " + std::to_string(id) + ": the key " + def.keys[i].name +
                                  " does not agree with the record");
    }
  }
  if (rc != SQLITE_DONE) report.problems.push_back(std::string("reading the records failed: ") + sqlite3_errmsg(c.db));
  exec(c.db, "COMMIT");
  return {};
}

}  // namespace store
