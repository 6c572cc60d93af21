// Reading every record of a table file in the order the records were added, whatever the keys
// (OPT keys leave records out of their orders; a tool that dumps a file must see them all).
// Opens the file through its own connection; may be called from any thread.
#pragma once

#include <functional>
#include <string>

#include "store/status.h"
#include "store/table_def.h"

namespace store {

// Reads the file's own declaration into `def`, then calls `fn` with each record (def.record_size
// bytes, OEM text already converted to Windows-1252) until `fn` returns false. InvalidDataFile
// when a record is damaged; the file's open errors otherwise.
Status scanRecords(const std::string& path, TableDef& def, const std::function<bool(const unsigned char*)>& fn);

}  // namespace store
