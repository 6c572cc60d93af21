#include "ui/qt/list_model.h"

#include <QApplication>
#include <QBrush>
#include <QPalette>

#include "ui/qt/text_codec.h"

namespace uiqt {

ListModel::ListModel(QObject* parent) : QAbstractTableModel(parent) {}

namespace {
bool sameLayout(const std::vector<rt::ListColumnView>& a, const std::vector<rt::ListColumnView>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].header != b[i].header || a[i].align != b[i].align ||
        a[i].header_align != b[i].header_align || a[i].indent != b[i].indent ||
        a[i].grey != b[i].grey || a[i].right_border != b[i].right_border) {
      return false;
    }
  }
  return true;
}
}  // namespace

void ListModel::setContents(const std::vector<rt::ListColumnView>& columns,
                            std::vector<int> indent_px,
                            const std::vector<std::vector<std::string>>& rows, int selected_row) {
  if (!sameLayout(columns_, columns) || rows_.size() != rows.size() ||
      indent_px_ != indent_px) {
    beginResetModel();
    columns_ = columns;
    indent_px_ = std::move(indent_px);
    rows_ = rows;
    selected_row_ = selected_row;
    endResetModel();
    return;
  }
  const int old_selected = selected_row_;
  int first = -1, last = -1;
  for (size_t r = 0; r < rows.size(); ++r) {
    if (rows_[r] != rows[r]) {
      if (first < 0) first = static_cast<int>(r);
      last = static_cast<int>(r);
    }
  }
  rows_ = rows;
  selected_row_ = selected_row;
  const int last_col = std::max(0, columnCount() - 1);
  if (first >= 0) emit dataChanged(index(first, 0), index(last, last_col));
  if (old_selected != selected_row) {
    for (int r : {old_selected, selected_row}) {
      if (r >= 1 && r <= rowCount()) emit dataChanged(index(r - 1, 0), index(r - 1, last_col));
    }
  }
}

int ListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

Qt::Alignment ListModel::alignmentOf(char align) {
  switch (align) {
    case 'R':
    case 'D': return Qt::AlignRight | Qt::AlignVCenter;
    case 'C': return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  const auto& column = columns_[static_cast<size_t>(index.column())];
  const auto& row = rows_[static_cast<size_t>(index.row())];
  const bool highlighted = index.row() + 1 == selected_row_;
  switch (role) {
    case Qt::DisplayRole: {
      const size_t c = static_cast<size_t>(index.column());
      if (c >= row.size()) return QString();
      const QString text = fromCp1252(row[c]);
      return column.align == 'L' ? text : text.trimmed();
    }
    case Qt::TextAlignmentRole: return QVariant::fromValue(alignmentOf(column.align));
    case Qt::BackgroundRole:
      if (highlighted) return QApplication::palette().brush(QPalette::Active, QPalette::Highlight);
      return {};
    case Qt::ForegroundRole:
      if (highlighted) {
        return QApplication::palette().brush(QPalette::Active, QPalette::HighlightedText);
      }
      if (column.grey) return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
      return {};
    case IndentRole: {
      const size_t c = static_cast<size_t>(index.column());
      return c < indent_px_.size() ? indent_px_[c] : 0;
    }
    case RightBorderRole: return column.right_border;
    case DecimalRole: return column.align == 'D';
    case HighlightRole: return highlighted;
    default: return {};
  }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  const auto& column = columns_[static_cast<size_t>(section)];
  switch (role) {
    case Qt::DisplayRole: return fromCp1252(column.header);
    case Qt::TextAlignmentRole: return QVariant::fromValue(alignmentOf(column.header_align));
    default: return {};
  }
}

}  // namespace uiqt
