#pragma once
// The tab "統計グラフ": one of the eight statistics of the history over a
// window of draws, as a chart (observed counts as bars, the exact expectation
// as a line with markers) above its table. The figures are app::StatsPage's;
// this widget only draws them and offers copy, CSV and PNG.
#include <QWidget>
#include <string>
#include <vector>

#include "analysis/history_stats.h"

class QChartView;
class QComboBox;
class QLabel;
class QMenu;
class QSpinBox;
class QStandardItemModel;
class QTableView;

namespace kazuban::app {
class Form1;
}

namespace kazuban::ui {

class StatsTab : public QWidget {
    Q_OBJECT
public:
    explicit StatsTab(app::Form1& form, QWidget* parent = nullptr);

    // Redraws when the page computed new figures.
    void refresh();

    // The window of draws chosen: 0 for all of them.
    int windowSize() const;
    analysis::Analysis currentAnalysis() const;
    const analysis::StatsSection& section() const { return section_; }
    QMenu* tableMenu() const { return tableMenu_; }
    QMenu* chartMenu() const { return chartMenu_; }

    // The table's rows in the order shown, with their full figures (as the
    // report writes them); with selectedOnly, the selected rows, or every row
    // when none is selected.
    std::vector<std::vector<std::string>> shownRows(bool selectedOnly) const;

private:
    void showSection();
    void fillTable();
    void drawChart();
    void sortByColumn(int column);

    app::Form1& form_;
    QComboBox* analysisBox_ = nullptr;
    QComboBox* windowBox_ = nullptr;
    QSpinBox* lastBox_ = nullptr;
    QLabel* note_ = nullptr;
    QChartView* chartView_ = nullptr;
    QTableView* table_ = nullptr;
    QStandardItemModel* model_ = nullptr;
    QMenu* tableMenu_ = nullptr;
    QMenu* chartMenu_ = nullptr;

    analysis::StatsSection section_;
    unsigned shownRevision_ = 0;
    int sortColumn_ = -1;
    bool sortDescending_ = false;
};

}  // namespace kazuban::ui
