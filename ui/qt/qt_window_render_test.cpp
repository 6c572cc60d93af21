// Windows built from hand-made snapshots: every control type draws, lists show the snapshot's
// headers and cells, tabs show their controls, MDI children live in their frame, and changes
// and closes sent from a program thread reach the widgets.

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPushButton>
#include <QCheckBox>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <mutex>
#include <set>
#include <thread>

#include "ui/qt/control_area.h"
#include "ui/qt/list_control.h"
#include "ui/qt/list_model.h"
#include "ui/qt/qt_front_end.h"
#include "ui/qt/qt_test_support.h"
#include "ui/qt/window_host.h"

namespace uiqt {
namespace {

using namespace uiqt::test;

// Snapshots the tests hand to the front end, changed by a "program thread".
class FakeModel {
 public:
  void set(const rt::WindowView& v) {
    std::lock_guard lock(m_);
    views_[v.id] = v;
  }
  void erase(rt::WindowId id) {
    std::lock_guard lock(m_);
    views_.erase(id);
  }
  std::optional<rt::WindowView> get(rt::WindowId id) {
    std::lock_guard lock(m_);
    auto it = views_.find(id);
    if (it == views_.end()) return std::nullopt;
    return it->second;
  }

 private:
  std::mutex m_;
  std::map<rt::WindowId, rt::WindowView> views_;
};

rt::WindowView everyControl() {
  rt::WindowView v;
  v.id = 7;
  v.title = "Recorrer la tabla Art\xED" "culos";  // Windows-1252 "í"
  v.pos = at(0, 0, 261, 240);
  v.pos.has_pos = false;
  v.frame = rt::FrameKind::Double;

  auto list = control(1, rt::CONTROL_List, at(9, 23, 244, 124));
  list.parent = 8;
  list.columns = {column(41, 'R', 2, "IDArticulo", 'C'), column(130, 'L', 2, "Descripci\xF3n", 'L'),
                  column(48, 'D', 16, "Importe", 'C')};
  list.columns[0].grey = true;  // not editable while a row is edited
  list.rows = {{"   1", "  Tornillo", "     12.50"}, {"2", "Tuerca", "3.00"}};
  list.selected_row = 2;
  list.row_height = 11;
  list.page_loaded = true;
  list.thumb = 0.5;
  v.controls.push_back(list);

  auto view_button = control(2, rt::CONTROL_Button, at(8, 158, 49, 14), "&Ver");
  view_button.icon = "WAVIEW.ICO";
  v.controls.push_back(view_button);
  auto ok = control(3, rt::CONTROL_Button, at(61, 158, 49, 14), "&Aceptar");
  ok.icon = "WAOK.ICO";
  ok.is_default = true;
  v.controls.push_back(ok);

  auto sheet = control(7, rt::CONTROL_Sheet, at(4, 4, 253, 150));
  sheet.current_tab = 8;
  v.controls.push_back(sheet);
  auto tab1 = control(8, rt::CONTROL_Tab, {}, "&1) Por IDArticulo");
  tab1.parent = 7;
  v.controls.push_back(tab1);
  auto tab2 = control(9, rt::CONTROL_Tab, {}, "&2) Por Descripci\xF3n");
  tab2.parent = 7;
  v.controls.push_back(tab2);
  auto prompt = control(10, rt::CONTROL_Prompt, at(8, 34), "Descripci\xF3n:");
  prompt.parent = 9;
  prompt.transparent = true;
  v.controls.push_back(prompt);
  auto entry = control(11, rt::CONTROL_Entry, at(61, 34, 124, 10), "Tuerca");
  entry.parent = 9;
  entry.required = true;
  entry.picture = "s30";
  v.controls.push_back(entry);

  auto price = control(12, rt::CONTROL_Entry, at(61, 180, 39, 10), "12.50");
  price.right_aligned = true;
  price.read_only = true;
  v.controls.push_back(price);
  auto check = control(13, rt::CONTROL_Check, at(110, 180, 40, 10), "Activo");
  check.checked = true;
  v.controls.push_back(check);
  v.controls.push_back(control(14, rt::CONTROL_Radio, at(155, 180, 40, 10), "Uno"));
  v.controls.push_back(control(15, rt::CONTROL_Combo, at(8, 195, 50, 12), "Rojo"));
  v.controls.push_back(control(16, rt::CONTROL_DropList, at(60, 195, 50, 12), "Verde"));
  v.controls.push_back(control(17, rt::CONTROL_DropCombo, at(112, 195, 60, 12), "ACME"));
  auto drop_only = control(18, rt::CONTROL_DropCombo, at(175, 195, 12, 12));
  drop_only.drop_button_only = true;
  v.controls.push_back(drop_only);
  v.controls.push_back(control(19, rt::CONTROL_Spin, at(190, 195, 30, 12), "3"));
  auto memo = control(20, rt::CONTROL_Text, at(8, 210, 100, 20), "l\xEDnea 1\nl\xEDnea 2");
  memo.single_line = false;
  v.controls.push_back(memo);
  v.controls.push_back(control(21, rt::CONTROL_String, at(112, 212), "Total:"));
  v.controls.push_back(control(22, rt::CONTROL_Panel, at(150, 210, 40, 20)));
  v.controls.push_back(control(23, rt::CONTROL_Group, at(195, 205, 60, 30), "&Datos"));
  auto editor = control(24, rt::CONTROL_Entry, at(0, 0, 40, 10), "Tornillo grande");
  editor.over_list = 1;
  editor.over_row = 1;
  editor.over_col = 2;
  v.controls.push_back(editor);
  auto title = control(25, rt::CONTROL_String, at(150, 160), "Quillet");
  title.font_size = 14;
  title.bold = true;
  v.controls.push_back(title);
  v.focus = 1;
  return v;
}

class QtWindowRender : public ::testing::Test {
 protected:
  void SetUp() override { app(); }

  // Opens the window as a program thread would: the call comes from another thread.
  WindowHost* openFromProgramThread(const rt::WindowView& v) {
    model.set(v);
    std::thread program([&] { front_end.windowOpened(v.id); });
    program.join();
    EXPECT_TRUE(waitUntil([&] { return front_end.host(v.id) != nullptr; }));
    return front_end.host(v.id);
  }

  FakeModel model;
  RecordingInput input;
  QtFrontEnd front_end{[this](rt::WindowId id) { return model.get(id); }, input};
};

TEST_F(QtWindowRender, EveryControlTypeDrawsAndShowsTheSnapshot) {
  WindowHost* host = openFromProgramThread(everyControl());
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(host->windowTitle(), QString::fromUtf8("Recorrer la tabla Artículos"));

  const QImage image = host->grab().toImage();
  ASSERT_FALSE(image.isNull());
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); y += 3) {
    for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
  }
  EXPECT_GT(colours.size(), 3u) << "the window image is blank";

  ControlArea* area = host->controls();
  for (const auto& c : everyControl().controls) {
    if (c.type == rt::CONTROL_Tab) continue;
    EXPECT_NE(area->widgetOf(c.feq), nullptr) << "control " << c.feq << " has no widget";
  }

  auto* list = qobject_cast<ListControl*>(area->widgetOf(1));
  ASSERT_NE(list, nullptr);
  const QAbstractItemModel* m = list->view()->model();
  EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "IDArticulo");
  EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), QString::fromUtf8("Descripción"));
  EXPECT_EQ(m->headerData(2, Qt::Horizontal).toString(), "Importe");
  EXPECT_EQ(m->data(m->index(1, 1)).toString(), "Tuerca");
  // Padding blanks of a picture do not push right-aligned text out of its column.
  EXPECT_EQ(m->data(m->index(0, 0)).toString(), "1");
  EXPECT_EQ(m->data(m->index(0, 2)).toString(), "12.50");
  EXPECT_EQ(m->data(m->index(0, 1)).toString(), "  Tornillo");
  EXPECT_EQ(m->rowCount(), 2);
  EXPECT_TRUE(m->data(m->index(1, 0), ListModel::HighlightRole).toBool());
  EXPECT_FALSE(m->data(m->index(0, 0), ListModel::HighlightRole).toBool());
  EXPECT_TRUE(m->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
              Qt::AlignHCenter);
  EXPECT_TRUE(m->data(m->index(0, 2), Qt::TextAlignmentRole).value<Qt::Alignment>() &
              Qt::AlignRight);
  const QColor grey = QApplication::palette().color(QPalette::Disabled, QPalette::Text);
  EXPECT_EQ(m->data(m->index(0, 0), Qt::ForegroundRole).value<QBrush>().color(), grey);
  EXPECT_FALSE(m->data(m->index(0, 1), Qt::ForegroundRole).isValid());
  EXPECT_EQ(m->data(m->index(0, 2), ListModel::IndentRole).toInt(), area->units().toPixelsX(16));
  EXPECT_EQ(list->view()->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
  EXPECT_EQ(list->view()->horizontalHeader()->sectionSize(1), area->units().toPixelsX(130));
  EXPECT_EQ(list->view()->verticalHeader()->defaultSectionSize(), area->units().toPixelsY(11));
  // A page-loaded list has the runtime's scroll bar, with the program's thumb.
  EXPECT_TRUE(list->pageScrollBar()->isVisible());
  EXPECT_EQ(list->pageScrollBar()->value(), 500);

  // The sheet shows its first tab: the list is on it, the description entry on the other.
  auto* sheet = qobject_cast<QTabWidget*>(area->widgetOf(7));
  ASSERT_NE(sheet, nullptr);
  ASSERT_EQ(sheet->count(), 2);
  EXPECT_EQ(sheet->tabText(1), QString::fromUtf8("&2) Por Descripción"));
  EXPECT_EQ(sheet->currentIndex(), 0);
  EXPECT_TRUE(list->isVisible());
  EXPECT_FALSE(area->widgetOf(11)->isVisible());
  EXPECT_FALSE(area->widgetOf(10)->isVisible());

  auto* ok = qobject_cast<QPushButton*>(area->widgetOf(3));
  ASSERT_NE(ok, nullptr);
  EXPECT_TRUE(ok->isDefault());
  EXPECT_FALSE(ok->icon().isNull());
  EXPECT_TRUE(qobject_cast<QCheckBox*>(area->widgetOf(13))->isChecked());
  auto* price = qobject_cast<QLineEdit*>(area->widgetOf(12));
  ASSERT_NE(price, nullptr);
  EXPECT_TRUE(price->isReadOnly());
  EXPECT_TRUE(price->alignment() & Qt::AlignRight);
  EXPECT_EQ(qobject_cast<QLabel*>(area->widgetOf(21))->text(), "Total:");
  // A control's own font, and its natural size with it.
  QWidget* title = area->widgetOf(25);
  EXPECT_TRUE(title->font().bold());
  EXPECT_EQ(title->font().pointSize(), 14);
  EXPECT_FALSE(area->widgetOf(21)->font().bold());
  EXPECT_GT(title->height(), area->widgetOf(21)->height());

  // The in-list editor lies exactly on its cell.
  QRect cell = list->cellRect(0, 1);
  cell.translate(list->pos());
  EXPECT_EQ(area->widgetOf(24)->geometry(), cell);
  EXPECT_EQ(qobject_cast<QLineEdit*>(area->widgetOf(24))->text(), "Tornillo grande");
  // ... and stays on it when the user widens a column before it.
  list->view()->horizontalHeader()->resizeSection(0, list->view()->horizontalHeader()->sectionSize(0) + 20);
  cell = list->cellRect(0, 1);
  cell.translate(list->pos());
  EXPECT_EQ(area->widgetOf(24)->geometry(), cell);

  // Controls sit where their dialog units say.
  const DialogUnits& du = area->units();
  EXPECT_EQ(price->geometry(), QRect(du.toPixelsX(61), du.toPixelsY(180), du.toPixelsX(39),
                                     du.toPixelsY(10)));
}

TEST_F(QtWindowRender, ChangesFromAProgramThreadAreDrawn) {
  rt::WindowView v = everyControl();
  WindowHost* host = openFromProgramThread(v);
  ASSERT_NE(host, nullptr);
  ControlArea* area = host->controls();

  v.controls[3].current_tab = 9;  // the sheet
  v.controls[7].text = "Arandela";  // the description entry
  v.controls[0].rows = {{"3", "Clavo", "0.10"}};
  v.controls[0].selected_row = 1;
  v.controls[0].thumb = 1.0;
  v.status_texts = {};
  model.set(v);
  std::thread program([&] {
    // Several changes in a row are drawn from the latest snapshot.
    for (int i = 0; i < 5; ++i) front_end.windowChanged(v.id);
  });
  program.join();
  ASSERT_TRUE(waitUntil([&] { return area->widgetOf(11)->isVisible(); }));
  EXPECT_FALSE(area->widgetOf(1)->isVisible());
  EXPECT_EQ(qobject_cast<QLineEdit*>(area->widgetOf(11))->text(), "Arandela");
  auto* list = qobject_cast<ListControl*>(area->widgetOf(1));
  EXPECT_EQ(list->view()->model()->rowCount(), 1);
  EXPECT_EQ(list->view()->model()->data(list->view()->model()->index(0, 1)).toString(), "Clavo");
  EXPECT_EQ(list->pageScrollBar()->value(), 1000);
  EXPECT_EQ(qobject_cast<QTabWidget*>(area->widgetOf(7))->currentIndex(), 1);

  // A control gone from the model loses its widget.
  std::erase_if(v.controls, [](const rt::ControlView& c) { return c.feq == 24; });
  model.set(v);
  front_end.windowChanged(v.id);
  ASSERT_TRUE(waitUntil([&] { return area->widgetOf(24) == nullptr; }));

  QPointer<WindowHost> watch = host;
  model.erase(v.id);
  std::thread closer([&] { front_end.windowClosed(v.id); });
  closer.join();
  ASSERT_TRUE(waitUntil([&] { return watch.isNull(); }));
  EXPECT_EQ(front_end.host(v.id), nullptr);
}

TEST_F(QtWindowRender, MdiChildrenLiveInTheFrameWithItsMenuAndStatusBar) {
  rt::WindowView frame;
  frame.id = 1;
  frame.app_frame = true;
  frame.title = "Demostraci\xF3n de Quillet";
  frame.pos = at(0, 0, 505, 318);
  frame.pos.has_pos = false;
  frame.max_box = true;
  frame.icon = "WAFRAME.ICO";
  frame.status_widths = {-1, 80, 120, 45};
  frame.status_texts = {"Browse Cabecera", "", "", ""};
  rt::MenuEntryView file;
  file.feq = -2;
  file.text = "&Archivo";
  rt::MenuEntryView setup;
  setup.feq = -3;
  setup.text = "&Configurar Impresora ...";
  rt::MenuEntryView sep;
  sep.separator = true;
  rt::MenuEntryView exit;
  exit.feq = -4;
  exit.text = "&Salir";
  file.children = {setup, sep, exit};
  frame.menu = {file};
  WindowHost* frame_host = openFromProgramThread(frame);
  ASSERT_NE(frame_host, nullptr);
  ASSERT_NE(frame_host->mdiArea(), nullptr);

  ASSERT_NE(frame_host->statusSection(3), nullptr);
  EXPECT_EQ(frame_host->statusSection(0)->text(), "Browse Cabecera");
  EXPECT_EQ(frame_host->statusSection(1)->width(), frame_host->controls()->units().toPixelsX(80));
  const auto top = frame_host->menuBar()->actions();
  ASSERT_EQ(top.size(), 1);
  EXPECT_EQ(top[0]->text(), "&Archivo");
  ASSERT_NE(top[0]->menu(), nullptr);
  const auto entries = top[0]->menu()->actions();
  ASSERT_EQ(entries.size(), 3);
  EXPECT_TRUE(entries[1]->isSeparator());

  // Choosing and highlighting entries is reported with their numbers.
  entries[2]->trigger();
  entries[0]->hover();
  EXPECT_EQ(input.only("menu"), std::vector<std::string>{"menu 1 -4"});
  EXPECT_EQ(input.only("highlight"), std::vector<std::string>{"highlight 1 -3"});

  rt::WindowView child = everyControl();
  child.id = 2;
  child.mdi_child = true;
  WindowHost* a = openFromProgramThread(child);
  child.id = 3;
  WindowHost* b = openFromProgramThread(child);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  ASSERT_NE(a->subWindow(), nullptr);
  EXPECT_EQ(a->subWindow()->mdiArea(), frame_host->mdiArea());
  EXPECT_EQ(frame_host->mdiArea()->subWindowList().size(), 2);
  // A fixed-frame child opens whole, at its design size, inside the area, the second one too:
  // the area places each sub-window by its full size.
  const QRect viewport = frame_host->mdiArea()->viewport()->rect();
  for (WindowHost* w : {a, b}) {
    QMdiSubWindow* sub = w->subWindow();
    EXPECT_TRUE(sub->isVisible());
    EXPECT_FALSE(sub->isMinimized());
    EXPECT_FALSE(sub->isShaded());
    EXPECT_EQ(w->size(), w->controls()->designSize());
    EXPECT_EQ(w->minimumSize(), w->maximumSize()) << "a fixed frame is not resizable";
    EXPECT_GE(sub->width(), w->width());
    EXPECT_GT(sub->height(), w->height());
    EXPECT_TRUE(viewport.contains(sub->geometry()))
        << "sub-window at " << sub->x() << "," << sub->y() << " size " << sub->width() << "x"
        << sub->height() << " in an area of " << viewport.width() << "x" << viewport.height();
  }

  front_end.standardAction(frame.id, rt::StdAction::Cascade, 0);
  ASSERT_TRUE(waitUntil([&] { return a->subWindow()->pos() != b->subWindow()->pos(); }));

  // Arranging icons lines the minimized children up along the bottom, side by side.
  a->subWindow()->showMinimized();
  b->subWindow()->showMinimized();
  a->subWindow()->move(30, 10);  // icons the user dragged about
  b->subWindow()->move(40, 20);
  front_end.standardAction(frame.id, rt::StdAction::Arrange, 0);
  const int bottom = frame_host->mdiArea()->viewport()->height();
  ASSERT_TRUE(waitUntil([&] { return a->subWindow()->geometry().bottom() == bottom - 1; }));
  EXPECT_EQ(b->subWindow()->geometry().bottom(), bottom - 1);
  EXPECT_FALSE(a->subWindow()->geometry().intersects(b->subWindow()->geometry()));
  a->subWindow()->showNormal();
  b->subWindow()->showNormal();

  // The printer set-up dialog opens over the window without blocking it.
  front_end.standardAction(frame.id, rt::StdAction::PrintSetup, 0);
  QDialog* dialog = nullptr;
  ASSERT_TRUE(waitUntil([&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* d = qobject_cast<QPageSetupDialog*>(w); d && d->isVisible()) dialog = d;
    }
    return dialog != nullptr;
  }));
  dialog->reject();

  // The close box asks the runtime and leaves the window open.
  a->subWindow()->close();
  EXPECT_EQ(input.only("close"), std::vector<std::string>{"close 2"});
  EXPECT_NE(front_end.host(2), nullptr);
  EXPECT_TRUE(a->subWindow()->isVisible());
}

}  // namespace
}  // namespace uiqt
