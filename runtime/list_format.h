#pragma once
// List format strings: the columns of a list control, one group per column, e.g.
// "53R(2)|F~IDCabecera~C(0)@n_4B@52R(2)|F~Fecha~C(0)@d6B@":
//   width (dialog units); data alignment L, R, C or D (decimal) with an optional (indent or
//   decimal offset); then modifiers: '|' right border, 'M' resizable, 'F' fixed, '~header~'
//   followed by an optional header alignment and (indent); last '@picture@', which ends the
//   column. Other modifier letters, with an optional (n), and '#n#' field numbers are read and
//   ignored. A header without its own alignment takes the data's (a decimal column's header is
//   right-aligned).
//
// Pure functions; callable from any thread.

#include <optional>
#include <string>
#include <vector>

#include "runtime/frontend.h"

namespace rt {

// nullopt when the text is not a list format (a column without a width, an unclosed header or
// picture, a character that has no meaning there).
std::optional<std::vector<ListColumnView>> parseListFormat(const std::string& format);

// A value (plain number, day number or text) as the column shows it through its picture.
std::string formatCell(const ListColumnView& column, const std::string& value);

}  // namespace rt
