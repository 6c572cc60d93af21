// Byte encodings of key values whose memcmp order is the key's order.
//
// Every component has a fixed length, so the concatenation of the components orders by all of
// them, most significant first: unsigned integers big-endian, signed ones big-endian with the
// sign bit flipped, DECIMAL as a sign byte-nibble and its digits (complemented when negative),
// STRING as its Windows-1252 bytes, folded to upper case with rt::cp1252Upper for NOCASE keys.
// Pure functions, callable from any thread.
#pragma once

#include <string>

#include "store/table_def.h"

namespace store {

// Encodes the first `components` components of `key` (all when -1) from a record in
// Windows-1252 text. Returns false, leaving `out` empty, when the key is OPT and every one of its
// fields is blank or zero: such a record is left out of the key.
bool encodeKey(const TableDef& def, const KeyDef& key, const unsigned char* record, std::string& out,
               int components = -1);

// The encoded length of the first `components` components (all when -1).
int encodedKeyLength(const TableDef& def, const KeyDef& key, int components = -1);

// True when the field holds blank text (spaces or NULs) or zero.
bool fieldIsBlank(const FieldDef& f, const unsigned char* record);

}  // namespace store
