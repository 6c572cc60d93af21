#include "store/key_encoding.h"

#include <cstdint>

#include "runtime/codepage.h"

namespace store {

namespace {

int encodedFieldLength(const FieldDef& f) { return f.size; }

// DECIMAL: the first byte's high nibble is the sign (0xF negative), then 2*size-1 digits.
// Encoded as one nibble 1 (zero or positive) or 0 (negative), then the digits, each complemented
// to 9 - d when negative, so that larger magnitudes of negative numbers sort lower.
void encodeDecimal(const FieldDef& f, const unsigned char* p, std::string& out) {
  const int n = 2 * f.size - 1;
  unsigned char digits[64];
  bool zero = true;
  for (int i = 0; i < n; ++i) {
    int pos = i + 1;  // nibble index, 0 being the sign
    unsigned char b = p[pos / 2];
    unsigned char d = (pos % 2 == 0) ? (b >> 4) : (b & 0x0F);
    if (d > 9) d = 0;
    digits[i] = d;
    if (d != 0) zero = false;
  }
  const bool negative = !zero && (p[0] >> 4) == 0xF;
  unsigned char nibbles[65];
  nibbles[0] = negative ? 0 : 1;
  for (int i = 0; i < n; ++i) nibbles[i + 1] = negative ? static_cast<unsigned char>(9 - digits[i]) : digits[i];
  for (int i = 0; i < f.size; ++i)
    out.push_back(static_cast<char>((nibbles[2 * i] << 4) | nibbles[2 * i + 1]));
}

void encodeField(const FieldDef& f, const unsigned char* rec, bool nocase, std::string& out) {
  const unsigned char* p = rec + f.offset;
  switch (f.type) {
    case FieldType::Byte:
      out.push_back(static_cast<char>(p[0]));
      break;
    case FieldType::UShort:
      out.push_back(static_cast<char>(p[1]));
      out.push_back(static_cast<char>(p[0]));
      break;
    case FieldType::Short:
      out.push_back(static_cast<char>(p[1] ^ 0x80));
      out.push_back(static_cast<char>(p[0]));
      break;
    case FieldType::Long:
      out.push_back(static_cast<char>(p[3] ^ 0x80));
      out.push_back(static_cast<char>(p[2]));
      out.push_back(static_cast<char>(p[1]));
      out.push_back(static_cast<char>(p[0]));
      break;
    case FieldType::ULong:
      out.push_back(static_cast<char>(p[3]));
      out.push_back(static_cast<char>(p[2]));
      out.push_back(static_cast<char>(p[1]));
      out.push_back(static_cast<char>(p[0]));
      break;
    case FieldType::String:
      for (int i = 0; i < f.size; ++i)
        out.push_back(static_cast<char>(nocase ? rt::cp1252Upper(p[i]) : p[i]));
      break;
    case FieldType::Decimal:
      encodeDecimal(f, p, out);
      break;
  }
}

}  // namespace

bool fieldIsBlank(const FieldDef& f, const unsigned char* record) {
  const unsigned char* p = record + f.offset;
  if (f.type == FieldType::String) {
    for (int i = 0; i < f.size; ++i)
      if (p[i] != ' ' && p[i] != 0) return false;
    return true;
  }
  if (f.type == FieldType::Decimal) {
    for (int i = 1; i < 2 * f.size; ++i) {
      unsigned char d = (i % 2 == 0) ? (p[i / 2] >> 4) : (p[i / 2] & 0x0F);
      if (d != 0 && d <= 9) return false;
    }
    return true;
  }
  for (int i = 0; i < f.size; ++i)
    if (p[i] != 0) return false;
  return true;
}

bool encodeKey(const TableDef& def, const KeyDef& key, const unsigned char* record, std::string& out,
               int components) {
  out.clear();
  const int n = components < 0 ? static_cast<int>(key.fields.size()) : components;
  if (key.opt) {
    bool blank = true;
    for (int f : key.fields)
      if (!fieldIsBlank(def.fields[f], record)) {
        blank = false;
        break;
      }
    if (blank) return false;
  }
  out.reserve(encodedKeyLength(def, key, n));
  for (int i = 0; i < n; ++i) encodeField(def.fields[key.fields[i]], record, key.nocase, out);
  return true;
}

int encodedKeyLength(const TableDef& def, const KeyDef& key, int components) {
  const int n = components < 0 ? static_cast<int>(key.fields.size()) : components;
  int len = 0;
  for (int i = 0; i < n; ++i) len += encodedFieldLength(def.fields[key.fields[i]]);
  return len;
}

}  // namespace store
