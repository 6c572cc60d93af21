#pragma once
// The table model of a list control, fed from the snapshot of the control.
//
// Rows and cells are exactly the snapshot's (already formatted text); the highlighted row is
// drawn from the snapshot too, not from a selection of the view, so the runtime alone decides
// which row is highlighted. Column alignment, indent (pixels; for a decimal column the distance of
// the decimal point from the right edge), grey text and right borders are exposed through the
// roles below for the cell delegate. Cells of right-aligned, centred and decimal columns are shown
// without the padding blanks of their picture. GUI thread only.

#include <QAbstractTableModel>
#include <QColor>
#include <vector>

#include "runtime/frontend.h"

namespace uiqt {

class ListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Role { IndentRole = Qt::UserRole + 1, RightBorderRole, HighlightRole, DecimalRole };

  explicit ListModel(QObject* parent = nullptr);

  // Replaces the contents with the snapshot's. `indent_px` holds each column's indent converted
  // to pixels. Emits the narrowest change signals that describe the difference.
  void setContents(const std::vector<rt::ListColumnView>& columns, std::vector<int> indent_px,
                   const std::vector<std::vector<std::string>>& rows, int selected_row);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  int selectedRow() const { return selected_row_; }  // 1-based, 0 = none

 private:
  static Qt::Alignment alignmentOf(char align);

  std::vector<rt::ListColumnView> columns_;
  std::vector<int> indent_px_;
  std::vector<std::vector<std::string>> rows_;
  int selected_row_ = 0;
};

}  // namespace uiqt
