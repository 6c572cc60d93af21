// One thread's instance of a table of the keyed record store.
//
// A File holds that thread's open state of the table: its own connection (shared with the other
// Files of the same thread), its position in a key order and the record it read last. It is not
// thread-safe: only the thread that opened it may use it, and it must be closed (or destroyed)
// on that thread. Records move between the file and `buffer`, the thread's record buffer of
// def.record_size bytes; `def` and `buffer` must outlive the File.
//
// Every operation returns a Status; nothing throws. Reads never return partial or garbage data:
// a damaged file gives InvalidDataFile. Writes are atomic, each on its own or together inside a
// Transaction. A put or erase of a record that another File (thread or process) wrote or
// deleted since this File read it fails with RecordChanged, so no update is lost silently. When another station keeps the file
// locked, an operation waits a bounded time (busyTimeout) and then fails with RecordHeld.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/status.h"
#include "store/table_def.h"

namespace store {

class Session;
class Transaction;

// One record of a page read: the record's bytes (record_size) and its position.
struct PageRow {
  std::string record;
  std::string position;
};

class File {
 public:
  File(const TableDef& def, void* buffer);
  ~File();  // closes the file when still open
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens the table's file in the working directory (mode: the runtime's open mode, 0x42 = read
  // and write, deny none; every mode opens shared for reading and writing). A missing file is
  // created when the table declares CREATE, else FileNotFound. A file whose stored layout differs
  // from the declaration gives InvalidDeclaration; one that is not this table's file (another
  // table's, truncated, not a table file at all) gives InvalidDataFile.
  Status open(int mode = 0x42);
  // Creates the table's file when it is missing (an existing file of this table is kept as it
  // is; one with another layout gives InvalidDeclaration). Does not open the File.
  Status create();
  Status close();
  bool isOpen() const;

  std::string name() const;  // the table's name as the store reports it: its file name
  // Uses the file at `path` instead of fileName() in the working directory (before open/create).
  void setPath(std::string path);
  const TableDef& def() const { return def_; }

  // Driver options such as "Recover=10" or "QUICKSCAN=on" are accepted; they need no action
  // from this store (locks are never left behind by a dead station, reads are keyset seeks).
  Status setDriverOption(std::string_view option);

  // ----- Reading in key order (key = index into def().keys) -----
  Status set(int key);                      // before the first record of the key
  Status setAfter(int key);                 // after the last record (previous() reads the last)
  Status set(int key, const void* record);  // at the first record whose key is >= record's key value
  Status next();                            // reads the following record into the buffer
  Status previous();                        // reads the preceding record into the buffer
  // Reads up to n records forward (or backward) from the current position in one go, as next()
  // (or previous()) repeated would; `rows` gets what was read, fewer than n at the end of the
  // key. The buffer and the current record are the last row read. Ok even when nothing is left.
  Status readPage(int n, bool forward, std::vector<PageRow>& rows);

  // ----- Direct access -----
  Status fetch(int key);  // reads the record whose key equals the buffer's key fields (first added, for DUP)
  std::string position() const;  // of the record last read or added; "" when there is none
  Status reget(const std::string& position);            // reads the record at a position
  Status resetTo(int key, const std::string& position); // next() reads that record, previous() the one before
  // The highest record in a key's order whose first `leading` components equal the buffer's
  // (0: the whole key), copied into `out` (record_size bytes). RecordNotFound when there is none.
  Status highest(int key, int leading, void* out) const;
  long long records() const;  // number of records, -1 when not open or unreadable

  // ----- Writing -----
  Status add();    // adds the buffer as a new record; it becomes the current record
  Status put();    // rewrites the current record with the buffer
  Status erase();  // deletes the current record

  // How long an operation waits for a file that another station keeps locked (default 5 s).
  void setBusyTimeout(std::chrono::milliseconds t);
  std::chrono::milliseconds busyTimeout() const { return busy_; }

  struct Impl;  // the open state; defined in file.cpp

 private:
  friend class Transaction;
  const TableDef& def_;
  unsigned char* buffer_;
  std::chrono::milliseconds busy_{5000};
  std::unique_ptr<Impl> impl_;
};

}  // namespace store

#include "store/transaction.h"
