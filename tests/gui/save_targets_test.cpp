// Every save of the window refuses the data folder's own files, however the
// user names them, and anything that is no ordinary file: ◇ファイル → 保存,
// the table's CSV, the statistics' CSV and PNG, 組合せ設計 → 保存… and a PDF
// printed from the preview. The history stays whole and in sight.
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "modal.h"
#include "platform/data_files.h"
#include "platform/line_file.h"
#include "support/os.h"
#include "ui/design_tab.h"
#include "ui/stats_tab.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

namespace fs = std::filesystem;

class SaveTargets : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        copyDemo();
        ASSERT_TRUE(start());
        loadSampleCombinations();
    }
    fs::path file(const char* name) const { return fs::path(dir.filePath(QLatin1String(name)).toStdString()); }
    void clickButton(const char* name) { QTest::mouseClick(find<QWidget>(QLatin1String(name)), Qt::LeftButton); }
    QAction* statsAction(bool chart) {
        auto* tab = find<ui::StatsTab>(QStringLiteral("StatsTab"));
        find<QTabWidget>(QStringLiteral("SSTab1"))->setCurrentWidget(tab);
        return (chart ? tab->chartMenu() : tab->tableMenu())
            ->findChild<QAction*>(chart ? QStringLiteral("pmnusavechart") : QStringLiteral("pmnusavestats"));
    }
};

TEST_F(SaveTargets, EverySaveRefusesTheDataFilesAndSpecialFiles) {
    const std::string history = platform::readFileBytes(file("atarimgrp.txt"));
    const std::string settings = platform::readFileBytes(file("Kazuban.ini"));
    const int maxn = form->state().maxn;
    fs::create_directory(file("elsewhere"));
    fs::create_hard_link(file("atarimgrp.txt"), file("elsewhere") / "alias.txt");

    const std::vector<std::pair<const char*, std::function<void()>>> saves = {
        {"file save", [&] { trigger(QStringLiteral("mnudsave")); }},
        {"table CSV",
         [&] {
             selectTab(app::kTabWins);
             popupChoices = {QStringLiteral("pmnusave")};
             press("MSFlexGrid1", Qt::RightButton, 1, 1);
         }},
        {"statistics CSV", [&] { statsAction(false)->trigger(); }},
        {"chart PNG", [&] { statsAction(true)->trigger(); }},
        {"design save",
         [&] {
             selectTab(app::kTabDesign);
             auto* tab = find<ui::DesignTab>(QStringLiteral("designTab"));
             if (find<QWidget>(QStringLiteral("designSave"))->isEnabled()) {
                 clickButton("designSave");
                 return;
             }
             find<QSpinBox>(QStringLiteral("designTickets"))->setValue(3);
             // The run itself answers no dialog: the save is the one that is scripted.
             const auto answers = std::move(platform.saveAnswers);
             clickButton("designRun");
             ASSERT_TRUE(QTest::qWaitFor([tab] { return !tab->searching(); }, 60000));
             platform.saveAnswers = answers;
             clickButton("designSave");
         }},
    };
    const bool fifo = makeNamedPipe(file("fifo"));
    for (const auto& [what, save] : saves) {
        for (const fs::path& target :
             {file("atarimgrp.txt"), file("elsewhere") / "alias.txt", file("Kazuban.ini"), file("kounyu.csv")}) {
            SCOPED_TRACE(std::string(what) + " to " + target.string());
            platform.boxes.clear();
            platform.saveAnswers = {target.string()};
            save();
            ASSERT_EQ(platform.boxes.size(), 1u);
            EXPECT_EQ(platform.boxes[0].text, platform::kDataFileRefusal);
        }
        if (fifo) {
            platform.boxes.clear();
            platform.saveAnswers = {file("fifo").string()};
            save();
            ASSERT_EQ(platform.boxes.size(), 1u) << what;
            EXPECT_TRUE(platform.boxes[0].text.ends_with("」は通常のファイルではないため書き込めません。"));
            EXPECT_TRUE(fs::is_fifo(file("fifo")));
        }
    }
    EXPECT_EQ(platform::readFileBytes(file("atarimgrp.txt")), history);
    EXPECT_EQ(platform::readFileBytes(file("Kazuban.ini")), settings);
    EXPECT_FALSE(fs::exists(file("kounyu.csv")));
    EXPECT_EQ(form->state().maxn, maxn);
    EXPECT_FALSE(form->closeRequested());

    // Any other name in the same folder is saved.
    platform.saveAnswers = {file("mine.txt").string()};
    trigger(QStringLiteral("mnudsave"));
    EXPECT_TRUE(fs::exists(file("mine.txt")));
}

TEST_F(SaveTargets, APdfIsNotPrintedOverADataFile) {
#ifdef _WIN32
    GTEST_SKIP() << "on Windows the print dialog is the system's own, which the test cannot fill in";
#endif
    platform.previewForReal = true;
    WhenModal preview(
        [&](QWidget* w) {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            QAction* print = nullptr;
            for (QAction* a : dialog->findChildren<QAction*>())
                if (a->text().contains(QStringLiteral("印刷")) && !a->text().contains(QStringLiteral("設定")))
                    print = a;
            ASSERT_NE(print, nullptr);
            WhenModal toFile(
                [&](QWidget* d) {
                    auto* printers = d->findChild<QComboBox*>(QStringLiteral("printers"));
                    ASSERT_NE(printers, nullptr);
                    printers->setCurrentIndex(printers->count() - 1);  // the PDF file comes last
                    auto* name = d->findChild<QLineEdit*>(QStringLiteral("filename"));
                    ASSERT_NE(name, nullptr);
                    // The ledger that is not there yet: no overwrite question comes first.
                    name->setText(QString::fromStdString(file("kounyu.csv").string()));
                    static_cast<QDialog*>(d)->accept();
                },
                "QPrintDialog");
            print->trigger();
            if (dialog->isVisible()) dialog->reject();
        },
        "QPrintPreviewDialog");
    popupChoices = {QStringLiteral("pmnupreview")};
    press("MSFlexGrid1", Qt::RightButton, 1, 1);
    EXPECT_TRUE(preview.worked());
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, platform::kDataFileRefusal);
    EXPECT_FALSE(fs::exists(file("kounyu.csv")));
}

}  // namespace
}  // namespace kazuban::testing
