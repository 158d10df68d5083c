// Kazuban: the window. The current directory is the start-up folder, which
// holds atarimgrp.txt and Kazuban.ini.
#include <QApplication>
#include <exception>

#include "app/form1.h"
#include "text/app_error.h"
#include "ui/look.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "ui/translations.h"
#include "ui/window_geometry.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kazuban"));
    kazuban::ui::useJapaneseApplicationFont();
    kazuban::ui::installJapaneseQtTranslation(app);

    kazuban::ui::QtPlatform platform;
    kazuban::app::Form1 form(platform);
    kazuban::ui::MainWindow window(form, platform);
    bool loaded = false;
    try {
        loaded = form.Form_Load(platform.currentDirectory());
    } catch (...) {
        platform.messageBox(kazuban::errorText(std::current_exception()), kazuban::platform::Icon::Critical,
                            kazuban::platform::Buttons::Ok);
    }
    // A missing data file or a failed load ends the program before the window shows.
    if (!loaded || form.closeRequested()) return 1;
    kazuban::ui::showWithRememberedGeometry(window);
    return app.exec();
}
