#include "framework/record_field.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "runtime/codepage.h"

namespace fw {

using store::FieldDef;
using store::FieldType;

namespace {

template <class T>
T load(const unsigned char* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

template <class T>
void storeInt(unsigned char* p, long long v) {
  const long long lo = static_cast<long long>(std::numeric_limits<T>::min());
  const long long hi = static_cast<long long>(std::numeric_limits<T>::max());
  const T t = static_cast<T>(std::clamp(v, lo, hi));
  std::memcpy(p, &t, sizeof t);
}

// The largest magnitude a DECIMAL field of this layout holds, as unscaled digits.
rt::Decimal decimalLimit(const FieldDef& f, bool negative) {
  __int128 u = 0;
  for (int i = 0; i < 2 * f.size - 1; ++i) u = u * 10 + 9;
  return rt::Decimal::fromUnscaled(negative ? -u : u, f.places);
}

}  // namespace

bool fieldIsNumeric(const FieldDef& f) { return f.type != FieldType::String; }

rt::Decimal fieldNumber(const FieldDef& f, const unsigned char* record) {
  const unsigned char* p = record + f.offset;
  switch (f.type) {
    case FieldType::Byte: return rt::Decimal::fromInt(p[0]);
    case FieldType::UShort: return rt::Decimal::fromInt(load<std::uint16_t>(p));
    case FieldType::Short: return rt::Decimal::fromInt(load<std::int16_t>(p));
    case FieldType::Long: return rt::Decimal::fromInt(load<std::int32_t>(p));
    case FieldType::ULong: return rt::Decimal::fromInt(load<std::uint32_t>(p));
    case FieldType::Decimal: return rt::unpackDecimal(p, f.size, f.places);
    case FieldType::String: break;
  }
  return rt::Decimal();
}

std::string fieldText(const FieldDef& f, const unsigned char* record) {
  if (f.type == FieldType::String) return std::string(reinterpret_cast<const char*>(record + f.offset), f.size);
  return fieldNumber(f, record).toString();
}

void setFieldNumber(const FieldDef& f, unsigned char* record, const rt::Decimal& v) {
  unsigned char* p = record + f.offset;
  const long long i = v.toLongTruncated();
  switch (f.type) {
    case FieldType::Byte: storeInt<std::uint8_t>(p, i); break;
    case FieldType::UShort: storeInt<std::uint16_t>(p, i); break;
    case FieldType::Short: storeInt<std::int16_t>(p, i); break;
    case FieldType::Long: storeInt<std::int32_t>(p, i); break;
    case FieldType::ULong: storeInt<std::uint32_t>(p, i); break;
    case FieldType::Decimal: {
      rt::Decimal d = v;
      const rt::Decimal hi = decimalLimit(f, false), lo = decimalLimit(f, true);
      if (d > hi) d = hi;
      if (d < lo) d = lo;
      if (rt::packDecimal(d, p, f.size, f.places) != rt::DecimalStatus::Ok)
        (void)rt::packDecimal(rt::Decimal(), p, f.size, f.places);
      break;
    }
    case FieldType::String: break;
  }
}

void setFieldText(const FieldDef& f, unsigned char* record, std::string_view text) {
  if (f.type == FieldType::String) {
    unsigned char* p = record + f.offset;
    const size_t n = std::min<size_t>(text.size(), static_cast<size_t>(f.size));
    std::memcpy(p, text.data(), n);
    std::memset(p + n, ' ', static_cast<size_t>(f.size) - n);
    return;
  }
  setFieldNumber(f, record, rt::Decimal::parse(text).value_or(rt::Decimal()));
}

void setFieldLowest(const FieldDef& f, unsigned char* record) {
  unsigned char* p = record + f.offset;
  switch (f.type) {
    case FieldType::Short: storeInt<std::int16_t>(p, std::numeric_limits<std::int16_t>::min()); break;
    case FieldType::Long: storeInt<std::int32_t>(p, std::numeric_limits<std::int32_t>::min()); break;
    case FieldType::Decimal: (void)rt::packDecimal(decimalLimit(f, true), p, f.size, f.places); break;
    default: std::memset(p, 0, static_cast<size_t>(f.size)); break;
  }
}

int compareField(const FieldDef& f, const unsigned char* a, const unsigned char* b, bool nocase) {
  if (f.type != FieldType::String) {
    const auto c = fieldNumber(f, a) <=> fieldNumber(f, b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
  }
  const unsigned char* x = a + f.offset;
  const unsigned char* y = b + f.offset;
  for (int i = 0; i < f.size; ++i) {
    const unsigned char cx = nocase ? rt::cp1252Upper(x[i]) : x[i];
    const unsigned char cy = nocase ? rt::cp1252Upper(y[i]) : y[i];
    if (cx != cy) return cx < cy ? -1 : 1;
  }
  return 0;
}

void clearRecord(const store::TableDef& def, unsigned char* record) {
  std::memset(record, 0, static_cast<size_t>(def.record_size));
  for (const FieldDef& f : def.fields)
    if (f.type == FieldType::String) std::memset(record + f.offset, ' ', static_cast<size_t>(f.size));
}

int fieldIndexAt(const store::TableDef& def, const void* buffer, const void* address) {
  const auto off = static_cast<const unsigned char*>(address) - static_cast<const unsigned char*>(buffer);
  for (size_t i = 0; i < def.fields.size(); ++i)
    if (def.fields[i].offset == off) return static_cast<int>(i);
  return -1;
}

}  // namespace fw
