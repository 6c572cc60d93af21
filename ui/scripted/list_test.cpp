// Scenarios of lists: a page-loaded list whose program loads one page at a time from the scroll
// events, clicks and mouse alerts, locator characters, a plain list's own navigation, an edit
// control created over a list cell, and sheets with tabs.
#include <gtest/gtest.h>

#include <algorithm>

#include "runtime/popup_menu.h"
#include "runtime/window.h"
#include "ui/scripted/event_log.h"
#include "ui/scripted/program_driver.h"

namespace {

using scripted::Program;

scripted::EventLog g_log;
constexpr int kTable = 10;   // rows 1..10 with codes 1..10, names "Name 1".."Name 10"
constexpr int kPaged = 1, kPlain = 2, kSheet = 3, kTab1 = 4, kTab2 = 5, kOnTab1 = 6, kOnTab2 = 7, kAfter = 8;
std::string g_cell_text;  // the variable of the edit control made over a cell

std::vector<std::vector<std::string>> page(int first, int n) {
  std::vector<std::vector<std::string>> rows;
  for (int code = first; code < first + n && code <= kTable; ++code)
    rows.push_back({std::to_string(code), "Name " + std::to_string(code)});
  return rows;
}

void listProc() {
  rt::WindowDecl decl("Lists");
  decl.size(300, 200)
      .control(rt::ControlDecl::list(kPaged, "30R(2)|~Code~C@n_4@60L(2)|~Name~@s20@").at(4, 4, 120, 40).pageLoaded())
      .control(rt::ControlDecl::list(kPlain, "40L~Item~@s10@").at(130, 4, 60, 40))
      .control(rt::ControlDecl::sheet(kSheet).at(4, 60, 200, 80))
      .control(rt::ControlDecl::tab(kTab1, kSheet, "&One"))
      .control(rt::ControlDecl::tab(kTab2, kSheet, "&Two"))
      .control(rt::ControlDecl::entry(kOnTab1, "@s10").at(10, 80, 50, 10).in(kTab1))
      .control(rt::ControlDecl::entry(kOnTab2, "@s10").at(10, 80, 50, 10).in(kTab2))
      .control(rt::ControlDecl::button(kAfter, "&Done").at(10, 150, 40, 14));
  rt::Window win;
  if (win.open(decl) != rt::OpenResult::Ok) return;
  const int rows = win.visibleRows(kPaged);
  int first = 1;
  auto load = [&](int want_first, int select) {
    first = std::clamp(want_first, 1, kTable - rows + 1);
    win.setListRows(kPaged, page(first, rows));
    win.setSelectedRow(kPaged, select);
    win.setThumb(kPaged, double(first - 1) / double(kTable - rows));
  };
  load(1, 1);
  win.setListRows(kPlain, {{"a"}, {"b"}, {"c"}, {"d"}, {"e"}, {"f"}, {"g"}});
  win.setSelectedRow(kPlain, 1);
  win.addAlert(kPaged, rt::MouseRight);
  int editor = 0;
  while (win.accept()) {
    g_log.record("lists");
    const int sel = win.selectedRow(kPaged);
    switch (rt::event()) {
      case rt::EVENT_ScrollDown: load(first + 1, rows); break;
      case rt::EVENT_ScrollUp: load(first - 1, 1); break;
      case rt::EVENT_PageDown: load(first + rows, sel); break;
      case rt::EVENT_PageUp: load(first - rows, sel); break;
      case rt::EVENT_ScrollTop: load(1, 1); break;
      case rt::EVENT_ScrollBottom: load(kTable, rows); break;
      case rt::EVENT_ScrollDrag:
        g_log.add("drag " + std::to_string(rt::thumbFraction()));
        load(1 + int(rt::thumbFraction() * (kTable - rows) + 0.5), 1);
        break;
      case rt::EVENT_NewSelection:
        if (rt::mouseRow() != 0) g_log.add("row " + std::to_string(rt::mouseRow()) + " col " + std::to_string(rt::mouseCol()));
        break;
      case rt::EVENT_Locate: g_log.add(std::string("typed ") + rt::typedChar()); break;
      case rt::EVENT_Accepted:
        if (rt::field() == kPaged && rt::keyCode() == rt::MouseLeft2 && editor == 0) {
          // Edit the clicked cell in place, as an in-list editor would.
          g_cell_text = "Name " + std::to_string(first + rt::mouseRow() - 1);
          editor = win.createControl(rt::ControlDecl::entry(0, "@s20").use(rt::Binding::text(g_cell_text))
                                         .overCell(kPaged, rt::mouseRow(), rt::mouseCol()));
          win.setColumnGrey(kPaged, 1, true);
          win.setMouseAlerts(kPaged, false);
          for (int key : {rt::TabKey, rt::EnterKey, rt::EscKey}) win.addAlert(editor, key);
          win.select(editor);
          g_log.add("editor " + std::to_string(editor));
        }
        break;
      case rt::EVENT_AlertKey:
        if (rt::field() == kPaged && rt::keyCode() == rt::MouseRight) {
          int choice = rt::popup({{"&Insert"}, {"&Change", true}, {"", false, true}, {"&Delete"}});
          g_log.add("popup " + std::to_string(choice));
        }
        if (rt::field() == editor && editor != 0) {
          if (rt::keyCode() != rt::EscKey && win.update(editor).ok)
            win.setListRow(kPaged, win.selectedRow(kPaged), {std::to_string(first + win.selectedRow(kPaged) - 1), g_cell_text});
          win.destroyControl(editor);
          win.setColumnGrey(kPaged, 1, false);
          win.setMouseAlerts(kPaged, true);
          editor = 0;
          g_log.add("cell " + g_cell_text);
        }
        break;
      case rt::EVENT_CloseWindow: win.close(); break;
    }
  }
}

class Lists : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(p.waitIdle()); }
  struct Fresh {
    Fresh() { g_log.clear(); }
  } fresh_;
  Program p{listProc};
  std::string firstCode() const {
    auto rows = p.listRows("Lists", kPaged);
    return rows.empty() ? std::string() : rows[0][0];
  }
};

TEST_F(Lists, CellsShowInTheirColumnsPictures) {
  auto rows = p.listRows("Lists", kPaged);
  ASSERT_EQ(rows.size(), 3u) << "a 40-unit list with a header shows three 10-unit rows";
  EXPECT_EQ(rows[0], (std::vector<std::string>{"   1", "Name 1"}));
  auto c = p.control("Lists", kPaged);
  ASSERT_EQ(c->columns.size(), 2u);
  EXPECT_EQ(c->columns[0].header, "Code");
  EXPECT_EQ(c->columns[0].align, 'R');
  EXPECT_EQ(c->columns[0].header_align, 'C');
  EXPECT_TRUE(c->columns[0].right_border);
  EXPECT_EQ(c->columns[1].header_align, 'L') << "a header without its own alignment takes the data's";
}

struct KeyCase {
  int key;
  int want_event;    // the event the list gives
  std::string first; // code of the first row shown afterwards
  int selected;
};

TEST_F(Lists, KeysOfAPageLoadedListMoveWithinThePageAndScrollAtItsEdges) {
  const std::vector<KeyCase> steps = {
      {rt::DownKey, rt::EVENT_NewSelection, "   1", 2}, {rt::DownKey, rt::EVENT_NewSelection, "   1", 3},
      {rt::DownKey, rt::EVENT_ScrollDown, "   2", 3},   {rt::PgDnKey, rt::EVENT_PageDown, "   5", 3},
      {rt::EndKey, rt::EVENT_ScrollBottom, "   8", 3},  {rt::DownKey, rt::EVENT_ScrollDown, "   8", 3},
      {rt::UpKey, rt::EVENT_NewSelection, "   8", 2},   {rt::PgUpKey, rt::EVENT_PageUp, "   5", 2},
      {rt::HomeKey, rt::EVENT_ScrollTop, "   1", 1},   {rt::UpKey, rt::EVENT_ScrollUp, "   1", 1},
  };
  ASSERT_TRUE(p.click("Lists", kPaged));
  for (std::size_t i = 0; i < steps.size(); ++i) {
    g_log.clear();
    ASSERT_TRUE(p.pressKey("Lists", steps[i].key));
    auto events = g_log.matching("lists ");
    ASSERT_FALSE(events.empty()) << "step " << i;
    EXPECT_EQ(events[0], "lists " + scripted::eventName(steps[i].want_event) + " 1 key " +
                             std::to_string(steps[i].key)) << "step " << i;
    EXPECT_EQ(firstCode(), steps[i].first) << "step " << i;
    EXPECT_EQ(p.selectedRow("Lists", kPaged), steps[i].selected) << "step " << i;
  }
}

TEST_F(Lists, ScrollBarActionsArriveAsScrollEventsWithTheThumbsFraction) {
  ASSERT_TRUE(p.scroll("Lists", kPaged, rt::ScrollAction::LineDown));
  EXPECT_EQ(firstCode(), "   2");
  ASSERT_TRUE(p.scroll("Lists", kPaged, rt::ScrollAction::Last));
  EXPECT_EQ(firstCode(), "   8");
  EXPECT_DOUBLE_EQ(p.control("Lists", kPaged)->thumb, 1.0) << "the program's thumb reaches the front end";
  ASSERT_TRUE(p.scroll("Lists", kPaged, rt::ScrollAction::Thumb, 0.5));
  EXPECT_TRUE(g_log.contains("drag 0.500000")) << g_log.joined();
  EXPECT_EQ(firstCode(), "   5");
  ASSERT_TRUE(p.scroll("Lists", kPaged, rt::ScrollAction::PageUp));
  ASSERT_TRUE(p.scroll("Lists", kPaged, rt::ScrollAction::First));
  EXPECT_EQ(g_log.matching("lists Scroll").size(), 4u) << g_log.joined();
  EXPECT_EQ(g_log.matching("lists PageUp").size(), 1u) << g_log.joined();
}

TEST_F(Lists, ClicksSelectTheRowAndReportRowAndColumn) {
  ASSERT_TRUE(p.clickCell("Lists", kPaged, 2, 2));
  EXPECT_EQ(p.selectedRow("Lists", kPaged), 2);
  EXPECT_TRUE(g_log.contains("lists NewSelection 1 key 1")) << g_log.joined();
  EXPECT_TRUE(g_log.contains("row 2 col 2")) << g_log.joined();
  p.queuePopupChoice(0);  // the program answers the right click with a pop-up menu
  ASSERT_TRUE(p.clickCell("Lists", kPaged, 3, 1, rt::MouseRight));  // an alert key of the list
  EXPECT_TRUE(g_log.contains("lists AlertKey 1 key 2")) << g_log.joined();
  EXPECT_EQ(p.selectedRow("Lists", kPaged), 3);
}

TEST_F(Lists, APopupMenuWaitsForTheUsersChoice) {
  ASSERT_TRUE(p.clickCell("Lists", kPaged, 1, 1, rt::MouseRight));
  auto menu = p.pendingPopup();
  ASSERT_TRUE(menu.has_value()) << p.dump();
  EXPECT_EQ(menu->items, (std::vector<std::string>{"&Insert", "~&Change", "-", "&Delete"}));
  EXPECT_FALSE(p.takesInput("Lists"));
  EXPECT_FALSE(p.choosePopup(2)) << "a disabled item cannot be chosen";
  EXPECT_FALSE(p.choosePopup(3)) << "nor a separator";
  ASSERT_TRUE(p.choosePopup("Delete"));
  EXPECT_TRUE(g_log.contains("popup 4")) << g_log.joined();
  EXPECT_TRUE(p.takesInput("Lists"));
  p.queuePopupChoice(1);
  ASSERT_TRUE(p.clickCell("Lists", kPaged, 1, 1, rt::MouseRight));
  EXPECT_TRUE(g_log.contains("popup 1")) << g_log.joined();
}

TEST_F(Lists, ACharacterTypedInAListIsAvailableForALocator) {
  ASSERT_TRUE(p.typeChar("Lists", kPaged, 'N'));
  EXPECT_TRUE(g_log.contains("typed N")) << g_log.joined();
}

TEST_F(Lists, APlainListMovesItsOwnHighlight) {
  ASSERT_TRUE(p.click("Lists", kPlain));
  const std::vector<std::pair<int, int>> steps = {
      {rt::DownKey, 2}, {rt::EndKey, 7}, {rt::DownKey, 7}, {rt::PgUpKey, 4}, {rt::HomeKey, 1}, {rt::UpKey, 1}};
  for (auto [key, want] : steps) {
    ASSERT_TRUE(p.pressKey("Lists", key));
    EXPECT_EQ(p.selectedRow("Lists", kPlain), want) << "key " << key;
  }
  // The click, then each key that moved the highlight; Down on the last row and Up on the first
  // give nothing.
  EXPECT_EQ(g_log.matching("lists NewSelection 2"),
            (std::vector<std::string>{"lists NewSelection 2 key 1", "lists NewSelection 2 key 40",
                                      "lists NewSelection 2 key 35", "lists NewSelection 2 key 33",
                                      "lists NewSelection 2 key 36"}));
  EXPECT_TRUE(g_log.matching("lists Scroll").empty()) << g_log.joined();
}

TEST_F(Lists, AnEditControlOverACellTakesTheTextAndGoesAway) {
  ASSERT_TRUE(p.doubleClickCell("Lists", kPaged, 2, 2));
  auto editor_entries = g_log.matching("editor ");
  ASSERT_EQ(editor_entries.size(), 1u) << g_log.joined();
  const int editor = std::stoi(editor_entries[0].substr(7));
  EXPECT_EQ(p.cellEditor("Lists", kPaged), editor);
  EXPECT_GT(editor, kAfter) << "a control made at run time takes a number above the others";
  auto c = p.control("Lists", editor);
  ASSERT_TRUE(c.has_value());
  EXPECT_EQ(c->over_list, kPaged);
  EXPECT_EQ(c->over_row, 2);
  EXPECT_EQ(c->over_col, 2);
  EXPECT_EQ(c->text, "Name 2");
  EXPECT_EQ(p.focus("Lists"), editor);
  EXPECT_TRUE(p.control("Lists", kPaged)->columns[0].grey);

  ASSERT_TRUE(p.clickCell("Lists", kPaged, 2, 2, rt::MouseRight));
  EXPECT_TRUE(g_log.matching("lists AlertKey 1").empty()) << "mouse alerts are off while editing";

  ASSERT_TRUE(p.typeText("Lists", editor, "Renamed"));
  ASSERT_TRUE(p.pressKey("Lists", rt::TabKey));
  EXPECT_TRUE(g_log.contains("cell Renamed")) << g_log.joined();
  EXPECT_EQ(p.listRows("Lists", kPaged)[1], (std::vector<std::string>{"   2", "Renamed"}));
  EXPECT_FALSE(p.control("Lists", editor).has_value());
  EXPECT_EQ(p.cellEditor("Lists", kPaged), 0);
  EXPECT_FALSE(p.control("Lists", kPaged)->columns[0].grey);
}

TEST_F(Lists, ATabsControlsTakeTheFocusOnlyWhileItsTabIsShown) {
  ASSERT_TRUE(p.click("Lists", kOnTab1));
  ASSERT_TRUE(p.pressKey("Lists", rt::TabKey));
  EXPECT_EQ(p.focus("Lists"), kAfter) << "the entry on the hidden tab is no tab stop";
  ASSERT_TRUE(p.chooseTab("Lists", kSheet, kTab2));
  EXPECT_TRUE(g_log.contains("lists NewSelection 3")) << g_log.joined();
  EXPECT_EQ(p.control("Lists", kSheet)->current_tab, kTab2);
  ASSERT_TRUE(p.pressKey("Lists", rt::ShiftTab));
  EXPECT_EQ(p.focus("Lists"), kOnTab2);
}

}  // namespace
