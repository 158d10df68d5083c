#pragma once
// The tab "統計グラフ": one of the eight statistics of the history over a
// window of draws, as a chart (observed counts as bars, the exact expectation
// as a line with markers) above its table. The figures come from
// analysis::computeHistoryStats on the Form1's current history; this widget
// only draws them and offers copy, CSV and PNG.
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
namespace kazuban::platform {
class Platform;
}

namespace kazuban::ui {

class StatsTab : public QWidget {
    Q_OBJECT
public:
    StatsTab(app::Form1& form, platform::Platform& platform, QWidget* parent = nullptr);

    // Rebuilds when the history was reloaded since the last build, or when
    // the tab was marked stale (it was just selected).
    void refresh();
    void markStale() { stale_ = true; }

    // The window of draws chosen: 0 for all of them.
    int windowSize() const;
    analysis::Analysis currentAnalysis() const;
    const analysis::HistoryStats& stats() const { return stats_; }
    const analysis::StatsSection& section() const { return section_; }
    QMenu* tableMenu() const { return tableMenu_; }
    QMenu* chartMenu() const { return chartMenu_; }

    // The table's rows as shown (in the current sort order) as texts; with
    // selectedOnly, the selected rows, or every row when none is selected.
    std::vector<std::vector<std::string>> shownRows(bool selectedOnly) const;

    // The pop-up menus' commands.
    void copyRows();
    void saveCsv();
    void savePng();

private:
    void rebuild();
    void showSection();
    void fillTable();
    void drawChart();
    void sortByColumn(int column);
    // Shows the exception being handled; called only inside a catch block.
    void reportFailure();

    app::Form1& form_;
    platform::Platform& platform_;
    QComboBox* analysisBox_ = nullptr;
    QComboBox* windowBox_ = nullptr;
    QSpinBox* lastBox_ = nullptr;
    QLabel* note_ = nullptr;
    QChartView* chartView_ = nullptr;
    QTableView* table_ = nullptr;
    QStandardItemModel* model_ = nullptr;
    QMenu* tableMenu_ = nullptr;
    QMenu* chartMenu_ = nullptr;

    analysis::HistoryStats stats_;
    analysis::StatsSection section_;
    unsigned builtRevision_ = 0;
    bool built_ = false;
    bool stale_ = true;
    int sortColumn_ = -1;
    bool sortDescending_ = false;
};

}  // namespace kazuban::ui
