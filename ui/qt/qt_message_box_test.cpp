// Message boxes: the runtime's English captions, icons, default and Esc buttons, the answer sent
// back for the box, and modality that blocks only the asking thread's window.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <thread>

#include "ui/qt/control_area.h"
#include "ui/qt/message_box.h"
#include "ui/qt/qt_front_end.h"
#include "ui/qt/qt_test_support.h"
#include "ui/qt/window_host.h"

namespace uiqt {
namespace {

using namespace uiqt::test;

QStringList captions(const QMessageBox& box) {
  QStringList out;
  for (QAbstractButton* b : box.buttons()) out << b->text();
  out.sort();
  return out;
}

TEST(QtMessageBoxes, ButtonsCaptionsDefaultsAndEscape) {
  app();
  struct Case {
    int buttons, default_button;
    QStringList captions;  // sorted
    QString default_caption, escape_caption;
  };
  const Case cases[] = {
      {1, 0, {"OK"}, "OK", "OK"},
      {0, 0, {"OK"}, "OK", "OK"},  // no button asked for: OK
      {2 + 4, 4, {"&No", "&Yes"}, "&No", "&No"},
      {2 + 4 + 64, 2, {"&No", "&Yes", "Cancel"}, "&Yes", "Cancel"},
      {1 + 64, 1, {"Cancel", "OK"}, "OK", "Cancel"},
      {8 + 16 + 32, 16, {"&Abort", "&Ignore", "&Retry"}, "&Retry", ""},
      {1 + 128, 0, {"&Help", "OK"}, "OK", "OK"},
      {2 + 4, 64, {"&No", "&Yes"}, "&Yes", "&No"},  // a default the box lacks: the first
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.buttons);
    rt::MessageBoxView v;
    v.caption = "Atenci\xF3n";
    v.text = "Debe informar\nuna cantidad";
    v.buttons = c.buttons;
    v.default_button = c.default_button;
    const auto box = createMessageBox(v, nullptr);
    EXPECT_EQ(box->windowTitle(), QString::fromUtf8("Atención"));
    EXPECT_EQ(box->text(), "Debe informar\nuna cantidad");
    EXPECT_EQ(captions(*box), c.captions);
    EXPECT_EQ(box->defaultButton() ? box->defaultButton()->text() : QString(), c.default_caption);
    EXPECT_EQ(box->escapeButton() ? box->escapeButton()->text() : QString(), c.escape_caption);
    for (QAbstractButton* b : box->buttons()) {
      EXPECT_TRUE(answerOf(b) & c.buttons || (c.buttons == 0 && answerOf(b) == 1));
    }
  }
}

TEST(QtMessageBoxes, IconsByName) {
  const std::pair<std::string, QMessageBox::Icon> cases[] = {
      {"Exclamation", QMessageBox::Warning}, {"Question", QMessageBox::Question},
      {"Hand", QMessageBox::Critical},       {"Asterisk", QMessageBox::Information},
      {"ICON:Question", QMessageBox::Question}, {"", QMessageBox::NoIcon},
      {"Unknown", QMessageBox::NoIcon},
  };
  for (const auto& [name, icon] : cases) EXPECT_EQ(messageIcon(name), icon) << name;
}

class QtMessageBoxFrontEnd : public ::testing::Test {
 protected:
  void SetUp() override { app(); }

  WindowHost* open(const rt::WindowView& v) {
    views[v.id] = v;
    front_end.windowOpened(v.id);
    EXPECT_TRUE(waitUntil([&] { return front_end.host(v.id) != nullptr; }));
    return front_end.host(v.id);
  }

  // Asks from a program thread, as rt::message does.
  QMessageBox* ask(std::uint64_t id, rt::WindowId owner, int buttons, int default_button) {
    rt::MessageBoxView box;
    box.id = id;
    box.owner = owner;
    box.caption = "Pregunta";
    box.text = "Borrar?";
    box.icon = "Question";
    box.buttons = buttons;
    box.default_button = default_button;
    std::thread program([&] { front_end.messageBoxOpened(box); });
    program.join();
    EXPECT_TRUE(waitUntil([&] { return front_end.openMessageBox(id) != nullptr; }));
    return front_end.openMessageBox(id);
  }

  static rt::WindowView window(rt::WindowId id, bool mdi_child) {
    rt::WindowView v;
    v.id = id;
    v.mdi_child = mdi_child;
    v.title = "Ventana " + std::to_string(id);
    v.pos = at(0, 0, 120, 60);
    v.pos.has_pos = false;
    v.controls.push_back(control(1, rt::CONTROL_Entry, at(4, 4, 60, 10), "abc"));
    return v;
  }

  std::map<rt::WindowId, rt::WindowView> views;
  RecordingInput input;
  QtFrontEnd front_end{[this](rt::WindowId id) -> std::optional<rt::WindowView> {
                         auto it = views.find(id);
                         if (it == views.end()) return std::nullopt;
                         return it->second;
                       },
                       input};
};

TEST_F(QtMessageBoxFrontEnd, TheAnswerGoesBackForThatBox) {
  WindowHost* owner = open(window(3, false));
  QMessageBox* box = ask(41, 3, 2 + 4 + 64, 4);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->windowModality(), Qt::WindowModal);
  EXPECT_EQ(box->parentWidget(), owner);
  for (QAbstractButton* b : box->buttons()) {
    if (b->text() == "&Yes") QTest::mouseClick(b, Qt::LeftButton);
  }
  EXPECT_EQ(input.only("answer"), std::vector<std::string>{"answer 41 2"});
  EXPECT_TRUE(waitUntil([&] { return front_end.openMessageBox(41) == nullptr; }));

  box = ask(42, 3, 2 + 4, 2);
  ASSERT_NE(box, nullptr);
  QTest::keyClick(box, Qt::Key_Escape);
  EXPECT_EQ(input.only("answer").back(), "answer 42 4");
}

TEST_F(QtMessageBoxFrontEnd, ABoxOfAnMdiChildLeavesTheOtherWindowsUsable) {
  rt::WindowView frame;
  frame.id = 1;
  frame.app_frame = true;
  frame.pos = at(0, 0, 400, 300);
  frame.pos.has_pos = false;
  open(frame);
  WindowHost* asking = open(window(2, true));
  WindowHost* other = open(window(4, true));
  ASSERT_NE(asking->subWindow(), nullptr);

  QMessageBox* box = ask(7, 2, 1, 1);
  ASSERT_NE(box, nullptr);
  EXPECT_NE(box->windowModality(), Qt::ApplicationModal);
  EXPECT_NE(box->windowModality(), Qt::WindowModal) << "would block the whole frame";
  EXPECT_FALSE(asking->controls()->isEnabled());
  EXPECT_TRUE(other->controls()->isEnabled());

  // A box whose window goes away unanswered still answers, so the asking thread goes on.
  front_end.windowClosed(2);
  QTest::mouseClick(box->buttons().front(), Qt::LeftButton);
  EXPECT_EQ(input.only("answer"), std::vector<std::string>{"answer 7 1"});
  EXPECT_TRUE(waitUntil([&] { return front_end.host(2) == nullptr; }));
}

TEST_F(QtMessageBoxFrontEnd, ABoxClosedWithoutAButtonAnswersWithAButtonItHas) {
  open(window(6, false));
  struct Case {
    std::uint64_t id;
    int buttons, default_button;
    std::string answer;
  };
  const Case cases[] = {
      {21, 2 + 4 + 64, 2, "answer 21 64"},  // Cancel
      {22, 2 + 4, 2, "answer 22 4"},        // No
      {23, 8 + 16 + 32, 16, "answer 23 16"},  // no Esc button: the default one
      {24, 8 + 16 + 32, 0, "answer 24 8"},    // the default is then the first
  };
  for (const auto& c : cases) {
    QMessageBox* box = ask(c.id, 6, c.buttons, c.default_button);
    ASSERT_NE(box, nullptr);
    box->done(0);  // closed by the window system, no button pressed
    EXPECT_EQ(input.only("answer").back(), c.answer);
  }
}

TEST(QtMessageBoxEnd, BoxesStillOpenWhenTheFrontEndGoesAreAnswered) {
  app();
  RecordingInput input;
  {
    QtFrontEnd front_end([](rt::WindowId) { return std::optional<rt::WindowView>(); }, input);
    for (std::uint64_t id : {1, 2, 3}) {
      rt::MessageBoxView box;
      box.id = id;
      box.buttons = 2 + 4;
      front_end.messageBoxOpened(box);
    }
    ASSERT_TRUE(waitUntil([&] { return front_end.openMessageBox(3) != nullptr; }));
  }
  EXPECT_EQ(input.only("answer"),
            (std::vector<std::string>{"answer 1 4", "answer 2 4", "answer 3 4"}));
}

TEST_F(QtMessageBoxFrontEnd, ABoxDestroyedWithItsWindowAnswersWithItsEscapeButton) {
  open(window(5, false));
  QMessageBox* box = ask(9, 5, 1 + 64, 1);
  ASSERT_NE(box, nullptr);
  front_end.windowClosed(5);
  ASSERT_TRUE(waitUntil([&] { return !input.only("answer").empty(); }));
  EXPECT_EQ(input.only("answer"), std::vector<std::string>{"answer 9 64"});
}

TEST_F(QtMessageBoxFrontEnd, PopupMenusAnswerTheEntryChosenOrNothing) {
  open(window(8, false));
  const auto popup = [&](std::uint64_t id) -> QMenu* {
    rt::PopupView view;
    view.id = id;
    view.owner = 8;
    for (int n = 1; n <= 4; ++n) {
      rt::MenuEntryView e;
      e.feq = n;
      e.separator = n == 3;
      e.text = n == 3 ? "" : "Entrada " + std::to_string(n);
      view.entries.push_back(e);
    }
    std::thread program([&] { front_end.popupOpened(view); });
    program.join();
    QMenu* menu = nullptr;
    EXPECT_TRUE(waitUntil([&] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* m = qobject_cast<QMenu*>(w); m && m->isVisible()) menu = m;
      }
      return menu != nullptr;
    }));
    return menu;
  };
  EXPECT_TRUE(front_end.supportsPopups());

  QMenu* menu = popup(11);
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), 4);
  EXPECT_TRUE(menu->actions()[2]->isSeparator());
  EXPECT_EQ(menu->actions()[3]->text(), "Entrada 4");
  // Entries keep their numbers past the separator.
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions()[3]).center());
  ASSERT_TRUE(waitUntil([&] { return !input.only("popup").empty(); }));
  QTest::qWait(50);
  EXPECT_EQ(input.only("popup"), std::vector<std::string>{"popup 11 4"});

  menu = popup(12);
  ASSERT_NE(menu, nullptr);
  QTest::keyClick(menu, Qt::Key_Escape);
  ASSERT_TRUE(waitUntil([&] { return input.only("popup").size() == 2; }));
  EXPECT_EQ(input.only("popup").back(), "popup 12 0");
}

}  // namespace
}  // namespace uiqt
