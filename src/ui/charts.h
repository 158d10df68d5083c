#pragma once
// Pieces the charts of the analysis tabs share: the window's Japanese font on
// titles, axes and legends, and a chart view that draws smoothly.
#include <utility>
#include <vector>

class QChart;
class QChartView;
class QString;
class QWidget;

namespace kazuban::ui {

// A view over a new empty chart, antialiased, in the window's Japanese font.
QChartView* newChartView(QWidget* parent = nullptr);

// Gives the chart's title, legend and every axis the window's Japanese font
// (Qt Charts keeps its own font otherwise, which may lack Japanese glyphs).
void useJapaneseFont(QChart* chart);

// The view as the widget it is, for layouts and names.
QWidget* chartWidget(QChartView* view);

// Shows one line through `points` (x, y) on the view's chart in place of
// what it showed, over value axes titled xTitle and yTitle that hold the
// points and zero.
void showLine(QChartView* view, const QString& title, const QString& xTitle, const QString& yTitle,
              const std::vector<std::pair<double, double>>& points);

// The chart of 人気と払戻金: the share of all main sets (%) against their
// popularity on a logarithmic axis, and the table's rows as points on it.
// Points are (popularity, share).
void drawPopularityChart(QChartView* view, const std::vector<std::pair<double, double>>& allSets,
                         const std::vector<std::pair<double, double>>& rows);

}  // namespace kazuban::ui
