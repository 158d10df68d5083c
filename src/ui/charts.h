#pragma once
// Pieces the charts of the analysis tabs share: the window's Japanese font on
// titles, axes and legends, and a chart view that draws smoothly.
class QChart;
class QChartView;
class QWidget;

namespace kazuban::ui {

// A view over a new empty chart, antialiased, in the window's Japanese font.
QChartView* newChartView(QWidget* parent = nullptr);

// Gives the chart's title, legend and every axis the window's Japanese font
// (Qt Charts keeps its own font otherwise, which may lack Japanese glyphs).
void useJapaneseFont(QChart* chart);

}  // namespace kazuban::ui
