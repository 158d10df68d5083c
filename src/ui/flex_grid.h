#pragma once
// FlexGrid: a table view over a core TextGrid with fixed rows and columns that
// stay in view while the rest scrolls. The fixed parts are three overlay views
// on the same model (fixed columns, fixed rows, their corner) laid over the
// main view and kept in step with its scroll bars; they let the mouse through,
// so every press lands here and is mapped to the cell shown under it.
//
// The selection is the grid's own (current cell and selection end): a left
// press and a drag write it into the TextGrid, the model paints it, and what a
// handler leaves in the grid is what the view shows after the next refresh().
#include <QTableView>
#include <optional>
#include <string>
#include <vector>

#include "grid/text_grid.h"

class QLineEdit;

namespace kazuban::ui {

class GridModel;

class FlexGrid : public QTableView {
    Q_OBJECT
public:
    explicit FlexGrid(grid::TextGrid& grid, QWidget* parent = nullptr);

    GridModel* gridModel() const { return model_; }
    grid::TextGrid& textGrid();

    // Brings cells, selection, column widths, font and fixed parts up to date
    // with the TextGrid (cheap when its revision did not change).
    void refresh();

    // Display-only grids (the mark-sheet figures) take no presses or keys and
    // paint no selection.
    void setInteractive(bool on);
    // Hint text of the grid, shown over every cell.
    void setHint(const QString& text);
    // A right press on a data row outside the selected rows first selects
    // that row, so the pop-up menu acts on what the user pointed at; a right
    // press inside the selection keeps it.
    void setRightPressSelectsRow(bool on) { rightPressSelectsRow_ = on; }

    // The data cells of this column may be typed into in place: F2 or a
    // double click opens an editor over the cell; Enter or leaving it hands
    // the text on (cellEdited), Esc drops it. -1: no column (the default).
    void setEditableColumn(int col) { editableColumn_ = col; }
    // Opens the editor over (row, col) with the cell's text; false when the
    // cell may not be typed into.
    bool editCell(int row, int col);
    // The editor while it is open, else nullptr.
    QLineEdit* cellEditor() const { return editor_; }

    // The cell shown under a point of the viewport, fixed cells included:
    // x = column, y = row; (-1, -1) outside every cell.
    QPoint cellAt(const QPoint& viewportPos) const;
    // The viewport rectangle where cell (row, col) is shown (fixed cells at
    // their fixed place); empty when the cell is out of sight.
    QRect cellRect(int row, int col) const;

    // Fixed part widths in pixels (the overlays' size).
    int fixedWidth() const;
    int fixedHeight() const;

    // Shows the grid's font and column widths this many times larger (the
    // mark-sheet figures grow with the window); 1 is the grid's own size.
    void setZoom(double zoom);
    double zoom() const { return zoom_; }
    // The size that shows every cell whole, frame included.
    QSize contentSize() const;

    // While the keyboard asks for the pop-up menu (the menu key, Shift+F10),
    // the screen point of the current cell, where the menu opens in place of
    // the mouse position; nullopt otherwise.
    std::optional<QPoint> keyboardMenuAt() const { return keyboardMenuAt_; }

signals:
    // A mouse button went down on the grid: 1 left, 2 right, 4 middle. A left
    // press has already made the pressed cell current. The keyboard's menu
    // request arrives as a right press.
    void gridMouseDown(int button);
    // A left press and release on a cell, or Enter or Space on the current
    // cell (the grid's Click).
    void gridClick();
    // A text typed into a cell of the editable column; the grid shows what
    // the handler leaves in the TextGrid after the next refresh().
    void cellEdited(int row, int col, const QString& text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

private:
    QTableView* makeOverlay();
    void applyLook();
    void placeOverlays();
    void selectOnPress(int row, int col);
    void selectRowOnRightPress(int row, int col);
    void dragTo(const QPoint& viewportPos);
    void ensureCellVisible(int row, int col);
    void requestMenuFromKeyboard();
    void closeEditor(bool commit);

    GridModel* model_;
    QTableView* colView_ = nullptr;
    QTableView* rowView_ = nullptr;
    QTableView* cornerView_ = nullptr;
    std::vector<int> widths_;       // pixel widths already given to the views
    std::vector<int> fixedWidths_;  // the same for the fixed-column overlays
    double fontSize_ = -1;
    double zoom_ = 1.0;
    std::string fontName_;
    bool interactive_ = true;
    bool rightPressSelectsRow_ = false;
    enum class Drag { None, Rows, Cols } drag_ = Drag::None;
    bool leftPressedOnCell_ = false;
    std::optional<QPoint> keyboardMenuAt_;
    int editableColumn_ = -1;
    QLineEdit* editor_ = nullptr;
    int editRow_ = -1, editCol_ = -1;
};

}  // namespace kazuban::ui
