// The browse manager driving a real runtime window over a small table: page loading and paging,
// keeping the highlighted row, buttons and keys, requests through an update procedure with their
// refresh and row-navigation requests, the select protocol, locators, the scroll thumb and the
// list's menu.
#include "framework/browse_class.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "framework/browse_popup_texts.h"
#include "framework/browse_test_driver.h"
#include "framework/browse_test_tables.h"
#include "framework/window_manager.h"
#include "runtime/event.h"
#include "runtime/frontend.h"
#include "runtime/program.h"
#include "runtime/window.h"

namespace {

using namespace std::chrono_literals;
using namespace browse_test;

#pragma pack(push, 1)
struct QueueRec {
  std::uint16_t HDR;
  std::uint16_t NUM;
  char NAME[10];
  std::int32_t AMOUNT;
  std::uint8_t MARK;
  char VIEWPOSITION[1024];
};
#pragma pack(pop)

constexpr int kList = 1, kInsert = 2, kChange = 3, kDelete = 4, kView = 5, kSelect = 6, kClose = 7, kRefresh = 8,
              kByName = 9, kByNum = 10, kByHdr = 11, kNextHeader = 12;
constexpr int kPage = 5;  // rows that fit in the test list

// How the procedure under test is set up; written by the test before the program starts.
struct Config {
  int request = 0;           // the window's request (4: select)
  int ask_procedure = 0;     // 0: no update procedure
  int form_response = fw::RequestCompleted;
  std::string form_name = "form";  // what the update procedure writes into NAME (insert, change)
  int prime_result = 0;      // what priming returns (0: numbered and reserved)
  std::int32_t form_vcr = 0; // row-navigation request left by the update procedure, once
  Line buffer{};             // the caller's record buffer when the procedure starts
  bool range = false;        // limit the header order to HDR == range_hdr
  std::uint16_t range_hdr = 0;
  int sort = 1;              // order shown first
  bool follow_header = false;  // limit the header order to the header variable's current value
  bool sum_total = false;    // every reload sums AMOUNT over the whole view
  int form_amount = -1;      // what the update procedure writes into AMOUNT (-1: leaves it)
  std::vector<std::int32_t> edit_vcrs;  // in-list edits: the VCRRequest each edit leaves, in turn
};

struct Shared {
  std::mutex mu;
  std::vector<std::string> log;
  Line after{};       // the record buffer when the procedure returned
  int run_result = -1;
  int reloads = 0;    // ResetFromView calls
  long total = 0;     // the sum of the last reload
};

Config g_config;
Shared g_shared;
std::int32_t g_vcr = 0;

void logLine(std::string s) {
  std::lock_guard<std::mutex> lk(g_shared.mu);
  g_shared.log.push_back(std::move(s));
}

class TestBrowse : public fw::BrowseClass {
 public:
  int sort = 1;
  // Stands in for an in-list editor: a change renames the row's record and writes it; an insert
  // primes, names and writes a new one; each edit may leave a row-navigation request.
  std::function<void(int request)> edit;
  int AskRecord(int request) override {
    if (!edit) return fw::BrowseClass::AskRecord(request);
    edit(request);
    if (!g_config.edit_vcrs.empty()) {
      *Window()->VCRRequest = g_config.edit_vcrs.front();
      g_config.edit_vcrs.erase(g_config.edit_vcrs.begin());
    }
    return fw::RequestCompleted;
  }
  int ResetSort(bool force) override { return SetSort(sort, force); }
  void ResetFromView() override {
    long total = 0;
    if (g_config.sum_total) {
      // Every row of the view, not only the page: as a header's total is computed.
      View()->Reset();
      while (View()->Next().ok()) {
        SetQueueRecord(View()->Current());
        total += reinterpret_cast<const Line*>(View()->BufferOf(0))->AMOUNT;
      }
    }
    fw::BrowseClass::ResetFromView();
    std::lock_guard<std::mutex> lk(g_shared.mu);
    ++g_shared.reloads;
    g_shared.total = total;
  }
};

rt::WindowDecl decl() {
  rt::WindowDecl s("Lines");
  s.size(300, 140)
      .control(rt::ControlDecl::list(kList, "20R|~H~@n3@20R|~N~@n5@40L|~Name~@s10@30R|~Amt~@n-7@")
                   .at(4, 4, 200, 60)
                   .rowHeight(10)
                   .pageLoaded())
      .control(rt::ControlDecl::button(kInsert, "&Insert").at(4, 70, 40, 14))
      .control(rt::ControlDecl::button(kChange, "&Change").at(48, 70, 40, 14))
      .control(rt::ControlDecl::button(kDelete, "&Delete").at(92, 70, 40, 14))
      .control(rt::ControlDecl::button(kView, "&View").at(136, 70, 40, 14))
      .control(rt::ControlDecl::button(kSelect, "&Select").at(180, 70, 40, 14))
      .control(rt::ControlDecl::button(kClose, "C&lose").at(224, 70, 40, 14))
      .control(rt::ControlDecl::button(kRefresh, "&Refresh").at(4, 90, 40, 14))
      .control(rt::ControlDecl::button(kByName, "By &name").at(48, 90, 40, 14))
      .control(rt::ControlDecl::button(kByNum, "By n&umber").at(92, 90, 40, 14))
      .control(rt::ControlDecl::button(kByHdr, "By &header").at(136, 90, 40, 14))
      .control(rt::ControlDecl::button(kNextHeader, "Ne&xt header").at(180, 90, 40, 14));
  return s;
}

class TestWindow : public fw::WindowManager {
 public:
  TestWindow(rt::Window& w, store::File& lines, Line& lin) : fw::WindowManager(w), lines_(lines), lin_(lin) {}

  int Init() override {
    Request = g_config.request;
    if (int r = fw::WindowManager::Init(); r != 0) return r;
    FirstField = kList;
    VCRRequest = &g_vcr;
    AddItem(kClose, Request == fw::SelectRecord ? fw::RequestCancelled : fw::RequestCompleted);
    if (Open(decl()) != rt::OpenResult::Ok) return fw::Level_Fatal;
    view_.Init(lines_, &lin_);
    view_.PrimePrimary = [this] {
      if (g_config.prime_result != 0) return g_config.prime_result;
      Line top{};
      store::Status s = lines_.highest(K_HDRNUM, 1, &top);
      lin_.NUM = static_cast<std::uint16_t>(s.ok() ? top.NUM + 1 : 1);
      return lines_.add().ok() ? 0 : 1;
    };
    brw_.SelectControl = kSelect;
    brw_.HideSelect = true;
    brw_.Init(kList, queue_rec_.VIEWPOSITION, view_, queue_, nullptr, *this);
    brw_.InsertControl = kInsert;
    brw_.ChangeControl = kChange;
    brw_.DeleteControl = kDelete;
    brw_.ViewControl = kView;
    brw_.UsePopup = brw_.EditViaPopup = true;
    brw_.sort = g_config.sort;
    step0_.Init(1);
    brw_.AddSortOrder(&step0_, K_HDRNUM);
    if (g_config.range) brw_.AddRange(&lin_.HDR, &g_config.range_hdr);
    if (g_config.follow_header) brw_.AddRangeByField(&lin_.HDR, &header_);
    loc0_.Init(&lin_.HDR, true);
    brw_.AddLocator(loc0_);
    step1_.Init(1, 3);
    brw_.AddSortOrder(&step1_, K_NAME);
    loc1_.Init(&lin_.NAME, true);
    brw_.AddLocator(loc1_);
    brw_.AddSortOrder(K_NUM);
    loc2_.Init(&lin_.NUM, true);
    brw_.AddLocator(loc2_);
    brw_.AddField(rt::Binding::ushort(lin_.HDR), rt::Binding::ushort(queue_rec_.HDR));
    brw_.AddField(rt::Binding::ushort(lin_.NUM), rt::Binding::ushort(queue_rec_.NUM));
    brw_.AddField(rt::Binding::string(lin_.NAME), rt::Binding::string(queue_rec_.NAME));
    brw_.AddField(rt::Binding::long_(lin_.AMOUNT), rt::Binding::long_(queue_rec_.AMOUNT));
    brw_.AskProcedure = g_config.ask_procedure;
    brw_.edit = [this](int request) {
      if (request == fw::InsertRecord) {
        EXPECT_EQ(brw_.PrimeRecord(), 0);
      }
      logLine("edit " + std::to_string(request) + " " + std::to_string(lin_.HDR) + "/" + std::to_string(lin_.NUM));
      setText(lin_.NAME, sizeof lin_.NAME, "edited");
      EXPECT_TRUE(lines_.put().ok());
    };
    SetAlerts();
    return 0;
  }

  int Run() override { return fw::WindowManager::Run(); }

  int Run(int number, int request) override {
    logLine("run " + std::to_string(number) + " " + std::to_string(request) + " " + std::to_string(lin_.HDR) + "/" +
            std::to_string(lin_.NUM) + "/" + text(lin_.NAME, 10));
    const int response = g_config.form_response;
    if (response == fw::RequestCompleted) {
      if (request == fw::InsertRecord || request == fw::ChangeRecord) {
        setText(lin_.NAME, sizeof lin_.NAME, g_config.form_name);
        if (g_config.form_amount >= 0) lin_.AMOUNT = g_config.form_amount;
        EXPECT_TRUE(lines_.put().ok());
      } else if (request == fw::DeleteRecord) {
        EXPECT_TRUE(lines_.erase().ok());
      }
    } else if (request == fw::InsertRecord) {
      EXPECT_TRUE(lines_.erase().ok());  // a cancelled insert gives its reserved record back
    }
    if (g_config.form_vcr) {
      *VCRRequest = g_config.form_vcr;
      g_config.form_vcr = 0;
    }
    return response;
  }

  int TakeAccepted() override {
    switch (rt::field()) {
      case kRefresh: Reset(true); return fw::Level_Benign;
      case kByName: brw_.sort = 2; Reset(false); return fw::Level_Benign;
      case kByNum: brw_.sort = 3; Reset(false); return fw::Level_Benign;
      case kByHdr: brw_.sort = 1; Reset(false); return fw::Level_Benign;
      case kNextHeader: ++header_; Reset(false); return fw::Level_Benign;
      default: return fw::WindowManager::TakeAccepted();
    }
  }

 private:
  store::File& lines_;
  Line& lin_;
  fw::ViewManager view_;
  QueueRec queue_rec_{};
  fw::BrowseQueue queue_{queue_rec_};
  TestBrowse brw_;
  fw::StepLongClass step0_;
  fw::StepStringClass step1_;
  fw::StepLocatorClass loc0_, loc1_, loc2_;
  std::uint16_t header_ = 1;  // the parent record's number, as a header form holds it
};

void browseProcedure() {
  Line lin = g_config.buffer;
  store::File lines(linesDef(), &lin);
  EXPECT_TRUE(lines.open().ok());
  rt::Window window;
  int result;
  {
    TestWindow w(window, lines, lin);
    result = w.Run();
  }
  std::lock_guard<std::mutex> lk(g_shared.mu);
  g_shared.after = lin;
  g_shared.run_result = result;
}

class BrowseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_config = Config{};
    {
      std::lock_guard<std::mutex> lk(g_shared.mu);
      g_shared.log.clear();
      g_shared.after = Line{};
      g_shared.run_result = -1;
      g_shared.reloads = 0;
    }
    g_vcr = 0;
    fw::SetBrowsePopupTexts(fw::BrowsePopupTexts{});
    {
      std::lock_guard<std::mutex> lk(fe_.mu);
      fe_.popup_choice = 0;
      fe_.offered.clear();
    }
  }
  void TearDown() override {
    if (rt::programRunning()) {
      rt::stopProgram(0);
      rt::waitProgram();
    }
  }

  // Adds records from the test's thread (its own File, closed again).
  void seed(const std::vector<Line>& recs) { seedLines(recs); }
  void start() {
    ASSERT_EQ(rt::startProgram(rt::ProgramDecl{browseProcedure, nullptr, nullptr, 0}, fe_), rt::StartResult::Ok);
    idle();
  }
  void idle() { ASSERT_TRUE(rt::waitProgramIdle(20s)) << rt::dumpModel(); }
  rt::WindowId win() { return windowTitled("Lines"); }
  std::optional<rt::ControlView> ctl(int feq) { return controlOf(win(), feq); }
  // The NUM column of the rows shown.
  std::vector<int> nums() {
    std::vector<int> out;
    auto c = ctl(kList);
    if (c)
      for (const auto& r : c->rows) out.push_back(std::stoi(r.at(1)));
    return out;
  }
  std::vector<std::string> names() {
    std::vector<std::string> out;
    auto c = ctl(kList);
    if (c)
      for (const auto& r : c->rows) {
        std::string s = r.at(2);
        while (!s.empty() && s.back() == ' ') s.pop_back();
        out.push_back(s);
      }
    return out;
  }
  int selected() {
    auto c = ctl(kList);
    return c ? c->selected_row : -1;
  }
  int selectedNum() {
    auto c = ctl(kList);
    if (!c || c->selected_row < 1) return -1;
    return std::stoi(c->rows.at(c->selected_row - 1).at(1));
  }
  std::string selectedName() {
    auto n = names();
    const int s = selected();
    return s >= 1 && s <= static_cast<int>(n.size()) ? n[s - 1] : "";
  }
  double thumb() {
    auto c = ctl(kList);
    return c ? c->thumb : -1;
  }
  void key(int k) {
    rt::input::key(win(), kList, k);
    idle();
  }
  void scroll(rt::ScrollAction a, double f = 0) {
    rt::input::scroll(win(), kList, a, f);
    idle();
  }
  void press(int feq) {
    rt::input::click(win(), feq, rt::MouseLeft);
    idle();
  }
  void typeChar(char c) {
    rt::input::character(win(), kList, std::string(1, c));
    idle();
  }
  std::vector<std::string> log() {
    std::lock_guard<std::mutex> lk(g_shared.mu);
    return g_shared.log;
  }
  int reloads() {
    std::lock_guard<std::mutex> lk(g_shared.mu);
    return g_shared.reloads;
  }
  int endProgram() {
    int code = -1;
    EXPECT_TRUE(rt::waitProgramFor(20s, &code)) << rt::dumpModel();
    return code;
  }

  TempDir dir_;
  SilentFrontEnd fe_;
};

std::vector<Line> numbered(int n, int hdr = 1) {
  std::vector<Line> out;
  for (int i = 1; i <= n; ++i) out.push_back(line(hdr, i, "n" + std::to_string(i), i));
  return out;
}

std::vector<int> range(int from, int to) {
  std::vector<int> v;
  for (int i = from; i <= to; ++i) v.push_back(i);
  return v;
}

TEST_F(BrowseTest, PagingDownAndUpShowsEveryRowOnceForTableSizesAroundThePage) {
  for (int size : {0, 1, kPage - 1, kPage, kPage + 1, 2 * kPage, 2 * kPage + 3}) {
    SCOPED_TRACE("size " + std::to_string(size));
    SetUp();
    TempDir dir;
    seed(numbered(size));
    start();
    ASSERT_NE(win(), 0u);
    // The first page, its first row highlighted.
    EXPECT_EQ(nums(), range(1, std::min(size, kPage)));
    EXPECT_EQ(selected(), size ? 1 : 0);
    std::vector<int> seen = nums();
    for (int i = 0; i < 10 && seen.size() < static_cast<size_t>(size); ++i) {
      scroll(rt::ScrollAction::PageDown);
      for (int n : nums())
        if (n > seen.back()) seen.push_back(n);
    }
    EXPECT_EQ(seen, range(1, size));
    // Paging past the end stays on the last page with the last row highlighted.
    scroll(rt::ScrollAction::PageDown);
    EXPECT_EQ(nums(), range(std::max(1, size - kPage + 1), size));
    EXPECT_EQ(selected(), std::min(size, kPage));
    scroll(rt::ScrollAction::First);
    EXPECT_EQ(nums(), range(1, std::min(size, kPage)));
    scroll(rt::ScrollAction::Last);
    EXPECT_EQ(nums(), range(std::max(1, size - kPage + 1), size));
    // Back up page by page: every row again, never twice.
    std::vector<int> back = nums();
    for (int i = 0; i < 10 && back.size() < static_cast<size_t>(size); ++i) {
      scroll(rt::ScrollAction::PageUp);
      auto page = nums();
      for (auto it = page.rbegin(); it != page.rend(); ++it)
        if (*it < back.front()) back.insert(back.begin(), *it);
    }
    EXPECT_EQ(back, range(1, size));
    press(kClose);
    EXPECT_EQ(endProgram(), 0);
  }
}

TEST_F(BrowseTest, ArrowKeysMoveInsideThePageAndShiftItByOneRowAtItsEdges) {
  seed(numbered(8));
  start();
  for (int i = 0; i < kPage - 1; ++i) key(rt::DownKey);
  EXPECT_EQ(nums(), range(1, 5));
  EXPECT_EQ(selected(), 5);
  key(rt::DownKey);
  EXPECT_EQ(nums(), range(2, 6));
  EXPECT_EQ(selectedNum(), 6);
  key(rt::DownKey);
  key(rt::DownKey);
  key(rt::DownKey);  // past the last row: nothing more
  EXPECT_EQ(nums(), range(4, 8));
  EXPECT_EQ(selectedNum(), 8);
  for (int i = 0; i < kPage - 1; ++i) key(rt::UpKey);
  EXPECT_EQ(selectedNum(), 4);
  key(rt::UpKey);
  EXPECT_EQ(nums(), range(3, 7));
  EXPECT_EQ(selectedNum(), 3);
  EXPECT_EQ(selected(), 1);
}

TEST_F(BrowseTest, EqualValuesOfADupKeyAcrossPagesShowOnceEach) {
  std::vector<Line> recs;
  for (int i = 1; i <= 12; ++i) recs.push_back(line(1, i, "same", i));
  recs.push_back(line(1, 20, "after", 20));
  seed(recs);
  g_config.sort = 2;  // by name (DUP)
  start();
  std::vector<int> seen;
  std::set<int> unique;
  for (int i = 0; i < 14; ++i) {
    seen.push_back(selectedNum());
    unique.insert(selectedNum());
    key(rt::DownKey);
  }
  EXPECT_EQ(unique.size(), 13u);
  // "after" sorts first, then the equal names in the order they were added.
  std::vector<int> expected = {20};
  for (int i = 1; i <= 12; ++i) expected.push_back(i);
  expected.push_back(12);  // the last Down stays on the last row
  EXPECT_EQ(seen, expected);
}

TEST_F(BrowseTest, ButtonsFollowTheRowsAndTheSelectButtonIsHiddenWhenNotSelecting) {
  start();
  EXPECT_TRUE(ctl(kChange)->disabled);
  EXPECT_TRUE(ctl(kDelete)->disabled);
  EXPECT_TRUE(ctl(kView)->disabled);
  EXPECT_FALSE(ctl(kInsert)->disabled);
  EXPECT_TRUE(ctl(kSelect)->hidden);
  // A record added elsewhere shows at the next reload, and the buttons come alive.
  seed({line(1, 1, "x", 1)});
  press(kRefresh);
  EXPECT_EQ(nums(), std::vector<int>{1});
  EXPECT_FALSE(ctl(kChange)->disabled);
  EXPECT_FALSE(ctl(kDelete)->disabled);
  EXPECT_FALSE(ctl(kView)->disabled);
  EXPECT_TRUE(ctl(kSelect)->hidden);
  press(kClose);
  EXPECT_EQ(endProgram(), 0);
  EXPECT_EQ(g_shared.run_result, fw::RequestCompleted);
}

TEST_F(BrowseTest, ReloadKeepsTheHighlightedRowAndShowsWhatOtherThreadsChanged) {
  seed(numbered(9));
  start();
  key(rt::DownKey);
  key(rt::DownKey);
  EXPECT_EQ(selectedNum(), 3);
  const int before = reloads();
  // Another thread adds a row above and deletes one below the highlighted row.
  std::thread other([] {
    Line l{};
    store::File f(linesDef(), &l);
    ASSERT_TRUE(f.open().ok());
    l = line(0, 50, "new", 0);  // header 0 sorts before every other row
    ASSERT_TRUE(f.add().ok());
    l = line(1, 4, "", 0);
    ASSERT_TRUE(f.fetch(K_HDRNUM).ok());
    ASSERT_TRUE(f.erase().ok());
    f.close();
  });
  other.join();
  press(kRefresh);
  EXPECT_EQ(selectedNum(), 3);
  EXPECT_EQ(selected(), 3);
  EXPECT_EQ(nums(), (std::vector<int>{1, 2, 3, 5, 6}));
  EXPECT_GT(reloads(), before);
  scroll(rt::ScrollAction::First);
  EXPECT_EQ(nums(), (std::vector<int>{50, 1, 2, 3, 5}));
}

TEST_F(BrowseTest, ChangingTheOrderStaysOnTheHighlightedRecord) {
  seed({line(1, 1, "delta", 1), line(1, 2, "alpha", 2), line(1, 3, "charlie", 3), line(1, 4, "bravo", 4)});
  start();
  key(rt::DownKey);
  key(rt::DownKey);
  EXPECT_EQ(selectedName(), "charlie");
  press(kByName);
  EXPECT_EQ(selectedName(), "charlie");
  EXPECT_EQ(names(), (std::vector<std::string>{"alpha", "bravo", "charlie", "delta"}));
  press(kByHdr);
  EXPECT_EQ(selectedName(), "charlie");
}

TEST_F(BrowseTest, KeysAndDoubleClickHandTheirRequestsToTheUpdateProcedure) {
  seed(numbered(3));
  g_config.ask_procedure = 7;
  g_config.form_response = fw::RequestCancelled;
  start();
  key(rt::DownKey);  // row 2 highlighted
  struct Case {
    const char* what;
    int key;  // 0: double click on row 2
    std::string logged;
  };
  const Case cases[] = {
      {"Ctrl+Enter changes", rt::CtrlEnter, "run 7 2 1/2/n2"},
      {"Shift+Enter views", rt::ShiftEnter, "run 7 6 1/2/n2"},
      {"Delete key deletes", rt::DeleteKey, "run 7 3 1/2/n2"},
      {"double click changes", 0, "run 7 2 1/2/n2"},
      // Primed: cleared (no range here, so header 0) and numbered within header 0.
      {"Insert key inserts a primed record", rt::InsertKey, "run 7 1 0/1/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    {
      std::lock_guard<std::mutex> lk(g_shared.mu);
      g_shared.log.clear();
    }
    if (c.key)
      key(c.key);
    else {
      rt::input::click(win(), kList, rt::MouseLeft2, 2, 1);
      idle();
    }
    EXPECT_EQ(log(), std::vector<std::string>{c.logged});
    EXPECT_EQ(selectedNum(), 2);  // a cancelled request reloads the same page
    EXPECT_EQ(nums(), range(1, 3));
  }
}

TEST_F(BrowseTest, CompletedRequestsReloadPositionedOnTheRecord) {
  seed(numbered(8));
  g_config.ask_procedure = 1;
  start();
  // A change that moves the record: the list follows it.
  g_config.form_name = "zz";
  press(kByName);
  key(rt::DownKey);
  const std::string was = selectedName();
  press(kChange);
  EXPECT_EQ(selectedName(), "zz");
  EXPECT_NE(was, "zz");
  // An insert: numbered (header 0, so it sorts first), reserved, written by the form; the list
  // shows it highlighted.
  press(kByHdr);
  g_config.form_name = "added";
  press(kInsert);
  EXPECT_EQ(selectedName(), "added");
  EXPECT_EQ(selectedNum(), 1);
  EXPECT_EQ(selected(), 1);
  EXPECT_EQ(names().at(1), "n1");
  // A delete: the row after the deleted one takes its place.
  key(rt::DownKey);
  key(rt::DownKey);
  EXPECT_EQ(selectedName(), "zz");  // the record changed above
  press(kDelete);
  EXPECT_EQ(selectedName(), "n3");
  EXPECT_EQ(selected(), 3);
  EXPECT_EQ(nums(), (std::vector<int>{1, 1, 3, 4, 5}));
}

TEST_F(BrowseTest, FailedPrimingOpensNothingAndChangesNothing) {
  seed(numbered(2));
  g_config.ask_procedure = 1;
  g_config.prime_result = 35;
  start();
  press(kInsert);
  EXPECT_TRUE(log().empty());
  EXPECT_EQ(nums(), range(1, 2));
}

TEST_F(BrowseTest, RowNavigationLeftByTheFormMovesTheListAndRepeatsTheRequest) {
  seed(numbered(7));
  g_config.ask_procedure = 1;
  g_config.form_response = fw::RequestCancelled;
  g_config.form_vcr = fw::VCRForward;
  start();
  key(rt::DownKey);
  press(kChange);
  // The change ran on row 2, then, after the next-row request, on row 3.
  EXPECT_EQ(log(), (std::vector<std::string>{"run 1 2 1/2/n2", "run 1 2 1/3/n3"}));
  EXPECT_EQ(selectedNum(), 3);
  EXPECT_EQ(g_vcr, 0);
  {
    std::lock_guard<std::mutex> lk(g_shared.mu);
    g_shared.log.clear();
  }
  g_config.form_vcr = fw::VCRLast;
  press(kChange);
  EXPECT_EQ(log(), (std::vector<std::string>{"run 1 2 1/3/n3", "run 1 2 1/7/n7"}));
  EXPECT_EQ(selectedNum(), 7);
}

TEST_F(BrowseTest, InListEditsGoOnWithTheRowTheirNavigationRequestReaches) {
  seed(numbered(7));
  g_config.edit_vcrs = {fw::VCRForward, fw::VCRForward, fw::VCRBackward, 0};
  start();
  key(rt::DownKey);
  press(kChange);
  // Rows 2, 3, 4, then back to 3; each saved where it stands and the list follows the edits.
  EXPECT_EQ(log(), (std::vector<std::string>{"edit 2 1/2", "edit 2 1/3", "edit 2 1/4", "edit 2 1/3"}));
  EXPECT_EQ(selectedNum(), 3);
  EXPECT_EQ(names(), (std::vector<std::string>{"n1", "edited", "edited", "edited", "n5"}));
  EXPECT_EQ(g_vcr, 0);
  // Down on the last row: the edit is saved and editing stops there, no row follows.
  {
    std::lock_guard<std::mutex> lk(g_shared.mu);
    g_shared.log.clear();
  }
  scroll(rt::ScrollAction::Last);
  g_config.edit_vcrs = {fw::VCRForward, fw::VCRForward};
  press(kChange);
  EXPECT_EQ(log(), (std::vector<std::string>{"edit 2 1/7"}));
  EXPECT_EQ(g_vcr, 0);
  // An insert followed by a next-row request starts another insert.
  {
    std::lock_guard<std::mutex> lk(g_shared.mu);
    g_shared.log.clear();
  }
  g_config.edit_vcrs = {fw::VCRForward, 0};
  press(kInsert);
  EXPECT_EQ(log(), (std::vector<std::string>{"edit 1 0/1", "edit 1 0/2"}));
  EXPECT_EQ(selectedNum(), 2);
  EXPECT_EQ(selectedName(), "edited");
}

TEST_F(BrowseTest, RangeLimitsTheList) {
  std::vector<Line> recs = numbered(4, 1);
  for (const Line& l : numbered(3, 2)) recs.push_back(l);
  for (const Line& l : numbered(2, 3)) recs.push_back(l);
  seed(recs);
  g_config.range = true;
  g_config.range_hdr = 2;
  g_config.ask_procedure = 1;
  start();
  EXPECT_EQ(nums(), range(1, 3));
  scroll(rt::ScrollAction::Last);
  EXPECT_EQ(nums(), range(1, 3));
  // A new record is primed with the range's value and numbered within it.
  press(kInsert);
  EXPECT_EQ(log(), std::vector<std::string>{"run 1 1 2/4/"});
  EXPECT_EQ(nums(), range(1, 4));
}

TEST_F(BrowseTest, ARangeFollowingTheParentReloadsWithItAndEveryReloadRecomputesTheTotal) {
  seed({line(1, 1, "a", 1), line(1, 2, "b", 2), line(1, 3, "c", 3), line(2, 1, "d", 10), line(2, 2, "e", 20)});
  g_config.follow_header = true;
  g_config.sum_total = true;
  g_config.ask_procedure = 1;
  g_config.form_amount = 5;
  start();
  auto total = [] {
    std::lock_guard<std::mutex> lk(g_shared.mu);
    return g_shared.total;
  };
  EXPECT_EQ(nums(), range(1, 3));
  EXPECT_EQ(total(), 6);
  EXPECT_EQ(selectedName(), "a");
  // The parent moves on: a plain reset reloads the other header's lines.
  key(rt::DownKey);
  key(rt::DownKey);
  press(kNextHeader);
  EXPECT_EQ(nums(), range(1, 2));
  EXPECT_EQ(selectedName(), "d");  // the other header's first line
  EXPECT_EQ(total(), 30);
  // A new line takes the parent's number and the next line number; the total follows.
  press(kInsert);
  EXPECT_EQ(log(), std::vector<std::string>{"run 1 1 2/3/"});
  EXPECT_EQ(nums(), range(1, 3));
  EXPECT_EQ(selectedNum(), 3);
  EXPECT_EQ(total(), 35);
  // A line another thread adds to this header counts at the next forced reload.
  seed({line(2, 9, "z", 100), line(3, 1, "not ours", 1000)});
  press(kRefresh);
  EXPECT_EQ(total(), 135);
  EXPECT_EQ(nums(), (std::vector<int>{1, 2, 3, 9}));
  EXPECT_EQ(selectedNum(), 3);
}

TEST_F(BrowseTest, SelectProtocol) {
  seed({line(1, 10, "a", 1), line(1, 20, "b", 2), line(1, 30, "c", 3), line(1, 40, "d", 4), line(1, 50, "e", 5),
        line(1, 60, "f", 6), line(1, 70, "g", 7)});
  struct Case {
    const char* what;
    int num_in_buffer;
    bool choose;              // select (button, or Enter with `enter`), else the close button
    int opens_at;             // NUM highlighted when the list opens
    int chosen_num;           // NUM in the buffer afterwards when chosen
    bool enter = false;       // choose with Enter: the select button is the default button
  };
  const Case cases[] = {
      {"existing key, chosen", 30, true, 30, 30},
      {"existing key, chosen with Enter", 60, true, 60, 60, true},
      {"missing key opens at the next higher, chosen after a move", 35, true, 40, 50},
      {"zero opens at the first row, cancelled", 0, false, 10, 0},
      {"past the last key, cancelled", 99, false, 70, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    g_config.request = fw::SelectRecord;
    g_config.sort = 3;  // by number
    Line caller = line(1, c.num_in_buffer, "caller", -5);
    caller.NAME[9] = '\x01';  // bytes no list shows: a cancel must give them back exactly
    caller.ART = 0xBEEF;
    g_config.buffer = caller;
    start();
    EXPECT_EQ(selectedNum(), c.opens_at);
    EXPECT_FALSE(ctl(kSelect)->hidden);
    EXPECT_FALSE(ctl(kSelect)->disabled);
    EXPECT_TRUE(ctl(kSelect)->is_default);
    if (c.choose) {
      if (c.chosen_num != c.opens_at) key(rt::DownKey);
      if (c.enter)
        rt::input::key(win(), kList, rt::EnterKey);
      else
        press(kSelect);
    } else {
      key(rt::DownKey);
      press(kClose);
    }
    EXPECT_EQ(endProgram(), 0);
    std::lock_guard<std::mutex> lk(g_shared.mu);
    if (c.choose) {
      EXPECT_EQ(g_shared.run_result, fw::RequestCompleted);
      EXPECT_EQ(g_shared.after.NUM, c.chosen_num);
      EXPECT_EQ(g_shared.after.AMOUNT, c.chosen_num / 10);
    } else {
      EXPECT_EQ(g_shared.run_result, fw::RequestCancelled);
      EXPECT_EQ(0, std::memcmp(&g_shared.after, &caller, sizeof caller));
    }
  }
}

TEST_F(BrowseTest, SelectingFromAnEmptyListDisablesTheSelectButton) {
  g_config.request = fw::SelectRecord;
  g_config.buffer = line(1, 5, "keep", 9);
  start();
  EXPECT_FALSE(ctl(kSelect)->hidden);
  EXPECT_TRUE(ctl(kSelect)->disabled);
  rt::input::close(win());
  EXPECT_EQ(endProgram(), 0);
  std::lock_guard<std::mutex> lk(g_shared.mu);
  EXPECT_EQ(g_shared.run_result, fw::RequestCancelled);
  EXPECT_EQ(text(g_shared.after.NAME, 10), "keep");
}

TEST_F(BrowseTest, DoubleClickSelectsWhileSelecting) {
  seed(numbered(4));
  g_config.request = fw::SelectRecord;
  g_config.sort = 3;
  start();
  rt::input::click(win(), kList, rt::MouseLeft2, 3, 1);
  EXPECT_EQ(endProgram(), 0);
  std::lock_guard<std::mutex> lk(g_shared.mu);
  EXPECT_EQ(g_shared.run_result, fw::RequestCompleted);
  EXPECT_EQ(g_shared.after.NUM, 3);
}

TEST_F(BrowseTest, ListMenuOffersTheSelectEntryWhileSelecting) {
  seed(numbered(4));
  g_config.request = fw::SelectRecord;
  g_config.sort = 3;
  {
    std::lock_guard<std::mutex> lk(fe_.mu);
    fe_.popup_choice = 5;  // the fifth entry: select
  }
  start();
  rt::input::click(win(), kList, rt::MouseRight, 2, 1);
  EXPECT_EQ(endProgram(), 0);
  {
    std::lock_guard<std::mutex> lk(fe_.mu);
    EXPECT_EQ(fe_.offered, (std::vector<std::string>{"&Insert", "&Change", "&Delete", "&View", "&Select"}));
  }
  std::lock_guard<std::mutex> lk(g_shared.mu);
  EXPECT_EQ(g_shared.run_result, fw::RequestCompleted);
  EXPECT_EQ(g_shared.after.NUM, 2);
}

TEST_F(BrowseTest, LocatorSequences) {
  // Names by the name order; numbers 1..n in the number order.
  const std::vector<std::string> list = {"Apple", "avocado", "Banana", "blueberry", "Cherry", "kiwi", "Kumquat",
                                         "Lemon", "lime", "Mango", "melon", "Nectarine", "Olive", "Papaya", "Zucchini"};
  std::vector<Line> recs;
  for (size_t i = 0; i < list.size(); ++i) recs.push_back(line(1, static_cast<int>(i + 1) * 7, list[i], 0));
  seed(recs);
  struct Case {
    const char* typed;
    std::vector<std::string> highlighted;  // after each character
  };
  const Case cases[] = {
      {"b", {"Banana"}},
      {"bbb", {"Banana", "blueberry", "Banana"}},      // steps through, then back to the first
      {"kkk", {"kiwi", "Kumquat", "kiwi"}},
      {"K", {"kiwi"}},                                 // case ignored
      {"d", {"kiwi"}},                                 // none begins with d: the next one after it
      {"zz", {"Zucchini", "Zucchini"}},                // the last row: stays
      {"ab", {"avocado", "Banana"}},                   // the first row is already an a: one down
      {"x", {"Zucchini"}},                             // past every row: the last one
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    SetUp();
    g_config.sort = 2;
    start();
    std::vector<std::string> got;
    for (const char* p = c.typed; *p; ++p) {
      typeChar(*p);
      got.push_back(selectedName());
    }
    EXPECT_EQ(got, c.highlighted);
    press(kClose);
    EXPECT_EQ(endProgram(), 0);
  }
}

TEST_F(BrowseTest, LocatorInANumericOrderComparesTheDigitsValue) {
  seed({line(1, 3, "", 0), line(1, 5, "", 0), line(1, 50, "", 0), line(1, 57, "", 0), line(1, 8, "", 0),
        line(1, 12, "", 0)});
  g_config.sort = 3;
  start();
  struct Step {
    char c;
    int num;
  };
  // Rows 3 5 8 12 50 57. A digit goes to the first value at or after it; typed again it moves on
  // only while the next row still begins with it, and after the last such row it comes back.
  for (const Step& s : {Step{'5', 5}, Step{'5', 5}, Step{'1', 3}, Step{'1', 3}, Step{'9', 12}, Step{'5', 50},
                        Step{'5', 57}, Step{'5', 5}}) {
    SCOPED_TRACE(std::string(1, s.c));
    typeChar(s.c);
    EXPECT_EQ(selectedNum(), s.num);
  }
}

TEST_F(BrowseTest, ThumbFollowsTheKeyValueAndADragSeeksByIt) {
  std::vector<Line> recs;
  for (int i = 0; i < 40; ++i) recs.push_back(line(i, 1, "x", 0));  // headers 0..39
  seed(recs);
  start();
  double last = thumb();
  EXPECT_DOUBLE_EQ(last, 0.0);
  for (int i = 0; i < 12; ++i) {
    scroll(rt::ScrollAction::PageDown);
    EXPECT_GE(thumb(), last);
    last = thumb();
  }
  EXPECT_DOUBLE_EQ(last, 1.0);
  // A drop in the middle seeks by the key value it stands for.
  scroll(rt::ScrollAction::Thumb, 0.5);
  auto c = ctl(kList);
  ASSERT_TRUE(c);
  EXPECT_EQ(std::stoi(c->rows.at(c->selected_row - 1).at(0)), 20);  // round(0.5 * 39)
  EXPECT_NEAR(thumb(), 20.0 / 39.0, 1e-9);
  scroll(rt::ScrollAction::Thumb, 1.0);
  EXPECT_EQ(std::stoi(ctl(kList)->rows.back().at(0)), 39);
}

TEST_F(BrowseTest, ListMenuOffersTheButtonsInTheProgramsLanguage) {
  seed(numbered(3));
  g_config.ask_procedure = 1;
  g_config.form_response = fw::RequestCancelled;
  fw::SetBrowsePopupTexts({"&Agregar", "&Cambiar", "&Borrar", "&Ver", "&Elegir"});
  start();
  // Dismissed: nothing happens.
  rt::input::click(win(), kList, rt::MouseRight, 2, 1);
  idle();
  EXPECT_TRUE(log().empty());
  {
    std::lock_guard<std::mutex> lk(fe_.mu);
    EXPECT_EQ(fe_.offered, (std::vector<std::string>{"&Agregar", "&Cambiar", "&Borrar", "&Ver"}));
    fe_.popup_choice = 2;  // "&Cambiar"
  }
  rt::input::click(win(), kList, rt::MouseRight, 3, 1);
  idle();
  EXPECT_EQ(log(), std::vector<std::string>{"run 1 2 1/3/n3"});
}

}  // namespace
