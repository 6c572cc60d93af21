#pragma once
// Draws the cells of a list control: the background over the whole cell, the text inside the
// column's indent (from the left for left-aligned and centred columns, from the right for right
// columns; a decimal column puts the decimal point at its offset from the right) and the column's
// right border. GUI thread only.

#include <QStyledItemDelegate>

namespace uiqt {

class ListCellDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

}  // namespace uiqt
