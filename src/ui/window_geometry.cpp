#include "ui/window_geometry.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <memory>

namespace kazuban::ui {

namespace {

constexpr const char* kGeometryKey = "window/geometry";
// Time the window system takes to frame a new window before its frame is known.
constexpr int kFramedAfterMs = 300;

QRect freeArea(const QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(QPoint(0, 0), kClassicWindowSize);
}

// Title bar and borders: known once the window system has framed the window.
QSize frameExtra(const QWidget& window) {
    return (window.frameGeometry().size() - window.size()).expandedTo(QSize(0, 0));
}

}  // namespace

QSize fittedWindowSize(QSize wanted, QSize minimum, QSize room) {
    return wanted.boundedTo(room.expandedTo(QSize(1, 1))).expandedTo(minimum);
}

QSize openingWindowSize(const QWidget& window) {
    return fittedWindowSize(kClassicWindowSize, QSize(), freeArea(window).size() - frameExtra(window));
}

void fitToScreen(QWidget& window) {
    if (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    const QRect area = freeArea(window);
    const QSize extra = frameExtra(window);
    const QSize fitted = fittedWindowSize(window.size(), window.minimumSizeHint(), area.size() - extra);
    if (fitted != window.size()) window.resize(fitted);
    const QSize outer = fitted + extra;
    QPoint at = window.pos();
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width())));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height())));
    if (at != window.pos()) window.move(at);
}

QSettings* newWindowSettings() {
    // Under the organisation Kazuban unless the application names another:
    // the tests do, so that on Windows, where the settings are in the
    // registry, they leave the player's alone.
    const QString organization = QCoreApplication::organizationName();
    return new QSettings(QSettings::NativeFormat, QSettings::UserScope,
                         organization.isEmpty() ? QStringLiteral("Kazuban") : organization, QStringLiteral("Kazuban"));
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
        window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
    }
    // A size remembered on a larger screen, or at a smaller scale, shrinks to fit.
    fitToScreen(window);
    window.show();
    QTimer::singleShot(kFramedAfterMs, &window, [w = QPointer<QWidget>(&window)] {
        if (w) fitToScreen(*w);
    });
}

void saveWindowGeometry(const QWidget& window) {
    const std::unique_ptr<QSettings> settings(newWindowSettings());
    settings->setValue(QLatin1String(kGeometryKey), window.saveGeometry());
}

}  // namespace kazuban::ui
