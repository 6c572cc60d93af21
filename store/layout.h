// How a table file describes itself: its label and the layout it was created with (fields, keys,
// record size, OEM) are stored in the file beside the records, so that an open with another
// declaration is refused and tools can read any table file without its program.
//
// Tables in a file: meta (name, value), fields, keys, and records (id, seq, version, data,
// k0..kN-1), with one index per key on its encoded column (unique keys a unique index; DUP keys
// on (k, seq), seq being the ever-increasing number of the add, equal to id, so that equal values
// keep the order they were added and a seek lands inside a run of equal values directly; OPT
// keys partial, leaving NULLs out).
#pragma once

#include <sqlite3.h>

#include <string>

#include "store/status.h"
#include "store/table_def.h"

namespace store {

// The format mark stored in every table file.
extern const char* const kFormatMark;

// Creates the tables of a new table file in `schema` of `db` (inside the caller's transaction).
Status createLayout(sqlite3* db, const std::string& schema, const TableDef& def);

// Checks that `schema` of `db` is a table file of `def`: InvalidDataFile when it is not a table
// file or belongs to another table, InvalidDeclaration when its layout differs. `empty` is set
// when the database has no tables at all (a new, empty file).
Status verifyLayout(sqlite3* db, const std::string& schema, const TableDef& def, bool& empty);

// Opens an existing file for reading through a connection of its own (read-write when
// permitted, so that an interrupted transaction left in the file is rolled back first).
Status openExisting(const std::string& path, sqlite3*& db);

// Reads the declaration stored in the table file at `path` (opened read-only).
Status readLayout(const std::string& path, TableDef& out);
// The same, from `schema` of an open connection.
Status readLayout(sqlite3* db, const std::string& schema, TableDef& out);

}  // namespace store
