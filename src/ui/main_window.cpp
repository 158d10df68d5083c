#include "ui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "text/path_text.h"
#include "ui/change_relay.h"
#include "ui/design_tab.h"
#include "ui/draw_frame_box.h"
#include "ui/ledger_tab.h"
#include "ui/links_tab.h"
#include "ui/look.h"
#include "ui/marksheet_tab.h"
#include "ui/menus.h"
#include "ui/odds_tab.h"
#include "ui/predraw_tab.h"
#include "ui/remembered.h"
#include "ui/result_urls.h"
#include "ui/settings_dialog.h"
#include "ui/stats_tab.h"
#include "ui/totals_tab.h"
#include "ui/window_geometry.h"
#include "ui/wins_tab.h"

namespace kazuban::ui {

MainWindow::MainWindow(app::Form1& form, QtPlatform& platform, QWidget* parent)
    : QMainWindow(parent), form_(form), platform_(platform) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kazuban"));
    platform_.setHost(this);
    const ResultUrls urls = loadResultUrls();
    form_.state().resultsIndexUrl = urls.index;
    form_.state().resultsFolderUrl = urls.folder;
    form_.state().recentFiles.set(loadRecentFiles());
    recentShown_ = form_.state().recentFiles.revision();
    buildMenus();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    frame_ = new DrawFrameBox(form_, central);
    layout->addWidget(frame_);

    tabs_ = new QTabWidget(central);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    winsTab_ = new WinsTab(form_);
    totalsTab_ = new TotalsTab(form_);
    markSheetTab_ = new MarkSheetTab(form_);
    linksTab_ = new LinksTab(form_);
    predrawTab_ = new PredrawTab(form_);
    oddsTab_ = new OddsTab(form_);
    statsTab_ = new StatsTab(form_);
    designTab_ = new DesignTab(form_);
    tabs_->insertTab(app::kTabWins, winsTab_, QStringLiteral("当 選 回 数"));
    tabs_->insertTab(app::kTabTotals, totalsTab_, QStringLiteral("合計・奇数偶数・分布 等"));
    tabs_->insertTab(app::kTabMarkSheet, markSheetTab_, QStringLiteral("マークシート図"));
    tabs_->insertTab(app::kTabLinks, linksTab_, QStringLiteral("ネット利用分析"));
    tabs_->insertTab(app::kTabPredraw, predrawTab_, QStringLiteral("当選番号直前分析"));
    tabs_->insertTab(app::kTabOdds, oddsTab_, QStringLiteral("確率・検証"));
    tabs_->insertTab(app::kTabCharts, statsTab_, QStringLiteral("統計グラフ"));
    tabs_->insertTab(app::kTabDesign, designTab_, QStringLiteral("組合せ設計"));
    ledgerTab_ = new LedgerTab(form_);
    tabs_->insertTab(app::kTabLedger, ledgerTab_, QStringLiteral("購入記録"));
    layout->addWidget(tabs_, 1);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) { form_.SSTab1_Click(index); });
    setCentralWidget(central);
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    statusBar()->setSizeGripEnabled(false);

    // Ctrl+Tab and Ctrl+Shift+Tab move between the tabs whichever part of a
    // tab has the keyboard: the tables of a tab would take the keys first.
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    connect(next, &QShortcut::activated, this, [this] { stepTab(1); });
    auto* previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), this);
    connect(previous, &QShortcut::activated, this, [this] { stepTab(-1); });

    // The ledger's deadlines where the player sees them at start-up; the bar
    // is there only while it has something to say.
    ledgerStatus_ = new QLabel(this);
    ledgerStatus_->setObjectName(QStringLiteral("ledgerStatus"));
    statusBar()->addPermanentWidget(ledgerStatus_);
    statusBar()->hide();

    relay_ = new ChangeRelay(form_.runner(), this);
    connect(relay_, &ChangeRelay::stateChanged, this, &MainWindow::stateChanged);
    resize(openingWindowSize(*this));
    stateChanged(app::Changes{});
}

MainWindow::~MainWindow() {
    // The relay leaves the runner before the tabs it feeds are gone.
    delete relay_;
    if (platform_.host() == this) platform_.setHost(nullptr);
}

void MainWindow::buildMenus() {
    app::Form1& f = form_;
    QMenuBar* bar = menuBar();
    auto topMenu = [&](const char* name, const char* caption) {
        QMenu* m = bar->addMenu(QString::fromUtf8(caption));
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return m;
    };
    QMenu* file = topMenu("mnufile", "◇ファイル");
    addEntry(file, "mnudopen", "呼出し", [&f] { f.mnudopen_Click(); });
    addEntry(file, "mnudsave", "保存", [&f] { f.mnudsave_Click(); });
    recentMenu_ = addSubMenu(file, "mnurecent", "最近使ったファイル");
    updateRecentFiles();
    addSeparator(file, "mnukugiri1");
    addEntry(file, "mnufclose", "終了", [&f] { f.mnufclose_Click(); });

    QMenu* edit = topMenu("mnuedit", "◇編集");
    undoAction_ = addEntry(edit, "mnuundo", "元に戻す", [&f] { f.mnuundo_Click(); });
    undoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction_ = addEntry(edit, "mnuredo", "やり直し", [&f] { f.mnuredo_Click(); });
    redoAction_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});

    QMenu* draws = topMenu("mnutbango", "◇当選番号");
    addEntry(draws, "mnuatoroku", "登　録", [&f] { f.mnuatoroku_Click(); });
    addEntry(draws, "mnuanet", "ｵﾝﾗｲﾝ取得", [&f] { f.mnuanet_Click(); });
    addEntry(draws, "mnuanyuryoku", "入力…", [&f] { f.mnuanyuryoku_Click(); });
    addSeparator(draws, "mnukugiri2");
    addEntry(draws, "mnuatorikomi", "取り込み…", [&f] { f.mnuatorikomi_Click(); });
    addEntry(draws, "mnuasaishin", "最新結果を取得", [&f] { f.mnuasaishin_Click(); });

    QMenu* make = topMenu("mnudatamk", "◇簡易ﾃﾞｰﾀ作成");
    addEntry(make, "mnu10mk", "10個", [&f] { f.mnu10mk_Click(); });
    addEntry(make, "mnu5mk", "5個", [&f] { f.mnu5mk_Click(); });

    QMenu* settings = topMenu("mnuksettei", "◇環境");
    addEntry(settings, "mnuktoroku", "設定", [this] { openSettings(); });

    // The menu titles carry no mnemonics (their captions are fixed): Alt
    // alone reaches the bar through the style, and F10 opens the first menu,
    // as on the system the program was first written for; the arrows walk on.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, bar, [bar] {
        if (!bar->actions().isEmpty()) bar->setActiveAction(bar->actions().first());
    });
}

void MainWindow::updateRecentFiles() {
    const app::RecentFiles& recent = form_.state().recentFiles;
    if (recent.revision() != recentShown_) {
        recentShown_ = recent.revision();
        saveRecentFiles(recent.list());
    }
    // The entry chosen may be the one that changed the list: it goes once
    // its own signal has run.
    for (QAction* old : recentMenu_->actions()) {
        recentMenu_->removeAction(old);
        old->setObjectName(QString());
        old->deleteLater();
    }
    int k = 0;
    for (const std::filesystem::path& file : recent.list()) {
        const QString path = QString::fromStdString(text::utf8FromPath(file));
        QString shown =
            QFileInfo(path).fileName() + QStringLiteral("  （") + QFileInfo(path).absolutePath() + QStringLiteral("）");
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const QString name = QStringLiteral("mnurecent%1").arg(k + 1);
        const QString caption = QStringLiteral("&%1  ").arg(k + 1) + shown;
        QAction* a = addEntry(recentMenu_, name.toLatin1().constData(), "", [this, k] { form_.mnurecent_Click(k); });
        a->setText(caption);
        a->setToolTip(path);
        ++k;
    }
    recentMenu_->menuAction()->setEnabled(k > 0);
}

void MainWindow::stepTab(int step) {
    const int n = tabs_->count();
    if (n == 0) return;
    tabs_->setCurrentIndex((tabs_->currentIndex() + step + n) % n);
}

void MainWindow::openSettings() {
    auto dialog = createSettingsDialog();
    if (!dialog->finished()) dialog->exec();
}

std::unique_ptr<SettingsDialog> MainWindow::createSettingsDialog() {
    return std::make_unique<SettingsDialog>(form_, platform_, this);
}

void MainWindow::stateChanged(const app::Changes& changes) {
    (void)changes;  // every part compares its page's revisions and redraws only what changed
    // A command that ended early must not leave the hourglass or the bar behind.
    platform_.endBusy();
    platform_.hideProgress();
    // A command that moves to another tab (loading, generation) has already
    // brought that tab up to date: the switch must not run its entry steps again.
    const int tab = form_.state().SSTab1;
    if (tabs_->currentIndex() != tab && tab >= 0 && tab < tabs_->count()) {
        const QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(tab);
    }
    frame_->refresh();
    winsTab_->refresh();
    totalsTab_->refresh();
    markSheetTab_->refresh();
    linksTab_->refresh();
    predrawTab_->refresh();
    oddsTab_->refresh();
    statsTab_->refresh();
    designTab_->refresh();
    if (form_.state().recentFiles.revision() != recentShown_) updateRecentFiles();
    if (form_.state().statusRevision() != statusShown_) {
        statusShown_ = form_.state().statusRevision();
        statusBar()->showMessage(qs(form_.state().statusText()));
    }
    ledgerTab_->refresh();
    tabs_->setTabText(app::kTabLedger, ledgerTab_->caption());
    ledgerStatus_->setText(ledgerTab_->statusLine());
    statusBar()->setVisible(!ledgerStatus_->text().isEmpty() || !statusBar()->currentMessage().isEmpty());
    undoAction_->setEnabled(form_.state().undoHistory.canUndo());
    redoAction_->setEnabled(form_.state().undoHistory.canRedo());
    if (form_.closeRequested() && !closing_) {
        closing_ = true;
        close();
    }
}

QProgressBar* MainWindow::progressBar() { return frame_->progressBar(); }

void MainWindow::refreshGrids() {
    winsTab_->refresh();
    totalsTab_->refresh();
    markSheetTab_->refresh();
    predrawTab_->refresh();
}

QWidget* MainWindow::dialogParent() { return isVisible() ? this : nullptr; }

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closing_) {
        designTab_->stopSearch();
        if (isVisible()) saveWindowGeometry(*this);
        event->accept();
        return;
    }
    // A close while a command runs (the progress bar lets events through)
    // waits for the command to end.
    if (form_.runner().running()) {
        event->ignore();
        return;
    }
    // The title bar's close button asks the exit question like "終了".
    form_.mnufclose_Click();
    if (form_.closeRequested()) {
        closing_ = true;
        // A design search still running ends with the window.
        designTab_->stopSearch();
        if (isVisible()) saveWindowGeometry(*this);
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace kazuban::ui
