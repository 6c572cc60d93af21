#pragma once
// The approximate-text matcher (`FuzzyMatcher`): how well a typed query matches a text.
//
// Match returns a score from 0 to 100:
//   100     the query equals the text
//   80..98  the query occurs in the text exactly; the larger the share of the text it covers,
//           the higher (80 + 19 * query length / text length)
//   0..78   the query occurs in the text with d edits (characters changed, missing or extra),
//           d at least 1 and smaller than the query's length: 79 * (length - d) / length
//   0       no useful match (also an empty query against a non-empty text)
// So a closer match always scores higher. Option 1 (ignore case, Windows-1252 letters
// including accented ones) folds both texts before comparing; option 2 (whole words) only
// counts occurrences that begin at the start of a word and end at the end of a word of the text
// (words are runs of letters and digits). Texts are Windows-1252.
//
// Init sets the options to ignore case on, whole words off; Kill puts them back. Threads: one
// object for the process; every operation may be called from any thread (options are atomic,
// Match keeps no state).

#include <atomic>
#include <string_view>

namespace fw {

class FuzzyClass {
 public:
  static constexpr int Option_IgnoreCase = 1;
  static constexpr int Option_WholeWords = 2;

  void Init();
  void Kill();
  // Turns an option on or off; false for an option number the matcher does not know.
  [[nodiscard]] bool SetOption(int option, bool on);
  bool GetOption(int option) const;

  int Match(std::string_view query, std::string_view text) const;

 private:
  std::atomic<bool> ignore_case_{true};
  std::atomic<bool> whole_words_{false};
};

}  // namespace fw
