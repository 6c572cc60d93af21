#include "framework/error_catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "framework/error_catalogue_english.h"

namespace {

using fw::ErrorBlock;
using fw::ErrorEntry;

TEST(ErrorCatalogue, EncodedEntriesDecodeUnchanged) {
  std::string every_byte;
  for (int b = 0; b < 255; ++b) every_byte.push_back(static_cast<char>(b));
  const std::vector<ErrorEntry> entries = {
      {0, 0, "", ""},
      {65535, 255, "T\xEDtulo", "Texto con \xF1 y | y %File"},
      {7, fw::Severity_Notice, std::string(255, 'x'), every_byte},
      {7, fw::Severity_Question, "same id again", "kept in order"},
  };
  fw::ErrorBlockResult enc = fw::encodeErrorBlock(entries);
  ASSERT_TRUE(enc.ok) << enc.error;
  fw::ErrorEntriesResult dec = fw::decodeErrorBlock(enc.block);
  ASSERT_TRUE(dec.ok) << dec.error;
  EXPECT_EQ(dec.entries, entries);
}

TEST(ErrorCatalogue, EntryBytesAreLittleEndianWithLengthPrefixes) {
  const std::vector<ErrorEntry> entries = {{0x1234, 5, "Ab", "xyz"}};
  fw::ErrorBlockResult enc = fw::encodeErrorBlock(entries);
  ASSERT_TRUE(enc.ok);
  const ErrorBlock want = {1, 0, 0x34, 0x12, 5, 2, 'A', 'b', 3, 'x', 'y', 'z'};
  EXPECT_EQ(enc.block, want);
}

TEST(ErrorCatalogue, TextsTooLongForTheirLengthByteAreRefused) {
  const std::vector<std::vector<ErrorEntry>> cases = {
      {{1, 5, std::string(256, 't'), "text"}},
      {{1, 5, "title", std::string(256, 'x')}},
      {{1, 5, "fine", "fine"}, {2, 5, "title", std::string(300, 'x')}},
  };
  for (const auto& entries : cases) {
    fw::ErrorBlockResult enc = fw::encodeErrorBlock(entries);
    EXPECT_FALSE(enc.ok);
    EXPECT_TRUE(enc.block.empty());
    EXPECT_FALSE(enc.error.empty());
  }
}

TEST(ErrorCatalogue, MalformedBlocksAreRefusedWhole) {
  struct Case {
    const char* what;
    ErrorBlock block;
  };
  const std::vector<Case> cases = {
      {"empty", {}},
      {"half a count", {1}},
      {"count without entries", {1, 0}},
      {"entry cut in its identifier", {1, 0, 5}},
      {"entry without title length", {1, 0, 5, 0, 1}},
      {"title shorter than its length", {1, 0, 5, 0, 1, 4, 'a', 'b'}},
      {"no text length", {1, 0, 5, 0, 1, 1, 'a'}},
      {"text shorter than its length", {1, 0, 5, 0, 1, 1, 'a', 3, 'x'}},
      {"second entry missing", {2, 0, 5, 0, 1, 1, 'a', 1, 'x'}},
      {"bytes after the last entry", {1, 0, 5, 0, 1, 1, 'a', 1, 'x', 0}},
  };
  for (const Case& c : cases) {
    fw::ErrorEntriesResult dec = fw::decodeErrorBlock(c.block);
    EXPECT_FALSE(dec.ok) << c.what;
    EXPECT_TRUE(dec.entries.empty()) << c.what;
    EXPECT_FALSE(dec.error.empty()) << c.what;
  }
  fw::ErrorEntriesResult empty_table = fw::decodeErrorBlock(ErrorBlock{0, 0});
  EXPECT_TRUE(empty_table.ok);
  EXPECT_TRUE(empty_table.entries.empty());
}

TEST(ErrorCatalogue, SourceTablesBecomeWindows1252) {
  const fw::ErrorText ok_table[] = {{3, 1, "Acción", "¿Año?"}};
  fw::ErrorBlockResult built = fw::buildErrorBlock(ok_table);
  ASSERT_TRUE(built.ok) << built.error;
  fw::ErrorEntriesResult dec = fw::decodeErrorBlock(built.block);
  ASSERT_TRUE(dec.ok);
  ASSERT_EQ(dec.entries.size(), 1u);
  EXPECT_EQ(dec.entries[0].title, "Acci\xF3n");
  EXPECT_EQ(dec.entries[0].text, "\xBF" "A\xF1o?");

  const fw::ErrorText bad_table[] = {{4, 5, "Arrow", "left \xE2\x86\x90 right"}};
  fw::ErrorBlockResult refused = fw::buildErrorBlock(bad_table);
  EXPECT_FALSE(refused.ok);
  EXPECT_TRUE(refused.block.empty());
}

TEST(ErrorCatalogue, EnglishDefaultsHoldTheTextsProgramsRelyOn) {
  fw::ErrorEntriesResult dec = fw::decodeErrorBlock(fw::englishDefaultErrors());
  ASSERT_TRUE(dec.ok) << dec.error;
  std::set<int> ids;
  for (const ErrorEntry& e : dec.entries) {
    EXPECT_TRUE(ids.insert(e.id).second) << "identifier " << e.id << " appears twice";
  }
  // 1 to 53 without 32.
  EXPECT_EQ(ids.size(), 52u);
  EXPECT_EQ(*ids.begin(), 1);
  EXPECT_EQ(*ids.rbegin(), 53);
  EXPECT_EQ(ids.count(32), 0u);

  struct Want {
    std::uint16_t id;
    std::uint8_t severity;
    const char* title;
    const char* text;
  };
  const Want wanted[] = {
      {38, fw::Severity_Question, "Save Record", "Do you want to save the changes to this record?"},
      {11, fw::Severity_Question, "Confirm Delete",
       "Are you sure you want to delete the highlighted record?"},
      {15, fw::Severity_Notice, "Duplicate Key Error",
       "Adding this record creates a duplicate entry for the key: %Message"},
  };
  for (const Want& w : wanted) {
    bool found = false;
    for (const ErrorEntry& e : dec.entries) {
      if (e.id != w.id) continue;
      found = true;
      EXPECT_EQ(e.severity, w.severity) << w.id;
      EXPECT_EQ(e.title, w.title);
      EXPECT_EQ(e.text, w.text);
    }
    EXPECT_TRUE(found) << w.id;
  }
}

}  // namespace
