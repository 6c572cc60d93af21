#pragma once
// Reading and writing one field of a record buffer by its store declaration (store::FieldDef).
//
// The view manager, the steps and the locators work on the fields of a table's record in the
// generic form the record store declares them: an offset, a type, a size. These helpers read a
// field's value (as a number or as text), write a value into it, compare two records on a field
// the way a key orders them, and set a field to the lowest value its key order can hold.
//
// Pure functions on caller-owned bytes: any thread, no state.

#include <string>
#include <string_view>

#include "runtime/decimal.h"
#include "store/table_def.h"

namespace fw {

// True for the integer and decimal types.
bool fieldIsNumeric(const store::FieldDef& f);

// The field's numeric value (0 for a String field).
rt::Decimal fieldNumber(const store::FieldDef& f, const unsigned char* record);

// The field's value as text: a String field's bytes as they stand (with their padding), a number
// in plain decimal form ("12", "-3.50").
std::string fieldText(const store::FieldDef& f, const unsigned char* record);

// Writes a number into a numeric field (integers truncated and clamped to the type's range,
// decimals rounded half away from zero and clamped to what the field holds). Does nothing for a
// String field.
void setFieldNumber(const store::FieldDef& f, unsigned char* record, const rt::Decimal& v);

// Writes text into a String field (cut or padded with spaces to its size); for a numeric field
// the text is read as a decimal number (0 when it is not one).
void setFieldText(const store::FieldDef& f, unsigned char* record, std::string_view text);

// Sets the field to the lowest value in a key's order (zero bytes for text and unsigned types,
// the most negative value for signed types and decimals).
void setFieldLowest(const store::FieldDef& f, unsigned char* record);

// Orders two records on one field as a key does: numbers by value, text byte by byte, folding
// letters to upper case first when `nocase`. Negative, zero or positive.
int compareField(const store::FieldDef& f, const unsigned char* a, const unsigned char* b, bool nocase);

// Clears a whole record as a new record starts: text fields to spaces, every other byte to zero.
void clearRecord(const store::TableDef& def, unsigned char* record);

// The field that holds the given address inside a record buffer starting at `buffer`: its index
// in def.fields (the field whose offset equals the address's), -1 when none starts there.
int fieldIndexAt(const store::TableDef& def, const void* buffer, const void* address);

}  // namespace fw
