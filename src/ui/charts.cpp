#include "ui/charts.h"

#include <QAbstractAxis>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPainter>
#include <QScatterSeries>
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

void drawPopularityChart(QChartView* view, const std::vector<std::pair<double, double>>& allSets,
                         const std::vector<std::pair<double, double>>& rows) {
    QChart* chart = view->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    chart->setTitle(QStringLiteral("人気度の分布"));
    auto* x = new QLogValueAxis;
    x->setBase(4);
    x->setLabelFormat(QStringLiteral("%.2g"));
    x->setTitleText(QStringLiteral("人気度（倍）"));
    x->setRange(0.25, 64);
    auto* y = new QValueAxis;
    y->setTitleText(QStringLiteral("組合せの割合（%）"));
    y->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    auto* all = new QLineSeries;
    all->setName(QStringLiteral("全組合せ"));
    double top = 1;
    for (const auto& [p, share] : allSets) {
        if (p < 0.25) continue;
        all->append(p, share);
        top = std::max(top, share);
    }
    auto* table = new QScatterSeries;
    table->setName(QStringLiteral("表"));
    table->setMarkerSize(7);
    for (const auto& [p, share] : rows) table->append(std::clamp(p, 0.25, 64.0), share);
    y->setRange(0, top * 1.1);
    chart->addSeries(all);
    chart->addSeries(table);
    for (QAbstractSeries* s : {static_cast<QAbstractSeries*>(all), static_cast<QAbstractSeries*>(table)}) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    useJapaneseFont(chart);
}

}  // namespace kazuban::ui
