#pragma once
// The tab "統計グラフ": one of the eight statistics of the history over a
// window of draws, as a chart (observed counts as bars, the exact expectation
// as a line with markers) with its test against random draws under it, above
// its table; or, as the last choice of analysis, the table of all the tests.
// The figures are app::StatsPage's; this widget only draws them and offers
// copy, CSV and PNG.
#include <QWidget>
#include <string>
#include <vector>

#include "analysis/history_stats.h"

class QComboBox;
class QLabel;
class QMenu;
class QSpinBox;
class QStackedWidget;
class QStandardItemModel;
class QTableView;

namespace kazuban::app {
class Form1;
}

namespace kazuban::ui {

class Chart;

class StatsTab : public QWidget {
    Q_OBJECT
public:
    explicit StatsTab(app::Form1& form, QWidget* parent = nullptr);

    // Redraws when the page computed new figures.
    void refresh();

    // The window of draws chosen: 0 for all of them.
    int windowSize() const;
    // "すべての検定" chosen instead of one analysis.
    bool allTests() const;
    analysis::Analysis currentAnalysis() const;  // when not allTests()
    const analysis::StatsSection& section() const { return section_; }
    QMenu* tableMenu() const { return tableMenu_; }
    QMenu* chartMenu() const { return chartMenu_; }
    QMenu* testsMenu() const { return testsMenu_; }

    // The table's rows in the order shown, with their full figures (as the
    // report writes them); with selectedOnly, the selected rows, or every row
    // when none is selected.
    std::vector<std::vector<std::string>> shownRows(bool selectedOnly) const;
    // The same of the table of all tests (the report's figures).
    std::vector<std::vector<std::string>> testRows(bool selectedOnly) const;

private:
    void showSection();
    void showTest();
    void showAllTests();
    void fillTable();
    void drawChart();
    void sortByColumn(int column);

    app::Form1& form_;
    QComboBox* analysisBox_ = nullptr;
    QComboBox* windowBox_ = nullptr;
    QSpinBox* lastBox_ = nullptr;
    QLabel* note_ = nullptr;
    QStackedWidget* pages_ = nullptr;  // one analysis, or all the tests
    Chart* chart_ = nullptr;
    QLabel* testFigures_ = nullptr;
    QLabel* testSentence_ = nullptr;
    QTableView* table_ = nullptr;
    QStandardItemModel* model_ = nullptr;
    QTableView* testsTable_ = nullptr;
    QStandardItemModel* testsModel_ = nullptr;
    QLabel* manyTests_ = nullptr;
    QMenu* tableMenu_ = nullptr;
    QMenu* chartMenu_ = nullptr;
    QMenu* testsMenu_ = nullptr;

    analysis::StatsSection section_;
    unsigned shownRevision_ = 0;
    int sortColumn_ = -1;
    bool sortDescending_ = false;
};

}  // namespace kazuban::ui
