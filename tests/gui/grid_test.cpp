// The grids: the model over a TextGrid, and what tab 0 shows and does
// through real mouse presses and pop-up menu choices.
#include <QAbstractItemModelTester>
#include <QBrush>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

#include "ui/flex_grid.h"
#include "ui/grid_model.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

QColor background(const QAbstractItemModel* m, int r, int c) {
    return m->data(m->index(r, c), Qt::BackgroundRole).value<QBrush>().color();
}
QString text(const QAbstractItemModel* m, int r, int c) { return m->data(m->index(r, c)).toString(); }

TEST(GridModel, FollowsItsGridThroughEveryKindOfChange) {
    grid::TextGrid g(4, 5, 1, 2);
    ui::GridModel model(g);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    g.setCell(1, 2, "123=4");
    g.setCell(2, 3, "42");
    g.setColAlignment(1, grid::Align::Centre);
    EXPECT_TRUE(model.refresh());
    EXPECT_FALSE(model.refresh());
    EXPECT_EQ(text(&model, 1, 2), QStringLiteral("123=4"));
    EXPECT_EQ(model.data(model.index(1, 1), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    // Without an alignment of its own a number goes right and a text left.
    EXPECT_TRUE(model.data(model.index(2, 3), Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    EXPECT_TRUE(model.data(model.index(1, 2), Qt::TextAlignmentRole).toInt() & Qt::AlignLeft);

    // Fixed cells in the fixed colour; the selection (either direction) in
    // the selection colour, fixed cells excepted.
    g.setRow(3);
    g.setRowSel(1);
    g.setCol(1);
    g.setColSel(3);
    model.refresh();
    EXPECT_EQ(background(&model, 0, 3), QColor(221, 255, 255));
    EXPECT_EQ(background(&model, 2, 1), QColor(221, 255, 255));
    EXPECT_EQ(background(&model, 2, 2), QColor(255, 224, 255));
    EXPECT_EQ(background(&model, 3, 3), QColor(255, 224, 255));
    EXPECT_FALSE(model.data(model.index(3, 4), Qt::BackgroundRole).isValid());

    g.setRows(1001);
    g.setCols(60);
    g.setCell(1000, 59, "last");
    model.refresh();
    EXPECT_EQ(model.rowCount(), 1001);
    EXPECT_EQ(model.columnCount(), 60);
    EXPECT_EQ(text(&model, 1000, 59), QStringLiteral("last"));
    g.setRows(2);
    model.refresh();
    EXPECT_EQ(model.rowCount(), 2);
}

class Tab0 : public WindowTest {
protected:
    ui::FlexGrid* grid() { return find<ui::FlexGrid>("MSFlexGrid1"); }
    void press(Qt::MouseButton button, int row, int col) {
        QTest::mousePress(grid()->viewport(), button, {}, grid()->cellRect(row, col).center());
        QTest::mouseRelease(grid()->viewport(), button, {}, grid()->cellRect(row, col).center());
    }
};

TEST_F(Tab0, LoadedCombinationsShowInTheGridAndTheDrawLabels) {
    copyDemo();
    ASSERT_TRUE(start());
    QAbstractItemModelTester tester(grid()->gridModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    loadSampleCombinations();
    const QAbstractItemModel* m = grid()->gridModel();
    EXPECT_EQ(grid()->toolTip(), QStringLiteral("右ｸﾘｯｸ可"));
    EXPECT_EQ(text(m, 0, 1), QStringLiteral("組合せデータ"));
    EXPECT_EQ(text(m, 0, 2), QStringLiteral("1"));
    EXPECT_EQ(text(m, 1, 0), QStringLiteral("1"));
    EXPECT_EQ(text(m, 1, 1), QStringLiteral(" 5,11,13,21,31"));
    EXPECT_EQ(text(m, 1, 2), QStringLiteral("48=4"));
    EXPECT_EQ(text(m, 31, 1), QString());
    EXPECT_EQ(m->columnCount(), 1400 / 10 + 21);

    EXPECT_EQ(find<QLabel>("Label1")->text(), QStringLiteral("第1400回: 1,14,15,17,29,30"));
    EXPECT_EQ(find<QLabel>("Label3_0")->text(), QStringLiteral("1400"));
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(find<QLabel>(QStringLiteral("Label3_%1").arg(k))->text(), QString::fromStdString(form->Label3[k]));
    // The draw number and the four counts sit over the blanks of Label2's
    // caption, in its order (第 … 回, ４等, ３等, ２等, １等), each wide enough
    // for the largest value it can show.
    const QLabel* caption = find<QLabel>("Label2");
    EXPECT_TRUE(caption->text().startsWith(QStringLiteral("≪第")));
    int left = caption->geometry().left();
    for (int k : {0, 4, 3, 2, 1}) {
        auto* value = find<QLabel>(QStringLiteral("Label3_%1").arg(k));
        ASSERT_EQ(value->parentWidget(), caption->parentWidget());
        const QRect at = value->geometry();
        EXPECT_GE(at.left(), left) << "Label3_" << k;
        EXPECT_LE(at.right(), caption->geometry().right()) << "Label3_" << k;
        left = at.right();
        const QString widest = k == 0 ? QStringLiteral("32767") : QStringLiteral(" 1000");
        EXPECT_LE(value->fontMetrics().horizontalAdvance(widest), at.width()) << "Label3_" << k;
    }

    // The fixed row and columns stay in place while the rest scrolls away,
    // and are what the user sees there: painted in the fixed colour, over the
    // scrolled cells.
    grid()->horizontalScrollBar()->setValue(grid()->horizontalScrollBar()->maximum());
    grid()->verticalScrollBar()->setValue(grid()->verticalScrollBar()->maximum());
    const QPoint header = grid()->cellRect(0, 1).center();
    EXPECT_EQ(grid()->cellAt(header), QPoint(1, 0));
    EXPECT_EQ(grid()->cellAt(grid()->cellRect(1000, 0).center()), QPoint(0, 1000));
    const QImage shown = grid()->grab().toImage();
    const QPoint origin = grid()->viewport()->pos();
    const int lastCol = m->columnCount() - 1;
    for (const auto& [r, c] : {std::pair{1000, 0}, {999, 1}, {0, lastCol}, {0, lastCol - 1}}) {
        const QRect at = grid()->cellRect(r, c);
        ASSERT_FALSE(at.isEmpty()) << r << "," << c;
        const QPoint pixel = (QPointF(origin + at.topLeft() + QPoint(2, 2)) * shown.devicePixelRatio()).toPoint();
        EXPECT_EQ(QColor(shown.pixel(pixel)).name().toStdString(), "#ddffff") << "cell " << r << "," << c;
    }
}

TEST_F(Tab0, PressAndDragSelectWholeRowsAndTheCopyEntryCopiesThem) {
    copyDemo();
    ASSERT_TRUE(start());
    loadSampleCombinations();
    const grid::TextGrid& g = form->MSFlexGrid1;
    const int lastCol = g.cols() - 1;

    // A left press on the combination text selects the row across all data
    // columns; dragging down extends it.
    QTest::mousePress(grid()->viewport(), Qt::LeftButton, {}, grid()->cellRect(4, 1).center());
    QMouseEvent move(QEvent::MouseMove, QPointF(grid()->cellRect(2, 3).center()),
                     QPointF(grid()->viewport()->mapToGlobal(grid()->cellRect(2, 3).center())), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid()->viewport(), &move);
    QTest::mouseRelease(grid()->viewport(), Qt::LeftButton, {}, grid()->cellRect(2, 3).center());
    EXPECT_EQ(g.row(), 4);
    EXPECT_EQ(g.rowSel(), 2);
    EXPECT_EQ(g.col(), 1);
    EXPECT_EQ(g.colSel(), lastCol);
    EXPECT_EQ(background(grid()->gridModel(), 3, 5), QColor(255, 224, 255));

    // A right press keeps that selection and opens pop-up menu 1.
    platform.popupChoices = {QStringLiteral("pmnucopy")};
    press(Qt::RightButton, 20, 3);
    ASSERT_EQ(platform.popups.size(), 1u);
    EXPECT_EQ(platform.popups[0], platform::PopupMenu::Combination);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral(" 2, 3, 4,18,27\r\n 2,12,17,19,30\r\n 2, 3, 7, 8,14\r\n"));

    // Delete through the menu empties the rows on screen too.
    platform.popupChoices = {QStringLiteral("pmnudelete")};
    press(Qt::RightButton, 3, 1);
    EXPECT_EQ(text(grid()->gridModel(), 3, 1), QString());
    EXPECT_EQ(text(grid()->gridModel(), 3, 0), QStringLiteral("3"));

    // The keyboard moves the selection's end.
    press(Qt::LeftButton, 6, 2);
    QTest::keyClick(grid(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(g.row(), 6);
    EXPECT_EQ(g.rowSel(), 7);
}

TEST_F(Tab0, ButtonsRunTheirCommands) {
    copyDemo();
    ASSERT_TRUE(start());
    loadSampleCombinations();
    const QAbstractItemModel* m = grid()->gridModel();
    // "⇔" turns the win entries to descending order; "AC" after OK empties all.
    QTest::mouseClick(find<QWidget>("Command4"), Qt::LeftButton);
    EXPECT_NE(text(m, 1, 2), QStringLiteral("48=4"));
    platform.answers = {platform::kOk};
    QTest::mouseClick(find<QWidget>("Command6"), Qt::LeftButton);
    EXPECT_EQ(platform.boxes.back().text, "全ﾃﾞｰﾀを消去しますか？\r\n");
    EXPECT_EQ(text(m, 1, 1), QString());
    EXPECT_EQ(text(m, 1, 2), QString());
}

}  // namespace
}  // namespace kazuban::testing
