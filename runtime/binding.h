#pragma once
// Binding: a typed reference from a control to the program variable it shows and edits.
//
// A control bound to a variable shows the variable after Window::display (formatted with the
// control's picture) and copies the user's text back into it on Window::update or when the user
// leaves the changed control (EVENT_Accepted). The variable can be a field of a record buffer
// (BYTE, USHORT, SHORT, LONG, ULONG, DECIMAL(bytes, places), STRING(n), CSTRING(n)) or a local
// std::string. A date is a LONG day number shown through a date picture.
//
// Storing is all or nothing: a text that the picture or the variable's type cannot take (letters
// in a number, an impossible date, a value out of the type's range, a number too wide for a
// DECIMAL) is refused with a clear English reason and the variable keeps its old bytes.
//
// A Binding holds a raw pointer to the variable: the variable must outlive every window that
// uses it. Only the thread that owns the variable (the window's thread) may call format/store.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/decimal.h"

namespace rt {

class Picture;

class Binding {
 public:
  enum class Kind { Byte, UShort, Short, Long, ULong, Decimal, String, CString, Text };

  static Binding byte(std::uint8_t& v) { return Binding(Kind::Byte, &v, 1, 0); }
  static Binding ushort(std::uint16_t& v) { return Binding(Kind::UShort, &v, 2, 0); }
  static Binding short_(std::int16_t& v) { return Binding(Kind::Short, &v, 2, 0); }
  static Binding long_(std::int32_t& v) { return Binding(Kind::Long, &v, 4, 0); }
  static Binding ulong(std::uint32_t& v) { return Binding(Kind::ULong, &v, 4, 0); }
  template <int Bytes, int Places>
  static Binding decimal(PackedDecimal<Bytes, Places>& v) {
    return Binding(Kind::Decimal, v.raw, Bytes, Places);
  }
  // STRING(n): n bytes, space padded.
  static Binding string(char* field, std::size_t n) { return Binding(Kind::String, field, n, 0); }
  template <std::size_t N>
  static Binding string(char (&field)[N]) { return Binding(Kind::String, field, N, 0); }
  // CSTRING(n): NUL-terminated text of at most n-1 bytes in an n-byte field.
  static Binding cstring(char* field, std::size_t n) { return Binding(Kind::CString, field, n, 0); }
  // A local text variable of any length.
  static Binding text(std::string& v) { return Binding(Kind::Text, &v, 0, 0); }

  Kind kind() const { return kind_; }
  bool isNumeric() const { return kind_ != Kind::String && kind_ != Kind::CString && kind_ != Kind::Text; }
  const void* address() const { return ptr_; }

  // The variable's value as displayed through `picture` (nullptr: no picture; numbers in plain
  // form, text without trailing blanks). A date picture formats a numeric variable as a day number.
  std::string format(const Picture* picture) const;

  struct StoreResult {
    bool ok = true;
    std::string error;  // why the text was refused, when !ok
  };
  // Interprets `typed` through `picture` and stores it. On refusal the variable is untouched.
  StoreResult store(const Picture* picture, std::string_view typed) const;

  // Numeric value of the variable (0 for text kinds that do not hold a number).
  Decimal number() const;
  // Stores a numeric value, rounded half away from zero for integer kinds; refused when out of range.
  StoreResult storeNumber(const Decimal& v) const;
  // Text value of the variable (numbers in plain form).
  std::string rawText() const;

 private:
  Binding(Kind k, void* p, std::size_t size, int places) : kind_(k), ptr_(p), size_(size), places_(places) {}
  StoreResult storeText(std::string_view text) const;

  Kind kind_;
  void* ptr_;
  std::size_t size_;
  int places_;
};

}  // namespace rt
