// Scenarios of a small data-entry form: focus order, accepting and refusing typed text, UPDATE,
// alert keys, default and cancel buttons, and the status bar.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/decimal.h"
#include "runtime/fixed_string.h"
#include "runtime/post.h"
#include "runtime/window.h"
#include "ui/scripted/event_log.h"
#include "ui/scripted/program_driver.h"

namespace {

using scripted::Program;

// Packed, as record buffers are: no padding, so that whole records compare byte for byte.
#pragma pack(push, 1)
struct FormData {
  std::uint16_t number = 0;
  rt::PackedDecimal<4, 2> amount{};
#pragma pack(pop)
  std::int32_t date = 0;
  char name[10];
  std::int32_t shown = 0;
};

FormData g_data;
scripted::EventLog g_log;
rt::UpdateResult g_update;

constexpr int kNumber = 2, kAmount = 3, kDate = 4, kName = 5, kShown = 6, kSkipped = 7, kOk = 8,
              kCancel = 9, kHiddenEntry = 10, kMenuSave = -3;
constexpr int kEventSetNumber = rt::EVENT_User;

void formProc() {
  rt::WindowDecl decl("Form");
  decl.size(220, 120).statusBar({-1, 40})
      .menu(rt::MenuDecl::menu(-1, "&File", {rt::MenuDecl::item(kMenuSave, "&Save").status("Save the form")}))
      .control(rt::ControlDecl::prompt(1, "&Number:").at(4, 4))
      .control(rt::ControlDecl::entry(kNumber, "@n_4").at(50, 4, 30, 10).use(rt::Binding::ushort(g_data.number))
                   .status("The number"))
      .control(rt::ControlDecl::entry(kAmount, "@n-10.2").at(50, 16, 50, 10)
                   .use(rt::Binding::decimal(g_data.amount)).status("The amount"))
      .control(rt::ControlDecl::entry(kDate, "@d6").at(50, 28, 50, 10).use(rt::Binding::long_(g_data.date))
                   .status("The date"))
      .control(rt::ControlDecl::entry(kName, "@s10").at(50, 40, 50, 10).use(rt::Binding::string(g_data.name)))
      .control(rt::ControlDecl::entry(kShown, "@n5").at(50, 52, 50, 10).use(rt::Binding::long_(g_data.shown))
                   .readOnly())
      .control(rt::ControlDecl::button(kSkipped, "...").at(110, 28, 12, 12).skip())
      .control(rt::ControlDecl::button(kOk, "&OK").at(100, 90, 40, 14).defaultButton().status("Accept"))
      .control(rt::ControlDecl::button(kCancel, "&Cancel").at(150, 90, 40, 14).cancelButton())
      .control(rt::ControlDecl::entry(kHiddenEntry, "@s5").at(4, 90, 20, 10).hidden());
  rt::Window win;
  if (win.open(decl) != rt::OpenResult::Ok) return;
  win.setAlert(kNumber, 1, rt::F5Key);
  win.setAlert(kAmount, 253, rt::DownKey);  // keyboard navigation: Down moves on as Tab does
  win.setAlert(0, 1, rt::F6Key);
  win.setAlert(0, 2, rt::F2Key);
  g_log.add("tab stops after 5: " + std::to_string(win.nextTabStop(kName, +1)) + ", before 2: " +
            std::to_string(win.nextTabStop(kNumber, -1)));
  while (win.accept()) {
    g_log.record("form");
    switch (rt::event()) {
      case rt::EVENT_AlertKey:
        if (rt::keyCode() == rt::F2Key) g_update = win.update();
        if (rt::keyCode() == rt::DownKey) rt::pressKey(rt::TabKey);
        break;
      case kEventSetNumber:
        g_data.number = 77;  // changed by the program, not displayed
        break;
      case rt::EVENT_Accepted:
        if (rt::field() == kCancel) win.close();
        break;
      case rt::EVENT_CloseWindow:
        win.close();
        break;
    }
  }
}

class EntryForm : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(p.waitIdle()); }

  // Runs before the program starts, so that the window displays fresh variables.
  struct Fresh {
    Fresh() {
      g_data = FormData{};
      rt::setFixed(g_data.name, "");
      g_data.shown = 5;
      g_log.clear();
      g_update = {};
    }
  } fresh_;
  Program p{formProc};
};

TEST_F(EntryForm, TabVisitsTabStopsInControlOrderSkippingSkipHiddenAndReadOnly) {
  EXPECT_EQ(p.focus("Form"), kNumber) << "the first tab stop has the focus when the window opens";
  std::vector<int> forward;
  for (int i = 0; i < 6; ++i) {
    ASSERT_TRUE(p.pressKey("Form", rt::TabKey));
    forward.push_back(p.focus("Form"));
  }
  EXPECT_EQ(forward, (std::vector<int>{kAmount, kDate, kName, kOk, kCancel, kNumber}));
  EXPECT_TRUE(g_log.contains("tab stops after 5: 8, before 2: 9")) << "the program sees the same order\n" << g_log.joined();
  ASSERT_TRUE(p.pressKey("Form", rt::ShiftTab));
  EXPECT_EQ(p.focus("Form"), kCancel);
  EXPECT_EQ(g_log.matching("form Selected"),
            (std::vector<std::string>{"form Selected 2", "form Selected 3 key 9", "form Selected 4 key 9",
                                      "form Selected 5 key 9", "form Selected 8 key 9", "form Selected 9 key 9",
                                      "form Selected 2 key 9", "form Selected 9 key 265"}));
}

TEST_F(EntryForm, LeavingAChangedEntryAcceptsItAndAnUnchangedOneDoesNot) {
  ASSERT_TRUE(p.pressKey("Form", rt::TabKey));  // unchanged
  EXPECT_TRUE(g_log.matching("form Accepted").empty()) << g_log.joined();

  ASSERT_TRUE(p.typeText("Form", kAmount, "12.5"));
  EXPECT_TRUE(g_log.matching("form Accepted").empty()) << "nothing is accepted while the entry keeps the focus";
  ASSERT_TRUE(p.pressKey("Form", rt::TabKey));
  EXPECT_EQ(g_log.matching("form Accepted"), std::vector<std::string>{"form Accepted 3 key 9"});
  EXPECT_EQ(g_data.amount.value(), rt::Decimal::parse("12.50"));
  EXPECT_EQ(p.text("Form", kAmount), "     12.50") << "an accepted entry shows its value in its picture";

  // Typing the same text again is no change.
  ASSERT_TRUE(p.typeText("Form", kAmount, "     12.50"));
  ASSERT_TRUE(p.pressKey("Form", rt::TabKey));
  EXPECT_EQ(g_log.matching("form Accepted").size(), 1u) << g_log.joined();
}

TEST_F(EntryForm, ClickingElsewhereAcceptsTheChangedEntryBeforeTheClick) {
  ASSERT_TRUE(p.typeText("Form", kNumber, "42"));
  ASSERT_TRUE(p.click("Form", kOk));
  EXPECT_EQ(g_log.matching("form Accepted"),
            (std::vector<std::string>{"form Accepted 2 key 1", "form Accepted 8 key 1"}));
  EXPECT_EQ(g_data.number, 42);
}

struct RefusedCase {
  const char* name;
  int feq;
  const char* typed;
};

class RefusedText : public EntryForm, public testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedText, KeepsTheFocusTellsTheUserAndLeavesTheVariableAlone) {
  const RefusedCase& c = GetParam();
  g_data.number = 7;
  ASSERT_TRUE(p.typeText("Form", c.feq, c.typed));
  const FormData before = g_data;
  auto beeps = p.window("Form")->beeps;
  ASSERT_TRUE(p.pressKey("Form", rt::TabKey));
  EXPECT_EQ(p.focus("Form"), c.feq);
  EXPECT_EQ(p.text("Form", c.feq), c.typed) << "the text stays for the user to correct";
  EXPECT_TRUE(p.control("Form", c.feq)->refused);
  EXPECT_GT(p.window("Form")->beeps, beeps);
  EXPECT_FALSE(p.statusBar("Form", 1).empty()) << "the reason shows in the status bar";
  EXPECT_EQ(0, std::memcmp(&before, &g_data, sizeof before)) << "the variables are untouched";
  EXPECT_TRUE(g_log.matching("form Accepted").empty()) << g_log.joined();

  // Enter does not press the default button past the refused text either.
  ASSERT_TRUE(p.pressKey("Form", rt::EnterKey));
  EXPECT_TRUE(g_log.matching("form Accepted").empty()) << g_log.joined();

  // An explicit UPDATE refuses it the same way.
  ASSERT_TRUE(p.pressKey("Form", rt::F2Key));
  EXPECT_FALSE(g_update.ok);
  EXPECT_EQ(g_update.refused_feq, c.feq);
  EXPECT_EQ(0, std::memcmp(&before, &g_data, sizeof before));

  // The user can still cancel.
  ASSERT_TRUE(p.click("Form", kCancel));
  EXPECT_EQ(p.end(), 0);
  EXPECT_EQ(g_log.matching("form Accepted"), std::vector<std::string>{"form Accepted 9 key 1"});
  EXPECT_EQ(0, std::memcmp(&before, &g_data, sizeof before));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedText,
    testing::Values(RefusedCase{"LettersInANumber", kNumber, "12x"},
                    RefusedCase{"TooWideForThePicture", kNumber, "123456"},
                    RefusedCase{"LettersInADecimal", kAmount, "abc"},
                    RefusedCase{"TooLargeForTheDecimalField", kAmount, "1234567.5"},
                    RefusedCase{"ImpossibleDate", kDate, "31/02/2012"},
                    RefusedCase{"NotADate", kDate, "soon"}),
    [](const testing::TestParamInfo<RefusedCase>& i) { return std::string(i.param.name); });

TEST_F(EntryForm, CorrectedTextIsAcceptedAfterARefusal) {
  ASSERT_TRUE(p.typeText("Form", kDate, "31/02/2012"));
  ASSERT_TRUE(p.pressKey("Form", rt::TabKey));
  ASSERT_EQ(p.focus("Form"), kDate);
  ASSERT_TRUE(p.typeText("Form", kDate, "29/02/2012"));
  ASSERT_TRUE(p.pressKey("Form", rt::TabKey));
  EXPECT_EQ(p.focus("Form"), kName);
  EXPECT_FALSE(p.control("Form", kDate)->refused);
  EXPECT_EQ(p.text("Form", kDate), "29/02/2012");
  EXPECT_NE(g_data.date, 0);
  EXPECT_EQ(g_log.matching("form Accepted"), std::vector<std::string>{"form Accepted 4 key 9"});
}

TEST_F(EntryForm, UpdateCopiesOnlyControlsEditedSinceTheyWereDisplayed) {
  ASSERT_TRUE(rt::post(kEventSetNumber, 0, p.window("Form")->thread));
  ASSERT_TRUE(p.waitIdle());
  ASSERT_EQ(g_data.number, 77);
  ASSERT_TRUE(p.typeText("Form", kAmount, "3.25"));
  ASSERT_TRUE(p.pressKey("Form", rt::F2Key));  // a window alert key: the entry is not left
  EXPECT_TRUE(g_update.ok) << g_update.error;
  EXPECT_EQ(g_data.number, 77) << "the unedited number entry must not overwrite the program's value";
  EXPECT_EQ(g_data.amount.value(), rt::Decimal::parse("3.25"));
  // Once copied, the text is no longer an edit: a later UPDATE leaves a new value alone.
  ASSERT_TRUE(g_data.amount.assign(rt::Decimal::parse("9").value()) == rt::DecimalStatus::Ok);
  ASSERT_TRUE(p.pressKey("Form", rt::F2Key));
  EXPECT_EQ(g_data.amount.value(), rt::Decimal::parse("9"));
}

TEST_F(EntryForm, AlertKeysOfTheControlAndOfTheWindowReplaceTheKeysEffect) {
  ASSERT_TRUE(p.pressKey("Form", rt::F5Key));  // the number entry's own alert key
  ASSERT_TRUE(p.pressKey("Form", rt::TabKey));
  ASSERT_TRUE(p.pressKey("Form", rt::F5Key));  // not an alert key of the amount entry
  ASSERT_TRUE(p.pressKey("Form", rt::F6Key));  // the window's
  EXPECT_EQ(g_log.matching("form AlertKey"),
            (std::vector<std::string>{"form AlertKey 2 key 116", "form AlertKey 0 key 117"}));
}

TEST_F(EntryForm, AKeyPressedByTheProgramActsAsIfTyped) {
  ASSERT_TRUE(p.typeText("Form", kAmount, "4"));
  ASSERT_TRUE(p.pressKey("Form", rt::DownKey));
  EXPECT_EQ(p.focus("Form"), kDate);
  EXPECT_EQ(g_log.matching("form Accepted"), std::vector<std::string>{"form Accepted 3 key 9"});
  EXPECT_EQ(g_data.amount.value(), rt::Decimal::fromInt(4));
}

TEST_F(EntryForm, EnterPressesTheDefaultButtonAfterAcceptingTheEntry) {
  ASSERT_TRUE(p.typeText("Form", kNumber, "5"));
  ASSERT_TRUE(p.pressKey("Form", rt::EnterKey));
  EXPECT_EQ(g_log.matching("form Accepted"),
            (std::vector<std::string>{"form Accepted 2 key 13", "form Accepted 8 key 13"}));
  EXPECT_EQ(p.focus("Form"), kNumber) << "the default button does not take the focus";
}

TEST_F(EntryForm, AltWithAMnemonicActsOnTheControlWhoseCaptionHasIt) {
  ASSERT_TRUE(p.pressKey("Form", rt::TabKey));
  ASSERT_TRUE(p.typeText("Form", kAmount, "8"));
  ASSERT_TRUE(p.pressKey("Form", rt::AltMod + 'O'));  // "&OK"
  EXPECT_EQ(g_log.matching("form Accepted"),
            (std::vector<std::string>{"form Accepted 3 key 1103", "form Accepted 8 key 1103"}));
  ASSERT_TRUE(p.pressKey("Form", rt::AltMod + 'N'));  // the prompt "&Number:" leads to its entry
  EXPECT_EQ(p.focus("Form"), kNumber);
  ASSERT_TRUE(p.pressKey("Form", rt::AltMod + 'Q'));  // nobody's
  EXPECT_EQ(p.focus("Form"), kNumber);
  EXPECT_EQ(g_log.matching("form Accepted").size(), 2u);
}

TEST_F(EntryForm, EscPressesTheCancelButton) {
  ASSERT_TRUE(p.pressKey("Form", rt::EscKey));
  EXPECT_TRUE(g_log.contains("form Accepted 9 key 27")) << g_log.joined();
  EXPECT_EQ(p.end(), 0);
}

TEST_F(EntryForm, StatusBarFollowsTheFocusAndTheHighlightedMenuEntry) {
  EXPECT_EQ(p.statusBar("Form", 1), "The number");
  ASSERT_TRUE(p.pressKey("Form", rt::TabKey));
  EXPECT_EQ(p.statusBar("Form", 1), "The amount");
  ASSERT_TRUE(p.highlightMenu("Form", kMenuSave));
  EXPECT_EQ(p.statusBar("Form", 1), "Save the form");
  ASSERT_TRUE(p.highlightMenu("Form", 0));
  EXPECT_EQ(p.statusBar("Form", 1), "The amount");
}

TEST_F(EntryForm, ChoosingAMenuEntryGivesAcceptedWithItsNumber) {
  ASSERT_TRUE(p.chooseMenu("Form", {"&File", "Save"}));
  EXPECT_TRUE(g_log.contains("form Accepted -3")) << g_log.joined();
}

}  // namespace
