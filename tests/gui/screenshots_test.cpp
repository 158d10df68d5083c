// Pictures of every tab and of the settings dialog on the demo data, for the
// documentation. Runs only when KAZUBAN_SCREENSHOT_DIR names the folder to
// write them to (scripts/screenshots.sh does that).
#include <QApplication>
#include <QPixmap>
#include <QTest>

#include "ui/flex_grid.h"
#include "ui/look.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

class Screenshots : public WindowTest {};

void save(QWidget* widget, const QString& folder, const QString& name) {
    QApplication::processEvents();
    const QPixmap picture = widget->grab();
    ASSERT_FALSE(picture.isNull());
    ASSERT_TRUE(picture.save(folder + QLatin1Char('/') + name)) << name.toStdString();
}

TEST_F(Screenshots, EveryTabAndTheSettingsDialog) {
    const QString folder = qEnvironmentVariable("KAZUBAN_SCREENSHOT_DIR");
    if (folder.isEmpty()) GTEST_SKIP() << "KAZUBAN_SCREENSHOT_DIR not set";
    ui::useJapaneseApplicationFont();
    copyDemo();
    ASSERT_TRUE(start());
    loadSampleCombinations();
    save(window.get(), folder, QStringLiteral("tab0.png"));

    selectTab(1);
    save(window.get(), folder, QStringLiteral("tab1.png"));

    selectTab(2);
    auto* list = find<ui::FlexGrid>(QStringLiteral("MSFlexGrid3"));
    ASSERT_NE(list, nullptr);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->cellRect(3, 1).center());
    save(window.get(), folder, QStringLiteral("tab2.png"));

    selectTab(3);
    QTest::mouseClick(find<QWidget>(QStringLiteral("Option1_1")), Qt::LeftButton);
    save(window.get(), folder, QStringLiteral("tab3.png"));

    selectTab(4);
    save(window.get(), folder, QStringLiteral("tab4.png"));

    platform.onSettingsDialog = [&](ui::SettingsDialog& dialog) {
        dialog.show();
        save(&dialog, folder, QStringLiteral("settings.png"));
        dialog.reject();
    };
    trigger(QStringLiteral("mnuktoroku"));
}

}  // namespace
}  // namespace kazuban::testing
