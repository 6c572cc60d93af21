#include "tools/field_text.h"

#include <charconv>
#include <cstdint>
#include <cstring>

#include "runtime/codepage.h"
#include "runtime/decimal.h"

namespace tpstool {

using store::FieldDef;
using store::FieldType;

namespace {

long long readInteger(const FieldDef& f, const unsigned char* p) {
  switch (f.type) {
    case FieldType::Byte: return p[0];
    case FieldType::UShort: return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    case FieldType::Short: return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
    case FieldType::Long:
      return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                       (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
    case FieldType::ULong:
      return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
             (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    default: return 0;
  }
}

void integerRange(FieldType t, long long& lo, long long& hi) {
  switch (t) {
    case FieldType::Byte: lo = 0; hi = 255; break;
    case FieldType::UShort: lo = 0; hi = 65535; break;
    case FieldType::Short: lo = -32768; hi = 32767; break;
    case FieldType::Long: lo = -2147483648LL; hi = 2147483647LL; break;
    default: lo = 0; hi = 4294967295LL; break;
  }
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::string fieldToText(const FieldDef& f, const unsigned char* record) {
  const unsigned char* p = record + f.offset;
  if (f.type == FieldType::String) {
    size_t n = f.size;
    while (n > 0 && (p[n - 1] == ' ' || p[n - 1] == 0)) --n;
    return rt::cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(p), n));
  }
  if (f.type == FieldType::Decimal) return rt::unpackDecimal(p, f.size, f.places).toString();
  return std::to_string(readInteger(f, p));
}

bool textToField(const FieldDef& f, std::string_view text, unsigned char* record, std::string& error) {
  unsigned char* p = record + f.offset;
  if (f.type == FieldType::String) {
    bool lossy = false;
    std::string cp = rt::utf8ToCp1252(text, &lossy);
    if (lossy) {
      error = "text that Windows-1252 cannot hold";
      return false;
    }
    if (cp.size() > static_cast<size_t>(f.size)) {
      error = "text longer than " + std::to_string(f.size) + " characters";
      return false;
    }
    std::memset(p, ' ', f.size);
    std::memcpy(p, cp.data(), cp.size());
    return true;
  }
  const std::string_view t = trimmed(text);
  if (f.type == FieldType::Decimal) {
    std::optional<rt::Decimal> v = t.empty() ? rt::Decimal() : rt::Decimal::parse(t);
    if (!v) {
      error = "'" + std::string(text) + "' is not a number";
      return false;
    }
    if (v->rounded(f.places) != *v) {
      error = "'" + std::string(text) + "' has more than " + std::to_string(f.places) + " decimal places";
      return false;
    }
    if (rt::packDecimal(*v, p, f.size, f.places) != rt::DecimalStatus::Ok) {
      error = "'" + std::string(text) + "' does not fit in the field";
      return false;
    }
    return true;
  }
  long long v = 0;
  if (!t.empty()) {
    std::string_view digits = t;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
      error = "'" + std::string(text) + "' is not a whole number";
      return false;
    }
  }
  long long lo, hi;
  integerRange(f.type, lo, hi);
  if (v < lo || v > hi) {
    error = std::to_string(v) + " is outside " + std::to_string(lo) + ".." + std::to_string(hi);
    return false;
  }
  const unsigned long long u = static_cast<unsigned long long>(v);
  for (int i = 0; i < f.size; ++i) p[i] = static_cast<unsigned char>((u >> (8 * i)) & 0xFF);
  return true;
}

}  // namespace tpstool
