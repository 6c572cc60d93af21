// A transaction over several Files of the calling thread: everything written through them between
// begin() and commit() is kept together or not at all, across their files, also when the process
// dies at any moment. The Files must be open and used only by the calling thread.
//
// begin() waits at most `limit` for other stations to release the files, then fails with
// TransactionNotBegun (never hangs). commit() that fails rolls everything back and reports why.
// A Transaction that is destroyed without commit() rolls back. Only one transaction at a time per
// thread (TransactionActive otherwise). While it is active it holds the write lock of every file
// the thread has open (other stations wait or get RecordHeld), and writes through any File of the
// thread belong to it. A rollback also gives each listed File back the record it had read.
#pragma once

#include <chrono>
#include <memory>
#include <vector>

#include "store/status.h"

namespace store {

class File;
class Session;

class Transaction {
 public:
  static Status begin(std::vector<File*> files, std::chrono::milliseconds limit,
                      std::unique_ptr<Transaction>& out);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  Status commit();
  Status rollback();
  bool active() const { return active_; }

 private:
  struct Saved;  // each File's current record at begin, restored on rollback
  Transaction();
  std::shared_ptr<Session> session_;
  std::vector<File*> files_;
  std::vector<Saved> saved_;
  bool active_ = false;
};

}  // namespace store
