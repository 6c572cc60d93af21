#include "ui/qt/list_cell_delegate.h"

#include <QApplication>
#include <algorithm>
#include <QPainter>
#include <QStyle>

#include "ui/qt/list_model.h"

namespace uiqt {

void ListCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  // The view has no selection of its own: the highlight comes from the model's roles.
  opt.state &= ~QStyle::State_Selected;
  opt.state &= ~QStyle::State_HasFocus;

  const QVariant background = index.data(Qt::BackgroundRole);
  if (background.canConvert<QBrush>()) painter->fillRect(option.rect, background.value<QBrush>());
  opt.backgroundBrush = Qt::NoBrush;

  int indent = index.data(ListModel::IndentRole).toInt();
  if (index.data(ListModel::DecimalRole).toBool()) {
    // The decimal point sits `indent` pixels from the right edge, whatever the decimals.
    const qsizetype point = opt.text.lastIndexOf(QLatin1Char('.'));
    const int tail = point < 0 ? 0 : opt.fontMetrics.horizontalAdvance(opt.text.mid(point));
    indent = std::max(0, indent - tail);
  }
  if (indent > 0) {
    if (opt.displayAlignment & Qt::AlignRight) {
      opt.rect.setRight(opt.rect.right() - indent);
    } else {
      opt.rect.setLeft(opt.rect.left() + indent);
    }
  }
  QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
  if (index.data(ListModel::RightBorderRole).toBool()) {
    painter->save();
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    painter->restore();
  }
}

}  // namespace uiqt
