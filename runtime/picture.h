#pragma once
// Display pictures: how a value is shown in an entry or a list column, and what typed text an
// entry with that picture accepts.
//
// A picture is written with or without a leading '@'; letters may be in either case.
//
//   n[flags]W[.P][B]  number, W characters wide with P decimals (P = 0 when omitted). Flags, in
//                     any order: '-' the entry accepts negative numbers; '_' no thousands
//                     separators; '0' fill with leading zeros instead of blanks (no separators
//                     either). "n-10.2", "n_4B", "n07", "n5", "n-10.0".
//   sW                text, W characters wide. "s30".
//   d6[B]             date as dd/mm/yyyy (two-digit day and month, four-digit year): 10 wide.
//   trailing B        a zero value (a number that rounds to zero) shows as blanks.
//
// Showing a number: it is rounded half away from zero to P decimals, shown with '.' as the
// decimal point and, unless '_' or '0' is given, ',' between groups of three integer digits
// ("-99,999.99"); a negative value always gets a leading '-', even in a picture without the '-'
// flag, so a value is never shown as a different number. The text is right-justified in exactly
// W characters (zero-filled pictures put the zeros after the sign: "-000042"). When the
// separators would make the text too wide they are left out ("n5" shows 12345 as "12345", 1234
// as "1,234"); a value that does not fit even without them shows as W '#' characters.
//
// Showing a date: a day number shows as "01/03/2012"; day 0 (no date) shows as 10 blanks with
// or without B; a number that is not a day number shows as "##########".
//
// Showing text: the text cut to W bytes (not padded).
//
// Any picture may show any kind of value: a number under a date picture is a day number, a number
// under a text picture is its plain decimal text, and text under a number picture is read as a
// plain decimal number (and shown cut to W bytes when it is not one); text under a date picture
// is shown cut to 10 bytes.
//
// Typed input (deformat), after leading and trailing blanks are removed:
//   numbers  an empty entry is 0. An optional '+' or '-', then digits with at most one decimal
//            point '.'. Commas before the decimal point are thousands separators and must stand
//            between groups of three digits ("1,234.50", "1,234,567"). When there is no '.', a
//            single comma that is not a thousands separator is taken as a decimal comma: "1,5"
//            is 1.5 and "12,25" is 12.25, while "1,500" is 1500. More decimals than P are rounded
//            half away from zero. Refused: any other character ("Invalid number"), a negative
//            number when the picture has no '-' flag ("Negative numbers are not allowed"), and a
//            number whose display would not fit in W characters ("Number too large").
//   dates    an empty entry is 0 (no date). Day, month and year separated by '/', '-' or '.'
//            ("1/3/2012", "01/03/2012", "1-3-12"), or run together as ddmmyyyy or ddmmyy
//            ("01032012", "010312"). The year has four digits or two; a two-digit year is the
//            year ending in those digits that lies from 80 years before to 19 years after the
//            current year (see expandTwoDigitYear). A date that does not exist (31/02/2012) or
//            lies outside 1801..9999 is refused ("Invalid date").
//   text     any text, cut to W bytes.
//
// Picture is an immutable value; everything here is pure (deformat reads the clock only for
// two-digit years) and may be called from any thread.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/decimal.h"

namespace rt {

class Picture {
 public:
  enum class Kind { Number, String, Date };

  // nullopt for text that is not a picture of the forms above, including a number picture whose
  // decimals leave no room for an integer digit and the point ("n3.2"), widths of 0 or above 255
  // for numbers (32767 for text), more than 30 decimals, and date pictures other than d6.
  static std::optional<Picture> parse(std::string_view text);

  Kind kind() const { return kind_; }
  int width() const { return width_; }
  int places() const { return places_; }
  bool blankWhenZero() const { return blank_; }
  bool acceptsNegative() const { return signed_; }
  bool groupsThousands() const { return kind_ == Kind::Number && !noGrouping_ && !zeroFill_; }
  bool zeroFilled() const { return zeroFill_; }
  std::string text() const;  // canonical form with '@', e.g. "@n-10.2B"

  std::string format(const Decimal& v) const;  // number, also used for integers
  std::string format(long long v) const;
  std::string formatString(std::string_view cp1252) const;
  std::string formatDate(std::int32_t day) const;

  bool operator==(const Picture&) const = default;

 private:
  Picture() = default;
  std::string formatNumber(const Decimal& v) const;
  Kind kind_ = Kind::String;
  int width_ = 0;
  int places_ = 0;
  bool blank_ = false;
  bool signed_ = false;
  bool noGrouping_ = false;
  bool zeroFill_ = false;
};

// Reasons deformat gives.
inline constexpr std::string_view kInvalidNumber = "Invalid number";
inline constexpr std::string_view kNegativeNotAllowed = "Negative numbers are not allowed";
inline constexpr std::string_view kNumberTooLarge = "Number too large";
inline constexpr std::string_view kInvalidDate = "Invalid date";

struct Deformatted {
  bool ok = false;
  Decimal number;         // Number: the value, at the picture's number of decimals
  std::int32_t date = 0;  // Date: the day number (0 for an empty entry)
  std::string text;       // String: the accepted text; Number and Date: its display
  std::string error;      // when !ok: one of the reasons above
};

// What an entry with picture p accepts as typed (rules above): ok with the value, or ok = false
// with an English reason; never a half-read value.
Deformatted deformat(const Picture& p, std::string_view typed);

// The four-digit year for a two-digit year yy (0..99): the one from currentYear - 80 to
// currentYear + 19. With currentYear 2026: 0..45 -> 2000..2045, 46..99 -> 1946..1999.
int expandTwoDigitYear(int yy, int currentYear);

}  // namespace rt
