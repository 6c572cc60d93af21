#include "framework/fuzzy_class.h"

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "runtime/codepage.h"

namespace fw {
namespace {

bool isWordChar(unsigned char c) {
  return (c >= '0' && c <= '9') || rt::cp1252Upper(c) != c || rt::cp1252Lower(c) != c ||
         c == 0xDF /* sharp s */ || c == 0xAA || c == 0xBA /* ordinal indicators */;
}

// The fewest edits that turn `q` into some stretch of `t`; with `whole_words`, only stretches
// that begin at the start of a word and end at the end of one count. One row of the edit table
// at a time, so memory stays proportional to the text.
int bestDistance(const std::string& q, const std::string& t, bool whole_words) {
  constexpr int kInf = std::numeric_limits<int>::max() / 2;
  const std::size_t m = q.size(), n = t.size();
  auto word = [&](std::size_t j) { return isWordChar(static_cast<unsigned char>(t[j])); };
  auto mayStart = [&](std::size_t j) {
    return !whole_words || (j < n && word(j) && (j == 0 || !word(j - 1)));
  };
  auto mayEnd = [&](std::size_t j) {
    return !whole_words || (j > 0 && word(j - 1) && (j == n || !word(j)));
  };

  std::vector<int> prev(n + 1), cur(n + 1);
  for (std::size_t j = 0; j <= n; ++j) {
    prev[j] = mayStart(j) ? 0 : kInf;
    if (j > 0) prev[j] = std::min(prev[j], prev[j - 1] + 1);
  }
  for (std::size_t i = 1; i <= m; ++i) {
    cur[0] = std::min(kInf, prev[0] + 1);
    for (std::size_t j = 1; j <= n; ++j) {
      const int replace = prev[j - 1] + (q[i - 1] == t[j - 1] ? 0 : 1);
      cur[j] = std::min({replace, prev[j] + 1, cur[j - 1] + 1, kInf});
    }
    std::swap(prev, cur);
  }
  int best = kInf;
  for (std::size_t j = 0; j <= n; ++j) {
    if (mayEnd(j)) best = std::min(best, prev[j]);
  }
  return best;
}

}  // namespace

void FuzzyClass::Init() {
  ignore_case_ = true;
  whole_words_ = false;
}

void FuzzyClass::Kill() { Init(); }

bool FuzzyClass::SetOption(int option, bool on) {
  switch (option) {
    case Option_IgnoreCase: ignore_case_ = on; return true;
    case Option_WholeWords: whole_words_ = on; return true;
    default: return false;
  }
}

bool FuzzyClass::GetOption(int option) const {
  switch (option) {
    case Option_IgnoreCase: return ignore_case_;
    case Option_WholeWords: return whole_words_;
    default: return false;
  }
}

int FuzzyClass::Match(std::string_view query, std::string_view text) const {
  const bool fold = ignore_case_;
  const std::string q = fold ? rt::cp1252UpperString(query) : std::string(query);
  const std::string t = fold ? rt::cp1252UpperString(text) : std::string(text);
  if (q.empty()) return t.empty() ? 100 : 0;
  if (q == t) return 100;
  const int m = static_cast<int>(q.size());
  const int d = bestDistance(q, t, whole_words_);
  if (d == 0) {
    // q != t, so the text is longer than the query.
    return 80 + static_cast<int>(19LL * m / static_cast<long long>(t.size()));
  }
  if (d < m) return static_cast<int>(79LL * (m - d) / m);
  return 0;
}

}  // namespace fw
