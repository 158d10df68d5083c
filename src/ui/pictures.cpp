#include "ui/pictures.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <array>

#include "ui/look.h"

namespace kazuban::ui {

namespace {

void drawBall(QPainter& p, QPointF centre, qreal radius, const QColor& colour, const QString& number) {
    QRadialGradient shade(centre - QPointF(radius * 0.35, radius * 0.4), radius * 1.3);
    shade.setColorAt(0, colour.lighter(170));
    shade.setColorAt(0.55, colour);
    shade.setColorAt(1, colour.darker(160));
    p.setPen(QPen(colour.darker(200), 1));
    p.setBrush(shade);
    p.drawEllipse(centre, radius, radius);
    // A white disc carries the number, as on a real ball.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawEllipse(centre, radius * 0.58, radius * 0.58);
    QFont f = japaneseFont();
    f.setPixelSize(static_cast<int>(radius * 0.8));
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(40, 40, 40));
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    p.drawText(box, Qt::AlignCenter, number);
}

// A transparent pixmap of `size` in device-independent pixels, with as many
// device pixels as the screen has, so the picture stays sharp when scaled.
QPixmap canvas(QSize size) {
    const qreal ratio = qGuiApp ? std::max<qreal>(1, qGuiApp->devicePixelRatio()) : 1;
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

}  // namespace

QPixmap drawBallsPicture(QSize size) {
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(221, 255, 255));
    sky.setColorAt(1, QColor(255, 224, 255));
    p.setPen(QPen(QColor(192, 192, 192), 1));
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 8, 8);

    struct Ball {
        qreal x, y;
        QColor colour;
        const char* number;
    };
    const qreal r = std::min(w, h) * 0.16;
    const std::array<Ball, 6> balls{{
        {0.30, 0.18, QColor(220, 60, 60), "3"},
        {0.70, 0.28, QColor(240, 170, 30), "11"},
        {0.32, 0.45, QColor(60, 150, 70), "17"},
        {0.70, 0.58, QColor(50, 110, 210), "22"},
        {0.30, 0.74, QColor(150, 70, 190), "29"},
        {0.70, 0.86, QColor(120, 120, 120), "B"},
    }};
    for (const Ball& b : balls) drawBall(p, QPointF(b.x * w, b.y * h), r, b.colour, QString::fromLatin1(b.number));
    return pixmap;
}

QPixmap drawMarkSheetPicture(QSize size) {
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    p.setPen(QPen(QColor(200, 60, 90), 1.5));
    p.setBrush(QColor(255, 246, 248));
    p.drawRoundedRect(QRectF(1, 1, w - 2, h - 2), 4, 4);
    // Four columns of the numbers 1 to 31, five of them marked.
    const qreal cellW = (w - 8) / 4, cellH = (h - 8) / 10;
    const std::array<int, 5> marked{3, 11, 17, 22, 29};
    QFont f = japaneseFont();
    f.setPixelSize(std::max(6, static_cast<int>(cellH * 0.75)));
    p.setFont(f);
    for (int n = 1; n <= 31; ++n) {
        const int x = (n - 1) / 10, y = (n - 1) % 10;
        const QRectF cell(4 + x * cellW, 4 + y * cellH, cellW, cellH);
        if (std::find(marked.begin(), marked.end(), n) != marked.end()) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(30, 30, 30));
            p.drawRect(cell.adjusted(cellW * 0.2, cellH * 0.15, -cellW * 0.2, -cellH * 0.15));
        } else {
            p.setPen(QColor(200, 60, 90));
            p.drawText(cell, Qt::AlignCenter, QString::number(n));
        }
    }
    return pixmap;
}

}  // namespace kazuban::ui
