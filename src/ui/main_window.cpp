#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCursor>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "text/app_error.h"
#include "ui/flex_grid.h"
#include "ui/look.h"
#include "ui/marksheet_area.h"
#include "ui/odds_tab.h"
#include "ui/pictures.h"
#include "ui/settings_dialog.h"
#include "ui/stats_tab.h"
#include "ui/window_geometry.h"

namespace kazuban::ui {

namespace {

constexpr const char* kFrameCaption = " 当選番号 ： 右端は、ボーナス数字 ";
constexpr const char* kCountsCaption =
    "≪第　　　  　 回 ≫  ４等　  　　本，３等　  　本，２等　　　 本，１等 　　　本 ";
constexpr const char* kRightClickHint = "右ｸﾘｯｸ可";
constexpr const char* kMarkSheetNote =
    "（※）１段目はペア相性率、２段目はトリプル相性率、３段目は当選回数、４段目は最新当選回";

QString objName(const char* base, int index) {
    return QString::fromLatin1(base) + QLatin1Char('_') + QString::number(index);
}

// The line "≪第 … 回 ≫ ４等 … 本，…" with the draw number and the four
// prize counts laid over its blanks. The blanks are found in the caption
// itself, so the numbers sit right whatever font the system gives.
class DrawCountsLine : public QWidget {
public:
    DrawCountsLine(QLabel* caption, std::array<QLabel*, 5> values, QWidget* parent)
        : QWidget(parent), caption_(caption), values_(values) {
        caption_->setParent(this);
        for (QLabel* v : values_) {
            v->setParent(this);
            v->setAlignment(Qt::AlignCenter);
            v->raise();
        }
    }
    QSize sizeHint() const override { return caption_->sizeHint(); }
    QSize minimumSizeHint() const override { return caption_->sizeHint(); }

    void place() {
        const QString text = caption_->text();
        const QFontMetrics fm(caption_->font());
        caption_->setGeometry(0, 0, caption_->sizeHint().width(), height());
        const int left = caption_->contentsRect().left();
        // Blank run after `after` up to `before`, searched from `from`.
        auto blank = [&](const QString& after, const QString& before, qsizetype from, QLabel* label) {
            const qsizetype a = text.indexOf(after, from);
            if (a < 0) return from;
            const qsizetype start = a + after.size();
            const qsizetype end = text.indexOf(before, start);
            if (end < 0) return from;
            const int x0 = left + fm.horizontalAdvance(text.left(start));
            const int x1 = left + fm.horizontalAdvance(text.left(end));
            label->setGeometry(x0, 0, std::max(1, x1 - x0), height());
            return end;
        };
        qsizetype pos = blank(QStringLiteral("第"), QStringLiteral("回"), 0, values_[0]);
        pos = blank(QStringLiteral("４等"), QStringLiteral("本"), pos, values_[4]);
        pos = blank(QStringLiteral("３等"), QStringLiteral("本"), pos, values_[3]);
        pos = blank(QStringLiteral("２等"), QStringLiteral("本"), pos, values_[2]);
        blank(QStringLiteral("１等"), QStringLiteral("本"), pos, values_[1]);
    }

protected:
    void resizeEvent(QResizeEvent*) override { place(); }

private:
    QLabel* caption_;
    std::array<QLabel*, 5> values_;
};

}  // namespace

MainWindow::MainWindow(app::Form1& form, QtPlatform& platform, QWidget* parent)
    : QMainWindow(parent), form_(form), platform_(platform) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kazuban"));
    platform_.setHost(this);

    buildMenus();
    buildPopupMenus();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(buildWinningNumbersFrame());

    tabs_ = new QTabWidget(central);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    tabs_->addTab(buildWinsTab(), QStringLiteral("当 選 回 数"));
    tabs_->addTab(buildTotalsTab(), QStringLiteral("合計・奇数偶数・分布 等"));
    tabs_->addTab(buildMarkSheetTab(), QStringLiteral("マークシート図"));
    tabs_->addTab(buildLinksTab(), QStringLiteral("ネット利用分析"));
    tabs_->addTab(buildPredrawTab(), QStringLiteral("当選番号直前分析"));
    // The tabs beyond the classic five, at their own indexes.
    oddsTab_ = new OddsTab(form_, [this](const std::function<void()>& handler) { runHandler(handler); });
    tabs_->insertTab(app::kTabOdds, oddsTab_, QStringLiteral("確率・検証"));
    statsTab_ = new StatsTab(form_, platform_, tabs_);
    tabs_->insertTab(app::kTabCharts, statsTab_, QStringLiteral("統計グラフ"));
    layout->addWidget(tabs_, 1);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        form_.SSTab1 = index;
        // Selecting the tab recomputes it from the current history.
        if (tabs_->widget(index) == statsTab_) statsTab_->markStale();
        runHandler([this] { form_.SSTab1_Click(); });
    });
    setCentralWidget(central);
    resize(openingWindowSize(*this));
    refreshFromState();
}

MainWindow::~MainWindow() {
    if (platform_.host() == this) platform_.setHost(nullptr);
}

// ---- menus ------------------------------------------------------------------

QAction* MainWindow::addHandlerAction(QMenu* menu, const char* name, const char* caption,
                                      std::function<void()> handler) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] { runHandler(handler); });
    return action;
}

QAction* MainWindow::addSeparator(QMenu* menu, const char* name) {
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QString::fromLatin1(name));
    return separator;
}

QMenu* MainWindow::addSubMenu(QMenu* menu, const char* name, const char* caption) {
    QMenu* sub = menu->addMenu(QString::fromUtf8(caption));
    sub->setObjectName(QString::fromLatin1(name));
    sub->menuAction()->setObjectName(QString::fromLatin1(name));
    return sub;
}

void MainWindow::buildMenus() {
    auto& f = form_;
    QMenuBar* bar = menuBar();
    auto topMenu = [&](const char* name, const char* caption) {
        QMenu* m = bar->addMenu(QString::fromUtf8(caption));
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return m;
    };
    QMenu* file = topMenu("mnufile", "◇ファイル");
    addHandlerAction(file, "mnudopen", "呼出し", [&f] { f.mnudopen_Click(); });
    addHandlerAction(file, "mnudsave", "保存", [&f] { f.mnudsave_Click(); });
    addSeparator(file, "mnukugiri1");
    addHandlerAction(file, "mnufclose", "終了", [&f] { f.mnufclose_Click(); });

    QMenu* edit = topMenu("mnuedit", "◇編集");
    undoAction_ = addHandlerAction(edit, "mnuundo", "元に戻す", [&f] { f.mnuundo_Click(); });
    undoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction_ = addHandlerAction(edit, "mnuredo", "やり直し", [&f] { f.mnuredo_Click(); });
    redoAction_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});

    QMenu* draws = topMenu("mnutbango", "◇当選番号");
    addHandlerAction(draws, "mnuatoroku", "登　録", [&f] { f.mnuatoroku_Click(); });
    addHandlerAction(draws, "mnuanet", "ｵﾝﾗｲﾝ取得", [&f] { f.mnuanet_Click(); });
    addHandlerAction(draws, "mnuanyuryoku", "入力…", [&f] { f.mnuanyuryoku_Click(); });

    QMenu* make = topMenu("mnudatamk", "◇簡易ﾃﾞｰﾀ作成");
    addHandlerAction(make, "mnu10mk", "10個", [&f] { f.mnu10mk_Click(); });
    addHandlerAction(make, "mnu5mk", "5個", [&f] { f.mnu5mk_Click(); });

    QMenu* settings = topMenu("mnuksettei", "◇環境");
    addHandlerAction(settings, "mnuktoroku", "設定", [&f] { f.mnuktoroku_Click(); });

    // The menu titles carry no mnemonics (their captions are fixed): Alt
    // alone reaches the bar through the style, and F10 opens the first menu,
    // as on the system the program was first written for; the arrows walk on.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, bar, [bar] {
        if (!bar->actions().isEmpty()) bar->setActiveAction(bar->actions().first());
    });
}

void MainWindow::buildPopupMenus() {
    auto& f = form_;
    popup1_ = new QMenu(this);
    popup1_->setObjectName(QStringLiteral("pmnupopup"));
    addHandlerAction(popup1_, "pmnucopy", "ｺﾋﾟｰ", [&f] { f.pmnucopy_click(); });
    addSeparator(popup1_, "kugiri1");
    addHandlerAction(popup1_, "pmnupaste", "貼付", [&f] { f.pmnupaste_click(); });
    addSeparator(popup1_, "kugiri2");
    addHandlerAction(popup1_, "pmnudelete", "削除", [&f] { f.pmnudelete_click(); });
    addSeparator(popup1_, "kugiri3");
    addHandlerAction(popup1_, "pmnusave", "保存", [&f] { f.pmnusave_click(); });
    addSeparator(popup1_, "kugiri4");
    addHandlerAction(popup1_, "pmnuprt", "印刷", [&f] { f.pmnuprt_click(); });
    addSeparator(popup1_, "kugiri5");
    addHandlerAction(popup1_, "pmnucancell", "ｷｬﾝｾﾙ", [&f] { f.pmnucancell_click(); });
    addSeparator(popup1_, "kugiri6");
    addHandlerAction(popup1_, "pmnupreview", "印刷プレビュー…", [&f] { f.pmnupreview_click(); });

    popup2_ = new QMenu(this);
    popup2_->setObjectName(QStringLiteral("pmnupopup2"));
    popup2_->setTitle(QStringLiteral("◇ PopupMenu2"));  // never shown in the menu bar
    QMenu* psort = addSubMenu(popup2_, "psort", "整列");
    addHandlerAction(psort, "psmnu1", "組合わせﾃﾞｰﾀ", [&f] { f.psmnu1_click(); });
    addSeparator(psort, "pkugiri61");
    addHandlerAction(psort, "psmnu2", "合 計", [&f] { f.psmnu2_click(); });
    addSeparator(psort, "pkugiri62");
    addHandlerAction(psort, "psmnu3", "当選回数", [&f] { f.psmnu3_click(); });
    addSeparator(psort, "pkugiri63");
    addHandlerAction(psort, "psmnu4", "最新当選回", [&f] { f.psmnu4_click(); });
    addSeparator(psort, "pkugiri64");
    addHandlerAction(psort, "psmnu6", "奇：偶", [&f] { f.psmnu6_click(); });
    addSeparator(psort, "pkugiri65");
    addHandlerAction(psort, "psmnu7", "P相性率", [&f] { f.psmnu7_click(); });
    addSeparator(psort, "pkugiri66");
    addHandlerAction(psort, "psmnu8", "T相性率", [&f] { f.psmnu8_click(); });
    addSeparator(psort, "pkugiri67");
    addHandlerAction(psort, "psmnu9", "5分割分布", [&f] { f.psmnu9_click(); });
    addSeparator(popup2_, "pkugiri7");
    addHandlerAction(popup2_, "pmnucopy2", "ｺﾋﾟｰ", [&f] { f.pmnucopy2_click(); });
    addSeparator(popup2_, "pkugiri8");
    addHandlerAction(popup2_, "pmnuprt2", "印刷", [&f] { f.pmnuprt2_click(); });
    addSeparator(popup2_, "pkugiri9");
    addHandlerAction(popup2_, "pmnucancell2", "ｷｬﾝｾﾙ", [&f] { f.pmnucancell2_click(); });
    addSeparator(popup2_, "pkugiri10");
    addHandlerAction(popup2_, "pmnupreview2", "印刷プレビュー…", [&f] { f.pmnupreview2_click(); });

    popup3_ = new QMenu(this);
    popup3_->setObjectName(QStringLiteral("pmnupopup3"));
    popup3_->setTitle(QStringLiteral("◇ PopupMenu3"));  // never shown in the menu bar
    QMenu* ptsort = addSubMenu(popup3_, "ptsort", "整列");
    struct SortEntry {
        int column;
        const char* caption;
    };
    static constexpr SortEntry kSorts[] = {{0, "回"},       {1, "当選番号"},   {2, "合計"},
                                           {3, "当選回数"}, {4, "最新当選回"}, {6, "奇：偶"},
                                           {7, "P相性率"},  {8, "T相性率"},    {9, "5分割分布"}};
    int separator = 0;
    for (const SortEntry& e : kSorts) {
        if (separator > 0) addSeparator(ptsort, QStringLiteral("kugiri3%1").arg(separator).toLatin1().constData());
        ++separator;
        const QByteArray base = QByteArray("ptsmnu") + QByteArray::number(e.column);
        QMenu* sub = addSubMenu(ptsort, base.constData(), e.caption);
        const int column = e.column;
        addHandlerAction(sub, (base + "s").constData(), "昇順", [&f, column] { f.ptsmnuSort(column, true); });
        addSeparator(sub, (QByteArray("kugiri3") + QByteArray::number(e.column) + "1").constData());
        addHandlerAction(sub, (base + "k").constData(), "降順", [&f, column] { f.ptsmnuSort(column, false); });
    }
    addSeparator(popup3_, "kugiri10");
    addHandlerAction(popup3_, "pmnucopy3", "ｺﾋﾟｰ", [&f] { f.pmnucopy3_click(); });
    addSeparator(popup3_, "kugiri11");
    addHandlerAction(popup3_, "pmnuprt3", "印刷", [&f] { f.pmnuprt3_click(); });
    addSeparator(popup3_, "kugiri12");
    addHandlerAction(popup3_, "pmnucancell3", "ｷｬﾝｾﾙ", [&f] { f.pmnucancell3_click(); });
    addSeparator(popup3_, "kugiri13");
    addHandlerAction(popup3_, "pmnupreview3", "印刷プレビュー…", [&f] { f.pmnupreview3_click(); });
}

QMenu* MainWindow::popupMenu(platform::PopupMenu menu) const {
    switch (menu) {
    case platform::PopupMenu::Combination: return popup1_;
    case platform::PopupMenu::Totals: return popup2_;
    case platform::PopupMenu::Predraw: return popup3_;
    }
    return nullptr;
}

void MainWindow::execPopupMenu(platform::PopupMenu menu) {
    // The chosen entry's handler runs inside exec(), before the caller goes on.
    // A menu the keyboard asked for opens at the grid's current cell.
    QPoint at = QCursor::pos();
    for (const FlexGrid* g : {grid1_, grid2_, grid5_})
        if (const auto p = g->keyboardMenuAt()) at = *p;
    if (QMenu* m = popupMenu(menu)) m->exec(at);
}

// ---- the winning-numbers frame ----------------------------------------------

QGroupBox* MainWindow::buildWinningNumbersFrame() {
    auto* frame = new QGroupBox(QString::fromUtf8(kFrameCaption));
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(2);

    hscroll1_ = new QScrollBar(Qt::Horizontal, frame);
    hscroll1_->setObjectName(QStringLiteral("HScroll1"));
    hscroll1_->setMinimumWidth(180);
    hscroll1_->setMaximumWidth(420);
    // Like the scroll bar of old, a drag reports its end position only.
    hscroll1_->setTracking(false);
    connect(hscroll1_, &QScrollBar::valueChanged, this, [this](int value) {
        form_.HScroll1.value = value;
        runHandler([this] { form_.HScroll1_Change(); });
    });

    label1_ = new QLabel(frame);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setMinimumWidth(260);
    label1_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    progressBar_ = new QProgressBar(frame);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setFixedWidth(220);
    QSizePolicy keep = progressBar_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    progressBar_->setSizePolicy(keep);
    progressBar_->hide();

    label2_ = new QLabel(QString::fromUtf8(kCountsCaption));
    label2_->setObjectName(QStringLiteral("Label2"));
    for (int k = 0; k < 5; ++k) {
        label3_[static_cast<std::size_t>(k)] = new QLabel;
        label3_[static_cast<std::size_t>(k)]->setObjectName(objName("Label3", k));
    }
    auto* counts = new DrawCountsLine(label2_, label3_, frame);

    // A wider window gives the draw selector finer steps and the draw text room.
    grid->addWidget(hscroll1_, 0, 0);
    grid->addWidget(label1_, 0, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 2);
    grid->addWidget(progressBar_, 0, 2);
    grid->addWidget(counts, 1, 0, 1, 3, Qt::AlignLeft);
    return frame;
}

// ---- tabs ---------------------------------------------------------------------

FlexGrid* MainWindow::makeGrid(grid::TextGrid& grid, const char* name) {
    auto* g = new FlexGrid(grid);
    g->setObjectName(QString::fromLatin1(name));
    return g;
}

QWidget* MainWindow::buildWinsTab() {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    grid1_ = makeGrid(form_.MSFlexGrid1, "MSFlexGrid1");
    grid1_->setHint(QString::fromUtf8(kRightClickHint));
    grid1_->setRightPressSelectsRow(true);
    connect(grid1_, &FlexGrid::gridMouseDown, this,
            [this](int button) { runHandler([this, button] { form_.MSFlexGrid1_MouseDown(button); }); });
    layout->addWidget(grid1_, 1);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    struct Button {
        const char* name;
        const char* caption;
        const char* hint;
        void (app::Form1::*handler)();
    };
    const Button list[] = {{"Command6", "AC", "All Clear", &app::Form1::Command6_Click},
                           {"Command5", "￥", "当選回数確認", &app::Form1::Command5_Click},
                           {"Command3", "△", "データ整列", &app::Form1::Command3_Click},
                           {"Command4", "⇔", "昇順・降順切替", &app::Form1::Command4_Click}};
    for (const Button& b : list) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption), page);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setToolTip(QString::fromUtf8(b.hint));
        button->setFixedSize(34, 28);
        const auto handler = b.handler;
        connect(button, &QPushButton::clicked, this,
                [this, handler] { runHandler([&f = form_, handler] { (f.*handler)(); }); });
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return page;
}

QWidget* MainWindow::buildTotalsTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 2, 6, 6);
    layout->setSpacing(2);
    auto* hint = new QLabel(QString::fromUtf8(kRightClickHint), page);
    hint->setObjectName(QStringLiteral("LabelHint2"));
    hint->setAlignment(Qt::AlignRight);
    layout->addWidget(hint);
    grid2_ = makeGrid(form_.MSFlexGrid2, "MSFlexGrid2");
    grid2_->setRightPressSelectsRow(true);
    connect(grid2_, &FlexGrid::gridMouseDown, this,
            [this](int button) { runHandler([this, button] { form_.MSFlexGrid2_MouseDown(button); }); });
    layout->addWidget(grid2_, 1);
    return page;
}

QWidget* MainWindow::buildMarkSheetTab() {
    // The list on the left takes the tab's height; the figures' area beside it
    // is laid out as the view was designed and grows with the window.
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(12);
    grid3_ = makeGrid(form_.MSFlexGrid3, "MSFlexGrid3");
    grid3_->setHint(QStringLiteral("ｸﾘｯｸ"));
    grid3_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid3_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid3_->setMinimumHeight(120);
    connect(grid3_, &FlexGrid::gridClick, this, [this] { runHandler([this] { form_.MSFlexGrid3_Click(); }); });
    layout->addWidget(grid3_);

    auto* area = new MarkSheetArea(page);
    markSheetArea_ = area;
    area->setObjectName(QStringLiteral("MarkSheetArea"));
    const char* captionNames[5] = {"Label4", "Label5", "Label6", "Label7", "Label14"};
    auto makeBox = [&](const char* base, int k) {
        auto* box = new QLineEdit(area);
        box->setObjectName(objName(base, k));
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignCenter);
        box->setFocusPolicy(Qt::NoFocus);
        box->setTextMargins(0, 0, 0, 0);
        box->setStyleSheet(QStringLiteral("QLineEdit { padding: 0px; }"));
        return box;
    };
    for (int k = 0; k < 5; ++k) {
        const auto i = static_cast<std::size_t>(k);
        grid4_[i] = makeGrid(form_.MSFlexGrid4[i], objName("MSFlexGrid4", k).toLatin1().constData());
        grid4_[i]->setInteractive(false);
        grid4_[i]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid4_[i]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

        figureCaptions_[i] = new QLabel(area);
        figureCaptions_[i]->setObjectName(QString::fromLatin1(captionNames[k]));

        text4_[i] = makeBox("Text4", k);
        text5_[i] = makeBox("Text5", k);
        text2_[i] = makeBox("Text2", k);
        text3_[i] = makeBox("Text3", k);

        label11_[i] = new QLabel(QStringLiteral(" 全　　　　　回"), area);
        label11_[i]->setObjectName(objName("Label11", k));
        label9_[i] = new QLabel(QStringLiteral(" 第　　　　　回"), area);
        label9_[i]->setObjectName(objName("Label9", k));
        area->setFigure(
            k, {figureCaptions_[i], grid4_[i], {text4_[i], text5_[i], text2_[i], text3_[i]}, label11_[i], label9_[i]});
    }
    auto sideLabel = [&](const char* name, const char* text) {
        auto* label = new QLabel(QString::fromUtf8(text), area);
        label->setObjectName(QString::fromLatin1(name));
        return label;
    };
    area->setSideLabels(sideLabel("Label12", "P"), sideLabel("Label13", "T"));
    auto* note = new QLabel(QString::fromUtf8(kMarkSheetNote), area);
    note->setObjectName(QStringLiteral("Label8"));
    area->setNote(note);
    layout->addWidget(area, 1);
    return page;
}

QWidget* MainWindow::buildLinksTab() {
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(16, 12, 16, 12);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    optionGroup_ = new QButtonGroup(page);
    optionGroup_->setExclusive(true);
    for (int i = 0; i < 9; ++i) {
        const auto k = static_cast<std::size_t>(i);
        option1_[k] = new QRadioButton(page);
        option1_[k]->setObjectName(objName("Option1", i));
        option1_[k]->setToolTip(QStringLiteral("編集"));
        optionGroup_->addButton(option1_[k], i);
        connect(option1_[k], &QRadioButton::clicked, this, [this, i](bool checked) {
            if (!checked) return;
            for (std::size_t j = 0; j < 9; ++j) form_.links.Option1[j] = static_cast<int>(j) == i;
            runHandler([this, i] { form_.Option1_Click(i); });
        });

        command1_[k] = new QPushButton(page);
        command1_[k]->setObjectName(objName("Command1", i));
        command1_[k]->setToolTip(QStringLiteral("飛びます！"));
        command1_[k]->setMinimumWidth(240);
        command1_[k]->setStyleSheet(QStringLiteral("QPushButton { text-align: left; padding: 3px 10px; }"));
        connect(command1_[k], &QPushButton::clicked, this,
                [this, i] { runHandler([this, i] { form_.Command1_Click(i); }); });

        text1_[k] = new QLineEdit(page);
        text1_[k]->setObjectName(objName("Text1", i));
        QSizePolicy keep = text1_[k]->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        text1_[k]->setSizePolicy(keep);
        text1_[k]->hide();
        connect(text1_[k], &QLineEdit::textEdited, this,
                [this, k](const QString& text) { form_.links.Text1[k] = text.toStdString(); });

        grid->addWidget(option1_[k], i, 0);
        grid->addWidget(command1_[k], i, 1);
        grid->addWidget(text1_[k], i, 2);
    }
    // The buttons and the edit boxes share the width the window gives.
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 2);
    outer->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    auto makeButton = [&](const char* name, const char* caption, const char* hint, void (app::Form1::*handler)()) {
        auto* b = new QPushButton(QString::fromUtf8(caption), page);
        b->setObjectName(QString::fromLatin1(name));
        if (hint) b->setToolTip(QString::fromUtf8(hint));
        QSizePolicy keep = b->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        b->setSizePolicy(keep);
        b->hide();
        connect(b, &QPushButton::clicked, this,
                [this, handler] { runHandler([&f = form_, handler] { (f.*handler)(); }); });
        buttons->addWidget(b);
        return b;
    };
    buttons->addSpacing(28);
    command2_ = makeButton("Command2", "編集を保存", "再起動後、有効", &app::Form1::Command2_Click);
    command7_ = makeButton("Command7", "キャンセル", nullptr, &app::Form1::Command7_Click);
    command8_ = makeButton("Command8", "初期値に戻す", "再起動後、有効", &app::Form1::Command8_Click);
    buttons->addStretch(1);
    outer->addSpacing(8);
    outer->addLayout(buttons);
    outer->addStretch(1);
    return page;
}

QWidget* MainWindow::buildPredrawTab() {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(6, 2, 6, 6);
    auto* left = new QVBoxLayout;
    left->setSpacing(2);
    auto* hint = new QLabel(QString::fromUtf8(kRightClickHint), page);
    hint->setObjectName(QStringLiteral("LabelHint5"));
    hint->setAlignment(Qt::AlignRight);
    left->addWidget(hint);
    grid5_ = makeGrid(form_.MSFlexGrid5, "MSFlexGrid5");
    grid5_->setRightPressSelectsRow(true);
    connect(grid5_, &FlexGrid::gridMouseDown, this,
            [this](int button) { runHandler([this, button] { form_.MSFlexGrid5_MouseDown(button); }); });
    left->addWidget(grid5_, 1);
    layout->addLayout(left, 1);

    auto* picture = new QLabel(page);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(drawBallsPicture(QSize(84, 300)));
    picture->setFixedSize(84, 300);
    auto* right = new QVBoxLayout;
    right->addSpacing(18);
    right->addWidget(picture);
    right->addStretch(1);
    layout->addLayout(right);
    return page;
}

// ---- handlers and redrawing ---------------------------------------------------

void MainWindow::runHandler(const std::function<void()>& handler) {
    ++handlerDepth_;
    try {
        handler();
    } catch (...) {
        platform_.messageBox(errorText(std::current_exception()), platform::Icon::Critical, platform::Buttons::Ok);
    }
    --handlerDepth_;
    if (handlerDepth_ == 0) {
        platform_.endBusy();
        platform_.hideProgress();
        refreshFromState();
    }
}

void MainWindow::refreshFromState() {
    label1_->setText(qs(form_.Label1));
    for (std::size_t k = 0; k < label3_.size(); ++k) label3_[k]->setText(qs(form_.Label3[k]));

    {
        const QSignalBlocker block(hscroll1_);
        hscroll1_->setRange(form_.HScroll1.min, std::max(form_.HScroll1.min, form_.HScroll1.max));
        hscroll1_->setValue(form_.HScroll1.value);
        hscroll1_->setPageStep(std::max(1, (form_.HScroll1.max - form_.HScroll1.min) / 20));
    }

    // A handler that moves to another tab (loading, generation) has already
    // brought that tab up to date; switching the widget must not run the tab's
    // entry steps a second time, so its change signal is held back here.
    if (tabs_->currentIndex() != form_.SSTab1 && form_.SSTab1 >= 0 && form_.SSTab1 < tabs_->count()) {
        const QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(form_.SSTab1);
    }

    refreshGrids();
    refreshMarkSheet();
    refreshLinks();
    undoAction_->setEnabled(form_.undoHistory.canUndo());
    redoAction_->setEnabled(form_.undoHistory.canRedo());
    oddsTab_->refresh();
    // A reloaded history (a draw entered, a recalculation) redraws the tab in sight.
    if (tabs_->currentWidget() == statsTab_) statsTab_->refresh();

    if (form_.closeRequested() && !closing_) {
        closing_ = true;
        close();
    }
}

void MainWindow::refreshGrids() {
    for (FlexGrid* g : {grid1_, grid2_, grid3_, grid5_}) g->refresh();
    for (FlexGrid* g : grid4_) g->refresh();
    // The mark-sheet list is as wide as its columns; the figures show whole.
    const int listWidth = grid3_->contentSize().width() + grid3_->verticalScrollBar()->sizeHint().width();
    if (grid3_->minimumWidth() != listWidth) grid3_->setFixedWidth(listWidth);
    markSheetArea_->figuresChanged();
}

void MainWindow::refreshMarkSheet() {
    const views::MarkSheetControls& m = form_.markSheet;
    auto set = [](QLineEdit* box, const std::string& text) {
        const QString t = qs(text);
        if (box->text() != t) box->setText(t);
    };
    for (std::size_t k = 0; k < 5; ++k) {
        figureCaptions_[k]->setText(qs(m.caption[k]));
        set(text4_[k], m.Text4[k]);
        set(text5_[k], m.Text5[k]);
        set(text2_[k], m.Text2[k]);
        set(text3_[k], m.Text3[k]);
    }
}

void MainWindow::refreshLinks() {
    const views::LinkControls& l = form_.links;
    for (std::size_t i = 0; i < 9; ++i) {
        const QString t = qs(l.Text1[i]);
        if (text1_[i]->text() != t) text1_[i]->setText(t);
        text1_[i]->setVisible(l.Text1Visible[i]);
        command1_[i]->setText(qs(l.Command1Caption[i]));
    }
    // An exclusive group cannot clear its last checked button.
    optionGroup_->setExclusive(false);
    for (std::size_t i = 0; i < 9; ++i) {
        const QSignalBlocker block(option1_[i]);
        option1_[i]->setChecked(l.Option1[i]);
    }
    optionGroup_->setExclusive(true);
    command2_->setVisible(l.Command2Visible);
    command7_->setVisible(l.Command7Visible);
    command8_->setVisible(l.Command8Visible);
}

QWidget* MainWindow::dialogParent() { return isVisible() ? this : nullptr; }

std::unique_ptr<SettingsDialog> MainWindow::createSettingsDialog() {
    return std::make_unique<SettingsDialog>(form_, platform_, this);
}

void MainWindow::execSettingsDialog() {
    auto dialog = createSettingsDialog();
    if (!dialog->finished()) dialog->exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closing_) {
        if (isVisible()) saveWindowGeometry(*this);
        event->accept();
        return;
    }
    // A close while a command runs (the progress bar lets events through)
    // waits for the command to end.
    if (handlerDepth_ > 0) {
        event->ignore();
        return;
    }
    // The title bar's close button asks the exit question like "終了".
    runHandler([this] { form_.mnufclose_Click(); });
    if (form_.closeRequested()) {
        closing_ = true;
        if (isVisible()) saveWindowGeometry(*this);
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace kazuban::ui
