#include "runtime/list_format.h"

#include <algorithm>
#include <cctype>

#include "runtime/picture.h"
#include "runtime/runtime_state.h"

namespace rt {
namespace {

bool readInt(const std::string& s, std::size_t& i, int& out) {
  std::size_t start = i;
  int v = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
    v = v * 10 + (s[i] - '0');
    if (v > 100000) return false;
    ++i;
  }
  out = v;
  return i > start;
}

// "(n)" after a letter; absent is fine.
bool readParen(const std::string& s, std::size_t& i, int& out) {
  if (i >= s.size() || s[i] != '(') return true;
  ++i;
  bool neg = i < s.size() && s[i] == '-';
  if (neg) ++i;
  if (!readInt(s, i, out) || i >= s.size() || s[i] != ')') return false;
  if (neg) out = -out;
  ++i;
  return true;
}

bool isAlign(char c) { return c == 'L' || c == 'R' || c == 'C' || c == 'D'; }

}  // namespace

std::optional<std::vector<ListColumnView>> parseListFormat(const std::string& s) {
  std::vector<ListColumnView> cols;
  std::size_t i = 0;
  while (i < s.size()) {
    ListColumnView col;
    if (!readInt(s, i, col.width)) return std::nullopt;
    if (i < s.size() && isAlign(static_cast<char>(std::toupper(static_cast<unsigned char>(s[i]))))) {
      col.align = static_cast<char>(std::toupper(static_cast<unsigned char>(s[i++])));
      if (!readParen(s, i, col.indent)) return std::nullopt;
    }
    bool header_align_given = false;
    bool has_header = false;
    while (i < s.size()) {
      char c = s[i];
      if (std::isdigit(static_cast<unsigned char>(c))) break;  // the next column
      if (c == '@') {
        std::size_t end = s.find('@', i + 1);
        if (end == std::string::npos) return std::nullopt;
        col.picture = s.substr(i, end - i);  // with its leading '@'
        i = end + 1;
        break;  // a picture ends the column
      }
      if (c == '|') { col.right_border = true; ++i; continue; }
      if (c == '~') {
        std::size_t end = s.find('~', i + 1);
        if (end == std::string::npos) return std::nullopt;
        col.header = s.substr(i + 1, end - i - 1);
        has_header = true;
        i = end + 1;
        if (i < s.size() && isAlign(s[i])) {
          col.header_align = s[i++];
          header_align_given = true;
          int ignored = 0;
          if (!readParen(s, i, ignored)) return std::nullopt;
        }
        continue;
      }
      if (c == '#') {  // #n# field number
        std::size_t end = s.find('#', i + 1);
        if (end == std::string::npos) return std::nullopt;
        i = end + 1;
        continue;
      }
      if (std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '/' || c == '*' || c == '?') {
        char up = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (up == 'M') col.resizable = true;
        ++i;
        int ignored = 0;
        if (!readParen(s, i, ignored)) return std::nullopt;
        continue;
      }
      return std::nullopt;
    }
    if (!header_align_given) col.header_align = col.align == 'D' ? 'R' : col.align;
    (void)has_header;
    cols.push_back(std::move(col));
  }
  return cols;
}

std::string formatCell(const ListColumnView& col, const std::string& value) {
  if (col.picture.empty()) return value;
  std::optional<Picture> p = Picture::parse(col.picture);
  if (!p) return value;
  switch (p->kind()) {
    case Picture::Kind::String: return p->formatString(value);
    case Picture::Kind::Number: {
      auto d = Decimal::parse(value.empty() ? std::string_view("0") : std::string_view(value));
      return d ? p->format(*d) : p->formatString(value);
    }
    case Picture::Kind::Date: {
      auto d = Decimal::parse(value.empty() ? std::string_view("0") : std::string_view(value));
      return d ? p->formatDate(static_cast<std::int32_t>(d->toLongTruncated())) : p->formatString(value);
    }
  }
  return value;
}

namespace detail {

int visibleRows(const ControlModel& c) {
  int row_h = c.v.row_height > 0 ? c.v.row_height : 10;
  bool header = false;
  for (const auto& col : c.v.columns) header = header || !col.header.empty();
  int h = c.v.pos.h - (header ? row_h : 0);
  return std::max(1, h / row_h);
}

}  // namespace detail
}  // namespace rt
