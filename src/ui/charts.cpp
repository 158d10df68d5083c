#include "ui/charts.h"

#include <QAbstractAxis>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>
#include <algorithm>

#include "ui/look.h"

namespace kazuban::ui {

QChartView* newChartView(QWidget* parent) {
    auto* chart = new QChart;
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(4, 4, 4, 4));
    auto* view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    useJapaneseFont(chart);
    return view;
}

void useJapaneseFont(QChart* chart) {
    const QFont font = japaneseFont(9);
    QFont title = font;
    title.setBold(true);
    chart->setTitleFont(title);
    chart->legend()->setFont(font);
    for (QAbstractAxis* axis : chart->axes()) {
        axis->setLabelsFont(font);
        axis->setTitleFont(font);
    }
}

QWidget* chartWidget(QChartView* view) { return view; }

void showLine(QChartView* view, const QString& title, const QString& xTitle, const QString& yTitle,
              const std::vector<std::pair<double, double>>& points) {
    QChart* chart = view->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    chart->setTitle(title);
    chart->legend()->hide();
    auto* series = new QLineSeries;
    double xMin = 0, xMax = 1, yMin = 0, yMax = 0;
    if (!points.empty()) {
        xMin = points.front().first;
        xMax = std::max(points.back().first, xMin + 1);
    }
    for (const auto& [x, y] : points) {
        series->append(x, y);
        yMin = std::min(yMin, y);
        yMax = std::max(yMax, y);
    }
    if (yMax == yMin) yMax = yMin + 1;
    chart->addSeries(series);
    auto* xAxis = new QValueAxis;
    xAxis->setTitleText(xTitle);
    xAxis->setLabelFormat(QStringLiteral("%d"));
    xAxis->setRange(xMin, xMax);
    auto* yAxis = new QValueAxis;
    yAxis->setTitleText(yTitle);
    yAxis->setLabelFormat(QStringLiteral("%.0f"));
    yAxis->setRange(yMin, yMax);
    yAxis->applyNiceNumbers();
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);
    series->attachAxis(xAxis);
    series->attachAxis(yAxis);
    useJapaneseFont(chart);
}

}  // namespace kazuban::ui
