#include "store/session.h"

#include <unistd.h>

#include "store/sqlite_util.h"

namespace store {

namespace {
thread_local std::weak_ptr<Session> t_session;
}

std::shared_ptr<Session> Session::forThisThread() {
  std::shared_ptr<Session> s = t_session.lock();
  if (!s || s->pid_ != getpid()) {
    s.reset(new Session());
    s->pid_ = getpid();
    t_session = s;
  }
  return s;
}

Session::~Session() {
  if (db_) sqlite3_close_v2(db_);
}

void Session::setBusyTimeout(std::chrono::milliseconds t) {
  if (db_ && busy_ms_ != t.count()) {
    sqlite3_busy_timeout(db_, static_cast<int>(t.count()));
    busy_ms_ = t.count();
  }
}

Status Session::attach(const std::string& path, bool create, std::string& schema) {
  auto it = uses_.find(path);
  if (it != uses_.end()) {
    ++it->second.count;
    schema = it->second.schema;
    return {};
  }
  const std::string uri = fileUri(path, create ? "rwc" : "rw");
  if (!db_) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, nullptr);
    if (rc != SQLITE_OK) {
      Status st = sqliteStatus(db, rc, "cannot open " + path);
      sqlite3_close_v2(db);
      return st;
    }
    sqlite3_extended_result_codes(db, 1);
    db_ = db;
    busy_ms_ = -1;
    setBusyTimeout(std::chrono::milliseconds(5000));
    schema = "main";
  } else {
    std::string name = "t" + std::to_string(next_schema_++);
    Stmt st;
    Status s = prepare(db_, "ATTACH DATABASE ?1 AS " + name, st);
    if (!s.ok()) return s;
    sqlite3_bind_text(st.get(), 1, uri.c_str(), -1, SQLITE_TRANSIENT);
    int rc = sqlite3_step(st.get());
    if (rc != SQLITE_DONE) return sqliteStatus(db_, rc, "cannot open " + path);
    schema = name;
  }
  uses_[path] = Use{schema, 1};
  return {};
}

void Session::release(const std::string& path) {
  auto it = uses_.find(path);
  if (it == uses_.end()) return;
  if (--it->second.count > 0) return;
  if (it->second.schema == "main") return;  // the main database stays until the connection closes
  if (exec(db_, "DETACH DATABASE " + it->second.schema).ok()) uses_.erase(it);
}

}  // namespace store

