#include "runtime/decimal.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace rt {
namespace {

using i128 = __int128;
using u128 = unsigned __int128;

constexpr i128 pow10(int k) {
  i128 p = 1;
  for (int i = 0; i < k; ++i) p *= 10;
  return p;
}

constexpr i128 kLimit = pow10(Decimal::kMaxDigits);  // magnitudes stay below this

bool fits(i128 v) { return v < kLimit && v > -kLimit; }

// v / 10^k rounded half away from zero.
i128 divRound(i128 v, int k) {
  if (k <= 0) return v;
  if (k > Decimal::kMaxDigits) return 0;  // |v| < 10^38 <= 10^k / 2
  const i128 p = pow10(k);
  i128 q = v / p;
  i128 r = v % p;
  if (r < 0) r = -r;
  if (r * 2 >= p) q += v < 0 ? -1 : 1;
  return q;
}

// v * 10^k, or nullopt when the result leaves the 38-digit range.
std::optional<i128> scaleUp(i128 v, int k) {
  if (k <= 0) return v;
  if (k > Decimal::kMaxDigits) return v == 0 ? std::optional<i128>(0) : std::nullopt;
  i128 r;
  if (__builtin_mul_overflow(v, pow10(k), &r) || !fits(r)) return std::nullopt;
  return r;
}

// Removes trailing zero decimals without changing the value.
void normalise(i128& v, int& scale) {
  while (scale > 0 && v % 10 == 0) {
    v /= 10;
    --scale;
  }
}

}  // namespace

Decimal::Decimal() = default;

Decimal Decimal::fromInt(long long v) {
  Decimal d;
  d.unscaled_ = v;
  return d;
}

Decimal Decimal::fromUnscaled(__int128 unscaled, int scale) {
  if (scale < 0 || scale > kMaxScale || !fits(unscaled)) return overflow();
  Decimal d;
  d.unscaled_ = unscaled;
  d.scale_ = scale;
  return d;
}

Decimal Decimal::overflow() {
  Decimal d;
  d.overflowed_ = true;
  return d;
}

std::optional<Decimal> Decimal::parse(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  i128 v = 0;
  int digits = 0;       // significant digits taken so far
  int scale = 0;
  bool anyDigit = false;
  bool point = false;
  bool roundUp = false;  // a dropped decimal beyond 30 places was 5 or more
  bool dropping = false;
  for (char c : text) {
    if (c == '.') {
      if (point) return std::nullopt;
      point = true;
      continue;
    }
    if (c < '0' || c > '9') return std::nullopt;
    anyDigit = true;
    if (point && scale == kMaxScale) {
      if (!dropping) roundUp = c >= '5';
      dropping = true;
      continue;
    }
    if (v != 0 || c != '0') ++digits;
    if (digits > kMaxDigits) return std::nullopt;
    v = v * 10 + (c - '0');
    if (point) ++scale;
  }
  if (!anyDigit) return std::nullopt;
  if (roundUp) {
    ++v;
    if (!fits(v)) return std::nullopt;
  }
  return fromUnscaled(negative ? -v : v, scale);
}

Decimal Decimal::operator+(const Decimal& o) const {
  if (overflowed_ || o.overflowed_) return overflow();
  const int s = scale_ > o.scale_ ? scale_ : o.scale_;
  auto a = scaleUp(unscaled_, s - scale_);
  auto b = scaleUp(o.unscaled_, s - o.scale_);
  if (!a || !b) return overflow();
  i128 r;
  if (__builtin_add_overflow(*a, *b, &r)) return overflow();
  return fromUnscaled(r, s);
}

Decimal Decimal::operator-(const Decimal& o) const { return *this + (-o); }

Decimal Decimal::operator-() const {
  Decimal d = *this;
  d.unscaled_ = -d.unscaled_;
  return d;
}

Decimal Decimal::operator*(const Decimal& o) const {
  if (overflowed_ || o.overflowed_) return overflow();
  int wanted = scale_ + o.scale_;
  // Trailing zero decimals carry no value; dropping them first keeps products such as
  // 1.00000000000000000000 x 1.00000000000000000000 within range.
  i128 a = unscaled_, b = o.unscaled_;
  int sa = scale_, sb = o.scale_;
  normalise(a, sa);
  normalise(b, sb);
  i128 p;
  if (__builtin_mul_overflow(a, b, &p) || !fits(p)) return overflow();
  int s = sa + sb;
  if (s > kMaxScale) {
    p = divRound(p, s - kMaxScale);
    s = kMaxScale;
  }
  if (wanted > kMaxScale) wanted = kMaxScale;
  // Give the product the scale the operands imply when it fits; otherwise keep it exact with
  // fewer (zero) places.
  if (auto up = scaleUp(p, wanted - s)) {
    p = *up;
    s = wanted;
  }
  return fromUnscaled(p, s);
}

std::partial_ordering Decimal::operator<=>(const Decimal& o) const {
  if (overflowed_ || o.overflowed_) return std::partial_ordering::unordered;
  i128 a = unscaled_, b = o.unscaled_;
  int sa = scale_, sb = o.scale_;
  normalise(a, sa);
  normalise(b, sb);
  if (sa < sb) {
    auto up = scaleUp(a, sb - sa);
    if (!up) return a < 0 ? std::partial_ordering::less : std::partial_ordering::greater;
    a = *up;
  } else if (sb < sa) {
    auto up = scaleUp(b, sa - sb);
    if (!up) return b < 0 ? std::partial_ordering::greater : std::partial_ordering::less;
    b = *up;
  }
  return a <=> b;
}

Decimal Decimal::rounded(int places) const {
  if (overflowed_) return *this;
  if (places < 0) places = 0;
  if (places > kMaxScale) places = kMaxScale;
  if (places >= scale_) {
    auto up = scaleUp(unscaled_, places - scale_);
    return up ? fromUnscaled(*up, places) : overflow();
  }
  return fromUnscaled(divRound(unscaled_, scale_ - places), places);
}

Decimal Decimal::abs() const { return isNegative() ? -*this : *this; }

long long Decimal::toLongTruncated() const {
  if (overflowed_) return 0;
  const i128 whole = unscaled_ / pow10(scale_);
  if (whole > std::numeric_limits<long long>::max()) return std::numeric_limits<long long>::max();
  if (whole < std::numeric_limits<long long>::min()) return std::numeric_limits<long long>::min();
  return static_cast<long long>(whole);
}

double Decimal::toDouble() const {
  if (overflowed_) return std::numeric_limits<double>::quiet_NaN();
  // Through the text form: correctly rounded, and independent of the C locale.
  const std::string s = toString();
  double d = 0;
  std::from_chars(s.data(), s.data() + s.size(), d);
  return d;
}

std::string Decimal::toString() const {
  if (overflowed_) return "overflow";
  u128 mag = unscaled_ < 0 ? static_cast<u128>(-unscaled_) : static_cast<u128>(unscaled_);
  char buf[64];
  int n = 0;
  while (mag != 0 || n <= scale_) {  // at least one integer digit
    buf[n++] = static_cast<char>('0' + static_cast<int>(mag % 10));
    mag /= 10;
  }
  std::string out;
  out.reserve(n + 2);
  if (unscaled_ < 0) out.push_back('-');
  for (int i = n - 1; i >= 0; --i) {
    out.push_back(buf[i]);
    if (i == scale_ && scale_ > 0) out.push_back('.');
  }
  return out;
}

std::string Decimal::toString(int places) const { return rounded(places).toString(); }

DecimalStatus packDecimal(const Decimal& v, std::uint8_t* out, int bytes, int places) {
  if (bytes < 1 || bytes > 16 || places < 0 || places > 2 * bytes - 1 ||
      places > Decimal::kMaxScale || v.overflowed()) {
    return DecimalStatus::Overflow;
  }
  const Decimal r = v.rounded(places);
  if (r.overflowed()) return DecimalStatus::Overflow;
  const int digits = 2 * bytes - 1;
  u128 mag = r.unscaled() < 0 ? static_cast<u128>(-r.unscaled()) : static_cast<u128>(r.unscaled());
  if (digits < Decimal::kMaxDigits && mag >= static_cast<u128>(pow10(digits))) {
    return DecimalStatus::Overflow;
  }
  std::uint8_t buf[16] = {};
  // Digit k (0 = least significant) sits in nibble position digits-k counted from the sign.
  for (int k = 0; k < digits; ++k) {
    const int pos = digits - k;  // nibble index, 0 is the sign
    const auto d = static_cast<std::uint8_t>(mag % 10);
    mag /= 10;
    buf[pos / 2] |= (pos % 2 == 0) ? static_cast<std::uint8_t>(d << 4) : d;
  }
  if (r.isNegative()) buf[0] |= 0xF0;
  std::memcpy(out, buf, bytes);
  return DecimalStatus::Ok;
}

Decimal unpackDecimal(const std::uint8_t* in, int bytes, int places) {
  if (bytes < 1 || bytes > 16 || places < 0 || places > 2 * bytes - 1 ||
      places > Decimal::kMaxScale) {
    return Decimal();
  }
  const int digits = 2 * bytes - 1;
  __int128 v = 0;
  for (int pos = 1; pos <= digits; ++pos) {
    const std::uint8_t byte = in[pos / 2];
    int d = (pos % 2 == 0) ? (byte >> 4) : (byte & 0x0F);
    if (d > 9) d = 0;
    v = v * 10 + d;
  }
  if ((in[0] >> 4) == 0xF) v = -v;
  return Decimal::fromUnscaled(v, places);
}

}  // namespace rt
