// GUI tests run the real widgets on the offscreen platform, in the font the
// program itself gives them.
#include <QApplication>
#include <gtest/gtest.h>

#include "ui/look.h"
#include "ui/translations.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kazuban::ui::useJapaneseApplicationFont();
    kazuban::ui::installJapaneseQtTranslation(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
