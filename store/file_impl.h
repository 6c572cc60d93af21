// The open state of a File, shared by file.cpp and transaction.cpp (a transaction saves each
// File's current record at its start and gives it back on rollback). Internal to the store.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "store/file.h"
#include "store/session.h"
#include "store/sqlite_util.h"

namespace store {

struct File::Impl {
  std::string path;  // absolute path of the file; empty until opened (or set by setPath)
  bool path_set = false;
  std::shared_ptr<Session> session;
  sqlite3* db = nullptr;
  std::string schema;
  std::string table;  // "schema".records
  std::string columns;  // id, version, data, k0, ...
  std::vector<Stmt> key_stmts;
  std::vector<Stmt> file_stmts;

  // Position in a key order: before the first record, after the last, in the gap before the key
  // value (k, id), or at the record (k, id) that was read last.
  enum class At { BeforeFirst, AfterLast, Gap, Record };
  int seq_key = -1;
  At at = At::BeforeFirst;
  std::string at_k;
  sqlite3_int64 at_id = 0;

  // The record read or added last: what put() and erase() act on. Its key values are known for
  // the keys whose columns were read with it (cur_known); a position leaves the others out.
  struct Current {
    bool has = false;
    sqlite3_int64 id = 0;
    sqlite3_int64 version = 0;
    std::vector<std::string> keys;
    std::vector<bool> in_key;
    std::vector<bool> known;
  };
  Current cur;

  std::string stored;  // record bytes as kept in the file (OEM: code page 850)
  std::vector<std::string> new_keys;
  std::vector<bool> new_in_key;
};

}  // namespace store
