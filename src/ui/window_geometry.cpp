#include "ui/window_geometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <algorithm>
#include <memory>

namespace kazuban::ui {

namespace {

constexpr const char* kGeometryKey = "window/geometry";

QRect freeArea(const QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, kClassicWindowSize.width(), kClassicWindowSize.height());
}

}  // namespace

QSize fittedWindowSize(QSize wanted, QSize minimum, QSize available) {
    const QSize room = (available - kWindowFrameAllowance).expandedTo(QSize(1, 1));
    return wanted.boundedTo(room).expandedTo(minimum);
}

QSize openingWindowSize(const QWidget& window) {
    return fittedWindowSize(kClassicWindowSize, QSize(), freeArea(window).size());
}

QSettings* newWindowSettings() {
    return new QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Kazuban"),
                         QStringLiteral("Kazuban"));
}

void showWithRememberedGeometry(QWidget& window) {
    const std::unique_ptr<QSettings> settings(newWindowSettings());
    const QByteArray saved = settings->value(QLatin1String(kGeometryKey)).toByteArray();
    // Qt moves a remembered place back onto a screen that still exists, and
    // fits the size a maximised window returns to.
    const bool restored = !saved.isEmpty() && window.restoreGeometry(saved);
    if (restored && (window.windowState() & Qt::WindowMaximized)) {
        window.showMaximized();
        return;
    }
    if (!restored) {
        const QRect area = freeArea(window);
        window.resize(openingWindowSize(window));
        window.move(area.center() -
                    QPoint(window.width() / 2, window.height() / 2 + kWindowFrameAllowance.height() / 2));
    }
    // A size remembered on a larger screen, or at a smaller scale, shrinks to fit.
    const QRect area = freeArea(window);
    const QSize fitted = fittedWindowSize(window.size(), window.minimumSizeHint(), area.size());
    if (fitted != window.size()) window.resize(fitted);
    QPoint at = window.pos();
    at.setX(std::clamp(at.x(), area.left(),
                       std::max(area.left(), area.right() + 1 - fitted.width() - kWindowFrameAllowance.width())));
    at.setY(std::clamp(at.y(), area.top(),
                       std::max(area.top(), area.bottom() + 1 - fitted.height() - kWindowFrameAllowance.height())));
    if (at != window.pos()) window.move(at);
    window.show();
}

void saveWindowGeometry(const QWidget& window) {
    const std::unique_ptr<QSettings> settings(newWindowSettings());
    settings->setValue(QLatin1String(kGeometryKey), window.saveGeometry());
}

}  // namespace kazuban::ui
