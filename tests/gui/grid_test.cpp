// The grids: the model over a TextGrid, and what tab 0 shows and does
// through real mouse presses and pop-up menu choices.
#include <QAbstractItemModelTester>
#include <QBrush>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "ui/flex_grid.h"
#include "ui/grid_model.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

QColor background(const QAbstractItemModel* m, int r, int c) {
    return m->data(m->index(r, c), Qt::BackgroundRole).value<QBrush>().color();
}
QString text(const QAbstractItemModel* m, int r, int c) { return m->data(m->index(r, c)).toString(); }

// Every cell of a grid, row by row.
std::vector<std::vector<std::string>> cells(const grid::TextGrid& g) {
    std::vector<std::vector<std::string>> out(static_cast<std::size_t>(g.rows()));
    for (int r = 0; r < g.rows(); ++r)
        for (int c = 0; c < g.cols(); ++c) out[static_cast<std::size_t>(r)].push_back(g.cell(r, c));
    return out;
}

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
    // The scroll bar's handle dragged with the mouse past one end.
    static void dragScrollBar(QScrollBar* bar, bool toRightEnd) {
        QStyleOptionSlider opt;
        opt.initFrom(bar);
        opt.orientation = bar->orientation();
        opt.state |= QStyle::State_Horizontal;
        opt.minimum = bar->minimum();
        opt.maximum = bar->maximum();
        opt.sliderPosition = bar->sliderPosition();
        opt.sliderValue = bar->value();
        opt.singleStep = bar->singleStep();
        opt.pageStep = bar->pageStep();
        opt.upsideDown = bar->invertedAppearance();
        const QRect handle = bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, bar);
        ASSERT_FALSE(handle.isEmpty());
        const QPoint to(toRightEnd ? bar->width() + 40 : -40, handle.center().y());
        QTest::mousePress(bar, Qt::LeftButton, {}, handle.center());
        QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(bar->mapToGlobal(to)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, to);
    }
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
        EXPECT_EQ(find<QLabel>(QStringLiteral("Label3_%1").arg(k))->text(),
                  QString::fromStdString(form->frame().Label3()[k]));
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
    const grid::TextGrid& g = form->combinationTable();
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

    // A right press inside the selection keeps it and opens pop-up menu 1.
    popupChoices = {QStringLiteral("pmnucopy")};
    press(Qt::RightButton, 3, 3);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0], QStringLiteral("pmnupopup"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral(" 2, 3, 4,18,27\r\n 2,12,17,19,30\r\n 2, 3, 7, 8,14\r\n"));

    // Rows 3 to 5 copied and pasted with the anchor on row 10 land in rows
    // 10 to 12; every other cell, the win entries of rows 10 to 12 included,
    // stays as it was.
    dragRows("MSFlexGrid1", 3, 5, 1);
    popupChoices = {QStringLiteral("pmnucopy")};
    press(Qt::RightButton, 4, 1);
    const QString copied =
        QString::fromStdString(g.cell(3, 1) + "\r\n" + g.cell(4, 1) + "\r\n" + g.cell(5, 1) + "\r\n");
    EXPECT_EQ(copied.size(), 3 * 16);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), copied);
    const std::vector<std::vector<std::string>> before = cells(g);
    press(Qt::LeftButton, 10, 1);
    popupChoices = {QStringLiteral("pmnupaste")};
    press(Qt::RightButton, 10, 1);
    std::vector<std::vector<std::string>> expected = before;
    for (int r = 10; r <= 12; ++r)
        expected[static_cast<std::size_t>(r)][1] = before[static_cast<std::size_t>(r - 7)][1];
    EXPECT_EQ(cells(g), expected);
    for (int r = 10; r <= 12; ++r) EXPECT_EQ(text(grid()->gridModel(), r, 1), text(grid()->gridModel(), r - 7, 1)) << r;
    EXPECT_EQ(QGuiApplication::clipboard()->text(), copied);

    // Delete through the menu empties the rows on screen too, whole rows
    // from the combination to the last win entry, also for a selection
    // dragged upwards; nothing moves up.
    dragRows("MSFlexGrid1", 5, 3, 2);
    popupChoices = {QStringLiteral("pmnudelete")};
    press(Qt::RightButton, 3, 1);
    EXPECT_EQ(text(grid()->gridModel(), 3, 1), QString());
    EXPECT_EQ(text(grid()->gridModel(), 3, 0), QStringLiteral("3"));
    for (int r = 3; r <= 5; ++r) {
        expected[static_cast<std::size_t>(r)].assign(expected[static_cast<std::size_t>(r)].size(), std::string());
        expected[static_cast<std::size_t>(r)][0] = std::to_string(r);
    }
    EXPECT_EQ(cells(g), expected);

    // The keyboard moves the selection's end.
    press(Qt::LeftButton, 6, 2);
    QTest::keyClick(grid(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(g.row(), 6);
    EXPECT_EQ(g.rowSel(), 7);
}

TEST_F(Tab0, ButtonsAndTheDrawSelectorRunTheirCommands) {
    copyDemo();
    ASSERT_TRUE(start());
    loadSampleCombinations();
    const grid::TextGrid& g = form->combinationTable();
    const QAbstractItemModel* m = grid()->gridModel();
    const auto ascending = cells(g);
    const std::size_t winColumns = ascending[1].size() - 2;
    auto label = [&](const char* name) { return find<QLabel>(QString::fromLatin1(name))->text(); };
    // The draw number and prize counts of draw d as the frame shows them,
    // counted from the win entries on screen.
    auto expectDrawShown = [&](int d, const QString& numbers) {
        EXPECT_EQ(label("Label1"), QStringLiteral("第%1回:").arg(d) + numbers);
        EXPECT_EQ(label("Label3_0"), QString::number(d));
        for (int grade = 1; grade <= 4; ++grade) {
            const QString entry = QStringLiteral("%1=%2").arg(d).arg(grade);
            int n = 0;
            for (int r = 1; r <= 1000; ++r)
                for (int c = 2; c < m->columnCount(); ++c) n += text(m, r, c) == entry;
            EXPECT_EQ(find<QLabel>(QStringLiteral("Label3_%1").arg(grade))->text(),
                      n ? QStringLiteral(" %1").arg(n) : QStringLiteral("0"))
                << "draw " << d << " grade " << grade;
        }
    };

    // The draw selector starts at its left end, the latest draw; its handle
    // dragged to the right end shows draw 1, back to the left end the latest
    // draw again. The win entries stay as they are.
    auto* bar = find<QScrollBar>("HScroll1");
    EXPECT_EQ(bar->minimum(), 1);
    EXPECT_EQ(bar->maximum(), 1400);
    EXPECT_EQ(bar->value(), 1);
    dragScrollBar(bar, true);
    EXPECT_EQ(bar->value(), 1400);
    expectDrawShown(1, QStringLiteral(" 1, 3,17,20,25,26"));
    EXPECT_NE(label("Label3_4"), QStringLiteral("0")) << "draw 1 gives the sample some fourth prizes";
    dragScrollBar(bar, false);
    EXPECT_EQ(bar->value(), 1);
    expectDrawShown(1400, QStringLiteral(" 1,14,15,17,29,30"));
    EXPECT_EQ(cells(g), ascending);

    // "⇔" turns the win entries to descending order, row by row; twice, it
    // gives back the order they had.
    QTest::mouseClick(find<QWidget>("Command4"), Qt::LeftButton);
    EXPECT_NE(text(m, 1, 2), QStringLiteral("48=4"));
    for (int r = 1; r <= 30; ++r) {
        const auto& row = ascending[static_cast<std::size_t>(r)];
        std::vector<std::string> entries(row.begin() + 2, row.end());
        entries.erase(std::find(entries.begin(), entries.end(), std::string()), entries.end());
        std::reverse(entries.begin(), entries.end());
        entries.resize(winColumns);
        std::vector<std::string> shown;
        for (std::size_t c = 2; c < winColumns + 2; ++c) shown.push_back(g.cell(r, static_cast<int>(c)));
        EXPECT_EQ(shown, entries) << "row " << r;
    }
    QTest::mouseClick(find<QWidget>("Command4"), Qt::LeftButton);
    EXPECT_EQ(cells(g), ascending);

    // "￥" works the entries out again (ascending) and shows the latest draw,
    // wherever the selector stood; the selector stays there.
    dragScrollBar(bar, true);
    QTest::mouseClick(find<QWidget>("Command4"), Qt::LeftButton);
    ASSERT_NE(cells(g), ascending);
    QTest::mouseClick(find<QWidget>("Command5"), Qt::LeftButton);
    EXPECT_EQ(cells(g), ascending);
    expectDrawShown(1400, QStringLiteral(" 1,14,15,17,29,30"));
    EXPECT_EQ(bar->value(), 1400);

    // "AC" answered Cancel changes nothing; answered OK it empties all.
    platform.answers = {platform::kCancel};
    QTest::mouseClick(find<QWidget>("Command6"), Qt::LeftButton);
    ASSERT_FALSE(platform.boxes.empty());
    EXPECT_EQ(platform.boxes.back().text, "全ﾃﾞｰﾀを消去しますか？\r\n");
    EXPECT_EQ(platform.boxes.back().icon, platform::Icon::Exclamation);
    EXPECT_EQ(platform.boxes.back().buttons, platform::Buttons::OkCancel);
    EXPECT_EQ(cells(g), ascending);
    platform.answers = {platform::kOk};
    QTest::mouseClick(find<QWidget>("Command6"), Qt::LeftButton);
    EXPECT_EQ(platform.boxes.back().text, "全ﾃﾞｰﾀを消去しますか？\r\n");
    EXPECT_EQ(text(m, 1, 1), QString());
    EXPECT_EQ(text(m, 1, 2), QString());
    EXPECT_EQ(text(m, 0, 1), QStringLiteral("組合せデータ"));

    // "△" gathers scattered rows at the top, each combination's numbers and
    // the rows in ascending order (equal rows stay two rows), renumbers and
    // works the win entries out again.
    form->combinationTable().setCell(5, 1, "12,13,14,15,16");
    form->combinationTable().setCell(9, 1, " 5,31,12, 3,20");
    form->combinationTable().setCell(700, 1, " 5,11,13,21,31");
    form->combinationTable().setCell(800, 1, "12,13,14,15,16");
    form->run([] {});
    dragScrollBar(bar, true);
    QTest::mouseClick(find<QWidget>("Command3"), Qt::LeftButton);
    const QStringList sorted = {" 3, 5,12,20,31", " 5,11,13,21,31", "12,13,14,15,16", "12,13,14,15,16"};
    for (int r = 1; r <= 1000; ++r) {
        EXPECT_EQ(text(m, r, 0), QString::number(r));
        EXPECT_EQ(text(m, r, 1), r <= 4 ? sorted[r - 1] : QString()) << r;
        if (r > 4) {
            EXPECT_EQ(text(m, r, 2), QString()) << r;
        }
    }
    // The sample's first row was " 5,11,13,21,31": the same entries again.
    std::vector<std::string> wins(ascending[1].begin() + 2, ascending[1].end());
    const auto after = cells(g);
    EXPECT_EQ(std::vector<std::string>(after[2].begin() + 2, after[2].end()), wins);
    expectDrawShown(1400, QStringLiteral(" 1,14,15,17,29,30"));
}

}  // namespace
}  // namespace kazuban::testing
