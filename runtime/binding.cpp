#include "runtime/binding.h"

#include <cstring>
#include <limits>

#include "runtime/fixed_string.h"
#include "runtime/picture.h"

namespace rt {
namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Range of an integer kind, as an inclusive pair.
std::pair<long long, long long> rangeOf(Binding::Kind k) {
  switch (k) {
    case Binding::Kind::Byte: return {0, 255};
    case Binding::Kind::UShort: return {0, 65535};
    case Binding::Kind::Short: return {-32768, 32767};
    case Binding::Kind::Long: return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
    case Binding::Kind::ULong: return {0, std::numeric_limits<std::uint32_t>::max()};
    default: return {0, 0};
  }
}

}  // namespace

Decimal Binding::number() const {
  switch (kind_) {
    case Kind::Byte: return Decimal::fromInt(*static_cast<const std::uint8_t*>(ptr_));
    case Kind::UShort: return Decimal::fromInt(*static_cast<const std::uint16_t*>(ptr_));
    case Kind::Short: return Decimal::fromInt(*static_cast<const std::int16_t*>(ptr_));
    case Kind::Long: return Decimal::fromInt(*static_cast<const std::int32_t*>(ptr_));
    case Kind::ULong: return Decimal::fromInt(*static_cast<const std::uint32_t*>(ptr_));
    case Kind::Decimal:
      return unpackDecimal(static_cast<const std::uint8_t*>(ptr_), static_cast<int>(size_), places_);
    default: {
      auto d = Decimal::parse(rawText());
      return d ? *d : Decimal();
    }
  }
}

std::string Binding::rawText() const {
  switch (kind_) {
    case Kind::String: return std::string(clipped(static_cast<const char*>(ptr_), size_));
    case Kind::CString: {
      const char* p = static_cast<const char*>(ptr_);
      return std::string(p, strnlen(p, size_));
    }
    case Kind::Text: return *static_cast<const std::string*>(ptr_);
    default: return number().toString();
  }
}

std::string Binding::format(const Picture* picture) const {
  if (isNumeric()) {
    Decimal v = number();
    if (!picture) return v.toString();
    switch (picture->kind()) {
      case Picture::Kind::Number: return picture->format(v);
      case Picture::Kind::Date: return picture->formatDate(static_cast<std::int32_t>(v.toLongTruncated()));
      case Picture::Kind::String: return picture->formatString(v.toString());
    }
    return v.toString();
  }
  std::string t = rawText();
  if (!picture) return t;
  if (picture->kind() == Picture::Kind::String) return picture->formatString(t);
  if (picture->kind() == Picture::Kind::Number) {
    if (auto d = Decimal::parse(t)) return picture->format(*d);
  }
  return picture->formatString(t);
}

Binding::StoreResult Binding::storeNumber(const Decimal& v) const {
  if (v.overflowed()) return {false, "Number too large"};
  switch (kind_) {
    case Kind::Byte:
    case Kind::UShort:
    case Kind::Short:
    case Kind::Long:
    case Kind::ULong: {
      Decimal r = v.rounded(0);
      auto [lo, hi] = rangeOf(kind_);
      if (r < Decimal::fromInt(lo) || r > Decimal::fromInt(hi)) return {false, "Number out of range"};
      long long n = r.toLongTruncated();
      switch (kind_) {
        case Kind::Byte: *static_cast<std::uint8_t*>(ptr_) = static_cast<std::uint8_t>(n); break;
        case Kind::UShort: *static_cast<std::uint16_t*>(ptr_) = static_cast<std::uint16_t>(n); break;
        case Kind::Short: *static_cast<std::int16_t*>(ptr_) = static_cast<std::int16_t>(n); break;
        case Kind::Long: *static_cast<std::int32_t*>(ptr_) = static_cast<std::int32_t>(n); break;
        default: *static_cast<std::uint32_t*>(ptr_) = static_cast<std::uint32_t>(n); break;
      }
      return {};
    }
    case Kind::Decimal:
      if (packDecimal(v, static_cast<std::uint8_t*>(ptr_), static_cast<int>(size_), places_) != DecimalStatus::Ok)
        return {false, "Number too large"};
      return {};
    default: return storeText(v.toString());
  }
}

Binding::StoreResult Binding::storeText(std::string_view text) const {
  switch (kind_) {
    case Kind::String: setFixed(static_cast<char*>(ptr_), size_, text); return {};
    case Kind::CString: {
      if (size_ == 0) return {false, "No room for text"};
      std::size_t n = std::min(text.size(), size_ - 1);
      char* p = static_cast<char*>(ptr_);
      std::memcpy(p, text.data(), n);
      std::memset(p + n, 0, size_ - n);
      return {};
    }
    case Kind::Text: *static_cast<std::string*>(ptr_) = std::string(text); return {};
    default: {
      std::string_view t = trim(text);
      if (t.empty()) return storeNumber(Decimal());
      auto d = Decimal::parse(t);
      if (!d) return {false, "Invalid number"};
      return storeNumber(*d);
    }
  }
}

Binding::StoreResult Binding::store(const Picture* picture, std::string_view typed) const {
  if (!picture) return storeText(typed);
  Deformatted d = deformat(*picture, typed);
  if (!d.ok) return {false, d.error.empty() ? std::string("Invalid entry") : d.error};
  switch (picture->kind()) {
    case Picture::Kind::Number:
      return isNumeric() ? storeNumber(d.number) : storeText(d.number.toString());
    case Picture::Kind::Date:
      return isNumeric() ? storeNumber(Decimal::fromInt(d.date)) : storeText(d.text);
    case Picture::Kind::String:
      return storeText(d.text);
  }
  return {false, "Invalid entry"};
}

}  // namespace rt
