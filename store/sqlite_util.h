// Small helpers around SQLite for the store's own code: an owning statement handle, a guard that
// resets a statement when an operation ends (so no read keeps the file locked), the mapping of
// SQLite results to the store's error numbers, and URI file names.
#pragma once

#include <sqlite3.h>

#include <string>

#include "store/status.h"

namespace store {

class Stmt {
 public:
  Stmt() = default;
  explicit Stmt(sqlite3_stmt* s) : s_(s) {}
  ~Stmt() { sqlite3_finalize(s_); }
  Stmt(Stmt&& o) noexcept : s_(o.s_) { o.s_ = nullptr; }
  Stmt& operator=(Stmt&& o) noexcept {
    if (this != &o) {
      sqlite3_finalize(s_);
      s_ = o.s_;
      o.s_ = nullptr;
    }
    return *this;
  }
  Stmt(const Stmt&) = delete;
  Stmt& operator=(const Stmt&) = delete;
  sqlite3_stmt* get() const { return s_; }
  explicit operator bool() const { return s_ != nullptr; }

 private:
  sqlite3_stmt* s_ = nullptr;
};

class ResetGuard {
 public:
  explicit ResetGuard(sqlite3_stmt* s) : s_(s) {}
  ~ResetGuard() {
    sqlite3_reset(s_);
    sqlite3_clear_bindings(s_);
  }
  ResetGuard(const ResetGuard&) = delete;
  ResetGuard& operator=(const ResetGuard&) = delete;

 private:
  sqlite3_stmt* s_;
};

// Prepares `sql`; on failure returns the driver's error.
Status prepare(sqlite3* db, const std::string& sql, Stmt& out);

// Runs statements without results.
Status exec(sqlite3* db, const std::string& sql);

// The store's status for a failed SQLite call with result `rc` on `db`:
// busy or locked -> RecordHeld; not a database or damaged -> InvalidDataFile; I/O, full disk,
// permission or read-only -> FileSystemError (90); anything else -> DriverError (100). The
// SQLite extended code and message go to store_code and store_text.
Status sqliteStatus(sqlite3* db, int rc, const std::string& what = {});

// "file:" URI of an absolute path, with mode "rw" (never creates), "rwc" or "ro".
std::string fileUri(const std::string& path, const char* mode);

// SQL quoting of an identifier.
std::string quoteIdent(const std::string& name);

}  // namespace store
