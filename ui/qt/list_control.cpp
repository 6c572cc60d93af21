#include "ui/qt/list_control.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <QWheelEvent>
#include <cmath>

#include "ui/qt/list_cell_delegate.h"
#include "ui/qt/list_model.h"

namespace uiqt {
namespace {
constexpr int kThumbRange = 1000;
}

ListControl::ListControl(QWidget* parent)
    : QWidget(parent),
      view_(new QTableView(this)),
      bar_(new QScrollBar(Qt::Vertical, this)),
      model_(new ListModel(this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(view_);
  layout->addWidget(bar_);

  view_->setModel(model_);
  view_->setItemDelegate(new ListCellDelegate(view_));
  view_->setSelectionMode(QAbstractItemView::NoSelection);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->setShowGrid(false);
  view_->setWordWrap(false);
  view_->setTabKeyNavigation(false);
  view_->verticalHeader()->hide();
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->horizontalHeader()->setHighlightSections(false);
  view_->horizontalHeader()->setStretchLastSection(false);
  view_->horizontalScrollBar()->setFocusPolicy(Qt::NoFocus);
  view_->viewport()->installEventFilter(this);
  setFocusProxy(view_);
  const auto cells_moved = [this] {
    if (on_cells_moved) on_cells_moved();
  };
  connect(view_->horizontalHeader(), &QHeaderView::sectionResized, this, cells_moved);
  connect(view_->horizontalScrollBar(), &QScrollBar::valueChanged, this, cells_moved);

  bar_->setRange(0, kThumbRange);
  bar_->setPageStep(kThumbRange / 10);
  bar_->setFocusPolicy(Qt::NoFocus);
  bar_->hide();
  connect(bar_, &QScrollBar::actionTriggered, this, &ListControl::scrollActionTriggered);
  connect(bar_, &QScrollBar::sliderReleased, this, [this] {
    if (on_scroll) on_scroll(rt::ScrollAction::Thumb, double(bar_->sliderPosition()) / kThumbRange);
  });
}

void ListControl::apply(const rt::ControlView& view, const DialogUnits& units) {
  std::vector<int> indents;
  indents.reserve(view.columns.size());
  for (const auto& c : view.columns) indents.push_back(units.toPixelsX(c.indent));
  model_->setContents(view.columns, std::move(indents), view.rows, view.selected_row);

  auto* header = view_->horizontalHeader();
  std::vector<int> widths;
  for (const auto& c : view.columns) widths.push_back(units.toPixelsX(c.width));
  if (widths != applied_widths_ || header->count() != static_cast<int>(widths.size())) {
    // Widths are set when the layout changes; between times the user's resizing stands.
    for (size_t i = 0; i < widths.size(); ++i) {
      const int section = static_cast<int>(i);
      header->setSectionResizeMode(section, view.columns[i].resizable ? QHeaderView::Interactive
                                                                       : QHeaderView::Fixed);
      header->resizeSection(section, widths[i]);
    }
    applied_widths_ = widths;
  }
  const int row_height =
      view.row_height > 0 ? units.toPixelsY(view.row_height) : fontMetrics().height() + 2;
  if (row_height != applied_row_height_) {
    view_->verticalHeader()->setMinimumSectionSize(1);
    view_->verticalHeader()->setDefaultSectionSize(row_height);
    applied_row_height_ = row_height;
  }

  page_loaded_ = view.page_loaded;
  bar_->setVisible(page_loaded_);
  view_->setVerticalScrollBarPolicy(page_loaded_ ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
  if (page_loaded_) {
    view_->verticalScrollBar()->setValue(0);
    if (!bar_->isSliderDown()) {
      const double t = std::clamp(view.thumb, 0.0, 1.0);
      bar_->setValue(static_cast<int>(std::lround(t * kThumbRange)));
    }
  } else if (view.selected_row >= 1 && view.selected_row <= model_->rowCount()) {
    view_->scrollTo(model_->index(view.selected_row - 1, 0));
  }
  setEnabled(!view.disabled);
}

QRect ListControl::cellRect(int row, int col) const {
  if (row < 0 || col < 0 || row >= model_->rowCount() || col >= model_->columnCount()) return {};
  QRect r = view_->visualRect(model_->index(row, col));
  if (r.isEmpty()) return {};
  r.moveTopLeft(view_->viewport()->mapTo(this, r.topLeft()));
  return r;
}

void ListControl::scrollActionTriggered(int action) {
  std::optional<rt::ScrollAction> reported;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: reported = rt::ScrollAction::LineDown; break;
    case QAbstractSlider::SliderSingleStepSub: reported = rt::ScrollAction::LineUp; break;
    case QAbstractSlider::SliderPageStepAdd: reported = rt::ScrollAction::PageDown; break;
    case QAbstractSlider::SliderPageStepSub: reported = rt::ScrollAction::PageUp; break;
    case QAbstractSlider::SliderToMinimum: reported = rt::ScrollAction::First; break;
    case QAbstractSlider::SliderToMaximum: reported = rt::ScrollAction::Last; break;
    default: break;  // dragging: reported when the thumb is released
  }
  if (!reported) return;
  // The thumb stays where the program put it until the program moves it.
  bar_->setSliderPosition(bar_->value());
  if (on_scroll) on_scroll(*reported, 0.0);
}

bool ListControl::eventFilter(QObject* watched, QEvent* event) {
  if (watched != view_->viewport()) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      auto* me = static_cast<QMouseEvent*>(event);
      const QModelIndex index = view_->indexAt(me->position().toPoint());
      const int row = index.isValid() ? index.row() + 1 : 0;
      const int col = index.isValid() ? index.column() + 1 : 0;
      int code = 0;
      if (event->type() == QEvent::MouseButtonDblClick && me->button() == Qt::LeftButton) {
        code = 5;
      } else if (me->button() == Qt::LeftButton) {
        code = 1;
      } else if (me->button() == Qt::RightButton) {
        code = 2;
      }
      if (code != 0) {
        if (view_->focusPolicy() != Qt::NoFocus) view_->setFocus(Qt::MouseFocusReason);
        if (on_click) on_click(code, row, col);
      }
      return true;  // the view keeps no selection or current cell of its own
    }
    case QEvent::Wheel: {
      if (!page_loaded_) return false;
      auto* we = static_cast<QWheelEvent*>(event);
      const int notches = we->angleDelta().y() / 120;
      for (int i = 0; i < std::abs(notches) * 3; ++i) {
        if (on_scroll) {
          on_scroll(notches > 0 ? rt::ScrollAction::LineUp : rt::ScrollAction::LineDown, 0.0);
        }
      }
      return true;
    }
    default: return false;
  }
}

}  // namespace uiqt
