#pragma once
// The window's two pictures, drawn rather than shipped as files.
#include <QPixmap>
#include <QSize>

namespace kazuban::ui {

// Tab 4's picture: lottery balls falling past a draw counter.
QPixmap drawBallsPicture(QSize size);
// The settings dialog's about picture: a small mark sheet with marks.
QPixmap drawMarkSheetPicture(QSize size);

}  // namespace kazuban::ui
