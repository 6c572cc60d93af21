#pragma once
// Message tables of the error manager and their stored form.
//
// A message table is kept as one block of bytes: a 16-bit little-endian entry count, then the
// entries, each as identifier (16-bit LE), severity (1 byte), title length (1 byte), title,
// text length (1 byte), text. Titles and texts are Windows-1252 bytes (Latin-1 for every
// character the catalogues use) without terminators, so neither may exceed 255 bytes. Entries
// are found by identifier; their order in the block means nothing.
//
// Catalogues are written in the source as readable UTF-8 tables (`ErrorText`) and turned into a
// block once by `buildErrorBlock`. Every function here is pure and may be called from any thread.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// How a message is shown and what raising it returns (see ErrorClass):
//   Silent       nothing is shown; the result is 0
//   Question     Yes/No box, Yes the default; 0 for Yes, 4 for anything else
//   ProgramError shown as Fatal
//   Fatal        OK box with "  Press OK to end this application" appended; the program ends
//   Confirm      asked exactly like Question
//   Notice       OK box with the information icon; the result is 5
// Any other value is handled as Fatal.
enum Severity : std::uint8_t {
  Severity_Silent = 0,
  Severity_Question = 1,
  Severity_ProgramError = 2,
  Severity_Fatal = 3,
  Severity_Confirm = 4,
  Severity_Notice = 5,
};

// One decoded message: title and text in Windows-1252.
struct ErrorEntry {
  std::uint16_t id = 0;
  std::uint8_t severity = Severity_Notice;
  std::string title;
  std::string text;

  bool operator==(const ErrorEntry&) const = default;
};

// One message as written in a catalogue's source: title and text in UTF-8.
struct ErrorText {
  std::uint16_t id;
  std::uint8_t severity;
  const char* title;
  const char* text;
};

using ErrorBlock = std::vector<std::uint8_t>;

// Outcome of encoding or decoding a block. On failure `ok` is false, `error` says why in English
// and the other member is empty.
struct ErrorBlockResult {
  bool ok = false;
  std::string error;
  ErrorBlock block;
};
struct ErrorEntriesResult {
  bool ok = false;
  std::string error;
  std::vector<ErrorEntry> entries;
};

// Stores the entries as a block. Fails, producing nothing, when a title or text is longer than
// 255 bytes or there are more than 65535 entries.
[[nodiscard]] ErrorBlockResult encodeErrorBlock(std::span<const ErrorEntry> entries);

// Reads a block back. Fails, producing nothing, when the block is shorter than its count and
// lengths say, or has bytes left over after the last entry.
[[nodiscard]] ErrorEntriesResult decodeErrorBlock(std::span<const std::uint8_t> block);

// Converts a UTF-8 source table to Windows-1252 entries and encodes them. Fails as
// `encodeErrorBlock` does, and also when a character has no Windows-1252 form.
[[nodiscard]] ErrorBlockResult buildErrorBlock(std::span<const ErrorText> table);

}  // namespace fw
