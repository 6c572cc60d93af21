#pragma once
// Steps: the scroll thumb of a page-loaded list, computed from key values instead of row counts.
//
// A browse holds only the visible page, so it cannot say how many rows lie above it. A step
// object maps the value of the sort order's leading field (the first key component after the
// range) to a fraction 0..1 of the thumb (GetPercentile), and a fraction where the user dropped
// the thumb back to a value to seek to (GetValue). Both are monotonic: a larger value never gives
// a smaller fraction and a larger fraction never a smaller value.
//
//   StepLongClass    numbers: the fraction is where the value lies between the lowest and the
//                    highest value of the list (SetLimit, from its first and last rows).
//   StepStringClass  text: the fraction is where the value's first character lies among a fixed
//                    set of step characters chosen at Init by a mode (3: the upper-case letters of
//                    the Windows-1252 character set).
//
// The browse binds the step to its field (SetField) when the sort order is added. `Controls` is
// kept as given at Init for the browse and its scroll bar; no behaviour here depends on it.
//
// Plain objects owned by a window procedure; used on its thread only.

#include <cstdint>
#include <string>

#include "store/table_def.h"

namespace fw {

class StepClass {
 public:
  virtual ~StepClass() = default;

  std::uint8_t Controls = 0;

  void Init(std::uint8_t controls) { Controls = controls; }
  // The field whose value the step reads and writes, and whether its key ignores case.
  void SetField(const store::FieldDef& field, bool nocase) {
    field_ = field;
    nocase_ = nocase;
    bound_ = true;
  }
  bool Bound() const { return bound_; }

  // The records of the list's first and last rows (either may be null when the list is empty).
  virtual void SetLimit(const unsigned char* low, const unsigned char* high) = 0;
  // Where a record's value puts the thumb, 0..1.
  virtual double GetPercentile(const unsigned char* record) const = 0;
  // Writes into `record`'s field the value a thumb dropped at `fraction` (0..1) stands for.
  virtual void GetValue(double fraction, unsigned char* record) const = 0;

 protected:
  store::FieldDef field_;
  bool nocase_ = false;
  bool bound_ = false;
};

class StepLongClass : public StepClass {
 public:
  void SetLimit(const unsigned char* low, const unsigned char* high) override;
  double GetPercentile(const unsigned char* record) const override;
  void GetValue(double fraction, unsigned char* record) const override;

 private:
  double low_ = 0, high_ = 0;
};

class StepStringClass : public StepClass {
 public:
  // Modes: 1 digits and the letters A to Z; 2 every printable character (32 to 255, letters
  // folded to upper case); 3 the upper-case letters of the Windows-1252 character set (A to Z and
  // the accented capitals). Any other mode is taken as 3.
  void Init(std::uint8_t controls, int mode);
  const std::string& Steps() const { return steps_; }

  void SetLimit(const unsigned char*, const unsigned char*) override {}
  double GetPercentile(const unsigned char* record) const override;
  void GetValue(double fraction, unsigned char* record) const override;

 private:
  std::string steps_;  // ascending by byte value, as a case-insensitive key orders them
};

}  // namespace fw
