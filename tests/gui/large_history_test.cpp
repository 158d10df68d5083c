// The window on the largest history the program takes: 32,767 draws give the
// combination grid 3,297 columns and the pre-draw grid tens of thousands of rows.
#include <QApplication>
#include <QFile>
#include <QScrollBar>

#include "support/history_gen.h"
#include "ui/flex_grid.h"
#include "ui/grid_model.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

class LargeHistory : public WindowTest {};

TEST_F(LargeHistory, TheGridsReachTheirLastColumnAndRow) {
    const auto lines = syntheticHistoryLines(32767, 7);
    {
        QFile f(dir.filePath("atarimgrp.txt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (const auto& l : lines) f.write(QByteArray::fromStdString(l) + "\r\n");
    }
    QFile::copy(QStringLiteral(KAZUBAN_DEMO_DIR "/Kazuban.ini"), dir.filePath("Kazuban.ini"));
    QFile::copy(QStringLiteral(KAZUBAN_DEMO_DIR "/sample_combos.txt"), dir.filePath("sample_combos.txt"));
    ASSERT_TRUE(start());
    loadSampleCombinations();
    auto* grid = find<ui::FlexGrid>("MSFlexGrid1");
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    EXPECT_EQ(grid->gridModel()->columnCount(), 32767 / 10 + 21);
    const QRect last = grid->cellRect(0, 3296);
    EXPECT_FALSE(last.isEmpty());
    EXPECT_EQ(grid->cellAt(last.center()), QPoint(3296, 0));

    // The back-test of 32,718 draws keeps the progress bar on screen while it
    // runs, then shows every draw, newest first.
    platform.progressRanges.clear();
    platform.progressSteps = platform.progressStepsVisible = 0;
    selectTab(4);
    EXPECT_EQ(platform.progressRanges, (std::vector<std::pair<int, int>>{{51, 32767}}));
    EXPECT_GT(platform.progressSteps, 0);
    EXPECT_EQ(platform.progressStepsVisible, platform.progressSteps);
    EXPECT_FALSE(find<QWidget>("ProgressBar1")->isVisible());
    auto* predraw = find<ui::FlexGrid>("MSFlexGrid5");
    EXPECT_EQ(predraw->gridModel()->rowCount(), 32767 - 49);
    QApplication::processEvents();  // the view lays out its new rows
    predraw->verticalScrollBar()->setValue(predraw->verticalScrollBar()->maximum());
    const QModelIndex lastRow = predraw->gridModel()->index(32767 - 50, 0);
    EXPECT_EQ(predraw->gridModel()->data(lastRow).toString(), QStringLiteral("51"));
    EXPECT_FALSE(predraw->cellRect(32767 - 50, 0).isEmpty());
}

}  // namespace
}  // namespace kazuban::testing
