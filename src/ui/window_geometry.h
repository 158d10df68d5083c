#pragma once
// The main window's size and place on the screen: the size it was designed
// for where the screen has room, never more than the screen's free area, and
// the size, place and maximised state the user left it in at the last run
// (kept with QSettings in the user's configuration folder).
#include <QSize>

class QSettings;
class QWidget;

namespace kazuban::ui {

// The size the window was designed for.
inline constexpr QSize kClassicWindowSize{900, 660};

// `wanted` bounded by `room` (the free area less the window's frame), but
// never below `minimum` (the smallest size that shows every control).
QSize fittedWindowSize(QSize wanted, QSize minimum, QSize room);

// The size to open at before anything is remembered: the classic size
// bounded by the free area of the window's screen (the layout keeps the
// window from shrinking below what shows every control).
QSize openingWindowSize(const QWidget& window);

// Shrinks and moves the window, title bar and borders included, into the
// free area of its screen, as far as its smallest size allows.
void fitToScreen(QWidget& window);

// Where the window's geometry is kept between runs (on Windows in the
// registry, HKEY_CURRENT_USER\Software\Kazuban\Kazuban).
QSettings* newWindowSettings();

// Puts the window where the user left it (bounded by the screen it lands on),
// or at the opening size in the middle of the screen, then shows it, maximised
// when it was left so. Once the window system has framed the window, the frame
// is fitted in too.
void showWithRememberedGeometry(QWidget& window);
// Remembers the window's size, place and maximised state.
void saveWindowGeometry(const QWidget& window);

}  // namespace kazuban::ui
