#include "runtime/picture.h"

#include <cstdio>

#include "runtime/date.h"

namespace rt {
namespace {

constexpr int kMaxNumberWidth = 255;
constexpr int kMaxStringWidth = 32767;
constexpr int kDateWidth = 10;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Reads a run of digits (at most 6) into out; false when there is none.
bool readCount(std::string_view& t, int& out) {
  std::size_t n = 0;
  int v = 0;
  while (n < t.size() && isDigit(t[n])) {
    if (n == 6) return false;
    v = v * 10 + (t[n] - '0');
    ++n;
  }
  if (n == 0) return false;
  t.remove_prefix(n);
  out = v;
  return true;
}

std::string_view trimBlanks(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool allDigits(std::string_view s) {
  for (char c : s) {
    if (!isDigit(c)) return false;
  }
  return true;
}

// "1,234,567": a first group of one to three digits, then groups of exactly three.
bool isGrouped(std::string_view s) {
  std::size_t comma = s.find(',');
  if (comma == std::string_view::npos || comma == 0 || comma > 3) return false;
  if (!allDigits(s.substr(0, comma))) return false;
  s.remove_prefix(comma);
  while (!s.empty()) {
    if (s.size() < 4 || s[0] != ',' || !allDigits(s.substr(1, 3))) return false;
    s.remove_prefix(4);
  }
  return true;
}

std::string removeCommas(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c != ',') out.push_back(c);
  }
  return out;
}

std::string groupThousands(std::string_view digits) {
  std::string out;
  const std::size_t n = digits.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out.push_back(',');
    out.push_back(digits[i]);
  }
  return out;
}

std::string cut(std::string_view s, int width) {
  return std::string(s.substr(0, static_cast<std::size_t>(width)));
}

Deformatted refuse(std::string_view reason) {
  Deformatted d;
  d.error = std::string(reason);
  return d;
}

}  // namespace

std::optional<Picture> Picture::parse(std::string_view t) {
  if (!t.empty() && t.front() == '@') t.remove_prefix(1);
  if (t.empty()) return std::nullopt;
  Picture p;
  const char kind = lower(t.front());
  t.remove_prefix(1);
  auto takeB = [&] {
    if (!t.empty() && lower(t.front()) == 'b') {
      p.blank_ = true;
      t.remove_prefix(1);
    }
  };
  switch (kind) {
    case 'n': {
      p.kind_ = Kind::Number;
      for (;;) {
        if (t.empty()) return std::nullopt;
        const char c = t.front();
        if (c == '-' && !p.signed_) {
          p.signed_ = true;
        } else if (c == '_' && !p.noGrouping_) {
          p.noGrouping_ = true;
        } else if (c == '0' && t.size() > 1 && isDigit(t[1]) && !p.zeroFill_) {
          p.zeroFill_ = true;
        } else {
          break;
        }
        t.remove_prefix(1);
      }
      if (!readCount(t, p.width_)) return std::nullopt;
      if (!t.empty() && t.front() == '.') {
        t.remove_prefix(1);
        if (!readCount(t, p.places_)) return std::nullopt;
      }
      takeB();
      if (p.width_ < 1 || p.width_ > kMaxNumberWidth || p.places_ > Decimal::kMaxScale) {
        return std::nullopt;
      }
      if (p.places_ > 0 && p.width_ < p.places_ + 2) return std::nullopt;
      break;
    }
    case 's':
      p.kind_ = Kind::String;
      if (!readCount(t, p.width_) || p.width_ < 1 || p.width_ > kMaxStringWidth) {
        return std::nullopt;
      }
      break;
    case 'd': {
      p.kind_ = Kind::Date;
      int number = 0;
      if (!readCount(t, number) || number != 6) return std::nullopt;
      p.width_ = kDateWidth;
      takeB();
      break;
    }
    default:
      return std::nullopt;
  }
  if (!t.empty()) return std::nullopt;
  return p;
}

std::string Picture::text() const {
  std::string s = "@";
  switch (kind_) {
    case Kind::Number:
      s += 'n';
      if (signed_) s += '-';
      if (noGrouping_) s += '_';
      if (zeroFill_) s += '0';
      s += std::to_string(width_);
      if (places_ > 0) s += '.' + std::to_string(places_);
      break;
    case Kind::String:
      return s + 's' + std::to_string(width_);
    case Kind::Date:
      s += "d6";
      break;
  }
  if (blank_) s += 'B';
  return s;
}

// The display of a number, or '#' * width when it does not fit.
std::string Picture::formatNumber(const Decimal& v) const {
  const std::string overflow(static_cast<std::size_t>(width_), '#');
  const Decimal r = v.rounded(places_);
  if (r.overflowed()) return overflow;
  if (blank_ && r.isZero()) return std::string(static_cast<std::size_t>(width_), ' ');
  const std::string plain = r.abs().toString();  // "1234.50"
  const std::size_t point = plain.find('.');
  const std::string_view whole = std::string_view(plain).substr(0, point);
  const std::string_view decimals =
      point == std::string::npos ? std::string_view() : std::string_view(plain).substr(point);
  const std::string sign = r.isNegative() ? "-" : "";
  const std::size_t width = static_cast<std::size_t>(width_);
  if (zeroFill_) {
    const std::size_t used = sign.size() + plain.size();
    if (used > width) return overflow;
    return sign + std::string(width - used, '0') + plain;
  }
  std::string shown;
  if (groupsThousands()) shown = sign + groupThousands(whole) + std::string(decimals);
  if (shown.empty() || shown.size() > width) shown = sign + plain;
  if (shown.size() > width) return overflow;
  return std::string(width - shown.size(), ' ') + shown;
}

std::string Picture::format(const Decimal& v) const {
  switch (kind_) {
    case Kind::Number:
      return formatNumber(v);
    case Kind::Date: {
      if (v.overflowed()) return formatDate(-1);
      const long long day = v.toLongTruncated();
      return formatDate(day < 0 || day > kLastDate ? -1 : static_cast<std::int32_t>(day));
    }
    case Kind::String:
      return cut(v.toString(), width_);
  }
  return {};
}

std::string Picture::format(long long v) const { return format(Decimal::fromInt(v)); }

std::string Picture::formatString(std::string_view cp1252) const {
  if (kind_ == Kind::Number) {
    if (auto number = Decimal::parse(cp1252)) return formatNumber(*number);
  }
  return cut(cp1252, width_);
}

std::string Picture::formatDate(std::int32_t day) const {
  if (kind_ == Kind::Number) return formatNumber(Decimal::fromInt(day));
  if (kind_ == Kind::String) return cut(std::to_string(day), width_);
  if (day == 0) return std::string(kDateWidth, ' ');
  if (!isValidDate(day)) return std::string(kDateWidth, '#');
  const Ymd d = ymdFromDate(day);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.day, d.month, d.year);
  return buf;
}

int expandTwoDigitYear(int yy, int currentYear) {
  const int first = currentYear - 80;
  int year = first - first % 100 + yy;
  if (year < first) year += 100;
  return year;
}

namespace {

Deformatted deformatNumber(const Picture& p, std::string_view typed) {
  std::string_view s = trimBlanks(typed);
  Decimal value;
  if (!s.empty()) {
    bool negative = false;
    if (s.front() == '-' || s.front() == '+') {
      negative = s.front() == '-';
      s.remove_prefix(1);
    }
    std::string whole, decimals;
    const std::size_t point = s.find('.');
    if (point != std::string_view::npos) {
      const std::string_view before = s.substr(0, point);
      const std::string_view after = s.substr(point + 1);
      if (!allDigits(after)) return refuse(kInvalidNumber);
      if (before.find(',') != std::string_view::npos) {
        if (!isGrouped(before)) return refuse(kInvalidNumber);
        whole = removeCommas(before);
      } else {
        if (!allDigits(before)) return refuse(kInvalidNumber);
        whole = std::string(before);
      }
      decimals = std::string(after);
    } else {
      const std::size_t comma = s.find(',');
      if (comma == std::string_view::npos) {
        if (!allDigits(s)) return refuse(kInvalidNumber);
        whole = std::string(s);
      } else if (isGrouped(s)) {
        whole = removeCommas(s);
      } else if (s.find(',', comma + 1) == std::string_view::npos &&
                 allDigits(s.substr(0, comma)) && allDigits(s.substr(comma + 1))) {
        whole = std::string(s.substr(0, comma));  // a decimal comma
        decimals = std::string(s.substr(comma + 1));
      } else {
        return refuse(kInvalidNumber);
      }
    }
    if (whole.empty() && decimals.empty()) return refuse(kInvalidNumber);
    auto parsed = Decimal::parse(whole + "." + decimals);
    if (!parsed) return refuse(kNumberTooLarge);  // only digits left: too many of them
    value = negative ? -*parsed : *parsed;
  }
  const Decimal r = value.rounded(p.places());
  if (r.overflowed()) return refuse(kNumberTooLarge);
  if (r.isNegative() && !p.acceptsNegative()) return refuse(kNegativeNotAllowed);
  std::string shown = p.format(r);
  if (!shown.empty() && shown.front() == '#') return refuse(kNumberTooLarge);
  Deformatted d;
  d.ok = true;
  d.number = r;
  d.text = std::move(shown);
  return d;
}

// Reads a run of 1..maxLen digits as a number.
bool readField(std::string_view s, std::size_t minLen, std::size_t maxLen, int& out) {
  if (s.size() < minLen || s.size() > maxLen || !allDigits(s)) return false;
  out = 0;
  for (char c : s) out = out * 10 + (c - '0');
  return true;
}

Deformatted deformatDate(const Picture& p, std::string_view typed) {
  std::string_view s = trimBlanks(typed);
  std::int32_t day = 0;
  if (!s.empty()) {
    std::string_view dd, mm, yy;
    const std::size_t first = s.find_first_of("/-.");
    if (first != std::string_view::npos) {
      const char sep = s[first];
      const std::size_t second = s.find(sep, first + 1);
      if (second == std::string_view::npos) return refuse(kInvalidDate);
      dd = s.substr(0, first);
      mm = s.substr(first + 1, second - first - 1);
      yy = s.substr(second + 1);
    } else if (s.size() == 8 || s.size() == 6) {
      dd = s.substr(0, 2);
      mm = s.substr(2, 2);
      yy = s.substr(4);
    } else {
      return refuse(kInvalidDate);
    }
    int d = 0, m = 0, y = 0;
    if (!readField(dd, 1, 2, d) || !readField(mm, 1, 2, m) || !readField(yy, 2, 4, y) ||
        yy.size() == 3) {
      return refuse(kInvalidDate);
    }
    if (yy.size() == 2) {
      const Ymd now = ymdFromDate(today());
      y = expandTwoDigitYear(y, now.year != 0 ? now.year : 2000);
    }
    day = dateFromYmd(y, m, d);
    if (day == 0) return refuse(kInvalidDate);
  }
  Deformatted out;
  out.ok = true;
  out.date = day;
  out.text = p.formatDate(day);
  return out;
}

}  // namespace

Deformatted deformat(const Picture& p, std::string_view typed) {
  switch (p.kind()) {
    case Picture::Kind::Number:
      return deformatNumber(p, typed);
    case Picture::Kind::Date:
      return deformatDate(p, typed);
    case Picture::Kind::String: {
      Deformatted d;
      d.ok = true;
      d.text = cut(typed, p.width());
      return d;
    }
  }
  return refuse(kInvalidNumber);
}

}  // namespace rt
