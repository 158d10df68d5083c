#include "ui/charts.h"

#include <QAbstractAxis>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QPainter>

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

}  // namespace kazuban::ui
