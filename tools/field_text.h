// A field of a record as text, for dumping and importing table files: integers in decimal,
// decimals with their places ("12.50"), text in UTF-8 without its padding spaces.
#pragma once

#include <string>
#include <string_view>

#include "store/table_def.h"

namespace tpstool {

std::string fieldToText(const store::FieldDef& f, const unsigned char* record);

// Writes the text into the field. False, with an English reason in `error`, when the text is not
// a value the field can hold exactly: not a number, out of range, more decimal places than the
// field has, text too long or not representable in Windows-1252. An empty text is zero or blank.
bool textToField(const store::FieldDef& f, std::string_view text, unsigned char* record, std::string& error);

}  // namespace tpstool
