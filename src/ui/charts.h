#pragma once
// The charts of the window. Every tab draws on a Chart: bars, lines, points
// and bands over two axes, with a title and a legend under the plot, in the
// window's Japanese font. The plotting library stays behind this file.
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <utility>
#include <vector>

class QCustomPlot;
class QCPAxis;
class QCPBarsGroup;
class QCPLayoutGrid;

namespace kazuban::ui {

struct ChartAxis {
    enum class Ticks {
        Whole,       // counts, draws, yen: whole-number ticks only
        Real,        // any figure: ticks with the decimals their step needs
        LogBase4,    // a logarithmic axis with ticks at the powers of 4
        Categories,  // the labels below at their positions, no grid
    };
    QString title;
    double lower = 0;
    double upper = 1;
    Ticks ticks = Ticks::Real;
    // The range widened to whole multiples of its tick step (value axes).
    bool nice = false;
    std::vector<std::pair<double, QString>> categories;
};

struct LineStyle {
    QColor color;
    double width = 1.5;
    bool dashed = false;
    double markerSize = 0;  // 0: no markers
};

// One band from low to high over x - halfWidth .. x + halfWidth.
struct ChartBand {
    double x = 0;
    double halfWidth = 0.3;
    double low = 0;
    double high = 0;
};

class Chart : public QWidget {
    Q_OBJECT
public:
    explicit Chart(QWidget* parent = nullptr);
    ~Chart() override;

    // Forgets every series; the axes and title stay until set again.
    void clear();
    void setTitle(const QString& title);
    void setLegendShown(bool shown);
    void setAxis(Qt::Orientation orientation, const ChartAxis& axis);

    // Bars at x = 0, 1, 2, ...; the bar series stand side by side in each
    // slot, 0.8 wide together.
    void addBars(const QString& name, const QColor& color, const std::vector<double>& values);
    void addLine(const QString& name, const LineStyle& style, const std::vector<QPointF>& points);
    void addPoints(const QString& name, const QColor& color, double size, const std::vector<QPointF>& points);
    // All the bands of one name, one entry in the legend.
    void addBands(const QString& name, const QColor& color, const std::vector<ChartBand>& bands);

    // The chart as a PNG picture, at the screen's pixel ratio.
    QByteArray png();

    // What the chart shows, read back from the plot.
    struct Series {
        enum class Kind { Bars, Line, Points, Bands };
        Kind kind;
        QString name;
        std::vector<QPointF> points;     // the bands: x and high
        std::vector<QPointF> lowPoints;  // the bands: x and low
    };
    std::vector<Series> series() const;
    // The plot's own count of what it draws (a band takes two).
    int plottableCount() const;
    struct AxisShown {
        QString title;
        double lower = 0;
        double upper = 0;
        std::vector<double> ticks;
        QStringList labels;
    };
    // The axis as drawn at the chart's present size.
    AxisShown axis(Qt::Orientation orientation);
    QString title() const;
    // Where the plot lies in the chart, and the font of the tick labels.
    QRect plotArea();
    QFont labelFont() const;

private:
    QCPAxis* axisOf(Qt::Orientation orientation) const;
    void redraw();

    QCustomPlot* plot_ = nullptr;
    QCPBarsGroup* barsGroup_ = nullptr;
    QCPLayoutGrid* legendRow_ = nullptr;  // the legend centred under the plot
    QString title_;
    bool legendShown_ = true;
};

}  // namespace kazuban::ui
