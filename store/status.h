// Results of record-store operations: the runtime's error number with its English text, and for
// errors of the file system (90) and of the driver (100) the store's own code and text as well.
#pragma once

#include <string>

namespace store {

// Runtime error numbers reported by the record store, with their English texts (errorText()).
enum ErrorCode : int {
  NoError = 0,
  FileNotFound = 2,            // "File not found": the table's file does not exist (no CREATE)
  AccessDenied = 5,            // "Access denied": the file system refused to open the file
  RecordNotAvailable = 33,     // "Record not available": no current record, or end of the key
  RecordNotFound = 35,         // "Record not found": no record has that key value or position
  FileNotOpen = 37,            // "File not open"
  DuplicateKey = 40,           // "Creates duplicate key" (the text names the key, Status::key its index)
  RecordHeld = 43,             // "Record held by another station": the file stayed locked too long
  InvalidDeclaration = 47,     // "Invalid record declaration": the declared layout differs from the file's
  TransactionNotBegun = 48,    // "Transaction could not begin": the files stayed locked past the limit
  FileAlreadyOpen = 52,        // "File already open"
  TransactionActive = 56,      // "Transaction already active" (or none active, for commit/rollback)
  InvalidDataFile = 57,        // "Invalid data file": not a table file, truncated, damaged or another table's
  InvalidKey = 75,             // "Invalid key": no such key, or a position that is not one of this table's
  RecordChanged = 89,          // "Record changed by another station": put/erase of a stale record
  FileSystemError = 90,        // "File system error": store_code is errno, store_text its text
  DriverError = 100,           // "Driver error": store_code is SQLite's extended code, store_text its message
};

// The English text of an error number ("" for NoError, "Unknown error" for others).
const char* errorText(int code);

struct Status {
  int code = 0;            // ErrorCode; 0 = success
  std::string text;        // English text of `code`, with details (e.g. the key's name)
  int store_code = 0;      // SQLite extended result code or errno, when there is one
  std::string store_text;  // SQLite's message or strerror's text
  int key = -1;            // DuplicateKey: index of the key concerned; -1 otherwise

  bool ok() const { return code == 0; }

  static Status success() { return {}; }
  // `code` with its standard text, followed by ": detail" when a detail is given.
  static Status error(int code, const std::string& detail = {});
  static Status fileSystem(int err, const std::string& what);  // 90 from an errno value
  static Status driver(int sqlite_code, const std::string& message);  // 100 from SQLite
};

}  // namespace store
