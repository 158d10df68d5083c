#pragma once
// Fonts, colours and sizes shared by the window's widgets.
#include <QColor>
#include <QFont>
#include <QString>
#include <string>

#include "grid/text_grid.h"

class QWidget;

namespace kazuban::ui {

// The Japanese font of the window: "ＭＳ ゴシック" where it exists, else an
// installed Japanese Gothic (IPA, Noto CJK), else the system monospace font.
QFont japaneseFont(double pointSize = 0);

// Makes the Japanese font the font of every widget (9 pt, the size the
// window was designed for).
void useJapaneseApplicationFont();

// Twips are 1/1440 inch: 15 twips per pixel at 96 dpi, scaled with the screen.
int twipsToPixels(int twips, const QWidget* widget);

inline QColor toColor(const grid::Rgb& c) { return QColor(c.r, c.g, c.b); }
inline QString qs(const std::string& s) { return QString::fromStdString(s); }

}  // namespace kazuban::ui
