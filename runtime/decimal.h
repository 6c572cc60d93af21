#pragma once
// Exact decimal numbers and the packed DECIMAL fields of records.
//
// A Decimal is an unscaled integer and a scale (the number of decimal places, 0..30): 12.50 is
// 1250 at scale 2. Addition and subtraction are exact; multiplication is exact too (the scales
// add) up to 30 places, beyond which the product is rounded half away from zero to 30 places.
// A value holds at most 38 significant digits. An operation whose exact result does not fit
// does not wrap and does not saturate: it yields an *overflowed* Decimal, which stays overflowed
// through further arithmetic, compares unordered with everything (like a NaN), prints as
// "overflow" and is refused by packDecimal. Callers that store results therefore always learn
// about it through the DecimalStatus they must look at.
//
// Decimal is a small value type; it has no shared state and may be used from any thread.

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rt {

class Decimal {
 public:
  static constexpr int kMaxScale = 30;
  static constexpr int kMaxDigits = 38;

  Decimal();  // 0
  static Decimal fromInt(long long v);
  // unscaled / 10^scale. Overflowed when the scale lies outside 0..30 or the value has more than
  // 38 digits.
  static Decimal fromUnscaled(__int128 unscaled, int scale);
  // An overflowed value, for code that must produce one explicitly.
  static Decimal overflow();

  // Plain decimal text: optional blanks, an optional sign, digits with at most one '.', optional
  // blanks ("12.5", "-0.05", "  7 ", "+3", ".5", "5."). No exponent, no grouping. More than 30
  // decimals are rounded half away from zero to 30. nullopt when the text is not such a number
  // or has more than 38 significant digits.
  static std::optional<Decimal> parse(std::string_view text);

  Decimal operator+(const Decimal& o) const;
  Decimal operator-(const Decimal& o) const;
  Decimal operator*(const Decimal& o) const;
  Decimal operator-() const;
  Decimal& operator+=(const Decimal& o) { return *this = *this + o; }
  Decimal& operator-=(const Decimal& o) { return *this = *this - o; }
  Decimal& operator*=(const Decimal& o) { return *this = *this * o; }

  // By value: 1.50 == 1.5. An overflowed operand makes every comparison false except !=.
  std::partial_ordering operator<=>(const Decimal& o) const;
  bool operator==(const Decimal& o) const { return (*this <=> o) == 0; }

  // Rounded (or extended with zeros) to `places` decimals (clamped to 0..30); halves go away
  // from zero: 0.125 -> 0.13, -0.125 -> -0.13.
  Decimal rounded(int places) const;
  Decimal abs() const;

  int scale() const { return scale_; }
  __int128 unscaled() const { return unscaled_; }
  bool isZero() const { return !overflowed_ && unscaled_ == 0; }
  bool isNegative() const { return !overflowed_ && unscaled_ < 0; }
  bool overflowed() const { return overflowed_; }

  // The integer part, truncated toward zero; saturates at the limits of long long (and is 0 for
  // an overflowed value).
  long long toLongTruncated() const;
  double toDouble() const;  // nearest double; NaN when overflowed
  // "-12.50": a '-' for negatives, the integer part (at least "0"), then '.' and exactly
  // scale() digits when the scale is not 0. "overflow" for an overflowed value.
  std::string toString() const;
  std::string toString(int places) const;  // rounded(places).toString()

 private:
  __int128 unscaled_ = 0;
  int scale_ = 0;
  bool overflowed_ = false;
};

enum class DecimalStatus { Ok, Overflow };

// Packed layout of a DECIMAL(bytes, places) field: 2*bytes-1 BCD digits. The high nibble of the
// first byte is the sign (0x0 positive or zero, 0xF negative), then the digits, most significant
// first; the last `places` digits are the decimals. Zero is always stored with sign 0.
//
// Rounds v half away from zero to `places` and packs it. Overflow when it does not fit in
// 2*bytes-1 digits, when v is overflowed, or when the layout itself is impossible (bytes outside
// 1..16, places outside 0..min(30, 2*bytes-1)); `out` is then left unchanged, so a field never
// holds a different number from the one assigned.
[[nodiscard]] DecimalStatus packDecimal(const Decimal& v, std::uint8_t* out, int bytes, int places);

// Reads a packed field. A digit nibble above 9 reads as 0; a sign nibble of 0xF means negative,
// any other sign nibble positive. The result has scale `places`. An impossible layout reads as 0.
Decimal unpackDecimal(const std::uint8_t* in, int bytes, int places);

// A DECIMAL field inside a packed record struct. Zero-filled bytes are the value 0.
template <int Bytes, int Places>
struct PackedDecimal {
  static_assert(Bytes >= 1 && Bytes <= 16, "a DECIMAL field has 1 to 16 bytes");
  static_assert(Places >= 0 && Places <= 2 * Bytes - 1 && Places <= Decimal::kMaxScale,
                "a DECIMAL field cannot have more places than digits");
  std::uint8_t raw[Bytes];  // no other members: sizeof == Bytes

  Decimal value() const { return unpackDecimal(raw, Bytes, Places); }
  // Rounding and overflow as packDecimal; on Overflow the field keeps its old value.
  [[nodiscard]] DecimalStatus assign(const Decimal& v) { return packDecimal(v, raw, Bytes, Places); }
};

}  // namespace rt
