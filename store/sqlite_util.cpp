#include "store/sqlite_util.h"

#include <cstring>

namespace store {

Status prepare(sqlite3* db, const std::string& sql, Stmt& out) {
  sqlite3_stmt* s = nullptr;
  int rc = sqlite3_prepare_v3(db, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &s, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(s);
    return sqliteStatus(db, rc);
  }
  out = Stmt(s);
  return {};
}

Status exec(sqlite3* db, const std::string& sql) {
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) return sqliteStatus(db, rc);
  return {};
}

Status sqliteStatus(sqlite3* db, int rc, const std::string& what) {
  int ext = db ? sqlite3_extended_errcode(db) : rc;
  if ((ext & 0xFF) != (rc & 0xFF)) ext = rc;
  std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  Status s;
  switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      s = Status::error(RecordHeld, what);
      break;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
      s = Status::error(InvalidDataFile, what.empty() ? "the file is damaged or not a table file" : what);
      break;
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY: {
      s = Status::error(FileSystemError, what);
      int err = db ? sqlite3_system_errno(db) : 0;
      if (err != 0) msg += std::string(" (") + std::strerror(err) + ")";
      break;
    }
    default:
      s = Status::error(DriverError, what);
      break;
  }
  s.store_code = ext;
  s.store_text = msg;
  return s;
}

std::string fileUri(const std::string& path, const char* mode) {
  std::string uri = "file:";
  static const char hex[] = "0123456789ABCDEF";
  for (unsigned char c : path) {
    if (c == '%' || c == '?' || c == '#' || c < 0x20 || c >= 0x7F) {
      uri += '%';
      uri += hex[c >> 4];
      uri += hex[c & 15];
    } else {
      uri += static_cast<char>(c);
    }
  }
  uri += "?mode=";
  uri += mode;
  return uri;
}

std::string quoteIdent(const std::string& name) {
  std::string q = "\"";
  for (char c : name) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + "\"";
}

}  // namespace store
