#include "ui/look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStringList>
#include <QWidget>
#include <cmath>

namespace kazuban::ui {

QFont japaneseFont(double pointSize) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
                      QStringLiteral("IPAゴシック"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("Noto Sans Mono CJK JP"),
                      QFontDatabase::systemFont(QFontDatabase::FixedFont).family()});
    font.setStyleHint(QFont::TypeWriter);
    if (pointSize > 0) font.setPointSizeF(pointSize);
    return font;
}

void useJapaneseApplicationFont() { QApplication::setFont(japaneseFont(9)); }

int twipsToPixels(int twips, const QWidget* widget) {
    const double dpi = widget ? widget->logicalDpiX() : 96.0;
    return static_cast<int>(std::lround(twips / 15.0 * dpi / 96.0));
}

}  // namespace kazuban::ui
