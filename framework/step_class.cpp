#include "framework/step_class.h"

#include <algorithm>
#include <cmath>

#include "framework/record_field.h"
#include "runtime/codepage.h"

namespace fw {

namespace {

double clamp01(double f) {
  if (!(f > 0)) return 0;  // also NaN
  return f > 1 ? 1 : f;
}

}  // namespace

void StepLongClass::SetLimit(const unsigned char* low, const unsigned char* high) {
  low_ = high_ = 0;
  if (!bound_) return;
  if (low) low_ = fieldNumber(field_, low).toDouble();
  if (high) high_ = fieldNumber(field_, high).toDouble();
  if (!low) low_ = high_;
  if (!high) high_ = low_;
}

double StepLongClass::GetPercentile(const unsigned char* record) const {
  if (!bound_ || !(high_ > low_)) return 0;
  return clamp01((fieldNumber(field_, record).toDouble() - low_) / (high_ - low_));
}

void StepLongClass::GetValue(double fraction, unsigned char* record) const {
  if (!bound_) return;
  const double v = std::floor(low_ + clamp01(fraction) * (high_ - low_) + 0.5);
  setFieldNumber(field_, record, rt::Decimal::fromInt(static_cast<long long>(v)));
}

void StepStringClass::Init(std::uint8_t controls, int mode) {
  StepClass::Init(controls);
  steps_.clear();
  for (int c = 32; c < 256; ++c) {
    const auto u = static_cast<unsigned char>(c);
    const bool upperLetter = rt::cp1252Upper(u) == u && rt::cp1252Lower(u) != u;
    bool take;
    switch (mode) {
      case 1: take = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); break;
      case 2: take = rt::cp1252Upper(u) == u && c != 127; break;
      default: take = upperLetter; break;
    }
    if (take) steps_.push_back(static_cast<char>(u));
  }
}

double StepStringClass::GetPercentile(const unsigned char* record) const {
  if (!bound_ || steps_.size() < 2 || field_.type != store::FieldType::String) return 0;
  unsigned char c = record[field_.offset];
  if (nocase_) c = rt::cp1252Upper(c);
  // The last step at or below the character: values before the first step sit at the top.
  const auto it = std::upper_bound(steps_.begin(), steps_.end(), static_cast<char>(c),
                                   [](char a, char b) { return static_cast<unsigned char>(a) < static_cast<unsigned char>(b); });
  if (it == steps_.begin()) return 0;
  const auto i = static_cast<double>(it - steps_.begin() - 1);
  return i / static_cast<double>(steps_.size() - 1);
}

void StepStringClass::GetValue(double fraction, unsigned char* record) const {
  if (!bound_ || steps_.empty() || field_.type != store::FieldType::String) return;
  const auto i = static_cast<size_t>(std::floor(clamp01(fraction) * static_cast<double>(steps_.size() - 1) + 0.5));
  setFieldText(field_, record, std::string(1, steps_[std::min(i, steps_.size() - 1)]));
}

}  // namespace fw
