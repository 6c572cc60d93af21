// A framework browse with in-list editing, run by the runtime under the Qt front end and driven
// only by real key events on the widgets: Down moves the list's highlight, Insert opens a new row
// with an entry field lying on the cell being edited, Tab moves the field to the next column,
// typed characters go into that field and Enter writes the row. The row must then be in the table
// file and in the list widget's cells.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTableView>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/browse_class.h"
#include "framework/browse_eip_manager.h"
#include "framework/browse_test_tables.h"
#include "framework/edit_entry_class.h"
#include "framework/error_class.h"
#include "framework/file_manager.h"
#include "framework/manager_test_support.h"
#include "framework/relation_manager.h"
#include "framework/window_manager.h"
#include "runtime/event.h"
#include "runtime/program.h"
#include "runtime/window.h"
#include "ui/qt/control_area.h"
#include "ui/qt/list_control.h"
#include "ui/qt/list_model.h"
#include "ui/qt/qt_front_end.h"
#include "ui/qt/qt_test_support.h"
#include "ui/qt/runtime_input.h"
#include "ui/qt/window_host.h"

namespace uiqt {
namespace {

using namespace uiqt::test;
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

constexpr int kList = 1, kInsert = 2, kChange = 3, kDelete = 4, kClose = 5;
// List columns: 1 HDR (not editable), 2 NUM, 3 NAME, 4 AMOUNT.
constexpr int kNumCol = 2, kNameCol = 3, kAmountCol = 4;

// Set up by the fixture before the program starts, used by the program thread.
std::shared_ptr<fw_test::RecordingPresenter> g_presenter;
std::unique_ptr<fw::ErrorClass> g_errors;
std::int32_t g_vcr = 0;

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
      .control(rt::ControlDecl::button(kClose, "C&lose").at(180, 70, 40, 14));
  return s;
}

class EipBrowse : public fw::BrowseClass {
 public:
  fw::BrowseEIPManager EIP;
  int AskRecord(int request) override { return EIP.AskRecord(request); }
};

class LinesWindow : public fw::WindowManager {
 public:
  LinesWindow(rt::Window& w, store::File& lines, Line& lin, fw::RelationManager& rm)
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
    brw_.EIP.Init(brw_);
    brw_.EIP.AddEditControl(nullptr, 1);
    brw_.EIP.AddEditControl(&num_editor_, kNumCol);
    brw_.EIP.AddEditControl(&name_editor_, kNameCol);
    brw_.EIP.AddEditControl(&amount_editor_, kAmountCol);
    brw_.AddField(rt::Binding::ushort(lin_.HDR), rt::Binding::ushort(queue_rec_.HDR));
    brw_.AddField(rt::Binding::ushort(lin_.NUM), rt::Binding::ushort(queue_rec_.NUM));
    brw_.AddField(rt::Binding::string(lin_.NAME), rt::Binding::string(queue_rec_.NAME));
    brw_.AddField(rt::Binding::long_(lin_.AMOUNT), rt::Binding::long_(queue_rec_.AMOUNT));
    brw_.AskProcedure = 0;
    brw_.ArrowAction = 24;
    SetAlerts();
    return 0;
  }

 private:
  store::File& lines_;
  Line& lin_;
  fw::RelationManager& rm_;
  fw::ViewManager view_;
  QueueRec queue_rec_{};
  fw::BrowseQueue queue_{queue_rec_};
  EipBrowse brw_;
  fw::EditEntryClass num_editor_, name_editor_, amount_editor_;
  std::uint16_t header_ = 1;
};

void linesProgram() {
  Line lin{};
  store::File lines(linesDef(), &lin);
  fw::FileManager fm;
  fm.Buffer = reinterpret_cast<unsigned char*>(&lin);
  fm.RecordSize = sizeof lin;
  fm.Init();
  fm.Init(lines, *g_errors);
  fm.Create = true;
  fm.AddKey(K_HDRNUM, "By header and number", 2);  // the line number is numbered on insert
  fw::RelationManager rm;
  rm.Init(fm, false);
  if (rm.Open() != fw::Level_Benign) return;
  rt::Window window;
  {
    LinesWindow w(window, lines, lin, rm);
    w.Run();
  }
  rm.Close();
  fm.Kill();
}

std::string trimmed(std::string s) {
  s.erase(0, s.find_first_not_of(' '));
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

class QtInListEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    app();
    g_vcr = 0;
    g_presenter = std::make_shared<fw_test::RecordingPresenter>();
    g_errors = std::make_unique<fw::ErrorClass>(g_presenter);
    g_errors->Init(status_);
  }
  void TearDown() override {
    if (rt::programRunning()) {
      rt::stopProgram(0);
      waitUntil([&] { return front_end_.exitCode().has_value(); }, 20000);
      rt::waitProgram();
    }
    g_errors->Kill();
    g_errors.reset();
  }

  void seed(const std::vector<Line>& recs) {
    Line l{};
    store::File f(linesDef(), &l);
    ASSERT_TRUE(f.open().ok());
    for (const Line& r : recs) {
      l = r;
      ASSERT_TRUE(f.add().ok());
    }
    f.close();
  }
  // The stored lines of header 1 in key order, "NUM:NAME:AMOUNT", read from the table file.
  std::vector<std::string> stored() {
    std::vector<std::string> out;
    Line l{};
    store::File f(linesDef(), &l);
    if (!f.open().ok()) return out;
    if (f.set(K_HDRNUM).ok())
      while (f.next().ok())
        if (l.HDR == 1)
          out.push_back(std::to_string(l.NUM) + ":" + text(l.NAME, 10) + ":" + std::to_string(l.AMOUNT));
    f.close();
    return out;
  }

  // Processes Qt events until the program waits for input and `done` holds.
  bool settled(const std::function<bool()>& done) {
    return waitUntil([&] { return rt::programIdle() && done(); }, 20000);
  }

  // The list widget's rows as shown, "NUM:NAME:AMOUNT".
  std::vector<std::string> shownRows() {
    std::vector<std::string> out;
    const ListModel& m = list_->model();
    for (int r = 0; r < m.rowCount(); ++r) {
      std::string row;
      for (int c : {kNumCol, kNameCol, kAmountCol}) {
        if (!row.empty()) row += ":";
        row += trimmed(m.data(m.index(r, c - 1), Qt::DisplayRole).toString().toStdString());
      }
      out.push_back(row);
    }
    return out;
  }

  // The control the program created over a list cell, from the runtime's model of the window.
  std::optional<rt::ControlView> cellEditor() {
    auto v = rt::viewOf(window_);
    if (!v) return std::nullopt;
    for (const auto& c : v->controls)
      if (c.over_list == kList) return c;
    return std::nullopt;
  }

  // Waits for an entry field over cell (row, col) of the list, on screen, placed on that cell
  // and holding the keyboard focus; returns its widget.
  QLineEdit* editorAt(int row, int col) {
    QLineEdit* found = nullptr;
    const bool ok = settled([&] {
      found = nullptr;
      auto e = cellEditor();
      if (!e || e->over_row != row || e->over_col != col) return false;
      auto* line = qobject_cast<QLineEdit*>(host_->controls()->focusTargetOf(e->feq));
      if (!line || !line->isVisible() || !line->hasFocus()) return false;
      const QRect cell = list_->cellRect(row - 1, col - 1);
      if (cell.isEmpty()) return false;
      if (line->mapToGlobal(QPoint(0, 0)) != list_->mapToGlobal(cell.topLeft()) ||
          line->size() != cell.size())
        return false;
      found = line;
      return true;
    });
    EXPECT_TRUE(ok) << "no entry field on cell " << row << "," << col << "\n" << rt::dumpModel();
    return found;
  }

  TempDir dir_;
  fw::ErrorStatusClass status_;
  RuntimeInput input_;
  QtFrontEnd front_end_{&rt::viewOf, input_};
  rt::WindowId window_ = 0;
  WindowHost* host_ = nullptr;
  ListControl* list_ = nullptr;
};

TEST_F(QtInListEdit, InsertTypeAndEnterWritesTheRowToTheTableAndTheList) {
  seed({line(1, 1, "n1", 10), line(1, 2, "n2", 20), line(1, 3, "n3", 30)});
  ASSERT_EQ(rt::startProgram(rt::ProgramDecl{&linesProgram, nullptr, nullptr, 0}, front_end_),
            rt::StartResult::Ok);

  ASSERT_TRUE(settled([&] {
    for (rt::WindowId id : rt::openWindows()) {
      auto v = rt::viewOf(id);
      if (v && v->title == "Lines" && front_end_.host(id)) window_ = id;
    }
    if (!window_) return false;
    host_ = front_end_.host(window_);
    list_ = qobject_cast<ListControl*>(host_->controls()->widgetOf(kList));
    return list_ && list_->model().rowCount() == 3;
  })) << rt::dumpModel();
  host_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(host_));
  QWidget* keys = host_->controls()->focusTargetOf(kList);
  ASSERT_NE(keys, nullptr);
  ASSERT_TRUE(settled([&] { return keys->hasFocus(); })) << rt::dumpModel();
  EXPECT_EQ(shownRows(), (std::vector<std::string>{"1:n1:10", "2:n2:20", "3:n3:30"}));
  ASSERT_EQ(list_->model().selectedRow(), 1);
  ASSERT_FALSE(cellEditor());

  // Down highlights the second row; Insert opens a new row below it, its number already given.
  QTest::keyClick(keys, Qt::Key_Down);
  ASSERT_TRUE(settled([&] { return list_->model().selectedRow() == 2; })) << rt::dumpModel();
  QTest::keyClick(keys, Qt::Key_Insert);
  QLineEdit* num = editorAt(3, kNumCol);
  ASSERT_NE(num, nullptr);
  EXPECT_EQ(trimmed(num->text().toStdString()), "4");
  EXPECT_EQ(shownRows(), (std::vector<std::string>{"1:n1:10", "2:n2:20", "4::0", "3:n3:30"}));

  // Tab moves to the name; the typed name is the field's text.
  QTest::keyClick(num, Qt::Key_Tab);
  QLineEdit* name = editorAt(3, kNameCol);
  ASSERT_NE(name, nullptr);
  QTest::keyClicks(name, "qtnew");
  ASSERT_TRUE(settled([&] { return trimmed(name->text().toStdString()) == "qtnew"; }))
      << name->text().toStdString() << "\n" << rt::dumpModel();

  // Tab again to the amount, the whole of it replaced by what is typed.
  QTest::keyClick(name, Qt::Key_Tab);
  QLineEdit* amount = editorAt(3, kAmountCol);
  ASSERT_NE(amount, nullptr);
  QTest::keyClick(amount, Qt::Key_Backspace);
  QTest::keyClicks(amount, "55");
  ASSERT_TRUE(settled([&] { return trimmed(amount->text().toStdString()) == "55"; }))
      << amount->text().toStdString() << "\n" << rt::dumpModel();
  EXPECT_EQ(stored(), (std::vector<std::string>{"1:n1:10", "2:n2:20", "3:n3:30", "4::0"}))
      << "only the reserved number is in the table while the row is edited";

  // Enter writes the row and ends the editing.
  QTest::keyClick(amount, Qt::Key_Return);
  ASSERT_TRUE(settled([&] { return !cellEditor(); })) << rt::dumpModel();
  const std::vector<std::string> expected{"1:n1:10", "2:n2:20", "3:n3:30", "4:qtnew:55"};
  EXPECT_EQ(stored(), expected);
  ASSERT_TRUE(settled([&] { return shownRows() == expected; }))
      << "shown: " << ::testing::PrintToString(shownRows()) << "\n" << rt::dumpModel();
  EXPECT_TRUE(g_presenter->captions().empty()) << ::testing::PrintToString(g_presenter->captions());
}

}  // namespace
}  // namespace uiqt
