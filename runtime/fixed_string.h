#pragma once
// STRING(n) fields: n bytes of Windows-1252 text, padded on the right with spaces.
//
// These helpers work on a field inside a record buffer (a plain char array, not terminated).
// They never write outside the n bytes and may be called from any thread on buffers it owns.

#include <cstddef>
#include <string_view>

namespace rt {

// Copies value into the field, cutting it at n bytes and filling the rest with spaces. value may
// view the field itself (e.g. clipped(field, n)).
void setFixed(char* field, std::size_t n, std::string_view value);

// The field's text without its trailing spaces (and trailing NUL bytes, the content of a buffer
// never written); leading spaces are kept. The result views the field itself.
std::string_view clipped(const char* field, std::size_t n);

// True when the field holds only spaces (or NUL bytes, as in a never-written buffer).
bool isBlank(const char* field, std::size_t n);

// Array overloads for fields declared as char[N].
template <std::size_t N>
void setFixed(char (&field)[N], std::string_view value) { setFixed(field, N, value); }
template <std::size_t N>
std::string_view clipped(const char (&field)[N]) { return clipped(field, N); }
template <std::size_t N>
bool isBlank(const char (&field)[N]) { return isBlank(field, N); }

}  // namespace rt
