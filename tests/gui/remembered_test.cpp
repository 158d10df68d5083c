// What the window remembers from one run to the next (the files used last,
// the prize amounts), what the exit question knows of unsaved rows, and the
// status bar's word after 保存.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <memory>

#include "combos/undo_history.h"
#include "support/os.h"
#include "ui/window_geometry.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

constexpr const char* kClassicExit = " 終了します。 よろしいですか？";

class Remembered : public WindowTest {
protected:
    // As the program shows a file: in the system's own separators.
    QString path(const char* name) const { return QDir::toNativeSeparators(dir.filePath(QLatin1String(name))); }
    void saveAs(const char* name) {
        platform.saveAnswers.push_back(path(name).toStdString());
        trigger(QStringLiteral("mnudsave"));
    }
    // The file names ◇ファイル → 最近使ったファイル offers, top to bottom.
    QStringList recentEntries() const {
        QStringList names;
        for (QAction* a : find<QMenu>(QStringLiteral("mnurecent"))->actions()) names << a->toolTip();
        return names;
    }
    // The exit question asked, answered Cancel.
    std::string exitQuestion() {
        platform.answers = {platform::kCancel};
        const std::size_t shown = platform.boxes.size();
        trigger(QStringLiteral("mnufclose"));
        EXPECT_EQ(platform.boxes.size(), shown + 1);
        EXPECT_FALSE(form->closeRequested());
        return platform.boxes.empty() ? std::string() : platform.boxes.back().text;
    }
};

#ifdef _WIN32
// On Windows the files used last are kept in the registry, under the user's
// key, in UTF-16: a Japanese folder name comes back whole.
TEST_F(Remembered, TheFilesUsedLastAreInTheRegistry) {
    copyDemo();
    ASSERT_TRUE(start());
    loadSampleCombinations();
    const QString folder = dir.filePath(QStringLiteral("当選番号"));
    ASSERT_TRUE(QDir().mkpath(folder));
    platform.saveAnswers.push_back((folder + QStringLiteral("/組合せ.txt")).toStdString());
    trigger(QStringLiteral("mnudsave"));
    ASSERT_TRUE(QFile::exists(folder + QStringLiteral("/組合せ.txt")));
    const auto strings =
        userRegistryStrings("Software\\" + QCoreApplication::organizationName().toStdString() + "\\Kazuban\\file",
                            "recent");
    ASSERT_TRUE(strings);
    ASSERT_EQ(strings->size(), 2u);  // the file saved, then the sample loaded before it
    EXPECT_NE(strings->front().find("当選番号"), std::string::npos) << strings->front();
    EXPECT_EQ(QString::fromStdString(strings->front()), recentEntries().value(0));
}
#endif

TEST_F(Remembered, TheLastFiveFilesComeBackAndLoadAsOpenLoads) {
    copyDemo();
    ASSERT_TRUE(start());
    EXPECT_FALSE(find<QAction>(QStringLiteral("mnurecent"))->isEnabled());
    loadSampleCombinations();
    EXPECT_EQ(recentEntries(), QStringList{path("sample_combos.txt")});
    EXPECT_TRUE(find<QAction>(QStringLiteral("mnurecent"))->isEnabled());

    // 保存 says where it saved; six files used, the oldest goes; one used
    // again comes to the top.
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"}) {
        saveAs(name);
        EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("組合せデータを保存しました：") + path(name));
    }
    saveAs("b.txt");
    const QStringList expected{path("b.txt"), path("e.txt"), path("d.txt"), path("c.txt"), path("a.txt")};
    EXPECT_EQ(recentEntries(), expected);
    EXPECT_TRUE(find<QAction>(QStringLiteral("mnurecent1"))->text().contains(QStringLiteral("b.txt")));

    // The next run offers the same files; nothing was written into the data folder.
    restart();
    EXPECT_EQ(recentEntries(), expected);
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.ini")}, QDir::Files),
              QStringList{QStringLiteral("Kazuban.ini")});

    // A file chosen from the list loads as 呼出し loads it, one undo step;
    // the list is not changed by a load from it beyond its order.
    ASSERT_FALSE(form->wins().hasUnsavedChanges());
    EXPECT_EQ(form->state().undoHistory.undoSteps(), 0u);
    trigger(QStringLiteral("mnurecent4"));
    EXPECT_TRUE(platform.boxes.empty()) << "an empty table asks nothing";
    EXPECT_EQ(form->combinationTable().cell(1, 1), " 5,11,13,21,31");  // c.txt holds the sample's rows
    EXPECT_EQ(form->state().undoHistory.undoSteps(), 1u);
    EXPECT_FALSE(cell("MSFlexGrid1", 1, 2).isEmpty()) << "the win entries are worked out";
    EXPECT_EQ(recentEntries().first(), path("c.txt"));

    // A file that has gone: the message of 呼出し, and the entry goes.
    ASSERT_TRUE(QFile::remove(path("d.txt")));
    platform.answers = {platform::kNo};     // the clear-or-append question: append
    trigger(QStringLiteral("mnurecent4"));  // c, b, e, d, a
    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_EQ(platform.boxes[0].text.rfind("ﾃﾞｰﾀを消去しますか？", 0), 0u);
    EXPECT_NE(platform.boxes.back().text.find("d.txt"), std::string::npos);
    EXPECT_FALSE(recentEntries().contains(path("d.txt")));
    EXPECT_EQ(recentEntries().size(), 4);
}

TEST_F(Remembered, TheExitQuestionSaysWhenRowsWereNotSaved) {
    copyDemo();
    ASSERT_TRUE(start());
    EXPECT_EQ(exitQuestion(), kClassicExit);  // an empty table has nothing to lose
    loadSampleCombinations();
    EXPECT_EQ(exitQuestion(), kClassicExit);
    EXPECT_EQ(platform.boxes.back().icon, platform::Icon::None);

    platform.answers = {platform::kNo};  // 5個, added to the loaded rows
    trigger(QStringLiteral("mnu5mk"));
    const std::string unsaved = exitQuestion();
    EXPECT_NE(unsaved, kClassicExit);
    EXPECT_NE(unsaved.find("保存していない"), std::string::npos);
    EXPECT_NE(unsaved.find(kClassicExit), std::string::npos);
    EXPECT_EQ(platform.boxes.back().buttons, platform::Buttons::OkCancel);

    trigger(QStringLiteral("mnuundo"));  // back to the rows of the file
    EXPECT_EQ(exitQuestion(), kClassicExit);
    trigger(QStringLiteral("mnuredo"));
    EXPECT_EQ(exitQuestion(), unsaved);

    // Another file added to unsaved rows leaves them unsaved; added to saved
    // rows, every row is in a file.
    platform.answers = {platform::kNo};
    loadSampleCombinations();
    EXPECT_EQ(exitQuestion(), unsaved);
    saveAs("all.txt");
    EXPECT_EQ(exitQuestion(), kClassicExit);
    platform.answers = {platform::kNo};
    loadSampleCombinations();
    EXPECT_EQ(exitQuestion(), kClassicExit);

    // A file loaded over unsaved rows (answered Yes) leaves only its own.
    platform.answers = {platform::kNo};
    trigger(QStringLiteral("mnu5mk"));
    ASSERT_EQ(exitQuestion(), unsaved);
    platform.answers = {platform::kYes};
    loadSampleCombinations();
    EXPECT_EQ(exitQuestion(), kClassicExit);

    // OK on the question ends the program, unsaved or not.
    platform.answers = {platform::kNo};
    trigger(QStringLiteral("mnu5mk"));
    platform.answers = {platform::kOk};
    trigger(QStringLiteral("mnufclose"));
    EXPECT_TRUE(form->closeRequested());
}

TEST_F(Remembered, ThePrizeAmountsTypedComeBackAtTheNextRun) {
    copyDemo();
    ASSERT_TRUE(start());
    loadSampleCombinations();
    selectTab(app::kTabOdds);
    const std::int64_t second = form->odds().figures().prizes.yen[1];
    auto* first = find<QLineEdit>(QStringLiteral("oddsPrize1"));
    first->selectAll();
    QTest::keyClicks(first, QStringLiteral("12345678"));
    QTest::keyClick(first, Qt::Key_Return);
    ASSERT_EQ(form->odds().figures().prizes.yen[0], 12345678);
    {  // An amount kept that the tab cannot take is not taken.
        std::unique_ptr<QSettings> s(ui::newWindowSettings());
        s->setValue(QStringLiteral("odds/prize2"), QStringLiteral("-5"));
    }
    restart();
    EXPECT_EQ(form->odds().figures().prizes.yen[0], 12345678);
    EXPECT_EQ(form->odds().figures().prizes.yen[1], second);
    selectTab(app::kTabOdds);
    EXPECT_EQ(find<QLineEdit>(QStringLiteral("oddsPrize1"))->text(), QStringLiteral("12345678"));
}

}  // namespace
}  // namespace kazuban::testing
