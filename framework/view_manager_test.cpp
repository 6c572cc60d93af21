#include "framework/view_manager.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "framework/browse_test_tables.h"

namespace {

using namespace browse_test;

struct Tables {
  Line lin{};
  Article art{};
  store::File lines{linesDef(), &lin};
  store::File articles{articlesDef(), &art};
  Tables() {
    EXPECT_TRUE(lines.open().ok());
    EXPECT_TRUE(articles.open().ok());
  }
  void add(const Line& l) {
    lin = l;
    ASSERT_TRUE(lines.add().ok());
  }
  void addArticle(int id, const std::string& desc) {
    std::memset(&art, 0, sizeof art);
    art.ID = static_cast<std::uint16_t>(id);
    setText(art.DESC, sizeof art.DESC, desc);
    ASSERT_TRUE(articles.add().ok());
  }
};

const Line& rec(const fw::ViewRow& r) { return *reinterpret_cast<const Line*>(r.records[0].data()); }

// (HDR, NUM) of each row, for comparing row sequences.
std::vector<std::pair<int, int>> ids(const std::vector<fw::ViewRow>& rows) {
  std::vector<std::pair<int, int>> out;
  for (const auto& r : rows) out.emplace_back(rec(r).HDR, rec(r).NUM);
  return out;
}

// Every row of the view, read page by page forward from the first page.
std::vector<fw::ViewRow> pageForward(fw::ViewManager& v, int page) {
  std::vector<fw::ViewRow> all, rows;
  EXPECT_TRUE(v.ReadFirst(page, rows).ok());
  while (!rows.empty()) {
    EXPECT_LE(static_cast<int>(rows.size()), page);
    all.insert(all.end(), rows.begin(), rows.end());
    const fw::ViewRow last = rows.back();
    EXPECT_TRUE(v.ReadAfter(last, page, rows).ok());
  }
  return all;
}

// Every row of the view, read page by page backward from the last page (returned ascending).
std::vector<fw::ViewRow> pageBackward(fw::ViewManager& v, int page) {
  std::vector<fw::ViewRow> all, rows;
  EXPECT_TRUE(v.ReadLast(page, rows).ok());
  while (!rows.empty()) {
    EXPECT_LE(static_cast<int>(rows.size()), page);
    all.insert(all.begin(), rows.begin(), rows.end());
    const fw::ViewRow first = rows.front();
    EXPECT_TRUE(v.ReadBefore(first, page, rows).ok());
  }
  return all;
}

TEST(ViewManager, PagingCoversEveryRowOnceInBothDirectionsForTableSizesAroundThePage) {
  const int page = 5;
  for (int size : {0, 1, 4, 5, 6, 10, 11, 17}) {
    SCOPED_TRACE("size " + std::to_string(size));
    TempDir dir;
    Tables t;
    // Added out of order so that key order and insertion order differ.
    std::vector<std::pair<int, int>> expected;
    for (int i = 0; i < size; ++i) expected.emplace_back(1 + i % 3, 100 - i);
    for (auto [h, n] : expected) t.add(line(h, n, "x", 0));
    std::sort(expected.begin(), expected.end());

    fw::ViewManager v;
    v.Init(t.lines, &t.lin);
    ASSERT_TRUE(v.SetOrder(K_HDRNUM));
    EXPECT_EQ(ids(pageForward(v, page)), expected);
    EXPECT_EQ(ids(pageBackward(v, page)), expected);

    std::vector<fw::ViewRow> first, last;
    ASSERT_TRUE(v.ReadFirst(page, first).ok());
    ASSERT_TRUE(v.ReadLast(page, last).ok());
    const size_t shown = std::min<size_t>(page, expected.size());
    using Ids = std::vector<std::pair<int, int>>;
    EXPECT_EQ(ids(first), (Ids(expected.begin(), expected.begin() + shown)));
    EXPECT_EQ(ids(last), (Ids(expected.end() - shown, expected.end())));
  }
}

TEST(ViewManager, EqualValuesOfADupKeyAcrossPageBoundariesAreNeitherRepeatedNorSkipped) {
  TempDir dir;
  Tables t;
  // Amounts 7 (twelve times), then 3 and 9: groups of equal values longer than a page.
  for (int i = 0; i < 12; ++i) t.add(line(1, i + 1, "a", 7));
  t.add(line(2, 1, "b", 3));
  t.add(line(2, 2, "c", 9));
  fw::ViewManager v;
  v.Init(t.lines, &t.lin);
  ASSERT_TRUE(v.SetOrder(K_AMOUNT));
  for (int page : {1, 4, 5, 13}) {
    SCOPED_TRACE("page " + std::to_string(page));
    const auto fwd = pageForward(v, page);
    const auto bwd = pageBackward(v, page);
    ASSERT_EQ(fwd.size(), 14u);
    EXPECT_EQ(ids(fwd), ids(bwd));
    EXPECT_EQ(rec(fwd.front()).AMOUNT, 3);
    EXPECT_EQ(rec(fwd.back()).AMOUNT, 9);
    // Equal values keep the order in which they were added.
    for (int i = 0; i < 12; ++i) EXPECT_EQ(rec(fwd[1 + i]).NUM, i + 1);
  }
}

TEST(ViewManager, OptKeyLeavesOutBlankValuesAndIgnoresCase) {
  TempDir dir;
  Tables t;
  t.add(line(1, 1, "beta", 0));
  t.add(line(1, 2, "", 0));
  t.add(line(1, 3, "ALPHA", 0));
  t.add(line(1, 4, "Gamma", 0));
  fw::ViewManager v;
  v.Init(t.lines, &t.lin);
  ASSERT_TRUE(v.SetOrder(K_NAME));
  const auto rows = pageForward(v, 2);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(text(rec(rows[0]).NAME, 10), "ALPHA");
  EXPECT_EQ(text(rec(rows[1]).NAME, 10), "beta");
  EXPECT_EQ(text(rec(rows[2]).NAME, 10), "Gamma");
}

TEST(ViewManager, RangeLimitsKeepOnlyTheRowsOfTheRange) {
  TempDir dir;
  Tables t;
  for (int h = 1; h <= 3; ++h)
    for (int n = 1; n <= 7; ++n) t.add(line(h, n, "x", 0));
  std::uint16_t parentHdr = 2;  // a parent record's field, as a range by relation reads it

  struct Case {
    const char* name;
    bool byRelation;
    int hdr;
  };
  for (const Case& c : {Case{"fixed", false, 2}, Case{"relation", true, 2}, Case{"relation moved", true, 3},
                        Case{"empty range", true, 9}}) {
    SCOPED_TRACE(c.name);
    fw::ViewManager v;
    v.Init(t.lines, &t.lin);
    ASSERT_TRUE(v.SetOrder(K_HDRNUM));
    const std::uint16_t value = static_cast<std::uint16_t>(c.hdr);
    parentHdr = value;
    ASSERT_TRUE(c.byRelation ? v.AddRangeByRelation(L_HDR, &parentHdr) : v.AddRangeValue(L_HDR, &value));
    std::vector<std::pair<int, int>> expected;
    if (c.hdr <= 3)
      for (int n = 1; n <= 7; ++n) expected.emplace_back(c.hdr, n);
    EXPECT_EQ(ids(pageForward(v, 3)), expected);
    EXPECT_EQ(ids(pageBackward(v, 3)), expected);
    std::vector<fw::ViewRow> rows;
    Line from = line(0, 5, "", 0);
    ASSERT_TRUE(v.ReadFrom(&from, 10, rows).ok());
    if (c.hdr <= 3) {
      ASSERT_EQ(rows.size(), 3u);
      EXPECT_EQ(rec(rows[0]).HDR, c.hdr);
      EXPECT_EQ(rec(rows[0]).NUM, 5);
    } else {
      EXPECT_TRUE(rows.empty());
    }
  }
}

TEST(ViewManager, RangeOnlyAcceptsTheLeadingComponentsInOrder) {
  TempDir dir;
  Tables t;
  fw::ViewManager v;
  v.Init(t.lines, &t.lin);
  ASSERT_TRUE(v.SetOrder(K_HDRNUM));
  const std::uint16_t one = 1;
  EXPECT_FALSE(v.AddRangeValue(L_NUM, &one));  // the second component before the first
  EXPECT_TRUE(v.AddRangeValue(L_HDR, &one));
  EXPECT_TRUE(v.AddRangeValue(L_NUM, &one));
  EXPECT_FALSE(v.AddRangeValue(L_NAME, &one));  // not a component at all
}

TEST(ViewManager, OuterJoinKeepsARowWhoseJoinedRecordIsMissingAndInnerJoinDropsIt) {
  TempDir dir;
  Tables t;
  t.addArticle(10, "Ten");
  t.addArticle(30, "Thirty");
  t.add(line(1, 1, "a", 0, 10));
  t.add(line(1, 2, "b", 0, 20));  // article 20 does not exist
  t.add(line(1, 3, "c", 0, 30));
  for (bool inner : {false, true}) {
    SCOPED_TRACE(inner ? "inner" : "outer");
    fw::ViewManager v;
    v.Init(t.lines, &t.lin);
    ASSERT_EQ(v.AddJoin(0, t.articles, &t.art, 0, inner), 1);
    ASSERT_TRUE(v.AddJoinLink(L_ART, 0));
    ASSERT_TRUE(v.SetOrder(K_HDRNUM));
    std::vector<fw::ViewRow> rows;
    ASSERT_TRUE(v.ReadFirst(10, rows).ok());
    ASSERT_EQ(rows.size(), inner ? 2u : 3u);
    std::vector<std::string> descs;
    for (const auto& r : rows) {
      const auto& a = *reinterpret_cast<const Article*>(r.records[1].data());
      descs.push_back(std::to_string(a.ID) + ":" + text(a.DESC, 12));
    }
    if (inner)
      EXPECT_EQ(descs, (std::vector<std::string>{"10:Ten", "30:Thirty"}));
    else
      EXPECT_EQ(descs, (std::vector<std::string>{"10:Ten", "0:", "30:Thirty"}));
  }
}

TEST(ViewManager, RegetLoadsEveryTableBufferAndRefusesARowOutsideTheRange) {
  TempDir dir;
  Tables t;
  t.addArticle(10, "Ten");
  t.add(line(1, 1, "a", 5, 10));
  t.add(line(2, 1, "b", 6, 10));
  fw::ViewManager v;
  v.Init(t.lines, &t.lin);
  v.AddJoin(0, t.articles, &t.art, 0);
  v.AddJoinLink(L_ART, 0);
  ASSERT_TRUE(v.SetOrder(K_HDRNUM));
  std::vector<fw::ViewRow> rows;
  ASSERT_TRUE(v.ReadFirst(10, rows).ok());
  ASSERT_EQ(rows.size(), 2u);
  t.lin = line(0, 0, "", 0);
  std::memset(&t.art, 0, sizeof t.art);
  ASSERT_TRUE(v.Reget(rows[0].position).ok());
  EXPECT_EQ(t.lin.AMOUNT, 5);
  EXPECT_EQ(text(t.art.DESC, 12), "Ten");

  const std::uint16_t two = 2;
  ASSERT_TRUE(v.AddRangeValue(L_HDR, &two));
  EXPECT_EQ(v.Reget(rows[0].position).code, store::RecordNotFound);
  EXPECT_TRUE(v.Reget(rows[1].position).ok());
}

TEST(ViewManager, ReadingOnFromADeletedRowNeitherRepeatsNorSkips) {
  TempDir dir;
  Tables t;
  for (int n = 1; n <= 9; ++n) t.add(line(1, n, "x", 0));
  fw::ViewManager v;
  v.Init(t.lines, &t.lin);
  ASSERT_TRUE(v.SetOrder(K_HDRNUM));
  std::vector<fw::ViewRow> page, next, prev;
  ASSERT_TRUE(v.ReadFirst(3, page).ok());  // 1 2 3
  // Another File (as another thread would) deletes the last and first rows of the page.
  Line other{};
  store::File f2(linesDef(), &other);
  ASSERT_TRUE(f2.open().ok());
  for (int n : {3, 1}) {
    other = line(1, n, "", 0);
    ASSERT_TRUE(f2.fetch(K_HDRNUM).ok());
    ASSERT_TRUE(f2.erase().ok());
  }
  ASSERT_TRUE(v.ReadAfter(page.back(), 3, next).ok());
  EXPECT_EQ(ids(next), (std::vector<std::pair<int, int>>{{1, 4}, {1, 5}, {1, 6}}));
  ASSERT_TRUE(v.ReadAt(page.back(), 2, next).ok());  // the anchor is gone: the row after it
  EXPECT_EQ(ids(next), (std::vector<std::pair<int, int>>{{1, 4}, {1, 5}}));
  ASSERT_TRUE(v.ReadBefore(page.front(), 3, prev).ok());
  EXPECT_TRUE(prev.empty());
}

TEST(ViewManager, ARecordAddedByAnotherThreadShowsAtTheNextRead) {
  TempDir dir;
  Tables t;
  for (int n = 1; n <= 4; n += 2) t.add(line(1, n, "x", 0));
  fw::ViewManager v;
  v.Init(t.lines, &t.lin);
  ASSERT_TRUE(v.SetOrder(K_HDRNUM));
  std::vector<fw::ViewRow> rows;
  ASSERT_TRUE(v.ReadFirst(10, rows).ok());
  ASSERT_EQ(rows.size(), 2u);
  std::thread writer([] {
    Line l{};
    store::File f(linesDef(), &l);
    ASSERT_TRUE(f.open().ok());
    l = line(1, 2, "new", 0);
    ASSERT_TRUE(f.add().ok());
    f.close();
  });
  writer.join();
  ASSERT_TRUE(v.ReadFirst(10, rows).ok());
  EXPECT_EQ(ids(rows), (std::vector<std::pair<int, int>>{{1, 1}, {1, 2}, {1, 3}}));
}

TEST(ViewManager, FilterDropsRowsWithoutShorteningThePage) {
  TempDir dir;
  Tables t;
  for (int n = 1; n <= 12; ++n) t.add(line(1, n, "x", n));
  fw::ViewManager v;
  v.Init(t.lines, &t.lin);
  ASSERT_TRUE(v.SetOrder(K_HDRNUM));
  v.Filter = [&] { return t.lin.AMOUNT % 3 == 0; };
  std::vector<fw::ViewRow> rows;
  ASSERT_TRUE(v.ReadFirst(3, rows).ok());
  EXPECT_EQ(ids(rows), (std::vector<std::pair<int, int>>{{1, 3}, {1, 6}, {1, 9}}));
  ASSERT_TRUE(v.ReadLast(2, rows).ok());
  EXPECT_EQ(ids(rows), (std::vector<std::pair<int, int>>{{1, 9}, {1, 12}}));
}

TEST(ViewManager, ReadingThroughVisitsEveryRowOfTheRangeOnceWithItsJoinedRecord) {
  TempDir dir;
  Tables t;
  t.addArticle(1, "one");
  for (int n = 1; n <= 7; ++n) t.add(line(2, n, "x", n * 10, n % 2));  // odd lines have article 1
  t.add(line(1, 1, "other", 1000));
  fw::ViewManager v;
  v.Init(t.lines, &t.lin);
  v.AddJoin(0, t.articles, &t.art, 0);
  v.AddJoinLink(L_ART, 0);
  ASSERT_TRUE(v.SetOrder(K_HDRNUM));
  const std::uint16_t two = 2;
  ASSERT_TRUE(v.AddRangeValue(L_HDR, &two));
  for (int pass = 0; pass < 2; ++pass) {  // Reset starts again from the first row
    v.Reset();
    int sum = 0, withArticle = 0, rows = 0;
    store::Status s;
    while ((s = v.Next()).ok()) {
      ++rows;
      sum += t.lin.AMOUNT;
      if (text(t.art.DESC, 12) == "one") ++withArticle;
      EXPECT_EQ(v.Current().position, t.lines.position());
    }
    EXPECT_EQ(s.code, store::RecordNotAvailable);
    EXPECT_EQ(rows, 7);
    EXPECT_EQ(sum, 280);
    EXPECT_EQ(withArticle, 4);
  }
}

TEST(ViewManager, PrimeRecordClearsBuffersPutsTheRangeValueAndPrimesThePrimary) {
  TempDir dir;
  Tables t;
  fw::ViewManager v;
  v.Init(t.lines, &t.lin);
  v.AddJoin(0, t.articles, &t.art, 0);
  v.AddJoinLink(L_ART, 0);
  ASSERT_TRUE(v.SetOrder(K_HDRNUM));
  std::uint16_t parent = 42;
  ASSERT_TRUE(v.AddRangeByRelation(L_HDR, &parent));
  t.lin = line(7, 7, "old", 99, 5);
  t.art.ID = 5;
  setText(t.art.DESC, 12, "old");
  int primed = 0;
  v.PrimePrimary = [&] {
    ++primed;
    EXPECT_EQ(t.lin.HDR, 42);  // the range value is in place before numbering
    t.lin.NUM = 1;
    return 0;
  };
  EXPECT_EQ(v.PrimeRecord(), 0);
  EXPECT_EQ(primed, 1);
  EXPECT_EQ(t.lin.HDR, 42);
  EXPECT_EQ(t.lin.NUM, 1);
  EXPECT_EQ(t.lin.AMOUNT, 0);
  EXPECT_EQ(std::string(t.lin.NAME, 10), std::string(10, ' '));
  EXPECT_EQ(t.art.ID, 0);
  EXPECT_EQ(std::string(t.art.DESC, 12), std::string(12, ' '));
  v.PrimePrimary = [] { return 35; };
  EXPECT_EQ(v.PrimeRecord(), 35);
}

}  // namespace
