#pragma once
// An INI file: "[section]" lines, each followed by "entry=value" lines.
//
// Section and entry names compare case-insensitively (Windows-1252 letters, accented ones too).
// Blanks around names and values are not part of them. Lines that are neither a section header
// nor an entry (comments, blank lines, malformed text) are ignored when reading and kept when
// writing; so are entries before the first section. When a section appears twice, reading finds
// the first entry of that name in any of them.
//
// Nothing is cached: every read reads the file again, because several objects and processes may
// share it. Every change reads the file, changes it and replaces it atomically (the temporary
// file "<path>.tmp" in the same directory, flushed to disk, then renamed over the old one), so a
// crash never leaves it half written; a temporary file left by a crash is ignored by readers and
// replaced by the next change. Changes to one file are serialised within the process (one mutex
// per file, whatever spelling of its path is used) and, where the file system allows it, between
// processes (an advisory lock on the directory, awaited at most 5 seconds, after which the change
// fails). A file written with CR LF line breaks keeps them.
//
// Errors are reported, never thrown: a missing or unreadable file reads as empty; a change
// returns false when the file cannot be read or written (it is then left as it was) or when a
// name or value cannot be stored (a line break anywhere, '=' in an entry name or '[', ';' or '#'
// at its start, ']' in a section name, or an empty name). Any thread may call any member; one
// object may be shared between threads.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rt {

class IniFile {
 public:
  explicit IniFile(std::string path);

  const std::string& path() const { return path_; }

  // The entry's value, or def when the file, the section or the entry is missing.
  std::string get(std::string_view section, std::string_view entry,
                  std::string_view def = {}) const;

  // Sets the entry, creating the section (at the end of the file) and the file as needed. An
  // existing entry keeps its place and the spelling of its name; a new entry goes after the
  // section's last entry. Every other line stays as it was.
  bool set(std::string_view section, std::string_view entry, std::string_view value);

  // Remove an entry / a whole section (header, entries and the lines up to the next section)
  // from every occurrence of the section. True when done or when there was nothing to remove.
  bool removeEntry(std::string_view section, std::string_view entry);
  bool removeSection(std::string_view section);

  // Section names in file order, each once (as first spelled).
  std::vector<std::string> sections() const;
  // The entries of a section in file order, each name once (its first value), with their values.
  std::vector<std::pair<std::string, std::string>> entries(std::string_view section) const;

 private:
  std::string path_;
};

}  // namespace rt
