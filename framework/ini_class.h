#pragma once
// The INI manager: one object for the whole process (`INIMgr`), bound to one INI file, through
// which windows keep their positions and the program keeps its settings.
//
// Init binds it to a file name; a name without a directory (or written ".\Name.INI") is taken
// relative to the working directory at the time of Init, and keeps naming that file even if the
// working directory changes later. Every Fetch reads the file and every Update writes it at
// once (the file is replaced atomically).
//
// The manager keeps a list of the sections it has written, in section "__Dont_Touch_Me__",
// entry "Sectors": the names separated by "|" (a character that section names of procedures
// never contain), in the order they were first written, each once (names compare without regard
// to case). The list is read by Init and written back by Kill, always, so after a run in which
// nothing else was written the file holds just that section with an empty "Sectors=" entry.
//
// A window's position lives in a section named after its procedure: "Maximize" and "Minimize"
// ("Yes"/"No") and the integers "XPos", "YPos", "Width", "Height".
//
// Failures are results: Init refuses an empty name and storage types other than 0 (INI file);
// Update and Kill return false when the file cannot be written or the manager is not
// initialised; Fetch gives the default (or false) when the file, section or entry is missing.
// Threads: every operation may be called from any thread; they run one at a time.

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// Position, size and state of a window, as kept in its section.
struct WindowPlacement {
  bool maximized = false;
  bool minimized = false;
  int x = 0, y = 0, width = 0, height = 0;

  bool operator==(const WindowPlacement&) const = default;
};

class INIClass {
 public:
  static constexpr const char* kSectionList = "__Dont_Touch_Me__";
  static constexpr const char* kSectionListEntry = "Sectors";
  static constexpr char kSectionSeparator = '|';
  static constexpr int Storage_IniFile = 0;

  INIClass() = default;
  INIClass(const INIClass&) = delete;
  INIClass& operator=(const INIClass&) = delete;

  // Binds the manager to `file_name` (storage type 0; `extra` is not used by INI files) and
  // reads the list of sections written before. Initialising again rebinds it.
  [[nodiscard]] bool Init(std::string_view file_name, int storage_type = Storage_IniFile,
                          std::string_view extra = {});
  // Writes the section list back and unbinds the manager. False when it was not initialised or
  // the file could not be written.
  bool Kill();

  // An entry's value, or `def` when it is missing (or the manager is not initialised).
  std::string Fetch(std::string_view section, std::string_view entry, std::string_view def = {});
  // Writes an entry and records its section. The section list's own section is refused.
  [[nodiscard]] bool Update(std::string_view section, std::string_view entry,
                            std::string_view value);
  // Nothing is pending between writes, so this writes nothing.
  void Update();

  // Reads a window's placement from the procedure's section. Returns false, leaving `placement`
  // as it was, unless the four integers are all there, readable, and the size is positive; the
  // two flags are "Yes" (any case) for true, anything else false.
  [[nodiscard]] bool Fetch(std::string_view procedure, WindowPlacement& placement);
  // Writes a window's placement into the procedure's section and records the section.
  [[nodiscard]] bool Update(std::string_view procedure, const WindowPlacement& placement);

  // The sections written, as the list holds them now.
  std::vector<std::string> Sections() const;
  // The file the manager is bound to ("" when not initialised).
  std::string FileName() const;

 private:
  bool writeLocked(std::string_view section, std::string_view entry, std::string_view value);
  void recordSectionLocked(std::string_view section);

  mutable std::mutex mutex_;
  bool initialized_ = false;
  std::string path_;
  std::vector<std::string> sections_;
};

}  // namespace fw
