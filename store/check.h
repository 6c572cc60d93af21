// Soundness check of a table file, for tools and tests: SQLite's integrity check of the whole file
// (pages, every index against its table), and every record against its declaration (its size,
// and each stored key value equal to the key computed afresh from the record). Reads the file
// through its own connection (rolling back first what an interrupted writer left half done);
// may be called from any thread.
#pragma once

#include <string>
#include <vector>

#include "store/status.h"
#include "store/table_def.h"

namespace store {

struct CheckReport {
  TableDef def;                       // the layout the file describes
  long long records = 0;              // records examined
  std::vector<std::string> problems;  // English descriptions; empty when the file is sound
};

// Ok with the report filled in when the file could be examined (it is sound only when
// report.problems is empty); an error when it cannot be read as a table file at all.
Status checkFile(const std::string& path, CheckReport& report);

}  // namespace store
