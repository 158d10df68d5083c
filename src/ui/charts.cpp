#include "ui/charts.h"

#include <qcustomplot.h>

#include <QBuffer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "ui/look.h"

namespace kazuban::ui {

namespace {

// A step of 1, 2 or 5 times a power of ten giving about five ticks; at least
// 1 on a whole-number axis.
double niceStep(double span, bool whole) {
    if (!(span > 0)) return 1;
    const double raw = span / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double mantissa = raw / magnitude;
    double step = (mantissa <= 1 ? 1 : mantissa <= 2 ? 2 : mantissa <= 5 ? 5 : 10) * magnitude;
    if (whole) step = std::max(1.0, std::round(step));
    return step;
}

// The decimals a step needs to tell its ticks apart.
int decimalsOf(double step) {
    int decimals = 0;
    while (decimals < 6 && std::abs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) >
                               1e-9 * std::pow(10.0, decimals))
        ++decimals;
    return decimals;
}

std::vector<QPointF> pointsOf(const QCPGraph* graph) {
    std::vector<QPointF> points;
    for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it)
        if (!std::isnan(it->value)) points.emplace_back(it->key, it->value);
    return points;
}

}  // namespace

Chart::Chart(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    plot_ = new QCustomPlot(this);
    layout->addWidget(plot_);
    plot_->setAntialiasedElements(QCP::aeAll);
    plot_->setNotAntialiasedElements(QCP::aeGrid | QCP::aeAxes);
    // A right click reaches the chart, whose owner may give it a menu.
    plot_->setContextMenuPolicy(Qt::NoContextMenu);

    const QFont font = japaneseFont(8);
    QFont titleFont = japaneseFont(9);
    titleFont.setBold(true);
    plot_->setFont(font);
    for (QCPAxis* axis : {plot_->xAxis, plot_->yAxis}) {
        axis->setTickLabelFont(font);
        axis->setLabelFont(font);
        axis->setSubTicks(false);
    }
    plot_->plotLayout()->insertRow(0);
    plot_->plotLayout()->addElement(0, 0, new QCPTextElement(plot_, QString(), titleFont));
    // The legend in a row of its own under the plot, never over the figures.
    plot_->legend->setVisible(true);
    plot_->legend->setFont(font);
    plot_->legend->setBorderPen(Qt::NoPen);
    plot_->legend->setBrush(Qt::NoBrush);
    plot_->legend->setFillOrder(QCPLegend::foColumnsFirst);
    plot_->legend->setMargins(QMargins(2, 0, 2, 0));
    plot_->legend->setRowSpacing(0);
    // Centred, as wide as its entries: blank cells take the rest of the row.
    plot_->axisRect()->insetLayout()->take(plot_->legend);
    legendRow_ = new QCPLayoutGrid;
    legendRow_->addElement(0, 0, new QCPLayoutElement(plot_));
    legendRow_->addElement(0, 1, plot_->legend);
    legendRow_->addElement(0, 2, new QCPLayoutElement(plot_));
    legendRow_->setColumnStretchFactor(1, 0.001);
    plot_->plotLayout()->addElement(2, 0, legendRow_);
    plot_->plotLayout()->setRowStretchFactor(2, 0.001);
    plot_->plotLayout()->setRowSpacing(0);
    plot_->plotLayout()->setMargins(QMargins(2, 2, 2, 2));
    barsGroup_ = new QCPBarsGroup(plot_);
    barsGroup_->setSpacing(0);
}

Chart::~Chart() {
    // A legend taken out of the plot's layout is no longer the plot's to delete.
    if (!legendShown_) delete legendRow_;
}

void Chart::clear() {
    plot_->clearPlottables();
    redraw();
}

void Chart::setTitle(const QString& title) {
    title_ = title;
    static_cast<QCPTextElement*>(plot_->plotLayout()->element(0, 0))->setText(title);
    redraw();
}

void Chart::setLegendShown(bool shown) {
    if (shown == legendShown_) return;
    legendShown_ = shown;
    if (shown) {
        plot_->plotLayout()->addElement(2, 0, legendRow_);
        plot_->plotLayout()->setRowStretchFactor(2, 0.001);
    } else {
        plot_->plotLayout()->take(legendRow_);
        plot_->plotLayout()->simplify();
    }
    plot_->legend->setVisible(shown);
    redraw();
}

QCPAxis* Chart::axisOf(Qt::Orientation orientation) const {
    return orientation == Qt::Horizontal ? plot_->xAxis : plot_->yAxis;
}

void Chart::setAxis(Qt::Orientation orientation, const ChartAxis& wanted) {
    QCPAxis* axis = axisOf(orientation);
    axis->setLabel(wanted.title);
    axis->grid()->setVisible(wanted.ticks != ChartAxis::Ticks::Categories);
    axis->setScaleType(wanted.ticks == ChartAxis::Ticks::LogBase4 ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
    double lower = wanted.lower, upper = std::max(wanted.upper, wanted.lower + 1e-9);
    switch (wanted.ticks) {
    case ChartAxis::Ticks::Categories: {
        QSharedPointer<QCPAxisTickerText> ticker(new QCPAxisTickerText);
        for (const auto& [x, label] : wanted.categories) ticker->addTick(x, label);
        axis->setTicker(ticker);
        break;
    }
    case ChartAxis::Ticks::LogBase4: {
        QSharedPointer<QCPAxisTickerLog> ticker(new QCPAxisTickerLog);
        ticker->setLogBase(4);
        ticker->setSubTickCount(0);
        axis->setTicker(ticker);
        axis->setNumberFormat(QStringLiteral("g"));
        axis->setNumberPrecision(2);
        break;
    }
    case ChartAxis::Ticks::Whole:
    case ChartAxis::Ticks::Real: {
        const bool whole = wanted.ticks == ChartAxis::Ticks::Whole;
        // A fixed step of our own choice: on a whole-number axis it is a
        // whole number, so that no tick falls between two counts.
        const double step = niceStep(upper - lower, whole);
        if (wanted.nice) {
            lower = std::floor(lower / step + 1e-9) * step;
            upper = std::ceil(upper / step - 1e-9) * step;
        }
        QSharedPointer<QCPAxisTickerFixed> ticker(new QCPAxisTickerFixed);
        ticker->setTickStep(step);
        ticker->setScaleStrategy(QCPAxisTickerFixed::ssNone);
        axis->setTicker(ticker);
        axis->setNumberFormat(QStringLiteral("f"));
        axis->setNumberPrecision(whole ? 0 : decimalsOf(step));
        break;
    }
    }
    axis->setRange(lower, upper);
    redraw();
}

void Chart::addBars(const QString& name, const QColor& color, const std::vector<double>& values) {
    auto* bars = new QCPBars(plot_->xAxis, plot_->yAxis);
    bars->setName(name);
    bars->setPen(QPen(color));
    bars->setBrush(color);
    QVector<double> keys, heights;
    for (std::size_t i = 0; i < values.size(); ++i) {
        keys << static_cast<double>(i);
        heights << values[i];
    }
    bars->setData(keys, heights, true);
    barsGroup_->append(bars);
    const double width = 0.8 / barsGroup_->size();
    for (QCPBars* b : barsGroup_->bars()) b->setWidth(width);
    redraw();
}

void Chart::addLine(const QString& name, const LineStyle& style, const std::vector<QPointF>& points) {
    auto* graph = plot_->addGraph();
    graph->setName(name);
    QPen pen(style.color, style.width);
    if (style.dashed) pen.setStyle(Qt::DashLine);
    graph->setPen(pen);
    if (style.markerSize > 0)
        graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, style.color, Qt::white, style.markerSize));
    for (const QPointF& p : points) graph->addData(p.x(), p.y());
    if (name.isEmpty()) graph->removeFromLegend();
    redraw();
}

void Chart::addPoints(const QString& name, const QColor& color, double size, const std::vector<QPointF>& points) {
    auto* graph = plot_->addGraph();
    graph->setName(name);
    graph->setLineStyle(QCPGraph::lsNone);
    graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, color, color, size));
    graph->setPen(QPen(color));
    for (const QPointF& p : points) graph->addData(p.x(), p.y());
    if (name.isEmpty()) graph->removeFromLegend();
    redraw();
}

void Chart::addBands(const QString& name, const QColor& color, const std::vector<ChartBand>& bands) {
    // The upper edges filled down to the lower ones; a gap between bands.
    auto* upper = plot_->addGraph();
    auto* lower = plot_->addGraph();
    const double gap = std::numeric_limits<double>::quiet_NaN();
    for (const ChartBand& b : bands) {
        for (QCPGraph* g : {upper, lower}) {
            const double y = g == upper ? b.high : b.low;
            g->addData(b.x - b.halfWidth, y);
            g->addData(b.x + b.halfWidth, y);
            g->addData(b.x + b.halfWidth + 1e-6, gap);
        }
    }
    const QPen edge(color.darker(130));
    upper->setPen(edge);
    lower->setPen(edge);
    upper->setBrush(color);
    upper->setChannelFillGraph(lower);
    upper->setName(name);
    lower->removeFromLegend();
    if (name.isEmpty()) upper->removeFromLegend();
    redraw();
}

void Chart::redraw() { plot_->replot(QCustomPlot::rpQueuedReplot); }

QByteArray Chart::png() {
    const double ratio = devicePixelRatioF();
    const QPixmap picture = plot_->toPixmap(0, 0, ratio);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

std::vector<Chart::Series> Chart::series() const {
    std::vector<Series> all;
    for (int i = 0; i < plot_->plottableCount(); ++i) {
        QCPAbstractPlottable* p = plot_->plottable(i);
        if (auto* bars = qobject_cast<QCPBars*>(p)) {
            Series s{Series::Kind::Bars, bars->name(), {}, {}};
            for (auto it = bars->data()->constBegin(); it != bars->data()->constEnd(); ++it)
                s.points.emplace_back(it->key, it->value);
            all.push_back(std::move(s));
        } else if (auto* graph = qobject_cast<QCPGraph*>(p)) {
            if (graph->channelFillGraph()) {
                all.push_back(
                    {Series::Kind::Bands, graph->name(), pointsOf(graph), pointsOf(graph->channelFillGraph())});
                continue;
            }
            // The lower edge of a band is read with its upper one.
            bool edge = false;
            for (int j = 0; j < plot_->graphCount(); ++j) edge = edge || plot_->graph(j)->channelFillGraph() == graph;
            if (edge) continue;
            const Series::Kind kind = graph->lineStyle() == QCPGraph::lsNone ? Series::Kind::Points
                                                                             : Series::Kind::Line;
            all.push_back({kind, graph->name(), pointsOf(graph), {}});
        }
    }
    return all;
}

int Chart::plottableCount() const { return plot_->plottableCount(); }

Chart::AxisShown Chart::axis(Qt::Orientation orientation) {
    plot_->replot(QCustomPlot::rpImmediateRefresh);
    const QCPAxis* a = axisOf(orientation);
    AxisShown shown;
    shown.title = a->label();
    shown.lower = a->range().lower;
    shown.upper = a->range().upper;
    for (double t : a->tickVector()) shown.ticks.push_back(t);
    for (const QString& l : a->tickVectorLabels()) shown.labels << l;
    return shown;
}

QString Chart::title() const { return title_; }

QRect Chart::plotArea() {
    plot_->replot(QCustomPlot::rpImmediateRefresh);
    return plot_->axisRect()->rect().translated(plot_->pos());
}

QFont Chart::labelFont() const { return plot_->xAxis->tickLabelFont(); }

}  // namespace kazuban::ui
