#pragma once
// A grid of text cells: the data behind every grid of the window. The
// combination table *is* such a grid. Storage is per row and sparse (a row
// holds cells up to its last non-empty one), so a table with thousands of
// empty win-entry columns costs little.
#include <cstdint>
#include <string>
#include <vector>

namespace kazuban::grid {

enum class Align { NotSet, Left, Centre, Right };
enum class Comparison { Generic, Text };

struct Rgb {
    int r = 255, g = 255, b = 255;
    bool operator==(const Rgb&) const = default;
};

class TextGrid {
public:
    TextGrid(int rows = 2, int cols = 2, int fixedRows = 1, int fixedCols = 1);

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    // Growing keeps every cell; shrinking drops the cells outside.
    void setRows(int n);
    void setCols(int n);
    int fixedRows() const { return fixedRows_; }
    int fixedCols() const { return fixedCols_; }
    void setFixedRows(int n) {
        fixedRows_ = n;
        touch();
    }
    void setFixedCols(int n) {
        fixedCols_ = n;
        touch();
    }

    // Out-of-range reads give ""; out-of-range writes are ignored.
    const std::string& cell(int r, int c) const;
    void setCell(int r, int c, std::string text);
    void clearCell(int r, int c) { setCell(r, c, std::string()); }
    // Empties every cell (sizes and formats stay).
    void clear();
    // Empties columns c0..c1 of rows r0..r1 (inclusive, clipped to the grid).
    void clearRange(int r0, int c0, int r1, int c1);
    // Number of cells stored for row r: every cell at or beyond it is empty.
    int storedCells(int r) const;

    int colWidth(int c) const;  // twips; 0 = not set
    void setColWidth(int c, int twips);
    Align colAlignment(int c) const;
    void setColAlignment(int c, Align a);
    double fontSize() const { return fontSize_; }
    void setFontSize(double pt) {
        fontSize_ = pt;
        touch();
    }
    const std::string& fontName() const { return fontName_; }
    void setFontName(std::string name) {
        fontName_ = std::move(name);
        touch();
    }

    // Current cell and selection end, as the behaviour names them.
    int row() const { return row_; }
    int col() const { return col_; }
    int rowSel() const { return rowSel_; }
    int colSel() const { return colSel_; }
    void setRow(int r) {
        row_ = r;
        touchSelection();
    }
    void setCol(int c) {
        col_ = c;
        touchSelection();
    }
    void setRowSel(int r) {
        rowSel_ = r;
        touchSelection();
    }
    void setColSel(int c) {
        colSel_ = c;
        touchSelection();
    }

    Rgb fixedColour{221, 255, 255};
    Rgb selectionColour{255, 224, 255};
    Rgb gridLineColour{192, 192, 192};

    // Sorts rows r0..r1 (inclusive) as whole rows by key column `key`.
    // Stable: equal keys keep their previous order.
    void sortRows(int r0, int r1, int key, bool ascending, Comparison cmp);

    // Raised on every change; a view compares it to redraw only what changed.
    std::uint64_t revision() const { return revision_; }
    // Raised when cells (or the grid's size) change, and when the current
    // cell or the selection changes: what the program announces after a command.
    std::uint64_t cellsRevision() const { return cellsRevision_; }
    std::uint64_t selectionRevision() const { return selectionRevision_; }

private:
    void touch() { ++revision_; }
    void touchCells() {
        ++revision_;
        ++cellsRevision_;
    }
    void touchSelection() {
        ++revision_;
        ++selectionRevision_;
    }
    int rows_, cols_, fixedRows_, fixedCols_;
    std::vector<std::vector<std::string>> cells_;
    std::vector<int> widths_;
    std::vector<Align> aligns_;
    double fontSize_ = 9;
    std::string fontName_;
    int row_ = 0, col_ = 0, rowSel_ = 0, colSel_ = 0;
    std::uint64_t revision_ = 0, cellsRevision_ = 0, selectionRevision_ = 0;
};

// Generic comparison: two texts that both are numbers compare as numbers,
// otherwise character by character by character code; "" is the smallest.
// Returns <0, 0, >0.
int compareGeneric(const std::string& a, const std::string& b);
// Text comparison: character by character by code; a prefix is the smaller.
int compareText(const std::string& a, const std::string& b);

}  // namespace kazuban::grid
