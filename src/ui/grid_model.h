#pragma once
// A table model over a TextGrid of the core. The grid's own row 0 and fixed
// columns are ordinary cells here (painted in the fixed colour); the header
// views of Qt are not used. The model never copies cells: data() reads the
// grid, so a grid of millions of cells costs nothing extra.
#include <QAbstractTableModel>
#include <QString>
#include <cstdint>

#include "grid/text_grid.h"

namespace kazuban::ui {

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(grid::TextGrid& grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    grid::TextGrid& grid() { return grid_; }
    const grid::TextGrid& grid() const { return grid_; }

    // Brings the model up to date with the grid: a reset when its size changed,
    // otherwise one dataChanged over all cells. Returns false when the grid's
    // revision is the one already shown.
    bool refresh();

    // The selection (current cell to selection end) is painted in the
    // selection colour; the mark-sheet figures show none.
    void setShowSelection(bool show);
    // Hint text shown over every cell.
    void setToolTip(const QString& text) { toolTip_ = text; }

    bool isFixed(int row, int col) const;
    bool isSelected(int row, int col) const;

private:
    grid::TextGrid& grid_;
    std::uint64_t shownRevision_;
    int rows_, cols_;  // the size the views were last told
    bool showSelection_ = true;
    QString toolTip_;
};

}  // namespace kazuban::ui
