#include "store/layout.h"

#include <sys/stat.h>

#include "store/sqlite_util.h"

namespace store {

const char* const kFormatMark = "keyed record store 2";

namespace {

Status notATableFile() { return Status::error(InvalidDataFile, "not a table file"); }

std::string keyFieldsText(const KeyDef& k) {
  std::string s;
  for (size_t i = 0; i < k.fields.size(); ++i) s += (i ? "," : "") + std::to_string(k.fields[i]);
  return s;
}

}  // namespace

Status createLayout(sqlite3* db, const std::string& schema, const TableDef& def) {
  const std::string p = quoteIdent(schema) + ".";
  std::string sql =
      "CREATE TABLE " + p + "meta(name TEXT PRIMARY KEY, value TEXT NOT NULL);"
      "CREATE TABLE " + p + "fields(pos INTEGER PRIMARY KEY, name TEXT NOT NULL, type TEXT NOT NULL,"
      " offset INTEGER NOT NULL, size INTEGER NOT NULL, places INTEGER NOT NULL);"
      "CREATE TABLE " + p + "keys(pos INTEGER PRIMARY KEY, name TEXT NOT NULL, fields TEXT NOT NULL,"
      " is_primary INTEGER NOT NULL, dup INTEGER NOT NULL, opt INTEGER NOT NULL, nocase INTEGER NOT NULL);"
      "CREATE TABLE " + p + "records(id INTEGER PRIMARY KEY AUTOINCREMENT, seq INTEGER NOT NULL,"
      " version INTEGER NOT NULL, data BLOB NOT NULL";
  for (size_t i = 0; i < def.keys.size(); ++i) sql += ", k" + std::to_string(i) + " BLOB";
  sql += ");";
  for (size_t i = 0; i < def.keys.size(); ++i) {
    const std::string k = "k" + std::to_string(i);
    if (def.keys[i].dup)
      sql += "CREATE INDEX " + p + "records_" + k + " ON records(" + k + ", seq) WHERE " + k + " IS NOT NULL;";
    else
      sql += "CREATE UNIQUE INDEX " + p + "records_" + k + " ON records(" + k + ") WHERE " + k + " IS NOT NULL;";
  }
  Status s = exec(db, sql);
  if (!s.ok()) return s;

  Stmt meta, field, key;
  if (!(s = prepare(db, "INSERT INTO " + p + "meta VALUES(?1, ?2)", meta)).ok()) return s;
  const std::pair<const char*, std::string> values[] = {
      {"format", kFormatMark},
      {"label", def.label},
      {"prefix", def.prefix},
      {"record_size", std::to_string(def.record_size)},
      {"oem", def.oem ? "1" : "0"},
      {"layout", def.layoutText()},
  };
  for (const auto& [name, value] : values) {
    sqlite3_bind_text(meta.get(), 1, name, -1, SQLITE_STATIC);
    sqlite3_bind_text(meta.get(), 2, value.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(meta.get()) != SQLITE_DONE) return sqliteStatus(db, sqlite3_errcode(db));
    sqlite3_reset(meta.get());
  }
  if (!(s = prepare(db, "INSERT INTO " + p + "fields VALUES(?1, ?2, ?3, ?4, ?5, ?6)", field)).ok()) return s;
  for (size_t i = 0; i < def.fields.size(); ++i) {
    const FieldDef& f = def.fields[i];
    sqlite3_bind_int(field.get(), 1, static_cast<int>(i));
    sqlite3_bind_text(field.get(), 2, f.name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(field.get(), 3, fieldTypeName(f.type), -1, SQLITE_STATIC);
    sqlite3_bind_int(field.get(), 4, f.offset);
    sqlite3_bind_int(field.get(), 5, f.size);
    sqlite3_bind_int(field.get(), 6, f.places);
    if (sqlite3_step(field.get()) != SQLITE_DONE) return sqliteStatus(db, sqlite3_errcode(db));
    sqlite3_reset(field.get());
  }
  if (!(s = prepare(db, "INSERT INTO " + p + "keys VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7)", key)).ok()) return s;
  for (size_t i = 0; i < def.keys.size(); ++i) {
    const KeyDef& k = def.keys[i];
    const std::string fields = keyFieldsText(k);
    sqlite3_bind_int(key.get(), 1, static_cast<int>(i));
    sqlite3_bind_text(key.get(), 2, k.name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(key.get(), 3, fields.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(key.get(), 4, k.primary);
    sqlite3_bind_int(key.get(), 5, k.dup);
    sqlite3_bind_int(key.get(), 6, k.opt);
    sqlite3_bind_int(key.get(), 7, k.nocase);
    if (sqlite3_step(key.get()) != SQLITE_DONE) return sqliteStatus(db, sqlite3_errcode(db));
    sqlite3_reset(key.get());
  }
  return {};
}

namespace {

// Reads meta's value for `name` into `out`; false when missing.
Status metaValue(sqlite3* db, const std::string& schema, const char* name, std::string& out, bool& found) {
  Stmt st;
  Status s = prepare(db, "SELECT value FROM " + quoteIdent(schema) + ".meta WHERE name = ?1", st);
  if (!s.ok()) return s;
  sqlite3_bind_text(st.get(), 1, name, -1, SQLITE_STATIC);
  int rc = sqlite3_step(st.get());
  found = rc == SQLITE_ROW;
  if (found) {
    const unsigned char* t = sqlite3_column_text(st.get(), 0);
    out = t ? reinterpret_cast<const char*>(t) : "";
  } else if (rc != SQLITE_DONE) {
    return sqliteStatus(db, rc);
  }
  return {};
}

}  // namespace

Status verifyLayout(sqlite3* db, const std::string& schema, const TableDef& def, bool& empty) {
  empty = false;
  const std::string q = quoteIdent(schema);
  Stmt st;
  Status s = prepare(db, "SELECT count(*), sum(name = 'meta') FROM " + q + ".sqlite_master", st);
  if (!s.ok()) {
    // A file locked by another station's commit, or unreadable, says so; anything else that
    // SQLite cannot read as a database is not a table file.
    const bool telling = s.code == InvalidDataFile || s.code == RecordHeld || s.code == FileSystemError;
    return telling ? s : notATableFile();
  }
  int rc = sqlite3_step(st.get());
  if (rc != SQLITE_ROW) {
    Status e = sqliteStatus(db, rc);
    return e.code == RecordHeld ? e : notATableFile();
  }
  const int tables = sqlite3_column_int(st.get(), 0);
  const int has_meta = sqlite3_column_int(st.get(), 1);
  st = Stmt();
  if (tables == 0) {
    empty = true;
    return {};
  }
  if (!has_meta) return notATableFile();

  // A file cut short (copied or written in part) is refused before any record is read from it.
  sqlite3_file* fp = nullptr;
  sqlite3_int64 size = -1;
  if (sqlite3_file_control(db, schema.c_str(), SQLITE_FCNTL_FILE_POINTER, &fp) == SQLITE_OK && fp && fp->pMethods)
    fp->pMethods->xFileSize(fp, &size);
  Stmt pc;
  if (!(s = prepare(db, "PRAGMA " + q + ".page_count", pc)).ok()) return s;
  rc = sqlite3_step(pc.get());
  if (rc != SQLITE_ROW) return sqliteStatus(db, rc);
  const sqlite3_int64 pages = sqlite3_column_int64(pc.get(), 0);
  pc = Stmt();
  Stmt ps;
  if (!(s = prepare(db, "PRAGMA " + q + ".page_size", ps)).ok()) return s;
  rc = sqlite3_step(ps.get());
  if (rc != SQLITE_ROW) return sqliteStatus(db, rc);
  const sqlite3_int64 page_size = sqlite3_column_int64(ps.get(), 0);
  ps = Stmt();
  if (size >= 0 && pages * page_size > size) return Status::error(InvalidDataFile, "the file is truncated");

  std::string value;
  bool found = false;
  if (!(s = metaValue(db, schema, "format", value, found)).ok()) return s;
  if (!found || value != kFormatMark) return notATableFile();
  if (!(s = metaValue(db, schema, "label", value, found)).ok()) return s;
  if (!found) return notATableFile();
  if (value != def.label) return Status::error(InvalidDataFile, "the file belongs to the table " + value);
  if (!(s = metaValue(db, schema, "layout", value, found)).ok()) return s;
  if (!found) return notATableFile();
  if (value != def.layoutText())
    return Status::error(InvalidDeclaration, "the layout of " + def.fileName() + " differs from the table's declaration");
  return {};
}

Status readLayout(sqlite3* db, const std::string& schema, TableDef& out) {
  TableDef def;
  const std::string q = quoteIdent(schema);
  std::string value;
  bool found = false;
  Status s = metaValue(db, schema, "format", value, found);
  if (!s.ok()) return s.code == DriverError ? notATableFile() : s;
  if (!found || value != kFormatMark) return notATableFile();
  std::string layout, size, oem;
  bool f1 = false, f2 = false, f3 = false, f4 = false;
  if (!(s = metaValue(db, schema, "label", def.label, f1)).ok()) return s;
  if (!(s = metaValue(db, schema, "prefix", def.prefix, f2)).ok()) return s;
  if (!(s = metaValue(db, schema, "record_size", size, f3)).ok()) return s;
  if (!(s = metaValue(db, schema, "oem", oem, f4)).ok()) return s;
  if (!(s = metaValue(db, schema, "layout", layout, found)).ok()) return s;
  if (!f1 || !f2 || !f3 || !f4 || !found) return notATableFile();
  def.record_size = std::atoi(size.c_str());
  def.oem = oem == "1";

  Stmt st;
  if (!(s = prepare(db, "SELECT name, type, offset, size, places FROM " + q + ".fields ORDER BY pos", st)).ok()) return notATableFile();
  int rc;
  while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
    FieldDef f;
    const unsigned char* name = sqlite3_column_text(st.get(), 0);
    const unsigned char* type = sqlite3_column_text(st.get(), 1);
    f.name = name ? reinterpret_cast<const char*>(name) : "";
    if (!type || !fieldTypeFromName(reinterpret_cast<const char*>(type), f.type)) return notATableFile();
    f.offset = sqlite3_column_int(st.get(), 2);
    f.size = sqlite3_column_int(st.get(), 3);
    f.places = sqlite3_column_int(st.get(), 4);
    def.fields.push_back(f);
  }
  if (rc != SQLITE_DONE) return sqliteStatus(db, rc);
  if (!(s = prepare(db, "SELECT name, fields, is_primary, dup, opt, nocase FROM " + q + ".keys ORDER BY pos", st)).ok()) return notATableFile();
  while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
    KeyDef k;
    const unsigned char* name = sqlite3_column_text(st.get(), 0);
    const unsigned char* fields = sqlite3_column_text(st.get(), 1);
    k.name = name ? reinterpret_cast<const char*>(name) : "";
    std::string list = fields ? reinterpret_cast<const char*>(fields) : "";
    size_t pos = 0;
    while (pos < list.size()) {
      size_t comma = list.find(',', pos);
      if (comma == std::string::npos) comma = list.size();
      k.fields.push_back(std::atoi(list.substr(pos, comma - pos).c_str()));
      pos = comma + 1;
    }
    k.primary = sqlite3_column_int(st.get(), 2) != 0;
    k.dup = sqlite3_column_int(st.get(), 3) != 0;
    k.opt = sqlite3_column_int(st.get(), 4) != 0;
    k.nocase = sqlite3_column_int(st.get(), 5) != 0;
    def.keys.push_back(k);
  }
  if (rc != SQLITE_DONE) return sqliteStatus(db, rc);
  if (!def.validate().empty() || def.layoutText() != layout)
    return Status::error(InvalidDataFile, "the file's description of its layout is inconsistent");
  out = def;
  return {};
}

Status openExisting(const std::string& path, sqlite3*& db) {
  db = nullptr;
  for (const char* mode : {"rw", "ro"}) {
    const int flags = (mode[1] == 'w' ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_URI;
    int rc = sqlite3_open_v2(fileUri(path, mode).c_str(), &db, flags, nullptr);
    if (rc == SQLITE_OK) {
      sqlite3_extended_result_codes(db, 1);
      sqlite3_busy_timeout(db, 5000);
      return {};
    }
    Status s = sqliteStatus(db, rc, "cannot open " + path);
    sqlite3_close_v2(db);
    db = nullptr;
    if (mode[1] != 'w') return s;
  }
  return Status::error(FileSystemError, "cannot open " + path);
}

Status readLayout(const std::string& path, TableDef& out) {
  struct stat sb;
  if (stat(path.c_str(), &sb) != 0) return Status::error(FileNotFound, path);
  if (!S_ISREG(sb.st_mode)) return Status::error(InvalidDataFile, path + " is not a file");
  sqlite3* db = nullptr;
  Status s = openExisting(path, db);
  if (!s.ok()) return s;
  sqlite3_busy_timeout(db, 5000);
  bool empty = false;
  // Same checks as an open (format mark, truncation), with the file's own label and layout.
  s = readLayout(db, "main", out);
  if (s.ok()) s = verifyLayout(db, "main", out, empty);
  sqlite3_close_v2(db);
  return s;
}

}  // namespace store
