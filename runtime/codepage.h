#pragma once
// Text conversions between the code pages the system meets.
//
// Text lives in records, list queues and window models as Windows-1252 bytes. It becomes UTF-8
// only at the front end, and tables kept in the OEM code page (850) are converted by the record
// store on every read and write. Every conversion here is total: a character the target cannot
// represent becomes '?', and the optional `lossy` flag is set to true (it is never reset to false,
// so one flag can collect several conversions). All functions are pure and may be called from any
// thread.
//
// Windows-1252 leaves five bytes undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D); they map to the
// Unicode control characters with the same number, so every byte string survives a round trip
// through UTF-8 unchanged.

#include <string>
#include <string_view>

namespace rt {

// Windows-1252 bytes to UTF-8. Never fails.
std::string cp1252ToUtf8(std::string_view cp1252);

// UTF-8 to Windows-1252. A character with no Windows-1252 form, and each byte of a malformed
// UTF-8 sequence, becomes '?' and sets *lossy.
std::string utf8ToCp1252(std::string_view utf8, bool* lossy = nullptr);

// Windows-1252 to the OEM code page 850 and back. Characters missing in the target page (the
// euro sign and typographic quotes in one direction, box-drawing characters in the other)
// become '?' and set *lossy. Bytes 0x00..0x7F are the same in both pages.
std::string cp1252ToCp850(std::string_view cp1252, bool* lossy = nullptr);
std::string cp850ToCp1252(std::string_view cp850, bool* lossy = nullptr);

// The Unicode code point of a Windows-1252 byte / of an OEM 850 byte.
char32_t cp1252ToCodePoint(unsigned char c);
char32_t cp850ToCodePoint(unsigned char c);

// Case folding for case-insensitive comparisons and keys. Every Windows-1252 lower-case letter
// (a-z, à..þ except ÷, and š, œ, ž, ÿ) maps to its upper-case form and back; other bytes,
// including ß and µ which have no single-byte upper case, are returned unchanged.
unsigned char cp1252Upper(unsigned char c);
unsigned char cp1252Lower(unsigned char c);
std::string cp1252UpperString(std::string_view s);
std::string cp1252LowerString(std::string_view s);

}  // namespace rt
