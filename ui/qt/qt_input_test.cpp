// Real keyboard and mouse events on the widgets reach the input sink as the runtime's raw input:
// the right key codes, edited texts, clicks with row and column, scroll actions, tab choices and
// focus changes; and what the runtime decides (focus, tab, highlighted row, ticks, thumb) stays
// as the snapshot says.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

#include "ui/qt/control_area.h"
#include "ui/qt/drop_combo.h"
#include "ui/qt/key_codes.h"
#include "ui/qt/list_control.h"
#include "ui/qt/list_model.h"
#include "ui/qt/qt_test_support.h"
#include "ui/qt/window_host.h"

namespace uiqt {
namespace {

using namespace uiqt::test;
using Calls = std::vector<std::string>;

constexpr rt::WindowId kWin = 5;

rt::WindowView form() {
  rt::WindowView v;
  v.id = kWin;
  v.title = "Ficha";
  v.pos = at(0, 0, 260, 200);
  v.pos.has_pos = false;
  auto list = control(1, rt::CONTROL_List, at(4, 4, 200, 60));
  list.parent = 8;
  list.columns = {column(40, 'R', 2, "Id", 'C'), column(120, 'L', 2, "Nombre", 'L')};
  list.rows = {{"1", "Uno"}, {"2", "Dos"}, {"3", "Tres"}};
  list.selected_row = 1;
  list.page_loaded = true;
  list.thumb = 0.25;
  v.controls.push_back(list);
  v.controls.push_back(control(2, rt::CONTROL_Button, at(4, 150, 50, 14), "&Aceptar"));
  auto sheet = control(7, rt::CONTROL_Sheet, at(2, 2, 250, 100));
  sheet.current_tab = 8;
  v.controls.push_back(sheet);
  auto t1 = control(8, rt::CONTROL_Tab, {}, "&Lista");
  t1.parent = 7;
  v.controls.push_back(t1);
  auto t2 = control(9, rt::CONTROL_Tab, {}, "&Otra");
  t2.parent = 7;
  v.controls.push_back(t2);
  v.controls.push_back(control(11, rt::CONTROL_Entry, at(4, 110, 80, 10), "abc"));
  v.controls.push_back(control(12, rt::CONTROL_Entry, at(100, 110, 80, 10), "xyz"));
  v.controls.push_back(control(13, rt::CONTROL_Check, at(4, 125, 60, 10), "Activo"));
  v.controls.push_back(control(17, rt::CONTROL_DropCombo, at(100, 125, 60, 12), "ACME"));
  v.focus = 11;
  return v;
}

class QtInput : public ::testing::Test {
 protected:
  void SetUp() override {
    app();
    view = form();
    host = std::make_unique<WindowHost>(view, input, nullptr);
    host->apply(view);
    host->showFirst();
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    input.calls.clear();
  }

  QWidget* target(int feq) const { return host->controls()->focusTargetOf(feq); }
  QLineEdit* line(int feq) const { return qobject_cast<QLineEdit*>(target(feq)); }
  ListControl* list() const { return qobject_cast<ListControl*>(host->controls()->widgetOf(1)); }
  void apply() { host->apply(view); }

  rt::WindowView view;
  RecordingInput input;
  std::unique_ptr<WindowHost> host;
};

TEST(QtKeyCodes, QtKeysBecomeRuntimeKeyCodes) {
  struct Case {
    int key;
    Qt::KeyboardModifiers mods;
    std::optional<int> code;
  };
  const Case cases[] = {
      {Qt::Key_Tab, Qt::NoModifier, 9},
      {Qt::Key_Backtab, Qt::ShiftModifier, 265},
      {Qt::Key_Backtab, Qt::NoModifier, 265},  // some platforms drop the Shift of Backtab
      {Qt::Key_Tab, Qt::ShiftModifier, 265},
      {Qt::Key_Return, Qt::NoModifier, 13},
      {Qt::Key_Enter, Qt::KeypadModifier, 13},
      {Qt::Key_Return, Qt::ShiftModifier, 269},
      {Qt::Key_Return, Qt::ControlModifier, 525},
      {Qt::Key_Escape, Qt::NoModifier, 27},
      {Qt::Key_Left, Qt::NoModifier, 37},
      {Qt::Key_Up, Qt::NoModifier, 38},
      {Qt::Key_Right, Qt::NoModifier, 39},
      {Qt::Key_Down, Qt::NoModifier, 40},
      {Qt::Key_PageUp, Qt::NoModifier, 33},
      {Qt::Key_PageDown, Qt::NoModifier, 34},
      {Qt::Key_End, Qt::ControlModifier, 512 + 35},
      {Qt::Key_Home, Qt::NoModifier, 36},
      {Qt::Key_Insert, Qt::NoModifier, 45},
      {Qt::Key_Delete, Qt::NoModifier, 46},
      {Qt::Key_Backspace, Qt::NoModifier, 8},
      {Qt::Key_H, Qt::ControlModifier, 584},
      {Qt::Key_A, Qt::NoModifier, 65},
      {Qt::Key_7, Qt::NoModifier, 55},
      {Qt::Key_F1, Qt::NoModifier, 112},
      {Qt::Key_F12, Qt::NoModifier, 123},
      {Qt::Key_F4, Qt::AltModifier, 1024 + 115},
      {Qt::Key_F5, Qt::ShiftModifier | Qt::ControlModifier, 256 + 512 + 116},
      {Qt::Key_Shift, Qt::ShiftModifier, std::nullopt},
      {Qt::Key_Ntilde, Qt::NoModifier, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(runtimeKeyCode(c.key, c.mods), c.code) << "Qt key 0x" << std::hex << c.key;
  }
}

TEST(QtKeyCodes, EntryFieldRoles) {
  struct Case {
    int code;
    KeyRole role;
  };
  const Case cases[] = {
      {'A', KeyRole::Typing},           {256 + 'A', KeyRole::Typing},
      {' ', KeyRole::Typing},           {key::kLeft, KeyRole::Editing},
      {key::kHome, KeyRole::Editing},   {key::kBackspace, KeyRole::Editing},
      {512 + 'C', KeyRole::Editing},    {512 + 'H', KeyRole::Command},
      {key::kTab, KeyRole::Command},    {key::kEnter, KeyRole::Command},
      {key::kUp, KeyRole::Command},     {key::kInsert, KeyRole::Command},
      {key::kF1 + 1, KeyRole::Command}, {1024 + key::kLeft, KeyRole::Command},
  };
  for (const auto& c : cases) EXPECT_EQ(entryKeyRole(c.code), c.role) << "code " << c.code;
}

TEST_F(QtInput, KeysInAnEntryAreReportedOrTypedAsTheRuntimeNeeds) {
  struct Case {
    int key;
    Qt::KeyboardModifiers mods;
    Calls reported;    // what the sink receives
    QString text;      // the field's text afterwards
    int cursor;        // and its caret
  };
  const Case cases[] = {
      {Qt::Key_Tab, Qt::NoModifier, {"key 5 11 9"}, "abc", 3},
      {Qt::Key_Tab, Qt::ShiftModifier, {"key 5 11 265"}, "abc", 3},
      {Qt::Key_Return, Qt::NoModifier, {"key 5 11 13"}, "abc", 3},
      {Qt::Key_Escape, Qt::NoModifier, {"key 5 11 27"}, "abc", 3},
      {Qt::Key_Up, Qt::NoModifier, {"key 5 11 38"}, "abc", 3},
      {Qt::Key_Down, Qt::NoModifier, {"key 5 11 40"}, "abc", 3},
      {Qt::Key_PageDown, Qt::NoModifier, {"key 5 11 34"}, "abc", 3},
      {Qt::Key_F2, Qt::NoModifier, {"key 5 11 113"}, "abc", 3},
      {Qt::Key_H, Qt::ControlModifier, {"key 5 11 584"}, "abc", 3},
      {Qt::Key_Insert, Qt::NoModifier, {"key 5 11 45"}, "abc", 3},
      {Qt::Key_Left, Qt::NoModifier, {"key 5 11 37"}, "abc", 2},
      {Qt::Key_Home, Qt::NoModifier, {"key 5 11 36"}, "abc", 0},
      {Qt::Key_Backspace, Qt::NoModifier, {"key 5 11 8", "edit 5 11 [ab]"}, "ab", 2},
      {Qt::Key_X, Qt::NoModifier, {"edit 5 11 [abcx]"}, "abcx", 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QTest::toString(QKeySequence(c.key | c.mods)));
    line(11)->setText("abc");
    line(11)->setCursorPosition(3);
    input.calls.clear();
    QTest::keyClick(line(11), static_cast<Qt::Key>(c.key), c.mods);
    EXPECT_EQ(input.calls, c.reported);
    EXPECT_EQ(line(11)->text(), c.text);
    EXPECT_EQ(line(11)->cursorPosition(), c.cursor);
    // Tab and the other commands never move the focus by themselves: the runtime does.
    EXPECT_TRUE(line(11)->hasFocus());
  }
}

TEST_F(QtInput, TypingOverwritesUnlessTheEntryInserts) {
  struct Case {
    bool insert_mode;
    int cursor;
    QString text;
  };
  const Case cases[] = {{false, 1, "axc"}, {false, 3, "abcx"}, {true, 1, "axbc"}, {true, 0, "xabc"}};
  for (const auto& c : cases) {
    view.controls[5].insert_mode = c.insert_mode;  // entry 11
    apply();
    line(11)->setText("abc");
    line(11)->setCursorPosition(c.cursor);
    QTest::keyClick(line(11), Qt::Key_X);
    EXPECT_EQ(line(11)->text(), c.text) << c.insert_mode << " at " << c.cursor;
  }
}

TEST_F(QtInput, AnAlertKeyIsOnlyReported) {
  view.controls[5].alert_keys = {key::kLeft};  // entry 11
  apply();
  line(11)->setCursorPosition(3);
  input.calls.clear();
  QTest::keyClick(line(11), Qt::Key_Left);
  EXPECT_EQ(input.calls, Calls{"key 5 11 37"});
  EXPECT_EQ(line(11)->cursorPosition(), 3);
}

TEST_F(QtInput, TypingSurvivesASnapshotThatDoesNotChangeTheText) {
  QTest::keyClicks(line(11), "de");
  EXPECT_EQ(input.only("edit"), (Calls{"edit 5 11 [abcd]", "edit 5 11 [abcde]"}));
  apply();  // a redraw for something else, taken before the runtime saw the typing
  EXPECT_EQ(line(11)->text(), "abcde");
  view.controls[5].text = "ABCDE";  // the runtime redisplays the value
  apply();
  EXPECT_EQ(line(11)->text(), "ABCDE");
}

TEST_F(QtInput, FocusFollowsTheModelAndAClickIsReportedOnce) {
  EXPECT_TRUE(line(11)->hasFocus());
  EXPECT_TRUE(input.only("focus").empty());

  QTest::mouseClick(line(12), Qt::LeftButton);
  QTest::mouseClick(line(12), Qt::LeftButton);
  EXPECT_EQ(input.only("focus"), Calls{"focus 5 12"});

  // The runtime kept the focus where it was: the widget focus goes back, unreported.
  apply();
  EXPECT_TRUE(line(11)->hasFocus());
  view.focus = 1;
  apply();
  EXPECT_TRUE(list()->view()->hasFocus());
  EXPECT_EQ(input.only("focus"), Calls{"focus 5 12"});
}

TEST_F(QtInput, ListKeysCharactersAndClicks) {
  QTableView* table = list()->view();
  QTest::keyClick(table, Qt::Key_Down);
  QTest::keyClick(table, Qt::Key_Return, Qt::ControlModifier);
  QTest::keyClick(table, Qt::Key_X);
  QTest::keyClick(table, Qt::Key_PageDown);
  EXPECT_EQ(input.calls, (Calls{"key 5 1 40", "key 5 1 525", "character 5 1 [x]", "key 5 1 34"}));

  input.calls.clear();
  const QPoint cell = table->visualRect(table->model()->index(1, 1)).center();
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell);
  QTest::mouseClick(table->viewport(), Qt::RightButton, {}, cell);
  QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell);
  const Calls clicks = input.only("click");
  ASSERT_GE(clicks.size(), 3u);
  EXPECT_EQ(clicks[0], "click 5 1 1 2 2");
  EXPECT_EQ(clicks[1], "click 5 1 2 2 2");
  EXPECT_EQ(clicks.back(), "click 5 1 5 2 2");
  // The highlight is the runtime's: still row 1 until a snapshot moves it.
  const auto& model = list()->model();
  EXPECT_EQ(model.selectedRow(), 1);
}

TEST_F(QtInput, ScrollBarActionsOfAPageLoadedList) {
  struct Case {
    QAbstractSlider::SliderAction action;
    rt::ScrollAction reported;
  };
  const Case cases[] = {
      {QAbstractSlider::SliderSingleStepSub, rt::ScrollAction::LineUp},
      {QAbstractSlider::SliderSingleStepAdd, rt::ScrollAction::LineDown},
      {QAbstractSlider::SliderPageStepSub, rt::ScrollAction::PageUp},
      {QAbstractSlider::SliderPageStepAdd, rt::ScrollAction::PageDown},
      {QAbstractSlider::SliderToMinimum, rt::ScrollAction::First},
      {QAbstractSlider::SliderToMaximum, rt::ScrollAction::Last},
  };
  QScrollBar* bar = list()->pageScrollBar();
  for (const auto& c : cases) {
    input.calls.clear();
    bar->triggerAction(c.action);
    EXPECT_EQ(input.calls,
              Calls{"scroll 5 1 " + std::to_string(static_cast<int>(c.reported)) + " 0"});
    EXPECT_EQ(bar->value(), 250) << "the thumb moves only when the program moves it";
  }
  // Dragging reports the fraction where the thumb was let go.
  input.calls.clear();
  bar->setSliderDown(true);
  bar->setSliderPosition(800);
  bar->setSliderDown(false);
  EXPECT_EQ(input.only("scroll"),
            Calls{"scroll 5 1 " + std::to_string(static_cast<int>(rt::ScrollAction::Thumb)) +
                  " 80"});
}

TEST_F(QtInput, ButtonsChecksTabsAndDropButtons) {
  auto* button = qobject_cast<QPushButton*>(host->controls()->widgetOf(2));
  QTest::mouseClick(button, Qt::LeftButton);
  QTest::keyClick(button, Qt::Key_Space);
  QTest::keyClick(button, Qt::Key_Return);
  EXPECT_EQ(input.only("click"), Calls{"click 5 2 1 0 0"});
  EXPECT_EQ(input.only("key"), (Calls{"key 5 2 32", "key 5 2 13"}));

  input.calls.clear();
  auto* check = qobject_cast<QCheckBox*>(host->controls()->widgetOf(13));
  QTest::mouseClick(check, Qt::LeftButton);
  EXPECT_EQ(input.only("click"), Calls{"click 5 13 1 0 0"});
  EXPECT_FALSE(check->isChecked()) << "the tick is the runtime's";
  view.controls[7].checked = true;
  apply();
  EXPECT_TRUE(check->isChecked());

  input.calls.clear();
  auto* sheet = qobject_cast<QTabWidget*>(host->controls()->widgetOf(7));
  QTabBar* bar = sheet->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
  EXPECT_EQ(input.only("tab"), Calls{"tab 5 7 9"});
  EXPECT_EQ(sheet->currentIndex(), 0) << "the sheet shows the runtime's tab";
  // Mnemonics are the runtime's: Alt+O ("&Otra") and Alt+A ("&Aceptar") go to it as keys.
  input.calls.clear();
  QTest::keyClick(line(11), Qt::Key_O, Qt::AltModifier);
  QTest::keyClick(line(11), Qt::Key_A, Qt::AltModifier);
  EXPECT_EQ(input.calls, (Calls{"key 5 11 1103", "key 5 11 1089"}));
  EXPECT_EQ(sheet->currentIndex(), 0);
  // Alt with a letter no control marks stays free for the menu bar's shortcuts.
  for (const auto& [key, taken] : {std::pair{Qt::Key_O, true}, {Qt::Key_Z, false}}) {
    QKeyEvent probe(QEvent::ShortcutOverride, key, Qt::AltModifier);
    probe.ignore();
    QApplication::sendEvent(line(11), &probe);
    EXPECT_EQ(probe.isAccepted(), taken) << key;
  }
  view.controls[2].current_tab = 9;
  apply();
  EXPECT_EQ(sheet->currentIndex(), 1);
  EXPECT_FALSE(list()->isVisible());

  input.calls.clear();
  auto* drop = qobject_cast<DropCombo*>(host->controls()->widgetOf(17));
  QTest::mouseClick(drop->button(), Qt::LeftButton);
  // The click gives the control the focus first, as a click on any control does.
  EXPECT_EQ(input.calls, (Calls{"focus 5 17", "drop 5 17"}));
}

TEST_F(QtInput, ClipboardActionsWorkOnTheFocusedField) {
  line(11)->setText("abc");
  line(11)->selectAll();
  host->standardAction(rt::StdAction::Copy, 11);
  EXPECT_EQ(QApplication::clipboard()->text(), "abc");
  EXPECT_TRUE(input.only("edit").empty()) << "copying changes nothing";

  host->standardAction(rt::StdAction::Cut, 11);
  EXPECT_EQ(line(11)->text(), "");
  QApplication::clipboard()->setText("xyz");
  host->standardAction(rt::StdAction::Paste, 11);
  EXPECT_EQ(line(11)->text(), "xyz");
  // Every change the action makes is reported as the user's edit.
  ASSERT_FALSE(input.only("edit").empty());
  EXPECT_EQ(input.only("edit").back(), "edit 5 11 [xyz]");
  EXPECT_NE(std::find(input.calls.begin(), input.calls.end(), "edit 5 11 []"), input.calls.end());
}

TEST_F(QtInput, MovingOrResizingIsReportedInDialogUnits) {
  host->resize(host->width() + 60, host->height() + 40);
  ASSERT_TRUE(waitUntil([&] { return !input.only("moved").empty(); }));
  const QSize client = host->centralWidget()->size();
  const DialogUnits& du = host->controls()->units();
  EXPECT_EQ(input.only("moved").back(), "moved 5 " + std::to_string(du.toUnitsX(client.width())) +
                                            " " + std::to_string(du.toUnitsY(client.height())));
  // The runtime's own changes of the position are not echoed back.
  input.calls.clear();
  view.pos = at(10, 10, 300, 220);
  apply();
  QTest::qWait(300);
  EXPECT_TRUE(input.only("moved").empty());
}

TEST_F(QtInput, TheCloseBoxAsksTheRuntime) {
  host->close();
  EXPECT_EQ(input.calls, Calls{"close 5"});
  EXPECT_TRUE(host->isVisible());
}

TEST_F(QtInput, NoInputWhileTheWindowDoesNotTakeIt) {
  view.takes_input = false;
  apply();
  EXPECT_FALSE(line(11)->isEnabled());
  view.takes_input = true;
  apply();
  EXPECT_TRUE(line(11)->isEnabled());
}

}  // namespace
}  // namespace uiqt
