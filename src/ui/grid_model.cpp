#include "ui/grid_model.h"

#include <QBrush>
#include <algorithm>
#include <cctype>

#include "ui/look.h"

namespace kazuban::ui {

namespace {

// A cell with no alignment of its own: numbers to the right, other texts to
// the left, as a grid's general alignment shows them.
bool looksNumeric(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    bool digit = false;
    for (; i < s.size(); ++i) {
        const unsigned char ch = static_cast<unsigned char>(s[i]);
        if (std::isdigit(ch)) digit = true;
        else if (ch != '.') return false;
    }
    return digit;
}

}  // namespace

GridModel::GridModel(grid::TextGrid& grid, QObject* parent)
    : QAbstractTableModel(parent),
      grid_(grid),
      shownRevision_(grid.revision()),
      rows_(grid.rows()),
      cols_(grid.cols()) {}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }
int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

bool GridModel::isFixed(int row, int col) const { return row < grid_.fixedRows() || col < grid_.fixedCols(); }

bool GridModel::isSelected(int row, int col) const {
    const int r0 = std::min(grid_.row(), grid_.rowSel()), r1 = std::max(grid_.row(), grid_.rowSel());
    const int c0 = std::min(grid_.col(), grid_.colSel()), c1 = std::max(grid_.col(), grid_.colSel());
    return row >= r0 && row <= r1 && col >= c0 && col <= c1;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int r = index.row(), c = index.column();
    switch (role) {
    case Qt::DisplayRole: {
        const std::string& text = grid_.cell(r, c);
        return text.empty() ? QString() : QString::fromStdString(text);
    }
    case Qt::TextAlignmentRole: {
        Qt::Alignment a = Qt::AlignVCenter;
        switch (grid_.colAlignment(c)) {
        case grid::Align::Left: a |= Qt::AlignLeft; break;
        case grid::Align::Centre: a = Qt::AlignCenter; break;
        case grid::Align::Right: a |= Qt::AlignRight; break;
        case grid::Align::NotSet: a |= looksNumeric(grid_.cell(r, c)) ? Qt::AlignRight : Qt::AlignLeft; break;
        }
        return QVariant(static_cast<int>(a));
    }
    case Qt::BackgroundRole:
        if (isFixed(r, c)) return QBrush(toColor(grid_.fixedColour));
        if (showSelection_ && isSelected(r, c)) return QBrush(toColor(grid_.selectionColour));
        return {};
    case Qt::ToolTipRole: return toolTip_.isEmpty() ? QVariant() : QVariant(toolTip_);
    default: return {};
    }
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    // The selection lives in the grid, not in Qt's selection model.
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void GridModel::setShowSelection(bool show) {
    if (show == showSelection_) return;
    showSelection_ = show;
    if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1), {Qt::BackgroundRole});
}

bool GridModel::refresh() {
    if (grid_.revision() == shownRevision_) return false;
    shownRevision_ = grid_.revision();
    if (grid_.rows() != rows_ || grid_.cols() != cols_) {
        beginResetModel();
        rows_ = grid_.rows();
        cols_ = grid_.cols();
        endResetModel();
    } else if (rows_ > 0 && cols_ > 0) {
        emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1),
                         {Qt::DisplayRole, Qt::TextAlignmentRole, Qt::BackgroundRole});
    }
    return true;
}

}  // namespace kazuban::ui
