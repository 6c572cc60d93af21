#pragma once
// The widget of a list control: a table view of the snapshot's rows with column headers and,
// for a page-loaded list, a scroll bar of its own whose thumb the program places.
//
// The widget reports through callbacks set by its owner: clicks on cells (1-based row and column,
// 0 when outside the rows or columns), and the scroll bar's actions. It never changes the
// highlighted row or the scroll thumb itself: both follow the next snapshot. GUI thread only.

#include <QWidget>
#include <functional>

#include "runtime/frontend.h"
#include "ui/qt/dialog_units.h"

class QScrollBar;
class QTableView;

namespace uiqt {

class ListModel;

class ListControl : public QWidget {
  Q_OBJECT
 public:
  std::function<void(int mouse_code, int row, int col)> on_click;
  std::function<void(rt::ScrollAction, double fraction)> on_scroll;
  // The cells moved on the widget (a column resized, the view scrolled sideways).
  std::function<void()> on_cells_moved;

  explicit ListControl(QWidget* parent = nullptr);

  void apply(const rt::ControlView& view, const DialogUnits& units);

  // Rectangle of a cell (0-based) in this widget's coordinates; empty when out of range.
  QRect cellRect(int row, int col) const;

  QTableView* view() const { return view_; }
  QScrollBar* pageScrollBar() const { return bar_; }
  const ListModel& model() const { return *model_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void scrollActionTriggered(int action);

  QTableView* view_;
  QScrollBar* bar_;
  ListModel* model_;
  std::vector<int> applied_widths_;
  int applied_row_height_ = -1;
  bool page_loaded_ = false;
};

}  // namespace uiqt
