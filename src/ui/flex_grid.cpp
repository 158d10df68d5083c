#include "ui/flex_grid.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "ui/grid_model.h"
#include "ui/look.h"

namespace kazuban::ui {

namespace {

// Column width of a column the grid gives no width (twips).
constexpr int kDefaultColumnTwips = 960;

// Paints cells without Qt's own focus and selection marks: the model paints
// the grid's selection as a background.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~(QStyle::State_HasFocus | QStyle::State_Selected);
    }
};

void setUpView(QTableView* v, GridModel* model, QAbstractItemDelegate* delegate) {
    v->setModel(model);
    v->setItemDelegate(delegate);
    v->horizontalHeader()->hide();
    v->verticalHeader()->hide();
    v->horizontalHeader()->setMinimumSectionSize(1);
    v->verticalHeader()->setMinimumSectionSize(1);
    v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    v->setSelectionMode(QAbstractItemView::NoSelection);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    v->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    v->setWordWrap(false);
    v->setTextElideMode(Qt::ElideNone);
    v->setCornerButtonEnabled(false);
    const grid::Rgb line = model->grid().gridLineColour;
    v->setStyleSheet(
        QStringLiteral("QTableView { gridline-color: rgb(%1, %2, %3); }").arg(line.r).arg(line.g).arg(line.b));
}

// Index of the section of `header` (counted without scrolling) under position
// p, among the first `count` sections; -1 when none.
int fixedSectionAt(const QHeaderView* header, int count, int p) {
    for (int i = 0; i < count; ++i) {
        const int start = header->sectionPosition(i);
        if (p >= start && p < start + header->sectionSize(i)) return i;
    }
    return -1;
}

// The in-place editor: Esc drops what was typed.
class CellEditor : public QLineEdit {
public:
    CellEditor(QWidget* parent, std::function<void()> cancel) : QLineEdit(parent), cancel_(std::move(cancel)) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            cancel_();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

private:
    std::function<void()> cancel_;
};

}  // namespace

FlexGrid::FlexGrid(grid::TextGrid& grid, QWidget* parent) : QTableView(parent), model_(new GridModel(grid, this)) {
    auto* delegate = new CellDelegate(this);
    setUpView(this, model_, delegate);
    setFocusPolicy(Qt::StrongFocus);
    colView_ = makeOverlay();
    rowView_ = makeOverlay();
    cornerView_ = makeOverlay();
    cornerView_->raise();

    connect(verticalScrollBar(), &QScrollBar::valueChanged, colView_->verticalScrollBar(), &QScrollBar::setValue);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, rowView_->horizontalScrollBar(), &QScrollBar::setValue);
    // The editor stays over its cell: a scroll hands on what was typed.
    for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            if (editor_ && editor_->isVisible()) closeEditor(true);
        });
    // A reset recreates the header sections at their default size.
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        widths_.clear();
        fixedWidths_.clear();
    });
    applyLook();
}

grid::TextGrid& FlexGrid::textGrid() { return model_->grid(); }

QTableView* FlexGrid::makeOverlay() {
    auto* v = new QTableView(this);
    setUpView(v, model_, itemDelegate());
    v->setFocusPolicy(Qt::NoFocus);
    v->setFrameShape(QFrame::NoFrame);
    v->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Presses and wheel turns fall through to the main view, which maps them.
    v->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Above the viewport (and every overlay made before it): the viewport
    // stacked under each new overlay in turn would end up over the earlier ones.
    v->raise();
    v->show();
    return v;
}

void FlexGrid::setInteractive(bool on) {
    interactive_ = on;
    model_->setShowSelection(on);
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
}

void FlexGrid::setHint(const QString& text) {
    setToolTip(text);
    model_->setToolTip(text);
}

void FlexGrid::refresh() {
    if (!model_->refresh()) return;
    applyLook();
}

void FlexGrid::applyLook() {
    grid::TextGrid& g = model_->grid();
    if (g.fontSize() != fontSize_ || g.fontName() != fontName_) {
        fontSize_ = g.fontSize();
        fontName_ = g.fontName();
        QFont f = japaneseFont((fontSize_ > 0 ? fontSize_ : 9) * zoom_);
        if (!fontName_.empty()) {
            QStringList families = f.families();
            families.prepend(qs(fontName_));
            f.setFamilies(families);
        }
        const int rowHeight = QFontMetrics(f).height() + 4;
        for (QTableView* v : {static_cast<QTableView*>(this), colView_, rowView_, cornerView_}) {
            v->setFont(f);
            v->verticalHeader()->setDefaultSectionSize(rowHeight);
        }
    }
    const int cols = model_->columnCount();
    widths_.resize(static_cast<std::size_t>(cols), -1);
    const int fixedCols = std::min(g.fixedCols(), cols);
    fixedWidths_.resize(static_cast<std::size_t>(std::max(fixedCols, 0)), -1);
    for (int c = 0; c < cols; ++c) {
        const int twips = g.colWidth(c) > 0 ? g.colWidth(c) : kDefaultColumnTwips;
        const int px = std::max(1, static_cast<int>(std::lround(twipsToPixels(twips, this) * zoom_)));
        auto& shown = widths_[static_cast<std::size_t>(c)];
        if (shown != px) {
            shown = px;
            setColumnWidth(c, px);
            rowView_->setColumnWidth(c, px);
        }
        if (c < fixedCols && fixedWidths_[static_cast<std::size_t>(c)] != px) {
            fixedWidths_[static_cast<std::size_t>(c)] = px;
            colView_->setColumnWidth(c, px);
            cornerView_->setColumnWidth(c, px);
        }
    }
    placeOverlays();
}

void FlexGrid::setZoom(double zoom) {
    if (zoom <= 0 || zoom == zoom_) return;
    zoom_ = zoom;
    fontSize_ = -1;  // the font and every width are worked out again
    applyLook();
}

QSize FlexGrid::contentSize() const {
    int w = 0, h = 0;
    for (int c = 0; c < model_->columnCount(); ++c) w += columnWidth(c);
    for (int r = 0; r < model_->rowCount(); ++r) h += rowHeight(r);
    return {w + 2 * frameWidth(), h + 2 * frameWidth()};
}

int FlexGrid::fixedWidth() const {
    const int n = std::min(model_->grid().fixedCols(), model_->columnCount());
    int w = 0;
    for (int c = 0; c < n; ++c) w += columnWidth(c);
    return w;
}

int FlexGrid::fixedHeight() const {
    const int n = std::min(model_->grid().fixedRows(), model_->rowCount());
    int h = 0;
    for (int r = 0; r < n; ++r) h += rowHeight(r);
    return h;
}

void FlexGrid::placeOverlays() {
    if (!cornerView_) return;  // still being built
    const QRect vp = viewport()->geometry();
    const int fw = std::min(fixedWidth(), vp.width());
    const int fh = std::min(fixedHeight(), vp.height());
    colView_->setGeometry(vp.x(), vp.y(), fw, vp.height());
    rowView_->setGeometry(vp.x(), vp.y(), vp.width(), fh);
    cornerView_->setGeometry(vp.x(), vp.y(), fw, fh);
    colView_->setVisible(fw > 0);
    rowView_->setVisible(fh > 0);
    cornerView_->setVisible(fw > 0 && fh > 0);
    colView_->verticalScrollBar()->setValue(verticalScrollBar()->value());
    rowView_->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
}

void FlexGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    placeOverlays();
}

void FlexGrid::updateGeometries() {
    QTableView::updateGeometries();
    placeOverlays();
}

QPoint FlexGrid::cellAt(const QPoint& pos) const {
    const grid::TextGrid& g = model_->grid();
    int col = -1, row = -1;
    if (pos.x() >= 0 && pos.x() < std::min(fixedWidth(), viewport()->width()))
        col = fixedSectionAt(horizontalHeader(), std::min(g.fixedCols(), model_->columnCount()), pos.x());
    else col = columnAt(pos.x());
    if (pos.y() >= 0 && pos.y() < std::min(fixedHeight(), viewport()->height()))
        row = fixedSectionAt(verticalHeader(), std::min(g.fixedRows(), model_->rowCount()), pos.y());
    else row = rowAt(pos.y());
    if (row < 0 || col < 0) return {-1, -1};
    return {col, row};
}

QRect FlexGrid::cellRect(int row, int col) const {
    const grid::TextGrid& g = model_->grid();
    if (row < 0 || col < 0 || row >= model_->rowCount() || col >= model_->columnCount()) return {};
    const int x = col < g.fixedCols() ? columnViewportPosition(col) + horizontalOffset() : columnViewportPosition(col);
    const int y = row < g.fixedRows() ? rowViewportPosition(row) + verticalOffset() : rowViewportPosition(row);
    QRect r(x, y, columnWidth(col), rowHeight(row));
    // A scrolling cell that slid under the fixed part is out of sight there.
    QRect visible = viewport()->rect();
    if (col >= g.fixedCols()) visible.setLeft(std::min(fixedWidth(), visible.right()));
    if (row >= g.fixedRows()) visible.setTop(std::min(fixedHeight(), visible.bottom()));
    return r.intersected(visible);
}

void FlexGrid::selectOnPress(int row, int col) {
    grid::TextGrid& g = model_->grid();
    const int fr = g.fixedRows(), fc = g.fixedCols();
    const int lastRow = g.rows() - 1, lastCol = g.cols() - 1;
    // A press on a fixed column selects the whole row, on a fixed row the whole
    // column, on the corner everything; the current cell is never a fixed one.
    if (lastRow < fr || lastCol < fc) return;
    const bool rowFixed = row < fr, colFixed = col < fc;
    const int r = rowFixed ? fr : row, c = colFixed ? fc : col;
    g.setRow(r);
    g.setCol(c);
    g.setRowSel(rowFixed ? lastRow : r);
    g.setColSel(colFixed ? lastCol : c);
    drag_ = rowFixed && !colFixed ? Drag::Cols : Drag::Rows;
    if (rowFixed && colFixed) drag_ = Drag::None;
}

void FlexGrid::selectRowOnRightPress(int row, int col) {
    grid::TextGrid& g = model_->grid();
    if (row < g.fixedRows() || row >= g.rows() || g.cols() <= g.fixedCols()) return;
    if (row >= std::min(g.row(), g.rowSel()) && row <= std::max(g.row(), g.rowSel())) return;
    const int c = std::clamp(col, g.fixedCols(), g.cols() - 1);
    g.setRow(row);
    g.setCol(c);
    g.setRowSel(row);
    g.setColSel(c);
    refresh();
}

void FlexGrid::dragTo(const QPoint& pos) {
    grid::TextGrid& g = model_->grid();
    if (drag_ == Drag::None) return;
    // Scroll one step when the pointer leaves the scrolling part.
    if (drag_ == Drag::Rows) {
        if (pos.y() >= viewport()->height()) verticalScrollBar()->setValue(verticalScrollBar()->value() + rowHeight(0));
        else if (pos.y() < fixedHeight()) verticalScrollBar()->setValue(verticalScrollBar()->value() - rowHeight(0));
        const int y = std::clamp(pos.y(), fixedHeight(), std::max(fixedHeight(), viewport()->height() - 1));
        int r = rowAt(y);
        if (r < 0) r = y <= fixedHeight() ? g.fixedRows() : g.rows() - 1;
        r = std::clamp(r, g.fixedRows(), g.rows() - 1);
        if (r != g.rowSel()) g.setRowSel(r);
    } else {
        if (pos.x() >= viewport()->width()) horizontalScrollBar()->setValue(horizontalScrollBar()->value() + 40);
        else if (pos.x() < fixedWidth()) horizontalScrollBar()->setValue(horizontalScrollBar()->value() - 40);
        const int x = std::clamp(pos.x(), fixedWidth(), std::max(fixedWidth(), viewport()->width() - 1));
        int c = columnAt(x);
        if (c < 0) c = x <= fixedWidth() ? g.fixedCols() : g.cols() - 1;
        c = std::clamp(c, g.fixedCols(), g.cols() - 1);
        if (c != g.colSel()) g.setColSel(c);
    }
    refresh();
}

void FlexGrid::mousePressEvent(QMouseEvent* event) {
    if (!interactive_) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint cell = cellAt(event->position().toPoint());
    int button = 0;
    switch (event->button()) {
    case Qt::LeftButton: button = 1; break;
    case Qt::RightButton: button = 2; break;
    case Qt::MiddleButton: button = 4; break;
    default: break;
    }
    leftPressedOnCell_ = false;
    drag_ = Drag::None;
    if (button == 1 && cell.x() >= 0 && (event->modifiers() & Qt::ShiftModifier) &&
        cell.y() >= model_->grid().fixedRows()) {
        // Shift extends the selection from the current cell to the row pressed.
        model_->grid().setRowSel(cell.y());
        model_->grid().setColSel(std::max(cell.x(), model_->grid().fixedCols()));
        refresh();
    } else if (button == 1 && cell.x() >= 0) {
        selectOnPress(cell.y(), cell.x());
        leftPressedOnCell_ = true;
        refresh();
    } else if (button == 2 && cell.x() >= 0 && rightPressSelectsRow_) {
        selectRowOnRightPress(cell.y(), cell.x());
    }
    event->accept();
    if (button != 0) emit gridMouseDown(button);
}

void FlexGrid::mouseMoveEvent(QMouseEvent* event) {
    if (!interactive_ || !(event->buttons() & Qt::LeftButton) || !leftPressedOnCell_) return;
    dragTo(event->position().toPoint());
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (!interactive_) return;
    const bool click = event->button() == Qt::LeftButton && leftPressedOnCell_;
    leftPressedOnCell_ = false;
    drag_ = Drag::None;
    if (click) emit gridClick();
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is not a new press: the first one
    // already selected the cell and ran the press and click handlers. On the
    // editable column it opens the editor.
    event->accept();
    if (!interactive_ || event->button() != Qt::LeftButton) return;
    const QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() >= 0) editCell(cell.y(), cell.x());
}

bool FlexGrid::editCell(int row, int col) {
    const grid::TextGrid& g = model_->grid();
    if (!interactive_ || col != editableColumn_ || row < g.fixedRows() || row >= g.rows() || col >= g.cols())
        return false;
    if (editor_) closeEditor(false);
    ensureCellVisible(row, col);
    const QRect at = cellRect(row, col);
    if (at.isEmpty()) return false;
    editRow_ = row;
    editCol_ = col;
    // Over the fixed overlays too: the combination column of the table is one of the fixed.
    editor_ = new CellEditor(this, [this] { closeEditor(false); });
    editor_->setObjectName(QStringLiteral("cellEditor"));
    editor_->setFont(font());
    editor_->setFrame(false);
    // Plainly an editor over the cell, not the cell itself.
    editor_->setStyleSheet(
        QStringLiteral("QLineEdit { border: 2px solid #2f5fb3; padding: 0px; background: #ffffff; }"));
    editor_->setText(QString::fromStdString(g.cell(row, col)));
    editor_->setGeometry(
        at.adjusted(0, 0, std::max(0, editor_->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 16 - at.width()),
                    0));
    connect(editor_, &QLineEdit::returnPressed, this, [this] { closeEditor(true); });
    connect(editor_, &QLineEdit::editingFinished, this, [this] { closeEditor(true); });
    editor_->move(editor_->pos() + viewport()->geometry().topLeft());
    editor_->show();
    editor_->raise();
    editor_->selectAll();
    editor_->setFocus(Qt::OtherFocusReason);
    return true;
}

void FlexGrid::closeEditor(bool commit) {
    if (!editor_) return;
    // The editor goes first: the handler may open a message box, which takes
    // the focus from it and would hand the text on a second time.
    QLineEdit* editor = editor_;
    editor_ = nullptr;
    const QString text = editor->text();
    editor->hide();
    editor->deleteLater();
    setFocus(Qt::OtherFocusReason);
    if (commit) emit cellEdited(editRow_, editCol_, text);
}

void FlexGrid::keyPressEvent(QKeyEvent* event) {
    grid::TextGrid& g = model_->grid();
    if (!interactive_ || g.rows() <= g.fixedRows() || g.cols() <= g.fixedCols()) {
        event->ignore();
        return;
    }
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier && editableColumn_ >= 0) {
        event->accept();
        editCell(g.row(), editableColumn_);
        return;
    }
    if (event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        event->accept();
        requestMenuFromKeyboard();
        return;
    }
    // Enter or Space on the current cell is its click (the mark-sheet list).
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) &&
        event->modifiers() == Qt::NoModifier) {
        event->accept();
        emit gridClick();
        return;
    }
    int r = g.rowSel(), c = g.colSel();
    const int page = std::max(1, (viewport()->height() - fixedHeight()) / std::max(1, rowHeight(0)));
    switch (event->key()) {
    case Qt::Key_Up: --r; break;
    case Qt::Key_Down: ++r; break;
    case Qt::Key_Left: --c; break;
    case Qt::Key_Right: ++c; break;
    case Qt::Key_PageUp: r -= page; break;
    case Qt::Key_PageDown: r += page; break;
    case Qt::Key_Home:
        if (event->modifiers() & Qt::ControlModifier) r = g.fixedRows();
        c = g.fixedCols();
        break;
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier) r = g.rows() - 1;
        c = g.cols() - 1;
        break;
    default: event->ignore(); return;
    }
    r = std::clamp(r, g.fixedRows(), g.rows() - 1);
    c = std::clamp(c, g.fixedCols(), g.cols() - 1);
    if (!(event->modifiers() & Qt::ShiftModifier)) {
        g.setRow(r);
        g.setCol(c);
    }
    g.setRowSel(r);
    g.setColSel(c);
    refresh();
    ensureCellVisible(r, c);
    event->accept();
}

void FlexGrid::contextMenuEvent(QContextMenuEvent* event) {
    // A right press has already asked for the menu; the system's keyboard
    // request (where it sends one instead of the key) is taken here.
    if (event->reason() == QContextMenuEvent::Keyboard && interactive_) requestMenuFromKeyboard();
    event->accept();
}

void FlexGrid::requestMenuFromKeyboard() {
    const grid::TextGrid& g = model_->grid();
    ensureCellVisible(g.row(), g.col());
    const QRect cell = cellRect(g.row(), g.col());
    keyboardMenuAt_ = viewport()->mapToGlobal(cell.isEmpty() ? QPoint(0, 0) : cell.center());
    emit gridMouseDown(2);
    keyboardMenuAt_.reset();
}

void FlexGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    (void)hint;
    if (index.isValid()) ensureCellVisible(index.row(), index.column());
}

void FlexGrid::ensureCellVisible(int row, int col) {
    const grid::TextGrid& g = model_->grid();
    if (row >= g.fixedRows() && row < model_->rowCount()) {
        const int top = rowViewportPosition(row), bottom = top + rowHeight(row);
        if (top < fixedHeight()) verticalScrollBar()->setValue(verticalScrollBar()->value() - (fixedHeight() - top));
        else if (bottom > viewport()->height())
            verticalScrollBar()->setValue(verticalScrollBar()->value() + (bottom - viewport()->height()));
    }
    if (col >= g.fixedCols() && col < model_->columnCount()) {
        const int left = columnViewportPosition(col), right = left + columnWidth(col);
        if (left < fixedWidth())
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() - (fixedWidth() - left));
        else if (right > viewport()->width())
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() + (right - viewport()->width()));
    }
}

}  // namespace kazuban::ui
