#include "framework/ini_class.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "runtime/ini_file.h"

namespace fw {
namespace {

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

std::string_view trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

// The file a name stands for: backslashes as on the system the names were written for, and a
// relative name anchored in today's working directory.
std::string resolvePath(std::string_view file_name) {
  std::string name(file_name);
  std::replace(name.begin(), name.end(), '\\', '/');
  std::filesystem::path p(name);
  if (p.is_relative()) {
    std::error_code ec;
    const std::filesystem::path cwd = std::filesystem::current_path(ec);
    if (!ec) p = cwd / p;
  }
  return p.lexically_normal().string();
}

bool parseInt(std::string_view text, int& out) {
  text = trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return false;
  out = value;
  return true;
}

}  // namespace

bool INIClass::Init(std::string_view file_name, int storage_type, std::string_view /*extra*/) {
  if (storage_type != Storage_IniFile || trim(file_name).empty()) return false;
  std::lock_guard lock(mutex_);
  path_ = resolvePath(trim(file_name));
  initialized_ = true;
  sections_.clear();
  const std::string list = rt::IniFile(path_).get(kSectionList, kSectionListEntry, "");
  std::string_view rest = list;
  while (!rest.empty()) {
    const auto sep = rest.find(kSectionSeparator);
    recordSectionLocked(trim(rest.substr(0, sep)));
    rest = sep == std::string_view::npos ? std::string_view() : rest.substr(sep + 1);
  }
  return true;
}

bool INIClass::Kill() {
  std::lock_guard lock(mutex_);
  if (!initialized_) return false;
  std::string list;
  for (const std::string& s : sections_) {
    if (!list.empty()) list += kSectionSeparator;
    list += s;
  }
  const bool ok = rt::IniFile(path_).set(kSectionList, kSectionListEntry, list);
  initialized_ = false;
  path_.clear();
  sections_.clear();
  return ok;
}

void INIClass::recordSectionLocked(std::string_view section) {
  if (section.empty() || sameName(section, kSectionList)) return;
  // A name holding the separator could not be read back as one name: such a section is still
  // written, but not listed.
  if (section.find(kSectionSeparator) != std::string_view::npos) return;
  for (const std::string& s : sections_) {
    if (sameName(s, section)) return;
  }
  sections_.emplace_back(section);
}

bool INIClass::writeLocked(std::string_view section, std::string_view entry,
                           std::string_view value) {
  if (!initialized_ || trim(section).empty() || sameName(trim(section), kSectionList)) {
    return false;
  }
  if (!rt::IniFile(path_).set(section, entry, value)) return false;
  recordSectionLocked(trim(section));
  return true;
}

std::string INIClass::Fetch(std::string_view section, std::string_view entry,
                            std::string_view def) {
  std::lock_guard lock(mutex_);
  if (!initialized_) return std::string(def);
  return rt::IniFile(path_).get(section, entry, def);
}

bool INIClass::Update(std::string_view section, std::string_view entry, std::string_view value) {
  std::lock_guard lock(mutex_);
  return writeLocked(section, entry, value);
}

void INIClass::Update() {}

bool INIClass::Fetch(std::string_view procedure, WindowPlacement& placement) {
  std::lock_guard lock(mutex_);
  if (!initialized_) return false;
  const rt::IniFile file(path_);
  WindowPlacement read;
  if (!parseInt(file.get(procedure, "XPos", ""), read.x) ||
      !parseInt(file.get(procedure, "YPos", ""), read.y) ||
      !parseInt(file.get(procedure, "Width", ""), read.width) ||
      !parseInt(file.get(procedure, "Height", ""), read.height) || read.width <= 0 ||
      read.height <= 0) {
    return false;
  }
  read.maximized = sameName(trim(file.get(procedure, "Maximize", "No")), "Yes");
  read.minimized = sameName(trim(file.get(procedure, "Minimize", "No")), "Yes");
  placement = read;
  return true;
}

bool INIClass::Update(std::string_view procedure, const WindowPlacement& placement) {
  std::lock_guard lock(mutex_);
  return writeLocked(procedure, "Maximize", placement.maximized ? "Yes" : "No") &&
         writeLocked(procedure, "Minimize", placement.minimized ? "Yes" : "No") &&
         writeLocked(procedure, "XPos", std::to_string(placement.x)) &&
         writeLocked(procedure, "YPos", std::to_string(placement.y)) &&
         writeLocked(procedure, "Width", std::to_string(placement.width)) &&
         writeLocked(procedure, "Height", std::to_string(placement.height));
}

std::vector<std::string> INIClass::Sections() const {
  std::lock_guard lock(mutex_);
  return sections_;
}

std::string INIClass::FileName() const {
  std::lock_guard lock(mutex_);
  return path_;
}

}  // namespace fw
