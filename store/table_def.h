// The declaration of a table of the keyed record store: its label, file, attributes, the fixed
// layout of its record buffer and its keys. A TableDef is plain data, written once by the program
// that declares the table (usually as a function-local static) and read by every File of it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace store {

// Field types of a fixed record layout. Integers are little-endian in the record buffer.
//   Byte    unsigned 8-bit            UShort  unsigned 16-bit     Short  signed 16-bit
//   Long    signed 32-bit             ULong   unsigned 32-bit
//   String  `size` bytes of Windows-1252 text padded with spaces
//   Decimal packed decimal of `size` bytes (2*size-1 digits, sign in the first nibble) and
//           `places` decimal places
enum class FieldType { Byte, UShort, Short, Long, ULong, String, Decimal };

struct FieldDef {
  std::string name;  // the field's own name, without the table prefix (e.g. "IDARTICULO")
  FieldType type = FieldType::Byte;
  int offset = 0;    // byte offset in the record
  int size = 0;      // bytes: 1, 2 or 4 for integers, n for String, bytes for Decimal
  int places = 0;    // Decimal only
};

// The FieldDef of a member of a packed record struct, its offset and size taken from the struct
// so that the declaration cannot disagree with the buffer:
//   STORE_FIELD(Articulo, IDARTICULO, store::FieldType::UShort, 0)
#define STORE_FIELD(Record, member, type, places)                                                  \
  ::store::FieldDef {                                                                             \
    #member, type, static_cast<int>(offsetof(Record, member)), static_cast<int>(sizeof(Record::member)), places \
  }

// A key: ascending on every component. A key without `dup` is unique. `opt` leaves out of the
// key's order every record whose key fields are all blank (spaces) or zero. `nocase` orders and
// compares String components case-insensitively (Windows-1252 letters, accented ones too).
struct KeyDef {
  std::string name;         // the key's label (e.g. "POR_IDARTICULO"); duplicate-key errors name it
  std::vector<int> fields;  // components: indexes into TableDef::fields, most significant first
  bool primary = false, dup = false, opt = false, nocase = false;
};

// CREATE: a missing file is created when the table is first opened. THREAD: every thread has its
// own record buffer and open state (the store gives every File its own state in any case).
// OEM: String fields are kept in code page 850 in the file and converted on every read and write.
struct TableDef {
  std::string label;   // e.g. "PRODUCTOS"
  std::string prefix;  // e.g. "PRO"
  int record_size = 0;
  std::vector<FieldDef> fields;
  std::vector<KeyDef> keys;
  bool create = true, threaded = true, oem = false;

  // The table's file in the working directory: the label's first 8 characters and ".TPS"
  // ("PRODUCTOS" -> "PRODUCTO.TPS").
  std::string fileName() const;

  // Empty when the declaration is sound (fields inside the record, sizes fitting their types,
  // keys naming existing fields, names unique); otherwise an English description of the fault.
  std::string validate() const;

  // A canonical text of the layout (record size, OEM, fields, keys): two declarations describe
  // the same file layout exactly when their layout texts are equal.
  std::string layoutText() const;
};

const char* fieldTypeName(FieldType t);                // "BYTE", "USHORT", ... "DECIMAL"
bool fieldTypeFromName(const std::string& name, FieldType& out);

}  // namespace store
