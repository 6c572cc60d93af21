#include "runtime/fixed_string.h"

#include <cstring>

namespace rt {

void setFixed(char* field, std::size_t n, std::string_view value) {
  const std::size_t len = value.size() < n ? value.size() : n;
  if (len > 0) std::memmove(field, value.data(), len);
  if (len < n) std::memset(field + len, ' ', n - len);
}

std::string_view clipped(const char* field, std::size_t n) {
  // A buffer never written holds NUL bytes; they count as padding, like spaces.
  while (n > 0 && (field[n - 1] == ' ' || field[n - 1] == '\0')) --n;
  return std::string_view(field, n);
}

bool isBlank(const char* field, std::size_t n) { return clipped(field, n).empty(); }

}  // namespace rt
