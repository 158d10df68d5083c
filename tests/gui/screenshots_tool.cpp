// The tool that takes the pictures of the window on the demo data (run by
// scripts/screenshots.sh, never by ctest). KAZUBAN_SCREENSHOT_DIR names the
// folder for the documentation's pictures (every tab, the settings dialog, the
// right-click menu over a generated batch, at a window size of a desktop; and
// the window as it opens at 200 % on a 1920 x 1080 screen, taken when the tool
// runs with QT_SCALE_FACTOR=2); KAZUBAN_SCREENSHOT_AUDIT_DIR the folder for
// pictures that check the layout (scrolled grids, the progress bar half-way
// through the back-test, the odds of a full table, the Japanese dialogs, the
// print preview and its PDF). A set whose folder is not named is not taken.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>

#include "app/import_page.h"
#include "history/import.h"
#include "loopback_server.h"
#include "modal.h"
#include "platform/line_file.h"
#include "support/bank_files.h"
#include "ui/design_tab.h"
#include "ui/flex_grid.h"
#include "ui/ledger_tab.h"
#include "ui/print_preview.h"
#include "ui/window_geometry.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

void save(const QPixmap& picture, const QString& folder, const QString& name) {
    ASSERT_FALSE(picture.isNull());
    ASSERT_TRUE(picture.save(folder + QLatin1Char('/') + name)) << name.toStdString();
}

void save(QWidget* widget, const QString& folder, const QString& name) {
    QApplication::processEvents();
    save(widget->grab(), folder, name);
}

class Screenshots : public WindowTest {
protected:
    // The settings dialog lists the folders down to the start-up folder, so
    // the pictures are taken in a folder of a fixed name rather than in the
    // random test folder: the same pictures come out at every run.
    void useFixedFolder() {
        root = QDir::temp().filePath(QStringLiteral("kazuban-screenshots"));
        QDir(root).removeRecursively();
        home = QDir(root).filePath(QStringLiteral("Kazuban"));
        ASSERT_TRUE(QDir().mkpath(home));
        for (const char* name : {"atarimgrp.txt", "Kazuban.ini", "sample_combos.txt"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(KAZUBAN_DEMO_DIR "/") + QLatin1String(name),
                                    QDir(home).filePath(QLatin1String(name))));
        ASSERT_TRUE(QDir::setCurrent(home));
    }
    void TearDown() override {
        WindowTest::TearDown();
        if (!root.isEmpty()) QDir(root).removeRecursively();
    }
    void loadSample() {
        platform.openAnswers.push_back(QDir(home).filePath(QStringLiteral("sample_combos.txt")).toStdString());
        trigger(QStringLiteral("mnudopen"));
    }
    ui::FlexGrid* grid(const char* name) { return find<ui::FlexGrid>(QLatin1String(name)); }
    // Made-up dates and payouts for every demo draw, in the common
    // full-history layout, merged through ◇当選番号 → 取り込み….
    void importDemoPayouts() {
        std::string csv =
            "開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,BONUS数字,1等口数,2等口数,3等口数,4等口数,"
            "1等賞金,2等賞金,3等賞金,4等賞金\r\n";
        const history::DrawHistory& h = form->state().history;
        for (int n = 1; n <= h.maxn(); ++n) {
            if (!h.isValidDraw(n)) continue;
            const auto& d = h.numbers[static_cast<std::size_t>(n)];
            const int day = n % 28 + 1, month = n % 12 + 1, year = 1999 + n * 26 / 1400;
            csv += std::to_string(n) + "," + std::to_string(year) + "/" + std::to_string(month) + "/" +
                   std::to_string(day);
            for (int v : d) csv += "," + std::to_string(v);
            const int first = n % 3;
            csv += "," + std::to_string(first) + "," + std::to_string(2 + n % 9) + "," + std::to_string(100 + n % 80) +
                   "," + std::to_string(3000 + n % 1500) + "," +
                   std::to_string(first == 0 ? 0 : 8'000'000 + (n * 7919) % 4'000'000 / 100 * 100) + "," +
                   std::to_string(100'000 + (n * 104'729) % 100'000 / 100 * 100) + "," +
                   std::to_string(8'000 + (n * 131) % 4'000 / 100 * 100) + "," + std::to_string(800 + n % 5 * 100) +
                   "\r\n";
        }
        const QString file = QDir(home).filePath(QStringLiteral("miniloto.csv"));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QByteArray::fromStdString(platform::encodeCp932(csv)));
        out.close();
        platform.answers = {platform::kOk};
        platform.openManyAnswers = {{file.toStdString()}};
        trigger(QStringLiteral("mnuatorikomi"));
    }
    void click(const char* gridName, int row, int col) {
        auto* g = grid(gridName);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->cellRect(row, col).center());
    }
    // The tab 組合せ設計 with its search run to the end: a wheel on `numbers`
    // (P = 3), or the best `tickets` tickets when `numbers` is empty.
    void runDesign(const std::vector<int>& numbers, int tickets) {
        selectTab(app::kTabDesign);
        if (!numbers.empty()) find<QAbstractButton>(QStringLiteral("designModeWheel"))->click();
        find<QSpinBox>(QStringLiteral("designTickets"))->setValue(tickets);
        for (int v : numbers) find<QAbstractButton>(QStringLiteral("designNumber%1").arg(v))->click();
        find<QAbstractButton>(QStringLiteral("designRun"))->click();
        auto* tab = find<ui::DesignTab>(QStringLiteral("designTab"));
        ASSERT_TRUE(QTest::qWaitFor([tab] { return !tab->searching(); }, 600000));
    }
    QString root, home;
};

TEST_F(Screenshots, EveryTabTheSettingsDialogAndThePopupMenu) {
    const QString folder = qEnvironmentVariable("KAZUBAN_SCREENSHOT_DIR");
    if (folder.isEmpty() || QGuiApplication::primaryScreen()->devicePixelRatio() != 1) return;
    useFixedFolder();
    ASSERT_TRUE(start());
    window->resize(1280, 800);

    // A generated batch of ten, rows 3 to 5 selected, the right-click menu open.
    platform.seed(20240601);
    trigger(QStringLiteral("mnu10mk"));
    auto* g = grid("MSFlexGrid1");
    QTest::mousePress(g->viewport(), Qt::LeftButton, {}, g->cellRect(3, 1).center());
    QTest::mouseMove(g->viewport(), g->cellRect(5, 1).center());
    QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, g->cellRect(5, 1).center());
    QApplication::processEvents();
    QMenu* menu = find<QMenu>(QStringLiteral("pmnupopup"));
    const QPoint at = g->viewport()->mapTo(window.get(), g->cellRect(5, 1).center());
    menu->popup(window->mapToGlobal(at));
    QApplication::processEvents();
    QPixmap picture = window->grab();
    {
        QPainter p(&picture);
        p.drawPixmap(at, menu->grab());
    }
    menu->hide();
    save(picture, folder, QStringLiteral("popup.png"));

    platform.answers = {platform::kYes};
    loadSample();
    click("MSFlexGrid1", 1, 1);
    save(window.get(), folder, QStringLiteral("tab0.png"));

    selectTab(1);
    save(window.get(), folder, QStringLiteral("tab1.png"));

    selectTab(2);
    click("MSFlexGrid3", 3, 1);
    save(window.get(), folder, QStringLiteral("tab2.png"));

    selectTab(3);
    QTest::mouseClick(find<QWidget>(QStringLiteral("Option1_1")), Qt::LeftButton);
    save(window.get(), folder, QStringLiteral("tab3.png"));

    selectTab(4);
    save(window.get(), folder, QStringLiteral("tab4.png"));

    selectTab(5);
    save(window.get(), folder, QStringLiteral("tab5.png"));

    // "統計グラフ": the frequency over all draws.
    find<QTabWidget>(QStringLiteral("SSTab1"))->setCurrentWidget(find<QWidget>(QStringLiteral("StatsTab")));
    save(window.get(), folder, QStringLiteral("stats.png"));
    auto* analyses = find<QComboBox>(QStringLiteral("ComboAnalysis"));
    analyses->setCurrentIndex(analyses->count() - 1);  // すべての検定
    save(window.get(), folder, QStringLiteral("stats-tests.png"));
    analyses->setCurrentIndex(0);

    // 組合せ設計: a wheel on twelve numbers.
    runDesign({3, 5, 8, 11, 14, 17, 19, 22, 24, 27, 29, 31}, 10);
    save(window.get(), folder, QStringLiteral("design.png"));

    // The entry form of a new draw, half filled in: OK waits for the bonus number.
    {
        WhenModal fill(
            [&](QWidget* dialog) {
                const char* typed[5] = {"30", "9", "22", "13", "2"};
                for (int k = 0; k < 5; ++k)
                    dialog->findChild<QLineEdit*>(QStringLiteral("TextMain_%1").arg(k))
                        ->setText(QString::fromLatin1(typed[k]));
                save(dialog, folder, QStringLiteral("draw-entry.png"));
                dialog->close();
            },
            "kazuban::ui::DrawEntryDialog");
        trigger(QStringLiteral("mnuanyuryoku"));
        EXPECT_TRUE(fill.worked());
    }

    openSettings([&](ui::SettingsDialog& dialog) {
        dialog.show();
        save(&dialog, folder, QStringLiteral("settings.png"));
        dialog.reject();
    });

    // "実際の払戻金での検証" once the payouts are there.
    importDemoPayouts();
    selectTab(5);
    find<QTabWidget>(QStringLiteral("backtestViews"))->setCurrentIndex(1);
    save(window.get(), folder, QStringLiteral("payout.png"));
}

// 購入記録: this week's tickets added from the table, the draw entered, a
// prize marked as received; at 100 % (and at 200 % into the audit folder).
TEST_F(Screenshots, TheLedgerWithItsWinsAndDeadlines) {
    const QString folder = qEnvironmentVariable("KAZUBAN_SCREENSHOT_DIR");
    const QString audit = qEnvironmentVariable("KAZUBAN_SCREENSHOT_AUDIT_DIR");
    const bool at200 = QGuiApplication::primaryScreen()->devicePixelRatio() == 2;
    if ((at200 ? audit : folder).isEmpty()) return;
    useFixedFolder();
    ASSERT_TRUE(start());
    if (!at200) window->resize(1280, 800);
    form->ledger().setClock([] { return 20261201; });  // two weeks before the deadline of draw 1401
    importDemoPayouts();
    loadSample();
    // Earlier weeks: the first five rows for the ten draws before the latest.
    auto addRows = [&](int last, int firstDraw, int draws, int units, QDate bought, const char* picture) {
        WhenModal add(
            [&](QWidget* dialog) {
                dialog->findChild<QSpinBox*>(QStringLiteral("ledgerFirstDraw"))->setValue(firstDraw);
                dialog->findChild<QSpinBox*>(QStringLiteral("ledgerDraws"))->setValue(draws);
                dialog->findChild<QSpinBox*>(QStringLiteral("ledgerUnits"))->setValue(units);
                dialog->findChild<QDateEdit*>(QStringLiteral("ledgerPurchaseDate"))->setDate(bought);
                if (picture) save(dialog, at200 ? audit : folder, QLatin1String(picture));
                static_cast<QDialog*>(dialog)->accept();
            },
            "kazuban::ui::LedgerAddDialog");
        ui::addTableRowsToLedger(*form, 1, last, window.get());
        EXPECT_TRUE(add.worked());
    };
    addRows(5, 1391, 10, 1, QDate(2024, 7, 20), nullptr);
    addRows(3, 1401, 2, 2, QDate(2025, 12, 15), "ledger-add.png");
    {
        WhenModal enter(
            [](QWidget* dialog) {
                const char* numbers[] = {"5", "11", "13", "21", "30", "2"};
                for (int k = 0; k < 6; ++k)
                    dialog
                        ->findChild<QLineEdit*>(k < 5 ? QStringLiteral("TextMain_%1").arg(k)
                                                      : QStringLiteral("TextBonus"))
                        ->setText(QString::fromLatin1(numbers[k]));
                dialog->findChild<QLineEdit*>(QStringLiteral("TextDate"))->setText(QStringLiteral("2025/12/16"));
                const char* prizes[] = {"11000000", "560000", "12800", "1000"};
                for (int g = 0; g < 4; ++g)
                    dialog->findChild<QLineEdit*>(QStringLiteral("TextPrize_%1").arg(g))
                        ->setText(QString::fromLatin1(prizes[g]));
                static_cast<QDialog*>(dialog)->accept();
            },
            "kazuban::ui::DrawEntryDialog");
        platform.answers = {platform::kOk, platform::kOk};
        trigger(QStringLiteral("mnuanyuryoku"));
        EXPECT_TRUE(enter.worked());
    }
    selectTab(app::kTabLedger);
    auto* list = find<QTableView>(QStringLiteral("ledgerList"));
    list->sortByColumn(0, Qt::DescendingOrder);
    list->selectRow(0);
    save(window.get(), at200 ? audit : folder, QLatin1String(at200 ? "ledger-200.png" : "ledger.png"));
}

TEST_F(Screenshots, TheWindowAsItOpensAt200Percent) {
    const QString folder = qEnvironmentVariable("KAZUBAN_SCREENSHOT_DIR");
    if (folder.isEmpty() || QGuiApplication::primaryScreen()->devicePixelRatio() != 2) return;
    useFixedFolder();
    ASSERT_TRUE(start());
    window->hide();
    ui::showWithRememberedGeometry(*window);
    loadSample();
    click("MSFlexGrid1", 1, 1);
    save(window.get(), folder, QStringLiteral("window-200.png"));
    selectTab(2);
    click("MSFlexGrid3", 3, 1);
    save(window.get(), folder, QStringLiteral("tab2-200.png"));
    // The layout checks: the odds tab and the print preview as they open.
    const QString audit = qEnvironmentVariable("KAZUBAN_SCREENSHOT_AUDIT_DIR");
    if (audit.isEmpty()) return;
    selectTab(5);
    save(window.get(), audit, QStringLiteral("tab5-200.png"));
    runDesign({}, 10);
    save(window.get(), audit, QStringLiteral("design-200.png"));
    selectTab(0);
    WhenModal shot(
        [&](QWidget* w) {
            QTest::qWait(200);
            save(w, audit, QStringLiteral("print-preview-200.png"));
            static_cast<QDialog*>(w)->reject();
        },
        "QPrintPreviewDialog");
    platform.previewForReal = true;
    popupChoices = {QStringLiteral("pmnupreview")};
    auto* g = grid("MSFlexGrid1");
    QTest::mouseClick(g->viewport(), Qt::RightButton, {}, g->cellRect(1, 1).center());
}

// The layout checks of the files used last, the cell editor, the status
// bar, the yen back-test at the opening size and the file dialog, at the
// scale the tool runs at.
TEST_F(Screenshots, TheRecentFilesTheCellEditorAndTheYenAtTheOpeningSize) {
    const QString audit = qEnvironmentVariable("KAZUBAN_SCREENSHOT_AUDIT_DIR");
    if (audit.isEmpty()) return;
    const QString scale = QGuiApplication::primaryScreen()->devicePixelRatio() == 2 ? QStringLiteral("-200")
                                                                                    : QStringLiteral("-100");
    useFixedFolder();
    ASSERT_TRUE(start());
    window->hide();
    ui::showWithRememberedGeometry(*window);
    loadSample();
    platform.saveAnswers = {QDir(home).filePath(QStringLiteral("今週の組合せ.txt")).toStdString()};
    trigger(QStringLiteral("mnudsave"));
    auto* g = grid("MSFlexGrid1");
    click("MSFlexGrid1", 2, 1);
    g->editCell(2, 1);
    save(window.get(), audit, QStringLiteral("cell-editor") + scale + QStringLiteral(".png"));
    QTest::keyClick(g->cellEditor(), Qt::Key_Escape);
    auto* recent = find<QMenu>(QStringLiteral("mnurecent"));
    recent->popup(window->mapToGlobal(QPoint(40, 40)));
    QApplication::processEvents();
    save(recent, audit, QStringLiteral("recent-files") + scale + QStringLiteral(".png"));
    recent->hide();
    importDemoPayouts();
    selectTab(app::kTabOdds);
    find<QTabWidget>(QStringLiteral("backtestViews"))->setCurrentIndex(1);
    save(window.get(), audit, QStringLiteral("yen-opening") + scale + QStringLiteral(".png"));
    WhenModal shot(
        [&](QWidget* w) {
            QTest::qWait(300);
            save(w, audit, QStringLiteral("file-dialog") + scale + QStringLiteral(".png"));
            static_cast<QDialog*>(w)->reject();
        },
        "QFileDialog");
    ui::QtPlatform real;
    platform::FileDialogOptions options;
    options.initialFolder = home.toStdString();
    EXPECT_FALSE(real.openFileDialog(options));
}

TEST_F(Screenshots, ScrolledGridsAndTheProgressBar) {
    const QString folder = qEnvironmentVariable("KAZUBAN_SCREENSHOT_AUDIT_DIR");
    if (folder.isEmpty()) return;
    useFixedFolder();
    ASSERT_TRUE(start());
    loadSample();
    auto scrollAll = [&](const char* name) {
        auto* g = grid(name);
        g->horizontalScrollBar()->setValue(g->horizontalScrollBar()->maximum() / 2);
        g->verticalScrollBar()->setValue(g->verticalScrollBar()->maximum());
    };
    scrollAll("MSFlexGrid1");
    save(window.get(), folder, QStringLiteral("scrolled-tab0.png"));
    selectTab(1);
    scrollAll("MSFlexGrid2");
    save(window.get(), folder, QStringLiteral("scrolled-tab1.png"));
    selectTab(2);
    scrollAll("MSFlexGrid3");
    save(window.get(), folder, QStringLiteral("scrolled-tab2.png"));

    bool grabbed = false;
    platform.onProgress = [&](int value) {
        if (grabbed || value < 700) return;
        grabbed = true;
        save(window.get(), folder, QStringLiteral("progress-tab4.png"));
    };
    selectTab(4);
    platform.onProgress = nullptr;
    EXPECT_TRUE(grabbed);
    scrollAll("MSFlexGrid5");
    save(window.get(), folder, QStringLiteral("scrolled-tab4.png"));
    save(find<QWidget>(QStringLiteral("Picture1")), folder, QStringLiteral("picture1.png"));

    // The odds tab on the largest table: 1000 rows (the sample repeated).
    selectTab(0);
    std::vector<std::string> rows;
    for (int r = 1; r <= 30; ++r) rows.push_back(form->combinationTable().cell(r, 1));
    for (int r = 31; r <= 1000; ++r)
        form->combinationTable().setCell(r, 1, rows[static_cast<std::size_t>((r - 1) % 30)]);
    selectTab(5);
    save(window.get(), folder, QStringLiteral("odds-1000.png"));
}

// 組合せ設計 at the window's smallest size: its settings, the search under
// way with its best so far, and a wheel's result.
TEST_F(Screenshots, TheDesignTabAtItsSmallest) {
    const QString folder = qEnvironmentVariable("KAZUBAN_SCREENSHOT_AUDIT_DIR");
    if (folder.isEmpty()) return;
    useFixedFolder();
    ASSERT_TRUE(start());
    window->resize(window->minimumSizeHint());
    selectTab(app::kTabDesign);
    find<QAbstractButton>(QStringLiteral("designMarkExclude"))->click();
    for (int v : {4, 13, 31}) find<QAbstractButton>(QStringLiteral("designNumber%1").arg(v))->click();
    find<QSpinBox>(QStringLiteral("designTickets"))->setValue(100);
    find<QSpinBox>(QStringLiteral("designEffort"))->setValue(20);
    find<QAbstractButton>(QStringLiteral("designRun"))->click();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return find<QLabel>(QStringLiteral("designProgressText"))->text().contains(QStringLiteral("最良")); },
        60000));
    QTest::qWait(1500);
    save(window.get(), folder, QStringLiteral("design-running.png"));
    find<QAbstractButton>(QStringLiteral("designCancel"))->click();
    auto* tab = find<ui::DesignTab>(QStringLiteral("designTab"));
    ASSERT_TRUE(QTest::qWaitFor([tab] { return !tab->searching(); }, 60000));
    save(window.get(), folder, QStringLiteral("design-cancelled.png"));
    find<QAbstractButton>(QStringLiteral("designPadClear"))->click();
    find<QSpinBox>(QStringLiteral("designEffort"))->setValue(1);
    runDesign({1, 2, 3, 4, 5, 6, 7, 8, 9}, 10);
    save(window.get(), folder, QStringLiteral("design-min.png"));

    // 人気の組合せを避ける with a limit, on the published winner counts.
    writePublishedPayouts(home);
    restart();
    window->resize(window->minimumSizeHint());
    selectTab(app::kTabDesign);
    find<QAbstractButton>(QStringLiteral("designAvoidPopular"))->click();
    find<QAbstractButton>(QStringLiteral("designPopularLimitOn"))->click();
    runDesign({}, 10);
    save(window.get(), folder, QStringLiteral("design-popular.png"));
}

TEST_F(Screenshots, TheEntryFormTheImportQuestionTheFetchAndTheYen) {
    const QString folder = qEnvironmentVariable("KAZUBAN_SCREENSHOT_AUDIT_DIR");
    if (folder.isEmpty()) return;
    useFixedFolder();
    ASSERT_TRUE(start());
    loadSample();
    {
        WhenModal fill(
            [&](QWidget* dialog) {
                const char* fields[][2] = {{"TextMain_0", "3"},       {"TextMain_1", "9"},
                                           {"TextMain_2", "14"},      {"TextMain_3", "22"},
                                           {"TextMain_4", "30"},      {"TextBonus", "17"},
                                           {"TextDate", "2024/6/11"}, {"TextWinners_0", "該当なし"},
                                           {"TextWinners_1", "3"},    {"TextPrize_1", "1,5OO"}};
                for (const auto& [name, text] : fields)
                    dialog->findChild<QLineEdit*>(QLatin1String(name))->setText(QString::fromUtf8(text));
                save(dialog, folder, QStringLiteral("draw-entry-payouts.png"));
                dialog->close();
            },
            "kazuban::ui::DrawEntryDialog");
        trigger(QStringLiteral("mnuanyuryoku"));
        EXPECT_TRUE(fill.worked());
    }

    // The question before writing, as the real message box asks it.
    BankDraw next{1401, {3, 9, 14, 22, 30, 17}};
    const history::ImportPlan plan =
        history::planImport(form->state().historyFile(), {{"A1011401.CSV", platform::encodeCp932(bankBlock(next))}});
    ui::QtPlatform real;
    real.setHost(window.get());
    {
        WhenModal shot(
            [&](QWidget* w) {
                save(w, folder, QStringLiteral("import-question.png"));
                static_cast<QDialog*>(w)->reject();
            },
            "QMessageBox");
        real.messageBox(history::importPreviewText(plan) + "\n" + app::importQuestion(plan), platform::Icon::None,
                        platform::Buttons::OkCancel);
    }

    // The fetch under way, waiting for the index.
    LoopbackServer server;
    server.replies[QStringLiteral("/name.txt")] = {200, {}, true};
    form->state().resultsIndexUrl = server.url("/name.txt");
    form->state().resultsFolderUrl = server.url("/csv/");
    {
        WhenModal shot(
            [&](QWidget* w) {
                QTest::qWait(300);
                save(w, folder, QStringLiteral("fetch-progress.png"));
                static_cast<QDialog*>(w)->reject();
            },
            "kazuban::ui::DownloadDialog");
        trigger(QStringLiteral("mnuasaishin"));
        EXPECT_TRUE(shot.worked());
    }

    selectTab(5);
    find<QTabWidget>(QStringLiteral("backtestViews"))->setCurrentIndex(1);
    save(window.get(), folder, QStringLiteral("payout-none.png"));
    importDemoPayouts();
    save(window.get(), folder, QStringLiteral("payout-tab5.png"));
    openSettings([&](ui::SettingsDialog& dialog) {
        dialog.show();
        save(&dialog, folder, QStringLiteral("settings-urls.png"));
        dialog.reject();
    });
}

TEST_F(Screenshots, EveryAnalysisOfTheStatsTab) {
    const QString folder = qEnvironmentVariable("KAZUBAN_SCREENSHOT_AUDIT_DIR");
    if (folder.isEmpty()) GTEST_SKIP() << "KAZUBAN_SCREENSHOT_AUDIT_DIR not set";
    useFixedFolder();
    ASSERT_TRUE(start());
    find<QTabWidget>(QStringLiteral("SSTab1"))->setCurrentWidget(find<QWidget>(QStringLiteral("StatsTab")));
    auto* analyses = find<QComboBox>(QStringLiteral("ComboAnalysis"));
    find<QComboBox>(QStringLiteral("ComboWindow"))->setCurrentIndex(4);  // the last 100 draws
    for (int a = 0; a < analyses->count(); ++a) {
        analyses->setCurrentIndex(a);
        save(window.get(), folder, QStringLiteral("stats-%1.png").arg(a));
    }
}

TEST_F(Screenshots, JapaneseDialogsThePrintPreviewAndItsPdf) {
    const QString folder = qEnvironmentVariable("KAZUBAN_SCREENSHOT_AUDIT_DIR");
    if (folder.isEmpty()) return;
    useFixedFolder();
    ASSERT_TRUE(start());
    loadSample();
    ui::QtPlatform real;
    real.setHost(window.get());
    {
        WhenModal shot(
            [&](QWidget* w) {
                save(w, folder, QStringLiteral("question.png"));
                static_cast<QDialog*>(w)->reject();
            },
            "QMessageBox");
        real.messageBox("ﾃﾞｰﾀを消去しますか？\r\n    は　い(Y) : 全て消去\r\n    いいえ(N) : 現ﾃﾞｰﾀに追加",
                        platform::Icon::Exclamation, platform::Buttons::YesNoCancel);
    }
    {
        WhenModal shot(
            [&](QWidget* w) {
                save(w, folder, QStringLiteral("open-dialog.png"));
                static_cast<QDialog*>(w)->reject();
            },
            "QFileDialog");
        real.openFileDialog({"ﾃｷｽﾄ(*.txt)|*.txt|全て|*.*", "txt", home.toStdString(), false});
    }
    selectTab(4);
    for (const auto& [gridName, entry, name] :
         {std::tuple{"MSFlexGrid1", "pmnupreview", "print-tab0"}, {"MSFlexGrid5", "pmnupreview3", "print-tab4"}}) {
        if (QString::fromLatin1(gridName) == QStringLiteral("MSFlexGrid1")) selectTab(0);
        else selectTab(4);
        popupChoices = {QString::fromLatin1(entry)};
        auto* g = grid(gridName);
        QTest::mouseClick(g->viewport(), Qt::RightButton, {}, g->cellRect(1, 1).center());
        ASSERT_FALSE(platform.previews.empty());
        QPrinter printer(QPrinter::HighResolution);
        ui::setUpPrinter(printer, platform.previews.back());
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".pdf"));
        ui::PrintLayout(platform.previews.back(), QDate(2024, 6, 1)).paint(printer);
    }
    WhenModal shot(
        [&](QWidget* w) {
            w->resize(900, 700);
            QTest::qWait(200);
            save(w, folder, QStringLiteral("print-preview.png"));
            static_cast<QDialog*>(w)->reject();
        },
        "QPrintPreviewDialog");
    ui::execPrintPreview(window.get(), platform.previews.back());
}

// The odds tab's chart of 人気と払戻金 at the opening size, for the layout
// check at the scale the tool runs at.
TEST_F(Screenshots, ThePopularityChartAtTheOpeningSize) {
    const QString audit = qEnvironmentVariable("KAZUBAN_SCREENSHOT_AUDIT_DIR");
    if (audit.isEmpty()) return;
    const QString scale = QGuiApplication::primaryScreen()->devicePixelRatio() == 2 ? QStringLiteral("-200")
                                                                                    : QStringLiteral("-100");
    useFixedFolder();
    ASSERT_TRUE(start());
    window->hide();
    ui::showWithRememberedGeometry(*window);
    loadSample();
    selectTab(5);
    find<QTabWidget>(QStringLiteral("backtestViews"))->setCurrentIndex(2);
    QApplication::processEvents();
    save(window.get(), audit, QStringLiteral("popularity") + scale + QStringLiteral(".png"));
}

}  // namespace
}  // namespace kazuban::testing
