#pragma once
// Small tables for the tests of views, browses, steps and locators: a fresh working directory per
// test, an invoice-like pair of tables (lines keyed by header and number, articles) and helpers to
// fill them. Header-only; used by framework tests only.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "store/file.h"
#include "store/table_def.h"

namespace browse_test {

// Makes an empty temporary directory the working directory for the test's life.
class TempDir {
 public:
  TempDir() {
    char tmpl[] = "/tmp/fw_browse_XXXXXX";
    const char* p = mkdtemp(tmpl);
    path_ = p ? p : "/tmp";
    previous_ = std::filesystem::current_path().string();
    std::filesystem::current_path(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

 private:
  std::string path_, previous_;
};

#pragma pack(push, 1)
// A line: header number, line number, a name, an amount (signed), an article number.
struct Line {
  std::uint16_t HDR;
  std::uint16_t NUM;
  char NAME[10];
  std::int32_t AMOUNT;
  std::uint16_t ART;
};
struct Article {
  std::uint16_t ID;
  char DESC[12];
};
#pragma pack(pop)

enum LineField { L_HDR, L_NUM, L_NAME, L_AMOUNT, L_ART };
// Keys of LINES: 0 by header and number (unique), 1 by amount (DUP), 2 by name (DUP, OPT, NOCASE),
// 3 by number alone (DUP).
enum LineKey { K_HDRNUM, K_AMOUNT, K_NAME, K_NUM };

inline const store::TableDef& linesDef() {
  static const store::TableDef def = [] {
    store::TableDef d;
    d.label = "LINES";
    d.prefix = "LIN";
    d.record_size = sizeof(Line);
    using T = store::FieldType;
    d.fields = {{"HDR", T::UShort, 0, 2, 0},
                {"NUM", T::UShort, 2, 2, 0},
                {"NAME", T::String, 4, 10, 0},
                {"AMOUNT", T::Long, 14, 4, 0},
                {"ART", T::UShort, 18, 2, 0}};
    store::KeyDef k0{"BYHDRNUM", {L_HDR, L_NUM}, true, false, false, false};
    store::KeyDef k1{"BYAMOUNT", {L_AMOUNT}, false, true, false, false};
    store::KeyDef k2{"BYNAME", {L_NAME}, false, true, true, true};
    store::KeyDef k3{"BYNUM", {L_NUM}, false, true, false, false};
    d.keys = {k0, k1, k2, k3};
    return d;
  }();
  return def;
}

inline const store::TableDef& articlesDef() {
  static const store::TableDef def = [] {
    store::TableDef d;
    d.label = "ARTICLES";
    d.prefix = "ART";
    d.record_size = sizeof(Article);
    using T = store::FieldType;
    d.fields = {{"ID", T::UShort, 0, 2, 0}, {"DESC", T::String, 2, 12, 0}};
    d.keys = {store::KeyDef{"BYID", {0}, true, false, true, false}};
    return d;
  }();
  return def;
}

inline void setText(char* field, std::size_t n, const std::string& s) {
  std::memset(field, ' ', n);
  std::memcpy(field, s.data(), std::min(n, s.size()));
}

inline Line line(int hdr, int num, const std::string& name, int amount, int art = 0) {
  Line l;
  std::memset(&l, 0, sizeof l);
  l.HDR = static_cast<std::uint16_t>(hdr);
  l.NUM = static_cast<std::uint16_t>(num);
  setText(l.NAME, sizeof l.NAME, name);
  l.AMOUNT = amount;
  l.ART = static_cast<std::uint16_t>(art);
  return l;
}

inline std::string text(const char* field, std::size_t n) {
  std::string s(field, n);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
  return s;
}

}  // namespace browse_test
