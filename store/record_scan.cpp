#include "store/record_scan.h"

#include <cstring>

#include "runtime/codepage.h"
#include "store/layout.h"
#include "store/sqlite_util.h"

namespace store {

Status scanRecords(const std::string& path, TableDef& def, const std::function<bool(const unsigned char*)>& fn) {
  Status s = readLayout(path, def);
  if (!s.ok()) return s;
  sqlite3* raw = nullptr;
  if (!(s = openExisting(path, raw)).ok()) return s;
  struct Closer {
    sqlite3* db;
    ~Closer() { sqlite3_close_v2(db); }
  } closer{raw};
  Stmt st;
  if (!(s = prepare(raw, "SELECT data FROM records ORDER BY id", st)).ok()) return s;
  std::string record;
  int rc;
  while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
    const int size = sqlite3_column_bytes(st.get(), 0);
    if (size != def.record_size) return Status::error(InvalidDataFile, "a record has the wrong size");
    record.assign(static_cast<const char*>(sqlite3_column_blob(st.get(), 0)), size);
    if (def.oem) {
      for (const FieldDef& f : def.fields) {
        if (f.type != FieldType::String) continue;
        std::string t = rt::cp850ToCp1252(std::string_view(record.data() + f.offset, f.size));
        std::memcpy(record.data() + f.offset, t.data(), f.size);
      }
    }
    if (!fn(reinterpret_cast<const unsigned char*>(record.data()))) return {};
  }
  if (rc != SQLITE_DONE) return sqliteStatus(raw, rc, path);
  return {};
}

}  // namespace store
