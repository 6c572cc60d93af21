#include "runtime/ini_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "runtime/codepage.h"

namespace rt {
namespace {

namespace fs = std::filesystem;

// ---- Parsing -----------------------------------------------------------------------------

struct Line {
  enum class Kind { Section, Entry, Other } kind = Kind::Other;
  std::string raw;    // the line as it stands in the file, without its line break
  std::string name;   // section or entry name
  std::string value;  // entry value
};

struct Document {
  std::vector<Line> lines;
  std::string eol = "\n";
};

std::string_view trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (cp1252Upper(static_cast<unsigned char>(a[i])) !=
        cp1252Upper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

Line parseLine(std::string raw) {
  Line line;
  std::string_view t = trim(raw);
  if (t.size() >= 3 && t.substr(0, 3) == "\xEF\xBB\xBF") t = trim(t.substr(3));  // UTF-8 mark
  if (!t.empty() && t.front() == '[') {
    const std::size_t close = t.find(']');
    const std::string_view name = close == std::string_view::npos
                                      ? std::string_view()
                                      : trim(t.substr(1, close - 1));
    if (!name.empty()) {
      line.kind = Line::Kind::Section;
      line.name = std::string(name);
    }
  } else if (!t.empty() && t.front() != ';' && t.front() != '#') {
    const std::size_t eq = t.find('=');
    if (eq != std::string_view::npos && !trim(t.substr(0, eq)).empty()) {
      line.kind = Line::Kind::Entry;
      line.name = std::string(trim(t.substr(0, eq)));
      line.value = std::string(trim(t.substr(eq + 1)));
    }
  }
  line.raw = std::move(raw);
  return line;
}

Document parse(std::string_view text) {
  Document doc;
  if (text.find("\r\n") != std::string_view::npos) doc.eol = "\r\n";
  while (!text.empty()) {
    std::size_t nl = text.find('\n');
    std::string_view raw = text.substr(0, nl);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    doc.lines.push_back(parseLine(std::string(raw)));
    if (nl == std::string_view::npos) break;
    text.remove_prefix(nl + 1);
  }
  return doc;
}

std::string render(const Document& doc) {
  std::string out;
  for (const Line& l : doc.lines) {
    out += l.raw;
    out += doc.eol;
  }
  return out;
}

// Index one past the last line of the section whose header is at `header`.
std::size_t sectionEnd(const Document& doc, std::size_t header) {
  std::size_t i = header + 1;
  while (i < doc.lines.size() && doc.lines[i].kind != Line::Kind::Section) ++i;
  return i;
}

// ---- File access -------------------------------------------------------------------------

// The whole file, or nullopt when it cannot be read (a missing file reads as empty).
std::optional<std::string> readFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return std::string();
    return std::nullopt;
  }
  std::string out;
  char buf[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return out;
}

bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

fs::path directoryOf(const std::string& path) {
  fs::path dir = fs::path(path).parent_path();
  return dir.empty() ? fs::path(".") : dir;
}

// Replaces the file with `content`: a temporary file beside it, flushed, renamed over it, and
// the directory flushed so that the rename itself survives a crash.
bool replaceFile(const std::string& path, std::string_view content) {
  const std::string temp = path + ".tmp";
  mode_t mode = 0666;  // narrowed by the umask for a new file
  struct stat st;
  const bool existed = ::stat(path.c_str(), &st) == 0;
  if (existed) mode = st.st_mode & 07777;
  // A temporary file left by a crash is simply replaced (writers hold the locks here).
  ::unlink(temp.c_str());
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) return false;
  bool ok = writeAll(fd, content);
  if (ok && existed) ok = ::fchmod(fd, mode) == 0;
  if (ok) ok = ::fsync(fd) == 0;
  if (::close(fd) != 0) ok = false;
  if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  const int dirFd = ::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return true;
}

// One mutex per file for the whole process: every IniFile object naming the same file shares it.
std::mutex& mutexFor(const std::string& path) {
  static std::mutex registryMutex;
  static std::map<std::string, std::unique_ptr<std::mutex>> registry;
  std::error_code ec;
  fs::path key = fs::weakly_canonical(fs::absolute(path, ec), ec);
  if (ec) key = fs::path(path);
  std::lock_guard<std::mutex> lock(registryMutex);
  auto& slot = registry[key.string()];
  if (!slot) slot = std::make_unique<std::mutex>();
  return *slot;
}

// Holds the advisory lock that serialises writers of other processes, as long as it lives. A
// writer waits at most kLockWait for it and then gives up (the change fails: never a hang).
// Where the file system does not support the lock, only the in-process mutex serialises.
class DirectoryLock {
 public:
  static constexpr std::chrono::milliseconds kLockWait{5000};

  explicit DirectoryLock(const std::string& path)
      : fd_(::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ < 0) return;  // no directory: the write will fail on its own
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    for (;;) {
      if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
      if (errno != EWOULDBLOCK && errno != EINTR) return;  // unsupported: go on without it
      if (std::chrono::steady_clock::now() >= deadline) {
        timedOut_ = true;
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
  ~DirectoryLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;

  bool timedOut() const { return timedOut_; }

 private:
  int fd_;
  bool timedOut_ = false;
};

bool hasBreak(std::string_view s) {
  return s.find('\n') != std::string_view::npos || s.find('\r') != std::string_view::npos;
}

// Reads the file, lets `change` edit it, and writes it back when `change` reports an edit.
template <typename Change>
bool modify(const std::string& path, Change change) {
  std::lock_guard<std::mutex> lock(mutexFor(path));
  DirectoryLock dirLock(path);
  if (dirLock.timedOut()) return false;
  const std::optional<std::string> text = readFile(path);
  if (!text) return false;
  Document doc = parse(*text);
  if (!change(doc)) return true;
  return replaceFile(path, render(doc));
}

Document load(const std::string& path) {
  const std::optional<std::string> text = readFile(path);
  return text ? parse(*text) : Document{};
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

std::string IniFile::get(std::string_view section, std::string_view entry,
                         std::string_view def) const {
  const Document doc = load(path_);
  bool inSection = false;
  for (const Line& l : doc.lines) {
    if (l.kind == Line::Kind::Section) {
      inSection = sameName(l.name, trim(section));
    } else if (inSection && l.kind == Line::Kind::Entry && sameName(l.name, trim(entry))) {
      return l.value;
    }
  }
  return std::string(def);
}

bool IniFile::set(std::string_view section, std::string_view entry, std::string_view value) {
  if (hasBreak(section) || hasBreak(entry) || hasBreak(value)) return false;
  section = trim(section);
  entry = trim(entry);
  value = trim(value);
  // Names that would read back as something else: a header, a comment, or a split entry.
  if (section.empty() || entry.empty() || section.find(']') != std::string_view::npos ||
      entry.find('=') != std::string_view::npos || entry.front() == '[' ||
      entry.front() == ';' || entry.front() == '#') {
    return false;
  }
  return modify(path_, [&](Document& doc) {
    auto& lines = doc.lines;
    std::optional<std::size_t> firstHeader;
    for (std::size_t h = 0; h < lines.size(); ++h) {
      if (lines[h].kind != Line::Kind::Section || !sameName(lines[h].name, section)) continue;
      if (!firstHeader) firstHeader = h;
      const std::size_t end = sectionEnd(doc, h);
      for (std::size_t i = h + 1; i < end; ++i) {
        Line& l = lines[i];
        if (l.kind == Line::Kind::Entry && sameName(l.name, entry)) {
          if (l.value == value) return false;
          l = parseLine(l.name + "=" + std::string(value));
          return true;
        }
      }
    }
    Line added = parseLine(std::string(entry) + "=" + std::string(value));
    if (firstHeader) {
      std::size_t at = *firstHeader + 1;
      const std::size_t end = sectionEnd(doc, *firstHeader);
      for (std::size_t i = at; i < end; ++i) {
        if (lines[i].kind == Line::Kind::Entry) at = i + 1;
      }
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(added));
    } else {
      if (!lines.empty() && !trim(lines.back().raw).empty()) lines.push_back(parseLine(""));
      lines.push_back(parseLine("[" + std::string(section) + "]"));
      lines.push_back(std::move(added));
    }
    return true;
  });
}

bool IniFile::removeEntry(std::string_view section, std::string_view entry) {
  section = trim(section);
  entry = trim(entry);
  return modify(path_, [&](Document& doc) {
    bool inSection = false;
    bool changed = false;
    std::vector<Line> kept;
    for (Line& l : doc.lines) {
      if (l.kind == Line::Kind::Section) inSection = sameName(l.name, section);
      if (inSection && l.kind == Line::Kind::Entry && sameName(l.name, entry)) {
        changed = true;
        continue;
      }
      kept.push_back(std::move(l));
    }
    doc.lines = std::move(kept);
    return changed;
  });
}

bool IniFile::removeSection(std::string_view section) {
  section = trim(section);
  return modify(path_, [&](Document& doc) {
    bool inSection = false;
    bool changed = false;
    std::vector<Line> kept;
    for (Line& l : doc.lines) {
      if (l.kind == Line::Kind::Section) inSection = sameName(l.name, section);
      if (inSection) {
        changed = true;
        continue;
      }
      kept.push_back(std::move(l));
    }
    doc.lines = std::move(kept);
    return changed;
  });
}

std::vector<std::string> IniFile::sections() const {
  std::vector<std::string> out;
  for (const Line& l : load(path_).lines) {
    if (l.kind != Line::Kind::Section) continue;
    bool seen = false;
    for (const std::string& s : out) seen = seen || sameName(s, l.name);
    if (!seen) out.push_back(l.name);
  }
  return out;
}

std::vector<std::pair<std::string, std::string>> IniFile::entries(
    std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> out;
  bool inSection = false;
  for (const Line& l : load(path_).lines) {
    if (l.kind == Line::Kind::Section) {
      inSection = sameName(l.name, trim(section));
    } else if (inSection && l.kind == Line::Kind::Entry) {
      bool seen = false;
      for (const auto& e : out) seen = seen || sameName(e.first, l.name);
      if (!seen) out.emplace_back(l.name, l.value);
    }
  }
  return out;
}

}  // namespace rt
