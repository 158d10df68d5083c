// GUI tests run the real widgets on the offscreen platform, in the font the
// program itself gives them, on a screen of a common desktop (1920 x 1080)
// unless the run names another platform.
#include <gtest/gtest.h>
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>

#include "support/os.h"
#include "ui/look.h"
#include "ui/translations.h"

namespace {

// After the tests every window they made is gone: a window left open keeps
// what it holds reachable, and LeakSanitizer, which looks at the end of the
// run, could not tell the leaks of its widgets.
class NoWindowLeftOpen : public ::testing::Environment {
public:
    void TearDown() override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QStringList left;
        for (const QWidget* w : QApplication::topLevelWidgets())
            left << QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName();
        EXPECT_TRUE(left.isEmpty()) << "windows left: " << left.join(QStringLiteral(", ")).toStdString();
    }
};

}  // namespace

int main(int argc, char** argv) {
    const QByteArray qpa = qgetenv("QT_QPA_PLATFORM");
    QByteArray config = KAZUBAN_TESTDATA_DIR "/offscreen-1920x1080.json";
#ifdef _WIN32
    // The platform's arguments are separated by colons: the file is named
    // without its drive, which is that of the current folder (the build's).
    if (config.size() > 2 && config[1] == ':') config.remove(0, 2);
#endif
    if (qpa.isEmpty() || qpa == "offscreen") qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
#ifdef _WIN32
    // The offscreen platform of Windows takes its fonts from one folder
    // only, with none of the system's: without one, every glyph is a box.
    if (qgetenv("QT_QPA_FONTDIR").isEmpty() && !qgetenv("WINDIR").isEmpty())
        qputenv("QT_QPA_FONTDIR", qgetenv("WINDIR") + "\\Fonts");
#endif
    QApplication app(argc, argv);
    // The window remembers its geometry in the user's configuration folder;
    // the tests keep theirs in a folder of their own.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
#ifdef _WIN32
    // On Windows they are in the registry, which has no such folder: the
    // tests keep theirs under an organisation of their own, removed at the end.
    const QString organization = QStringLiteral("Kazuban-tests-%1").arg(QCoreApplication::applicationPid());
    QCoreApplication::setOrganizationName(organization);
#endif
    kazuban::ui::useJapaneseApplicationFont();
    kazuban::ui::installJapaneseQtTranslation(app);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new NoWindowLeftOpen);
    const int failed = RUN_ALL_TESTS();
#ifdef _WIN32
    kazuban::testing::removeUserRegistryKey("Software\\" + organization.toStdString());
#endif
    return failed;
}
