#pragma once
// StepLocatorClass: moving a list by the characters typed into it.
//
// A step locator works on the sort order's field. The browse carries out a typed character this
// way: the highlight first moves one row down; when that row's field does not begin with the
// character (or there was no row below), the list is positioned at the first row whose field is
// at or after the character (for a numeric field: at or after the digit's value). Typing the same
// character again therefore steps through the rows that begin with it and, after the last of
// them, comes back to the first. Case is ignored when the locator is case-insensitive.
//
// The locator itself only answers the two questions the browse asks (BeginsWith, SeekValue);
// the browse binds it to its field when it is added to a sort order.
//
// Plain object owned by a window procedure; used on its thread only.

#include "store/table_def.h"

namespace fw {

class StepLocatorClass {
 public:
  // `field`: the address of the sort field in the primary table's record buffer (bound to the
  // field's declaration by the browse's AddLocator). `nocase`: letters compare without case.
  void Init(const void* field, bool nocase) {
    address_ = field;
    NoCase = nocase;
  }
  const void* FieldAddress() const { return address_; }
  void Bind(const store::FieldDef& def) {
    field_ = def;
    bound_ = true;
  }
  bool Bound() const { return bound_; }

  bool NoCase = false;

  // Whether the record's field begins with the character: a text field's first character, a
  // number's plain decimal text (a negative number never begins with a digit).
  bool BeginsWith(const unsigned char* record, char c) const;
  // Writes into `record`'s field the lowest value that begins with the character: the character
  // alone for text, the digit's value for a number. False (record untouched) when the character
  // cannot begin a value of the field (not a digit, for a number).
  bool SeekValue(char c, unsigned char* record) const;

 private:
  const void* address_ = nullptr;
  store::FieldDef field_;
  bool bound_ = false;
};

}  // namespace fw
