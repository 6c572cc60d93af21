#include "store/transaction.h"

#include <string>

#include "store/file.h"
#include "store/file_impl.h"

namespace store {

struct Transaction::Saved {
  File::Impl::Current current;
};

Transaction::Transaction() = default;

Transaction::~Transaction() {
  if (active_) rollback();
}

Status Transaction::begin(std::vector<File*> files, std::chrono::milliseconds limit,
                          std::unique_ptr<Transaction>& out) {
  out.reset();
  if (files.empty()) return Status::error(TransactionNotBegun, "no files");
  std::shared_ptr<Session> session = Session::forThisThread();
  for (File* f : files) {
    if (!f || !f->isOpen()) return Status::error(FileNotOpen, f ? f->name() : std::string("no file"));
    if (f->impl_->session != session)
      return Status::error(TransactionNotBegun, f->name() + " is open on another thread");
  }
  if (session->inTransaction()) return Status::error(TransactionActive);
  // BEGIN IMMEDIATE takes the write lock of every file of this thread's connection at once,
  // waiting at most `limit` for other stations to finish.
  session->setBusyTimeout(limit);
  int rc = sqlite3_exec(session->db(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    Status s = sqliteStatus(session->db(), rc);
    Status e = Status::error(TransactionNotBegun, s.code == RecordHeld ? "the files are in use by another station" : s.text);
    e.store_code = s.store_code;
    e.store_text = s.store_text;
    return e;
  }
  std::unique_ptr<Transaction> t(new Transaction());
  t->session_ = std::move(session);
  t->files_ = std::move(files);
  for (File* f : t->files_) {
    t->saved_.push_back(Saved{f->impl_->cur});
  }
  t->active_ = true;
  out = std::move(t);
  return {};
}

Status Transaction::commit() {
  if (!active_) return Status::error(TransactionActive, "no transaction is active");
  int rc = sqlite3_exec(session_->db(), "COMMIT", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    Status s = sqliteStatus(session_->db(), rc, "the transaction was rolled back");
    rollback();
    return s;
  }
  active_ = false;
  return {};
}

Status Transaction::rollback() {
  if (!active_) return Status::error(TransactionActive, "no transaction is active");
  active_ = false;
  Status s;
  if (session_->inTransaction()) {
    int rc = sqlite3_exec(session_->db(), "ROLLBACK", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) s = sqliteStatus(session_->db(), rc);
  }
  for (size_t i = 0; i < files_.size(); ++i) {
    File::Impl& m = *files_[i]->impl_;
    if (m.db) m.cur = saved_[i].current;
  }
  return s;
}

}  // namespace store
