#include "ui/design_tab.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <bit>

#include "ui/ledger_tab.h"
#include "ui/look.h"

namespace kazuban::ui {

namespace {

struct TimeChoice {
    const char* caption;
    int seconds;  // 0: no limit
};
constexpr TimeChoice kTimeLimits[] = {{"なし", 0},  {"10 秒", 10}, {"30 秒", 30},
                                      {"1 分", 60}, {"3 分", 180}, {"10 分", 600}};

// The pad's marks, drawn like pencil on a mark sheet.
constexpr const char* kPlainStyle =
    "QToolButton { border: 1px solid #9a9a9a; border-radius: 3px; background: #ffffff; color: #000000; }";
constexpr const char* kChosenStyle =
    "QToolButton { border: 1px solid #202020; border-radius: 3px; background: #303030; color: #ffffff; }";
constexpr const char* kExcludedStyle =
    "QToolButton { border: 1px solid #c8a0a0; border-radius: 3px; "
    "background: #eeeeee; color: #b00020; text-decoration: line-through; }";

constexpr int kPadColumns = 8;

design::Ticket bit(int v) { return design::Ticket{1} << v; }

QSpinBox* spin(const QString& name, int low, int high, int value, QWidget* parent) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(low, high);
    s->setValue(value);
    return s;
}

QLabel* wrapped(const char* name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(true);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

}  // namespace

DesignTab::DesignTab(app::Form1& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("designTab"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(6);
    layout->addWidget(buildSettings());
    layout->addWidget(buildResult(), 1);

    limit_ = new QTimer(this);
    limit_->setSingleShot(true);
    connect(limit_, &QTimer::timeout, this, [this] { stop_ = true; });
    clock_ = new QTimer(this);
    clock_->setInterval(500);
    connect(clock_, &QTimer::timeout, this, [this] { showElapsed(); });
    drawPad();
    updateControls();
    refresh();
}

DesignTab::~DesignTab() { stopSearch(); }

QGroupBox* DesignTab::buildSettings() {
    settings_ = new QGroupBox(QStringLiteral("設定"), this);
    auto* box = settings_;
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(6, 2, 6, 4);
    v->setSpacing(3);

    auto* modes = new QButtonGroup(box);
    auto radio = [&](const char* name, const char* caption) {
        auto* r = new QRadioButton(QString::fromUtf8(caption), box);
        r->setObjectName(QString::fromLatin1(name));
        modes->addButton(r);
        return r;
    };
    auto* best = new QHBoxLayout;
    modeBest_ = radio("designModeBest", "当たる回が最も多い");
    tickets_ = spin("designTickets", 1, design::kMaxTickets, 10, box);
    best->addWidget(modeBest_);
    best->addWidget(tickets_);
    best->addWidget(new QLabel(QStringLiteral("口"), box));
    best->addStretch(1);
    v->addLayout(best);
    modeGuarantee_ = radio("designModeGuarantee", "すべての回で 4等以上を保証");
    v->addWidget(modeGuarantee_);
    auto* wheel = new QHBoxLayout;
    modeWheel_ = radio("designModeWheel", "選んだ数字で保証：");
    atLeast_ = spin("designAtLeast", 3, 5, 3, box);
    wheel->addWidget(modeWheel_);
    wheel->addWidget(atLeast_);
    wheel->addWidget(new QLabel(QStringLiteral("個以上が当たれば"), box));
    wheel->addStretch(1);
    v->addLayout(wheel);
    modeBest_->setChecked(true);
    connect(modes, &QButtonGroup::buttonToggled, this, [this](QAbstractButton*, bool on) {
        if (!on) return;
        drawPad();
        updateControls();
    });

    v->addWidget(buildPad(box));

    auto* limits = new QHBoxLayout;
    limits->setSpacing(3);
    // A limit on each ticket: its check box and the range low ～ high.
    auto limit = [&](const QString& caption, const QString& name, int least, int most, int low, int high,
                     QCheckBox** on, QSpinBox** lowBox, QSpinBox** highBox) {
        *on = new QCheckBox(caption, box);
        (*on)->setObjectName(name + QStringLiteral("On"));
        *lowBox = spin(name + QStringLiteral("Low"), least, most, low, box);
        *highBox = spin(name + QStringLiteral("High"), least, most, high, box);
        limits->addWidget(*on);
        limits->addWidget(*lowBox);
        limits->addWidget(new QLabel(QStringLiteral("～"), box));
        limits->addWidget(*highBox);
        connect(*on, &QCheckBox::toggled, this, [this] { updateControls(); });
    };
    limit(QStringLiteral("合計"), QStringLiteral("designSum"), 15, 145, 60, 100, &sumOn_, &sumLow_, &sumHigh_);
    limits->addSpacing(8);
    limit(QStringLiteral("奇数"), QStringLiteral("designOdd"), 0, 5, 2, 3, &oddOn_, &oddLow_, &oddHigh_);
    limits->addWidget(new QLabel(QStringLiteral("個"), box));
    limits->addStretch(1);
    v->addLayout(limits);

    // Every ticket wins as often as any other; the option only weighs what
    // a win would pay when others hold the same numbers.
    auto* popular = new QHBoxLayout;
    popular->setSpacing(3);
    avoidPopular_ = new QCheckBox(QStringLiteral("人気の組合せを避ける"), box);
    avoidPopular_->setObjectName(QStringLiteral("designAvoidPopular"));
    avoidPopular_->setToolTip(
        QStringLiteral("当たる回の数は変えずに、ほかの人が選びにくく当たったときの分け前が大きい組合せを選びます"
                       "（atarikin.csv の当選口数から推定）"));
    popularLimitOn_ = new QCheckBox(QStringLiteral("人気度"), box);
    popularLimitOn_->setObjectName(QStringLiteral("designPopularLimitOn"));
    popularLimit_ = new QDoubleSpinBox(box);
    popularLimit_->setObjectName(QStringLiteral("designPopularLimit"));
    popularLimit_->setPrefix(QStringLiteral("×"));
    popularLimit_->setDecimals(2);
    popularLimit_->setRange(0.5, 20);
    popularLimit_->setSingleStep(0.1);
    popularLimit_->setValue(1.5);
    popular->addWidget(avoidPopular_);
    popular->addSpacing(8);
    popular->addWidget(popularLimitOn_);
    popular->addWidget(popularLimit_);
    popular->addWidget(new QLabel(QStringLiteral("を超える組合せは使わない"), box));
    popular->addStretch(1);
    v->addLayout(popular);
    for (QCheckBox* c : {avoidPopular_, popularLimitOn_})
        connect(c, &QCheckBox::toggled, this, [this] { updateControls(); });

    auto* effort = new QHBoxLayout;
    effort->addWidget(new QLabel(QStringLiteral("ていねいさ"), box));
    effort_ = spin("designEffort", 1, 1000, 1, box);
    effort_->setToolTip(QStringLiteral("大きいほど長く探します（同じ設定なら毎回同じ結果です）"));
    effort->addWidget(effort_);
    effort->addSpacing(8);
    effort->addWidget(new QLabel(QStringLiteral("時間制限"), box));
    timeLimit_ = new QComboBox(box);
    timeLimit_->setObjectName(QStringLiteral("designTimeLimit"));
    for (const TimeChoice& c : kTimeLimits) timeLimit_->addItem(QString::fromUtf8(c.caption), c.seconds);
    effort->addWidget(timeLimit_);
    effort->addStretch(1);
    v->addLayout(effort);

    auto* go = new QHBoxLayout;
    run_ = new QPushButton(QStringLiteral("実行"), box);
    run_->setObjectName(QStringLiteral("designRun"));
    cancel_ = new QPushButton(QStringLiteral("キャンセル"), box);
    cancel_->setObjectName(QStringLiteral("designCancel"));
    progress_ = new QProgressBar(box);
    progress_->setObjectName(QStringLiteral("designProgress"));
    progress_->setTextVisible(false);
    progress_->setRange(0, 1000);
    progress_->setValue(0);
    go->addWidget(run_);
    go->addWidget(cancel_);
    go->addWidget(progress_, 1);
    v->addLayout(go);
    connect(run_, &QPushButton::clicked, this, [this] { runSearch(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { stop_ = true; });

    progressText_ = new QLabel(box);
    progressText_->setObjectName(QStringLiteral("designProgressText"));
    v->addWidget(progressText_);
    problem_ = wrapped("designProblem", box);
    problem_->setStyleSheet(QStringLiteral("QLabel { color: #b00020; }"));
    problem_->hide();
    v->addWidget(problem_);
    v->addStretch(1);
    return box;
}

QWidget* DesignTab::buildPad(QWidget* parent) {
    auto* part = new QWidget(parent);
    auto* v = new QVBoxLayout(part);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);
    auto* marks = new QHBoxLayout;
    marks->addWidget(new QLabel(QStringLiteral("数字："), part));
    auto* kinds = new QButtonGroup(part);
    markChoose_ = new QRadioButton(QStringLiteral("選ぶ"), part);
    markChoose_->setObjectName(QStringLiteral("designMarkChoose"));
    markExclude_ = new QRadioButton(QStringLiteral("除外"), part);
    markExclude_->setObjectName(QStringLiteral("designMarkExclude"));
    kinds->addButton(markChoose_);
    kinds->addButton(markExclude_);
    markChoose_->setChecked(true);
    padClear_ = new QPushButton(QStringLiteral("クリア"), part);
    padClear_->setObjectName(QStringLiteral("designPadClear"));
    connect(padClear_, &QPushButton::clicked, this, [this] {
        chosen_ = excluded_ = 0;
        drawPad();
    });
    marks->addWidget(markChoose_);
    marks->addWidget(markExclude_);
    marks->addWidget(padClear_);
    padCount_ = new QLabel(part);
    padCount_->setObjectName(QStringLiteral("designPadCount"));
    marks->addWidget(padCount_, 1);
    v->addLayout(marks);

    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    const QFontMetrics fm(font());
    const QSize size(fm.horizontalAdvance(QStringLiteral("88")) + 14, fm.height() + 6);
    for (int n = 1; n <= 31; ++n) {
        auto* b = new QToolButton(part);
        b->setObjectName(QStringLiteral("designNumber%1").arg(n));
        b->setText(QString::number(n));
        b->setFixedSize(size);
        connect(b, &QToolButton::clicked, this, [this, n] { markNumber(n); });
        pad_[static_cast<std::size_t>(n)] = b;
        grid->addWidget(b, (n - 1) / kPadColumns, (n - 1) % kPadColumns);
    }
    auto* row = new QHBoxLayout;
    row->addLayout(grid);
    row->addStretch(1);
    v->addLayout(row);
    return part;
}

QGroupBox* DesignTab::buildResult() {
    auto* box = new QGroupBox(QStringLiteral("結果"), this);
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(6, 2, 6, 4);
    v->setSpacing(3);
    ticketCount_ = wrapped("designTicketCount", box);
    covered_ = wrapped("designCovered", box);
    compare_ = wrapped("designCompare", box);
    expected_ = wrapped("designExpected", box);
    guarantee_ = wrapped("designGuarantee", box);
    value_ = wrapped("designValue", box);
    stopped_ = wrapped("designStopped", box);
    stopped_->setStyleSheet(QStringLiteral("QLabel { color: #805000; }"));
    // The figure the search is for, and what a cover promises, stand out.
    for (QLabel* l : {covered_, guarantee_}) {
        QFont bold = l->font();
        bold.setBold(true);
        l->setFont(bold);
    }
    for (QLabel* l : {ticketCount_, covered_, compare_, expected_, guarantee_, value_, stopped_}) v->addWidget(l);
    ticketList_ = new QListWidget(box);
    ticketList_->setObjectName(QStringLiteral("designTicketList"));
    ticketList_->setFont(japaneseFont());
    ticketList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    v->addWidget(ticketList_, 1);
    auto* actions = new QHBoxLayout;
    send_ = new QPushButton(QStringLiteral("組合せ表へ送る"), box);
    send_->setObjectName(QStringLiteral("designSend"));
    save_ = new QPushButton(QStringLiteral("保存…"), box);
    save_->setObjectName(QStringLiteral("designSave"));
    ledger_ = new QPushButton(QStringLiteral("購入記録に追加…"), box);
    ledger_->setObjectName(QStringLiteral("designLedger"));
    actions->addWidget(send_);
    actions->addWidget(save_);
    actions->addWidget(ledger_);
    actions->addStretch(1);
    v->addLayout(actions);
    connect(send_, &QPushButton::clicked, this, [this] { form_.designSendToTable(); });
    connect(save_, &QPushButton::clicked, this, [this] { form_.designSave(); });
    connect(ledger_, &QPushButton::clicked, this, [this] { addDesignToLedger(form_, this); });
    return box;
}

design::Mode DesignTab::mode() const {
    if (modeWheel_->isChecked()) return design::Mode::Wheel;
    return modeGuarantee_->isChecked() ? design::Mode::Guarantee : design::Mode::Best;
}

design::Request DesignTab::request() const {
    design::Request r;
    r.mode = mode();
    r.effort = effort_->value();
    if (r.mode == design::Mode::Wheel) {
        r.numbers = chosen_;
        r.atLeast = atLeast_->value();
        return r;
    }
    if (r.mode == design::Mode::Best) r.tickets = tickets_->value();
    if (chosen_ != 0) r.numbers = chosen_;
    r.excluded = excluded_;
    if (sumOn_->isChecked()) r.sum = design::Bounds{sumLow_->value(), sumHigh_->value()};
    if (oddOn_->isChecked()) r.odd = design::Bounds{oddLow_->value(), oddHigh_->value()};
    return r;
}

bool DesignTab::avoidsPopular() const { return avoidPopular_->isChecked(); }

std::optional<double> DesignTab::popularLimit() const {
    if (!avoidsPopular() || !popularLimitOn_->isChecked()) return std::nullopt;
    return popularLimit_->value();
}

void DesignTab::markNumber(int v) {
    // A number is chosen or excluded, never both; a wheel only chooses.
    const bool exclude = markExclude_->isChecked() && mode() != design::Mode::Wheel;
    design::Ticket& mine = exclude ? excluded_ : chosen_;
    design::Ticket& other = exclude ? chosen_ : excluded_;
    mine ^= bit(v);
    other &= ~bit(v);
    drawPad();
}

void DesignTab::drawPad() {
    // A wheel is made of the chosen numbers alone: exclusions stay kept
    // but are not shown, as they play no part in it.
    const bool wheel = mode() == design::Mode::Wheel;
    for (int n = 1; n <= 31; ++n) {
        const char* style = (chosen_ & bit(n)) != 0               ? kChosenStyle
                            : !wheel && (excluded_ & bit(n)) != 0 ? kExcludedStyle
                                                                  : kPlainStyle;
        pad_[static_cast<std::size_t>(n)]->setStyleSheet(QString::fromLatin1(style));
    }
    const int chosen = std::popcount(chosen_), excluded = std::popcount(excluded_);
    QString count = chosen == 0 && !wheel ? QStringLiteral("1～31 から") : QStringLiteral("選んだ %1 個").arg(chosen);
    if (!wheel && excluded > 0) count += QStringLiteral("　除外 %1 個").arg(excluded);
    padCount_->setText(count);
}

void DesignTab::updateControls() {
    const bool busy = searching();
    const design::Mode m = mode();
    for (QWidget* w : std::initializer_list<QWidget*>{modeBest_, modeGuarantee_, modeWheel_, markChoose_, effort_,
                                                      timeLimit_, run_, padClear_})
        w->setEnabled(!busy);
    for (int n = 1; n <= 31; ++n) pad_[static_cast<std::size_t>(n)]->setEnabled(!busy);
    tickets_->setEnabled(!busy && m == design::Mode::Best);
    atLeast_->setEnabled(!busy && m == design::Mode::Wheel);
    const bool limits = !busy && m != design::Mode::Wheel;
    markExclude_->setEnabled(limits);
    if (!limits && markExclude_->isChecked()) markChoose_->setChecked(true);
    sumOn_->setEnabled(limits);
    oddOn_->setEnabled(limits);
    sumLow_->setEnabled(limits && sumOn_->isChecked());
    sumHigh_->setEnabled(limits && sumOn_->isChecked());
    oddLow_->setEnabled(limits && oddOn_->isChecked());
    oddHigh_->setEnabled(limits && oddOn_->isChecked());
    avoidPopular_->setEnabled(!busy);
    popularLimitOn_->setEnabled(!busy && avoidPopular_->isChecked());
    popularLimit_->setEnabled(!busy && avoidPopular_->isChecked() && popularLimitOn_->isChecked());
    cancel_->setEnabled(busy);
    // A new run makes the result in sight a thing of the past: it cannot be
    // sent or saved until the run hands back its own.
    if (!send_) return;  // still being built
    const bool have = !busy && form_.design().last() && !form_.design().last()->result.tickets.empty();
    send_->setEnabled(have);
    save_->setEnabled(have);
}

void DesignTab::runSearch() {
    if (searching()) return;
    const design::Request r = request();
    std::optional<app::PopularOption> popular;
    if (avoidsPopular()) {
        // The model is fitted here, before the thread starts: it reads the
        // history and atarikin.csv, which belong to the window's thread.
        std::string why;
        popular = app::PopularOption{form_.popularity().model(&why), popularLimit()};
        if (!popular->model) {
            form_.designFinished(app::DesignRun{r, why, {}, 0, std::nullopt});
            return;
        }
    }
    stop_ = false;
    searchMode_ = r.mode;
    lastReport_.reset();
    limitMs_ = timeLimit_->currentData().toInt() * 1000;
    lastProgress_ = QStringLiteral("探索中…");
    elapsed_.start();
    showElapsed();
    clock_->start();
    thread_.reset(QThread::create([this, r, popular] {
        // The worker's reports are queued to the window's thread, as is the
        // result; the page never sees the worker.
        const app::DesignRun done = app::runDesignWork(
            r,
            [this](const design::Progress& p) {
                QMetaObject::invokeMethod(
                    this, [this, p] { showProgress(p); }, Qt::QueuedConnection);
            },
            &stop_, popular ? &*popular : nullptr);
        QMetaObject::invokeMethod(
            this, [this, done] { searchDone(done); }, Qt::QueuedConnection);
    }));
    thread_->start();
    moveBar();  // the bar of the last run starts again
    if (const int seconds = timeLimit_->currentData().toInt(); seconds > 0) limit_->start(seconds * 1000);
    updateControls();
    problem_->hide();
}

void DesignTab::showProgress(const design::Progress& p) {
    if (!searching()) return;
    lastReport_ = p;
    lastProgress_ = qs(app::designProgressText(searchMode_, p));
    showElapsed();
}

void DesignTab::showElapsed() {
    progressText_->setText(lastProgress_ + QStringLiteral("　%1 秒").arg(elapsed_.elapsed() / 1000));
    moveBar();
}

void DesignTab::moveBar() {
    if (!searching()) return;
    const std::optional<int> at =
        app::designBarPermille(searchMode_, lastReport_ ? &*lastReport_ : nullptr, elapsed_.elapsed(), limitMs_);
    if (!at) {
        progress_->setRange(0, 0);  // the end is not known in advance: the bar shows that it works
        return;
    }
    progress_->setRange(0, 1000);
    progress_->setValue(*at);
}

void DesignTab::stopSearch() {
    if (!thread_) return;
    stop_ = true;
    thread_->wait();
}

void DesignTab::searchDone(const app::DesignRun& run) {
    if (thread_) {
        thread_->wait();
        thread_.reset();
    }
    limit_->stop();
    clock_->stop();
    lastReport_.reset();
    progress_->setRange(0, 1000);
    if (!run.refusal.empty()) progress_->setValue(0);
    else if (!run.result.cancelled) progress_->setValue(1000);
    const qint64 seconds = elapsed_.elapsed() / 1000;
    progressText_->setText(!run.refusal.empty()   ? QString()
                           : run.result.cancelled ? QStringLiteral("%1 秒で打ち切りました").arg(seconds)
                                                  : QStringLiteral("%1 秒で終わりました").arg(seconds));
    updateControls();
    form_.designFinished(run);
}

void DesignTab::refresh() {
    const app::DesignPage& page = form_.design();
    if (page.revision() == shownRevision_) return;
    shownRevision_ = page.revision();
    problem_->setText(qs(page.problem()));
    problem_->setVisible(!page.problem().empty() && !searching());

    const bool have = page.last().has_value();
    const app::DesignTexts t = have ? app::designTexts(*page.last()) : app::DesignTexts{};
    const std::pair<QLabel*, const std::string*> lines[] = {{ticketCount_, &t.tickets}, {covered_, &t.covered},
                                                            {compare_, &t.compare},     {expected_, &t.expected},
                                                            {guarantee_, &t.guarantee}, {value_, &t.value},
                                                            {stopped_, &t.stopped}};
    for (const auto& [label, text] : lines) {
        label->setText(qs(*text));
        label->setVisible(!text->empty());
    }
    ticketList_->clear();
    if (have) {
        int k = 0;
        for (design::Ticket ticket : page.last()->result.tickets)
            ticketList_->addItem(QStringLiteral("%1:  ").arg(++k, 4) + qs(design::ticketText(ticket)));
    }
    send_->setEnabled(have && ticketList_->count() > 0 && !searching());
    save_->setEnabled(have && ticketList_->count() > 0 && !searching());
    ledger_->setEnabled(have && ticketList_->count() > 0 && !searching());
}

}  // namespace kazuban::ui
