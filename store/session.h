// A thread's connection to the table files it has open.
//
// Every thread has one SQLite connection for all its Files: the first file it opens is the
// connection's main database and every further file is attached to it. One connection per thread
// is what makes a transaction over several tables atomic across their files (SQLite commits
// attached databases together through a super-journal in rollback-journal mode). The session
// lives while a File of the thread holds it and closes the connection after the last one.
// Only the owning thread may use a Session.
#pragma once

#include <sqlite3.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "store/status.h"

namespace store {

class Session {
 public:
  // The calling thread's session, created when the thread has none (or has only one inherited
  // through fork() from the parent process, whose connection the child must not use).
  static std::shared_ptr<Session> forThisThread();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Makes the file at the absolute `path` available under a schema name (counted: one per
  // open File). When `create` is false a missing file is never created.
  Status attach(const std::string& path, bool create, std::string& schema);
  // Releases one use of the file; the last use detaches it (the main database stays).
  void release(const std::string& path);

  sqlite3* db() const { return db_; }
  // Sets how long SQLite waits for a locked file (only when it differs from the last setting).
  void setBusyTimeout(std::chrono::milliseconds t);
  bool inTransaction() const { return db_ && sqlite3_get_autocommit(db_) == 0; }

 private:
  Session() = default;
  int pid_ = 0;  // the process that opened the connection: a forked child makes its own
  struct Use {
    std::string schema;
    int count = 0;
  };
  sqlite3* db_ = nullptr;
  std::map<std::string, Use> uses_;
  int next_schema_ = 1;
  long long busy_ms_ = -1;
};

}  // namespace store
