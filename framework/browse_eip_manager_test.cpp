// The in-list editor driving a real runtime window over a small table through the runtime's
// input, as a user would: starting inserts, changes and deletes, moving between columns,
// completing rows by the action bytes, validation, questions, write failures, events that arrive
// while a row is edited, and the lookup editor.
#include "framework/browse_eip_manager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "framework/browse_class.h"
#include "framework/browse_test_driver.h"
#include "framework/browse_test_tables.h"
#include "framework/edit_entry_class.h"
#include "framework/edit_lookup_class.h"
#include "framework/error_class.h"
#include "framework/file_manager.h"
#include "framework/manager_test_support.h"
#include "framework/relation_manager.h"
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
  char VIEWPOSITION[1024];
};
#pragma pack(pop)

constexpr int kList = 1, kInsert = 2, kChange = 3, kDelete = 4, kOther = 5, kClose = 6;
constexpr int kPage = 4;
// Columns: 1 HDR (no editor), 2 NUM, 3 NAME, 4 AMOUNT.
constexpr int kNumCol = 2, kNameCol = 3, kAmountCol = 4;

enum class NameEditor { Entry, Refusing, Lookup };

struct Config {
  std::uint8_t arrow = 24, enter = 0, tab = 0, focus = 0, del = 1;
  bool name_required = false;
  NameEditor name_editor = NameEditor::Entry;
  bool auto_number = true;  // the line number is numbered (and reserved) by priming
};

struct Shared {
  std::mutex mu;
  std::vector<std::string> log;
  int updates = 0;   // rewrites that reached the table manager
};

Config g_config;
Shared g_shared;
std::int32_t g_vcr = 0;
std::shared_ptr<fw_test::RecordingPresenter> g_presenter;
std::unique_ptr<fw::ErrorClass> g_errors;

void logLine(std::string s) {
  std::lock_guard<std::mutex> lk(g_shared.mu);
  g_shared.log.push_back(std::move(s));
}

// Counts the rewrites, so that a test can tell that nothing was written.
class CountingFileManager : public fw::FileManager {
 public:
  int TryUpdate() override {
    {
      std::lock_guard<std::mutex> lk(g_shared.mu);
      ++g_shared.updates;
    }
    return fw::FileManager::TryUpdate();
  }
};

// Refuses the name "bad" when the row is validated or the cell left.
class RefusingEditor : public fw::EditEntryClass {
 public:
  int TakeAccepted(int action) override {
    const int a = fw::EditEntryClass::TakeAccepted(action);
    return UseVar && UseVar->rawText() == "bad" ? 4 : a;
  }
};

// Accepts the names "ok" and "fine"; a forced lookup, or a name it does not know, picks "picked".
class NameLookup : public fw::EditLookupClass {
 public:
  int AskLookup(bool pForce) override {
    fw::EditLookupClass::AskLookup(pForce);
    const std::string name = UseVar->rawText();
    logLine("lookup " + std::to_string(pForce ? 1 : 0) + " " + name);
    if (!pForce && (name == "ok" || name == "fine")) return 7;
    if (!pForce && name == "nothing") return 0;  // the user cancels the pick
    UseVar->store(nullptr, "picked");
    return 7;
  }
};

rt::WindowDecl decl() {
  rt::WindowDecl s("Lines");
  s.size(300, 140)
      .control(rt::ControlDecl::list(kList, "20R|~H~@n3@20R|~N~@n5@40L|~Name~@s10@30R|~Amt~@n-7@")
                   .at(4, 4, 200, 50)
                   .rowHeight(10)
                   .pageLoaded())
      .control(rt::ControlDecl::button(kInsert, "&Insert").at(4, 70, 40, 14))
      .control(rt::ControlDecl::button(kChange, "&Change").at(48, 70, 40, 14))
      .control(rt::ControlDecl::button(kDelete, "&Delete").at(92, 70, 40, 14))
      .control(rt::ControlDecl::button(kOther, "&Other").at(136, 70, 40, 14))
      .control(rt::ControlDecl::button(kClose, "C&lose").at(180, 70, 40, 14));
  return s;
}

class EipBrowse : public fw::BrowseClass {
 public:
  fw::BrowseEIPManager EIP;
  int AskRecord(int request) override { return EIP.AskRecord(request); }
};

class TestWindow : public fw::WindowManager {
 public:
  TestWindow(rt::Window& w, store::File& lines, Line& lin, fw::RelationManager& rm)
      : fw::WindowManager(w), lines_(lines), lin_(lin), rm_(rm) {}

  int Init() override {
    if (int r = fw::WindowManager::Init(); r != 0) return r;
    Errors = g_errors.get();
    FirstField = kList;
    VCRRequest = &g_vcr;
    AddItem(kClose, fw::RequestCompleted);
    if (Open(decl()) != rt::OpenResult::Ok) return fw::Level_Fatal;
    view_.Init(lines_, &lin_);
    brw_.Init(kList, queue_rec_.VIEWPOSITION, view_, queue_, &rm_, *this);
    brw_.InsertControl = kInsert;
    brw_.ChangeControl = kChange;
    brw_.DeleteControl = kDelete;
    brw_.AddSortOrder(K_HDRNUM);
    brw_.AddRange(&lin_.HDR, &header_);
    // Editors are registered before the field pairs, as the programs do.
    brw_.EIP.Init(brw_);
    brw_.EIP.AddEditControl(nullptr, 1);
    brw_.EIP.AddEditControl(&num_editor_, kNumCol);
    switch (g_config.name_editor) {
      case NameEditor::Entry: brw_.EIP.AddEditControl(std::make_unique<fw::EditEntryClass>(), kNameCol); break;
      case NameEditor::Refusing: brw_.EIP.AddEditControl(std::make_unique<RefusingEditor>(), kNameCol); break;
      case NameEditor::Lookup: brw_.EIP.AddEditControl(std::make_unique<NameLookup>(), kNameCol); break;
    }
    brw_.EIP.EditorOf(kNameCol)->Req = g_config.name_required;
    brw_.EIP.AddEditControl(&amount_editor_, kAmountCol);
    brw_.AddField(rt::Binding::ushort(lin_.HDR), rt::Binding::ushort(queue_rec_.HDR));
    brw_.AddField(rt::Binding::ushort(lin_.NUM), rt::Binding::ushort(queue_rec_.NUM));
    brw_.AddField(rt::Binding::string(lin_.NAME), rt::Binding::string(queue_rec_.NAME));
    brw_.AddField(rt::Binding::long_(lin_.AMOUNT), rt::Binding::long_(queue_rec_.AMOUNT));
    brw_.ArrowAction = g_config.arrow;
    brw_.EnterAction = g_config.enter;
    brw_.TabAction = g_config.tab;
    brw_.FocusLossAction = g_config.focus;
    brw_.DeleteAction = g_config.del;
    SetAlerts();
    return 0;
  }

  int TakeAccepted() override {
    if (rt::field() == kOther) logLine(std::string("other pressed, editing ") + (brw_.EIP.Editing() ? "yes" : "no"));
    return fw::WindowManager::TakeAccepted();
  }

  int TakeWindowEvent() override {
    if (rt::event() == rt::EVENT_CloseWindow) logLine("close");
    return fw::WindowManager::TakeWindowEvent();
  }

 private:
  store::File& lines_;
  Line& lin_;
  fw::RelationManager& rm_;
  fw::ViewManager view_;
  QueueRec queue_rec_{};
  fw::BrowseQueue queue_{queue_rec_};
  EipBrowse brw_;
  fw::EditEntryClass num_editor_, amount_editor_;
  std::uint16_t header_ = 1;
};

void browseProcedure() {
  Line lin{};
  store::File lines(linesDef(), &lin);
  CountingFileManager fm;
  fm.Buffer = reinterpret_cast<unsigned char*>(&lin);
  fm.RecordSize = sizeof lin;
  fm.Init();
  fm.Init(lines, *g_errors);
  fm.Create = true;
  fm.AddKey(K_HDRNUM, "By header and number", g_config.auto_number ? 2 : 0);
  fw::RelationManager rm;
  rm.Init(fm, false);
  EXPECT_EQ(rm.Open(), fw::Level_Benign);
  rt::Window window;
  {
    TestWindow w(window, lines, lin, rm);
    w.Run();
  }
  rm.Close();
  fm.Kill();
}

class EipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_config = Config{};
    {
      std::lock_guard<std::mutex> lk(g_shared.mu);
      g_shared.log.clear();
      g_shared.updates = 0;
    }
    g_vcr = 0;
    g_presenter = std::make_shared<fw_test::RecordingPresenter>();
    g_errors = std::make_unique<fw::ErrorClass>(g_presenter);
    g_errors->Init(status_);
  }
  void TearDown() override {
    if (rt::programRunning()) {
      rt::stopProgram(0);
      rt::waitProgram();
    }
    g_errors->Kill();
    g_errors.reset();
  }

  void seed(const std::vector<Line>& recs) { seedLines(recs); }
  // The stored lines of header 1, in key order, as "NUM:NAME:AMOUNT".
  std::vector<std::string> stored() {
    std::vector<std::string> out;
    Line l{};
    store::File f(linesDef(), &l);
    if (!f.open().ok()) return out;
    if (f.set(K_HDRNUM).ok())
      while (f.next().ok())
        if (l.HDR == 1) out.push_back(std::to_string(l.NUM) + ":" + text(l.NAME, 10) + ":" + std::to_string(l.AMOUNT));
    f.close();
    return out;
  }
  void start() {
    ASSERT_EQ(rt::startProgram(rt::ProgramDecl{browseProcedure, nullptr, nullptr, 0}, fe_), rt::StartResult::Ok);
    idle();
  }
  void idle() { ASSERT_TRUE(rt::waitProgramIdle(20s)) << rt::dumpModel(); }
  rt::WindowId win() { return windowTitled("Lines"); }
  std::optional<rt::ControlView> ctl(int feq) { return controlOf(win(), feq); }
  // The editing control over a list cell, if any.
  std::optional<rt::ControlView> editor() {
    auto v = rt::viewOf(win());
    if (!v) return std::nullopt;
    for (const auto& c : v->controls)
      if (c.over_list == kList) return c;
    return std::nullopt;
  }
  // Where the editor is, as {row, column}; {0, 0} when no row is edited.
  std::pair<int, int> cell() {
    auto e = editor();
    return e ? std::pair{e->over_row, e->over_col} : std::pair{0, 0};
  }
  // Rows as shown, "NUM:NAME:AMOUNT".
  std::vector<std::string> rows() {
    std::vector<std::string> out;
    auto c = ctl(kList);
    if (!c) return out;
    for (const auto& r : c->rows) {
      auto trim = [](std::string s) {
        s.erase(0, s.find_first_not_of(' '));
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
      };
      out.push_back(trim(r.at(1)) + ":" + trim(r.at(2)) + ":" + trim(r.at(3)));
    }
    return out;
  }
  int selected() {
    auto c = ctl(kList);
    return c ? c->selected_row : -1;
  }
  void press(int feq) {
    rt::input::click(win(), feq, rt::MouseLeft);
    idle();
  }
  void clickCell(int row, int col, int mouse = rt::MouseLeft) {
    rt::input::click(win(), kList, mouse, row, col);
    idle();
  }
  void selectRow(int row) { clickCell(row, 1); }
  // Types a whole text into the editing control.
  void type(const std::string& s) {
    auto e = editor();
    ASSERT_TRUE(e) << rt::dumpModel();
    rt::input::editText(win(), e->feq, s);
    idle();
  }
  void key(int k) {
    auto e = editor();
    ASSERT_TRUE(e) << rt::dumpModel();
    rt::input::key(win(), e->feq, k);
    idle();
  }
  std::vector<std::string> log() {
    std::lock_guard<std::mutex> lk(g_shared.mu);
    return g_shared.log;
  }
  int updates() {
    std::lock_guard<std::mutex> lk(g_shared.mu);
    return g_shared.updates;
  }
  std::vector<std::string> captions() { return g_presenter->captions(); }

  TempDir dir_;
  SilentFrontEnd fe_;
  fw::ErrorStatusClass status_;
};

std::vector<Line> numbered(int n) {
  std::vector<Line> out;
  for (int i = 1; i <= n; ++i) out.push_back(line(1, i, "n" + std::to_string(i), i * 10));
  return out;
}

// ----- Moving between columns ------------------------------------------------------------------

TEST(EipColumns, TheNearestEditableColumnInTheDirectionOfTravelTurningOnceAtTheEnd) {
  struct Case {
    int wanted, direction;
    std::vector<bool> editable;
    int expected;
  };
  const std::vector<Case> cases = {
      {1, 1, {false, true, true, true}, 2},    // start of the row: the first editor
      {3, 1, {false, true, true, true}, 3},    // an editable column is taken as it is
      {1, -1, {false, true, true, false}, 2},  // going back from the first column turns forward
      {4, 1, {false, true, true, false}, 3},   // past the last editor: turns back
      {3, -1, {true, false, false, true}, 1},  // backwards to the first
      {2, 1, {true, false, false, true}, 4},   // forwards over non-editable columns
      {2, -1, {false, false, true, false}, 3}, // nothing behind: turns forward
      {9, 1, {true, true, false}, 2},          // beyond the row: from the last column back
      {2, 1, {false, false, false}, 0},        // no editor at all
      {1, 1, {}, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(fw::BrowseEIPManager::NextColumn(c.wanted, c.direction, c.editable), c.expected)
        << "wanted " << c.wanted << " direction " << c.direction;
}

// ----- Starting ---------------------------------------------------------------------------------

TEST_F(EipTest, InsertOpensAPrimedRowBelowTheHighlightedOneInTheFirstEditableColumn) {
  seed(numbered(3));
  start();
  selectRow(2);
  press(kInsert);
  EXPECT_EQ(rows(), (std::vector<std::string>{"1:n1:10", "2:n2:20", "4::0", "3:n3:30"}));
  EXPECT_EQ(cell(), (std::pair{3, kNumCol}));
  EXPECT_EQ(stored().size(), 4u) << "the new number is reserved at once";
  auto list = ctl(kList);
  ASSERT_TRUE(list);
  ASSERT_GE(list->columns.size(), 4u);
  EXPECT_TRUE(list->columns[0].grey);
  EXPECT_FALSE(list->columns[1].grey);
  key(rt::EscKey);
  list = ctl(kList);
  EXPECT_FALSE(list->columns[0].grey) << "restored when editing ends";
}

TEST_F(EipTest, InsertIntoAFullPageDropsTheLastRowOrTheFirstWhenTheHighlightWasLast) {
  struct Case {
    int highlighted;
    std::vector<std::string> expected;
    int new_row;
  };
  const std::vector<Case> cases = {
      {2, {"1:n1:10", "2:n2:20", "6::0", "3:n3:30"}, 3},
      {4, {"2:n2:20", "3:n3:30", "4:n4:40", "6::0"}, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.highlighted);
    TempDir dir;
    seed(numbered(5));
    start();
    selectRow(c.highlighted);
    const auto before = rows();
    press(kInsert);
    EXPECT_EQ(rows(), c.expected);
    EXPECT_EQ(cell(), (std::pair{c.new_row, kNumCol}));
    key(rt::EscKey);
    EXPECT_EQ(rows(), before) << "the dropped row comes back";
    EXPECT_EQ(selected(), c.highlighted);
    rt::stopProgram(0);
    rt::waitProgram();
  }
}

TEST_F(EipTest, ADoubleClickStartsInTheClickedColumnOrTheNearestEditableOne) {
  seed(numbered(3));
  start();
  clickCell(2, kAmountCol, rt::MouseLeft2);
  EXPECT_EQ(cell(), (std::pair{2, kAmountCol}));
  key(rt::EscKey);
  clickCell(3, 1, rt::MouseLeft2);
  EXPECT_EQ(cell(), (std::pair{3, kNumCol})) << "column 1 has no editor";
  key(rt::EscKey);
}

TEST_F(EipTest, ANewRowOfATableWithoutNumberingIsAddedWhenSavedAndLeavesNothingWhenDiscarded) {
  g_config.auto_number = false;
  seed(numbered(2));
  start();
  selectRow(2);
  press(kInsert);
  EXPECT_EQ(rows().at(2), "0::0");
  EXPECT_EQ(stored().size(), 2u) << "nothing reserved";
  key(rt::EscKey);
  EXPECT_EQ(stored().size(), 2u);
  EXPECT_EQ(rows().size(), 2u);
  press(kInsert);
  type("9");
  key(rt::TabKey);
  type("added");
  key(rt::EnterKey);
  EXPECT_EQ(cell(), (std::pair{0, 0}));
  EXPECT_EQ(stored(), (std::vector<std::string>{"1:n1:10", "2:n2:20", "9:added:0"}));
  EXPECT_EQ(rows(), stored());
}

// ----- Esc --------------------------------------------------------------------------------------

TEST_F(EipTest, EscInANewRowLeavesTheTableAndTheListAsBefore) {
  seed(numbered(3));
  start();
  selectRow(2);
  const auto before_rows = rows();
  const auto before_table = stored();
  press(kInsert);
  type("77");
  key(rt::TabKey);
  type("typed");
  key(rt::EscKey);
  EXPECT_EQ(cell(), (std::pair{0, 0}));
  EXPECT_EQ(rows(), before_rows);
  EXPECT_EQ(selected(), 2);
  EXPECT_EQ(stored(), before_table);
  EXPECT_TRUE(captions().empty());
}

TEST_F(EipTest, EscInAnExistingRowPutsItsValuesBack) {
  seed(numbered(3));
  start();
  selectRow(2);
  press(kChange);
  key(rt::TabKey);
  type("changed");
  key(rt::TabKey);
  EXPECT_EQ(rows()[1], "2:changed:20") << "the cell shows what was typed once it is left";
  key(rt::EscKey);
  EXPECT_EQ(rows()[1], "2:n2:20");
  EXPECT_EQ(stored()[1], "2:n2:20");
  EXPECT_EQ(updates(), 0);
}

// ----- Arrows -----------------------------------------------------------------------------------

TEST_F(EipTest, DownSavesAndGoesOnInTheSameColumnOnlyWhileARowFollows) {
  seed(numbered(3));
  start();
  selectRow(2);
  press(kChange);
  key(rt::TabKey);
  type("second");
  key(rt::DownKey);
  EXPECT_EQ(stored()[1], "2:second:20");
  EXPECT_EQ(cell(), (std::pair{3, kNameCol})) << "arrow action 24 keeps the column";
  type("third");
  key(rt::DownKey);
  EXPECT_EQ(stored()[2], "3:third:30");
  EXPECT_EQ(cell(), (std::pair{0, 0})) << "no row follows the last one";
  EXPECT_EQ(rows(), (std::vector<std::string>{"1:n1:10", "2:second:20", "3:third:30"}));
}

TEST_F(EipTest, DownOnAnUnchangedRowGoesOnWithoutWriting) {
  seed(numbered(3));
  start();
  press(kChange);
  key(rt::DownKey);
  EXPECT_EQ(cell(), (std::pair{2, kNumCol}));
  key(rt::DownKey);
  EXPECT_EQ(cell(), (std::pair{3, kNumCol}));
  key(rt::EscKey);
  EXPECT_EQ(updates(), 0);
}

TEST_F(EipTest, UpSavesAndGoesOnWithThePreviousRow) {
  seed(numbered(3));
  start();
  selectRow(3);
  press(kChange);
  key(rt::TabKey);
  type("up");
  key(rt::UpKey);
  EXPECT_EQ(stored()[2], "3:up:30");
  EXPECT_EQ(cell(), (std::pair{2, kNameCol}));
  key(rt::EscKey);
}

TEST_F(EipTest, DownAfterANewRowStartsAnotherNewRow) {
  seed(numbered(2));
  start();
  selectRow(2);
  press(kInsert);
  key(rt::TabKey);
  type("new");
  key(rt::DownKey);
  EXPECT_EQ(stored(), (std::vector<std::string>{"1:n1:10", "2:n2:20", "3:new:0", "4::0"}));
  EXPECT_EQ(cell(), (std::pair{4, kNameCol}));
  EXPECT_EQ(rows().at(3), "4::0");
  key(rt::EscKey);
  EXPECT_EQ(stored(), (std::vector<std::string>{"1:n1:10", "2:n2:20", "3:new:0"}));
  EXPECT_EQ(rows(), (std::vector<std::string>{"1:n1:10", "2:n2:20", "3:new:0"}));
}

TEST_F(EipTest, ArrowWithoutCarryOnEndsEditingAfterSaving) {
  g_config.arrow = 1;
  seed(numbered(3));
  start();
  selectRow(1);
  press(kChange);
  key(rt::TabKey);
  type("once");
  key(rt::DownKey);
  EXPECT_EQ(stored()[0], "1:once:10");
  EXPECT_EQ(cell(), (std::pair{0, 0}));
}

// ----- Enter and Tab ----------------------------------------------------------------------------

TEST_F(EipTest, EnterOnAnUnchangedExistingRowWritesNothing) {
  seed(numbered(3));
  start();
  selectRow(2);
  press(kChange);
  key(rt::TabKey);
  key(rt::EnterKey);
  EXPECT_EQ(cell(), (std::pair{0, 0}));
  EXPECT_EQ(updates(), 0);
  EXPECT_TRUE(captions().empty());
  EXPECT_EQ(stored()[1], "2:n2:20");
}

TEST_F(EipTest, EnterOnAChangedRowSavesWithoutAsking) {
  seed(numbered(3));
  start();
  selectRow(2);
  press(kChange);
  key(rt::TabKey);
  key(rt::TabKey);
  type("-5");
  key(rt::EnterKey);
  EXPECT_EQ(stored()[1], "2:n2:-5");
  EXPECT_EQ(cell(), (std::pair{0, 0}));
  EXPECT_TRUE(captions().empty());
}

TEST_F(EipTest, TabPastTheLastColumnAsksToSave) {
  struct Case {
    int answer;
    std::string table_row, shown_row;
    bool still_editing;
  };
  const std::vector<Case> cases = {
      {rt::BUTTON_YES, "2:n2:99", "2:n2:99", false},
      {rt::BUTTON_NO, "2:n2:20", "2:n2:20", false},
      {rt::BUTTON_CANCEL, "2:n2:20", "2:n2:99", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    TempDir dir;
    g_presenter->clear();
    seed(numbered(3));
    start();
    selectRow(2);
    press(kChange);
    key(rt::TabKey);
    key(rt::TabKey);
    EXPECT_EQ(cell(), (std::pair{2, kAmountCol}));
    type("99");
    g_presenter->answer(c.answer);
    key(rt::TabKey);
    EXPECT_EQ(captions(), std::vector<std::string>{"Save Record"});
    EXPECT_EQ(stored()[1], c.table_row);
    EXPECT_EQ(rows()[1], c.shown_row);
    if (c.still_editing) {
      EXPECT_EQ(cell(), (std::pair{2, kAmountCol}));
      EXPECT_EQ(editor()->text, "99") << "the user's value stays in the cell";
    } else {
      EXPECT_EQ(cell(), (std::pair{0, 0}));
    }
    rt::stopProgram(0);
    rt::waitProgram();
  }
}

TEST_F(EipTest, TabPastTheLastColumnOfAnUnchangedRowEndsWithoutAQuestion) {
  seed(numbered(2));
  start();
  press(kChange);
  key(rt::TabKey);
  key(rt::TabKey);
  key(rt::TabKey);
  EXPECT_EQ(cell(), (std::pair{0, 0}));
  EXPECT_TRUE(captions().empty());
}

TEST_F(EipTest, ShiftTabGoesBackAndStopsInTheFirstEditableColumn) {
  seed(numbered(2));
  start();
  press(kChange);
  key(rt::TabKey);
  key(rt::TabKey);
  key(rt::ShiftTab);
  EXPECT_EQ(cell(), (std::pair{1, kNameCol}));
  key(rt::ShiftTab);
  key(rt::ShiftTab);
  EXPECT_EQ(cell(), (std::pair{1, kNumCol}));
  key(rt::EscKey);
}

TEST_F(EipTest, EachWayOfLeavingARowFollowsItsActionByte) {
  // The row edited is row 1; its name cell is changed to "x", then the key or click acts.
  enum Leave { Enter, TabPastLast, Down, ClickRow3 };
  struct Case {
    std::string what;
    Config config;
    Leave leave;
    std::string stored_row1;
    std::pair<int, int> cell_after;
  };
  Config enter9, enter2, tab1, tab9, arrow8, arrow2, focus2, focus4;
  enter9.enter = 9;
  enter2.enter = 2;
  tab1.tab = 1;
  tab9.tab = 9;
  arrow8.arrow = 8;
  arrow2.arrow = 2;
  focus2.focus = 2;
  focus4.focus = 4;
  const std::vector<Case> cases = {
      {"Enter 9: save and go on", enter9, Enter, "1:x:10", {2, kNumCol}},
      {"Enter 2: discard", enter2, Enter, "1:n1:10", {0, 0}},
      {"Tab 1: save without asking", tab1, TabPastLast, "1:x:10", {0, 0}},
      {"Tab 9: save and go on", tab9, TabPastLast, "1:x:10", {2, kNumCol}},
      {"arrow 8: go on in the first editable column", arrow8, Down, "1:x:10", {2, kNumCol}},
      {"arrow 2: discard", arrow2, Down, "1:n1:10", {0, 0}},
      {"focus loss 2: discard", focus2, ClickRow3, "1:n1:10", {0, 0}},
      {"focus loss 4: ask (Yes by default)", focus4, ClickRow3, "1:x:10", {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    g_presenter->clear();
    g_config = c.config;
    seed(numbered(3));
    start();
    selectRow(1);
    press(kChange);
    key(rt::TabKey);
    type("x");
    switch (c.leave) {
      case Enter: key(rt::EnterKey); break;
      case TabPastLast: key(rt::TabKey); key(rt::TabKey); break;
      case Down: key(rt::DownKey); break;
      case ClickRow3: clickCell(3, 1); break;
    }
    EXPECT_EQ(stored()[0], c.stored_row1);
    EXPECT_EQ(rows()[0], c.stored_row1);
    EXPECT_EQ(cell(), c.cell_after);
    EXPECT_EQ(captions(), c.config.focus == 4 ? std::vector<std::string>{"Save Record"} : std::vector<std::string>{});
    rt::stopProgram(0);
    rt::waitProgram();
  }
}

// ----- Validation and write failures ------------------------------------------------------------

TEST_F(EipTest, AnInvalidColumnKeepsTheRowOpenOnThatColumn) {
  struct Case {
    std::string what;
    bool required;
    NameEditor editor;
    std::string name;
  };
  const std::vector<Case> cases = {
      {"required and empty", true, NameEditor::Entry, ""},
      {"refused by its editor", false, NameEditor::Refusing, "bad"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    g_config.name_required = c.required;
    g_config.name_editor = c.editor;
    {
      std::lock_guard<std::mutex> lk(g_shared.mu);
      g_shared.updates = 0;
    }
    seed(numbered(2));
    start();
    selectRow(2);
    press(kChange);
    key(rt::TabKey);
    type(c.name);
    clickCell(2, kAmountCol);  // moving by a click checks nothing
    type("5");
    key(rt::EnterKey);
    EXPECT_EQ(cell(), (std::pair{2, kNameCol}));
    EXPECT_EQ(stored()[1], "2:n2:20");
    EXPECT_EQ(updates(), 0);
    type("good");
    key(rt::EnterKey);
    EXPECT_EQ(cell(), (std::pair{0, 0}));
    EXPECT_EQ(stored()[1], "2:good:5");
    rt::stopProgram(0);
    rt::waitProgram();
  }
}

TEST_F(EipTest, ADuplicateKeyOnSaveLeavesTheRowOpenWithTheUsersValues) {
  seed(numbered(3));
  start();
  selectRow(3);
  press(kChange);
  type("1");  // the number of row 1
  key(rt::TabKey);
  type("dup");
  key(rt::EnterKey);
  EXPECT_EQ(captions(), std::vector<std::string>{"Duplicate Key Error"});
  EXPECT_NE(cell(), (std::pair{0, 0}));
  EXPECT_EQ(cell().first, 3);
  EXPECT_EQ(rows()[2], "1:dup:30");
  EXPECT_EQ(stored(), (std::vector<std::string>{"1:n1:10", "2:n2:20", "3:n3:30"}));
  // Putting the number right saves the row.
  key(rt::ShiftTab);
  type("7");
  key(rt::EnterKey);
  EXPECT_EQ(cell(), (std::pair{0, 0}));
  EXPECT_EQ(stored(), (std::vector<std::string>{"1:n1:10", "2:n2:20", "7:dup:30"}));
}

// ----- Deleting ---------------------------------------------------------------------------------

TEST_F(EipTest, DeleteFollowsTheDeleteAction) {
  struct Case {
    std::uint8_t action;
    int answer;  // to message 11, when asked
    std::vector<std::string> captions, table;
  };
  const std::vector<Case> cases = {
      {1, 0, {}, {"1:n1:10", "3:n3:30"}},
      {4, rt::BUTTON_YES, {"Confirm Delete"}, {"1:n1:10", "3:n3:30"}},
      {4, rt::BUTTON_NO, {"Confirm Delete"}, {"1:n1:10", "2:n2:20", "3:n3:30"}},
      {2, 0, {}, {"1:n1:10", "2:n2:20", "3:n3:30"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.action));
    TempDir dir;
    g_presenter->clear();
    g_config.del = c.action;
    seed(numbered(3));
    start();
    selectRow(2);
    if (c.answer) g_presenter->answer(c.answer);
    press(kDelete);
    EXPECT_EQ(captions(), c.captions);
    EXPECT_EQ(stored(), c.table);
    std::vector<std::string> shown = c.table;
    EXPECT_EQ(rows(), shown);
    EXPECT_EQ(cell(), (std::pair{0, 0})) << "a delete edits nothing";
    rt::stopProgram(0);
    rt::waitProgram();
  }
}

// ----- Events while a row is edited -------------------------------------------------------------

TEST_F(EipTest, AClickOnAnotherCellOfTheRowMovesTheEditorThere) {
  seed(numbered(3));
  start();
  selectRow(2);
  press(kChange);
  type("8");
  clickCell(2, kAmountCol);
  EXPECT_EQ(cell(), (std::pair{2, kAmountCol}));
  EXPECT_EQ(rows()[1], "8:n2:20");
  EXPECT_EQ(updates(), 0) << "moving within the row writes nothing";
  key(rt::EscKey);
  EXPECT_EQ(rows()[1], "2:n2:20");
}

TEST_F(EipTest, AClickOnAnotherRowSavesTheEditedOne) {
  seed(numbered(3));
  start();
  selectRow(1);
  press(kChange);
  key(rt::TabKey);
  type("left");
  clickCell(3, kNameCol);
  EXPECT_EQ(cell(), (std::pair{0, 0}));
  EXPECT_EQ(stored()[0], "1:left:10");
  EXPECT_EQ(rows()[0], "1:left:10");
  EXPECT_EQ(selected(), 3) << "the row clicked is the highlighted one";
  EXPECT_TRUE(captions().empty()) << "focus-loss action 0 saves without asking";
}

TEST_F(EipTest, AButtonClickedWhileEditingIsCarriedOutAfterTheRowIsCompleted) {
  seed(numbered(3));
  start();
  selectRow(2);
  press(kChange);
  key(rt::TabKey);
  type("btn");
  press(kOther);
  EXPECT_EQ(stored()[1], "2:btn:20");
  EXPECT_EQ(log(), std::vector<std::string>{"other pressed, editing no"});
}

TEST_F(EipTest, ClosingTheWindowCompletesTheRowAndCloses) {
  seed(numbered(3));
  start();
  selectRow(2);
  press(kChange);
  key(rt::TabKey);
  type("closing");
  rt::input::close(win());
  EXPECT_TRUE(rt::waitProgramFor(20s)) << rt::dumpModel();
  EXPECT_EQ(stored()[1], "2:closing:20");
}

TEST_F(EipTest, SizeRequestsAreIgnoredWhileARowIsEdited) {
  seed(numbered(3));
  start();
  press(kChange);
  rt::input::maximize(win());
  idle();
  rt::input::iconize(win());
  idle();
  EXPECT_EQ(cell(), (std::pair{1, kNumCol})) << "the row is still being edited";
  key(rt::EscKey);
}

// ----- The lookup editor ------------------------------------------------------------------------

TEST_F(EipTest, TheLookupEditorChecksTheCellWhenItIsLeftAndOnItsDropButton) {
  g_config.name_editor = NameEditor::Lookup;
  seed(numbered(2));
  start();
  selectRow(1);
  press(kChange);
  key(rt::TabKey);
  auto e = editor();
  ASSERT_TRUE(e);
  EXPECT_EQ(e->type, rt::CONTROL_DropCombo);
  EXPECT_TRUE(e->drop_button_only);

  // A known name lets Tab act at once.
  type("ok");
  key(rt::TabKey);
  EXPECT_EQ(cell(), (std::pair{1, kAmountCol}));
  // A name the pick is cancelled for keeps the cell open and ignores the key.
  key(rt::ShiftTab);
  type("nothing");
  key(rt::TabKey);
  EXPECT_EQ(cell(), (std::pair{1, kNameCol}));
  EXPECT_EQ(editor()->text, "nothing");
  // The drop button always looks up and leaves the cell open with what was picked.
  rt::input::dropDown(win(), editor()->feq);
  idle();
  EXPECT_EQ(cell(), (std::pair{1, kNameCol}));
  EXPECT_EQ(editor()->text, "picked");
  // An unknown name picked on leaving: the key then acts with the picked value (Enter saves).
  type("unknown");
  key(rt::EnterKey);
  EXPECT_EQ(cell(), (std::pair{0, 0}));
  EXPECT_EQ(stored()[0], "1:picked:10");
  EXPECT_EQ(log(), (std::vector<std::string>{"lookup 0 ok", "lookup 0 nothing", "lookup 1 nothing", "lookup 0 unknown"}));
}

TEST_F(EipTest, ARowLeftByAClickIsSavedWithTheLookupCellAsItStands) {
  g_config.name_editor = NameEditor::Lookup;
  seed(numbered(2));
  start();
  selectRow(1);
  press(kChange);
  key(rt::TabKey);
  type("missing");
  clickCell(2, 1);
  EXPECT_EQ(stored()[0], "1:missing:10");
  EXPECT_TRUE(log().empty()) << "no lookup";
}

}  // namespace
