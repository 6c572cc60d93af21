#include "framework/locator_class.h"

#include <string>

#include "framework/record_field.h"
#include "runtime/codepage.h"

namespace fw {

bool StepLocatorClass::BeginsWith(const unsigned char* record, char c) const {
  if (!bound_) return false;
  const std::string t = fieldText(field_, record);
  if (t.empty()) return false;
  auto a = static_cast<unsigned char>(t[0]);
  auto b = static_cast<unsigned char>(c);
  if (NoCase) {
    a = rt::cp1252Upper(a);
    b = rt::cp1252Upper(b);
  }
  return a == b;
}

bool StepLocatorClass::SeekValue(char c, unsigned char* record) const {
  if (!bound_) return false;
  if (fieldIsNumeric(field_)) {
    if (c < '0' || c > '9') return false;
    setFieldNumber(field_, record, rt::Decimal::fromInt(c - '0'));
    return true;
  }
  setFieldText(field_, record, std::string(1, c));
  return true;
}

}  // namespace fw
