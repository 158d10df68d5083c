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
    chart->setTitle(title);
    chart->legend()->hide();
    // The series and its axes are made once and then given new points, so
    // nothing of an earlier picture stays behind.
    auto* series = chart->series().isEmpty() ? nullptr : qobject_cast<QLineSeries*>(chart->series().first());
    QValueAxis* xAxis = nullptr;
    QValueAxis* yAxis = nullptr;
    if (!series) {
        series = new QLineSeries;
        chart->addSeries(series);
        xAxis = new QValueAxis;
        xAxis->setLabelFormat(QStringLiteral("%d"));
        yAxis = new QValueAxis;
        yAxis->setLabelFormat(QStringLiteral("%.0f"));
        chart->addAxis(xAxis, Qt::AlignBottom);
        chart->addAxis(yAxis, Qt::AlignLeft);
        series->attachAxis(xAxis);
        series->attachAxis(yAxis);
        useJapaneseFont(chart);
    } else {
        xAxis = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).first());
        yAxis = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).first());
    }
    xAxis->setTitleText(xTitle);
    xAxis->setTitleVisible(!xTitle.isEmpty());
    yAxis->setTitleText(yTitle);
    yAxis->setTitleVisible(!yTitle.isEmpty());
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    double xMin = 0, xMax = 1, yMin = 0, yMax = 0;
    if (!points.empty()) {
        xMin = points.front().first;
        xMax = std::max(points.back().first, xMin + 1);
    }
    for (const auto& [x, y] : points) {
        list.append(QPointF(x, y));
        yMin = std::min(yMin, y);
        yMax = std::max(yMax, y);
    }
    if (yMax == yMin) yMax = yMin + 1;
    series->replace(list);
    xAxis->setRange(xMin, xMax);
    yAxis->setRange(yMin, yMax);
    yAxis->applyNiceNumbers();
}

}  // namespace kazuban::ui
