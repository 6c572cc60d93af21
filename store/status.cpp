#include "store/status.h"

#include <cstring>

namespace store {

const char* errorText(int code) {
  switch (code) {
    case NoError: return "";
    case FileNotFound: return "File not found";
    case AccessDenied: return "Access denied";
    case RecordNotAvailable: return "Record not available";
    case RecordNotFound: return "Record not found";
    case FileNotOpen: return "File not open";
    case DuplicateKey: return "Creates duplicate key";
    case RecordHeld: return "Record held by another station";
    case InvalidDeclaration: return "Invalid record declaration";
    case TransactionNotBegun: return "Transaction could not begin";
    case FileAlreadyOpen: return "File already open";
    case TransactionActive: return "Transaction already active";
    case InvalidDataFile: return "Invalid data file";
    case InvalidKey: return "Invalid key";
    case RecordChanged: return "Record changed by another station";
    case FileSystemError: return "File system error";
    case DriverError: return "Driver error";
    default: return "Unknown error";
  }
}

Status Status::error(int code, const std::string& detail) {
  Status s;
  s.code = code;
  s.text = errorText(code);
  if (!detail.empty()) s.text += ": " + detail;
  return s;
}

Status Status::fileSystem(int err, const std::string& what) {
  Status s = error(FileSystemError, what);
  s.store_code = err;
  s.store_text = std::strerror(err);
  return s;
}

Status Status::driver(int sqlite_code, const std::string& message) {
  Status s = error(DriverError);
  s.store_code = sqlite_code;
  s.store_text = message;
  return s;
}

}  // namespace store
