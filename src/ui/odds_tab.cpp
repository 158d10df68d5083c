#include "ui/odds_tab.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <set>

#include "analysis/backtest.h"
#include "analysis/odds.h"
#include "analysis/payout.h"
#include "history/draw_history.h"
#include "ui/charts.h"
#include "ui/export_menus.h"
#include "ui/look.h"
#include "ui/popularity_tab.h"
#include "ui/remembered.h"

namespace kazuban::ui {

namespace {

constexpr const char* kGradeNames[analysis::kGradeRows] = {"1等", "2等", "3等", "4等", "いずれか"};

QTableWidget* makeTable(const char* name, const QStringList& columns, QWidget* parent) {
    auto* table = new QTableWidget(analysis::kGradeRows, static_cast<int>(columns.size()), parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setHorizontalHeaderLabels(columns);
    QStringList rows;
    for (const char* g : kGradeNames) rows << QString::fromUtf8(g);
    table->setVerticalHeaderLabels(rows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::ContiguousSelection);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->horizontalHeader()->setMinimumSectionSize(40);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Rows as tall as their text and a little air: the tab's three tables and
    // the yen summary fit the window at its opening size on a small screen.
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 3);
    for (int r = 0; r < table->rowCount(); ++r)
        for (int c = 0; c < table->columnCount(); ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    // Exactly the five rows, no scrolling.
    const int height = table->horizontalHeader()->sizeHint().height() +
                       analysis::kGradeRows * table->verticalHeader()->defaultSectionSize() + 2 * table->frameWidth();
    table->setFixedHeight(height);
    return table;
}

void setCell(QTableWidget* table, int row, int col, const std::string& text) {
    table->item(row, col)->setText(qs(text));
}

}  // namespace

QValidator::State PrizeValidator::validate(QString& input, int& pos) const {
    (void)pos;
    if (input.isEmpty()) return Intermediate;
    if (input.size() > 11) return Invalid;
    for (const QChar c : input)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return Invalid;
    return input.toLongLong() <= analysis::kMaxPrize ? Acceptable : Invalid;
}

void PrizeValidator::fixup(QString& input) const {
    if (input.isEmpty()) input = QStringLiteral("0");
}

OddsTab::OddsTab(app::Form1& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("oddsTab"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(4);
    layout->addWidget(buildOddsPart());
    layout->addWidget(buildBacktestPart(), 1);
    auto* explanation = new QLabel(QString::fromUtf8(analysis::kOddsExplanation), this);
    explanation->setObjectName(QStringLiteral("oddsExplanation"));
    explanation->setWordWrap(true);
    layout->addWidget(explanation);

    // The same right-click menus as the tab 統計グラフ: copy, CSV, PNG.
    const std::pair<QTableWidget*, const char*> tables[] = {{oddsTable_, "odds"},
                                                            {backtestTable_, "backtest"},
                                                            {payoutTable_, "payout"}};
    for (const auto& [table, suffix] : tables) {
        auto header = [table = table] {
            std::vector<std::string> h{"等級"};
            for (int c = 0; c < table->columnCount(); ++c)
                h.push_back(table->horizontalHeaderItem(c)->text().toStdString());
            return h;
        };
        addTableExportMenu(
            table, form_, suffix, [this, table = table](bool selectedOnly) { return tableRows(table, selectedOnly); },
            header);
    }
    addChartExportMenu(chart_, form_, "backtestchart");
    // The amounts typed at the last run; the page refuses any it cannot take.
    const auto kept = loadPrizes();
    for (int g = 0; g < 4; ++g)
        if (const auto yen = kept[static_cast<std::size_t>(g)]) form_.oddsPrizeChanged(g + 1, *yen);
    refresh();
}

std::vector<std::vector<std::string>> OddsTab::tableRows(QTableWidget* table, bool selectedOnly) const {
    std::set<int> chosen;
    if (selectedOnly)
        for (const QTableWidgetItem* item : table->selectedItems()) chosen.insert(item->row());
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        if (!chosen.empty() && !chosen.count(r)) continue;
        std::vector<std::string> cells{table->verticalHeaderItem(r)->text().toStdString()};
        for (int c = 0; c < table->columnCount(); ++c) cells.push_back(table->item(r, c)->text().toStdString());
        rows.push_back(std::move(cells));
    }
    return rows;
}

QWidget* OddsTab::buildOddsPart() {
    auto* box = new QGroupBox(QStringLiteral("次の1回で当たる確率"), this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(6, 2, 6, 4);

    auto* left = new QVBoxLayout;
    left->setSpacing(2);
    combinations_ = new QLabel(box);
    combinations_->setObjectName(QStringLiteral("oddsCombinations"));
    combinations_->setWordWrap(true);
    left->addWidget(combinations_);
    oddsTable_ = makeTable("oddsTable",
                           {QStringLiteral("1口以上当たる確率"), QStringLiteral("％"),
                            QStringLiteral("当選口数の期待値"), QStringLiteral("52回で1回以上")},
                           box);
    left->addWidget(oddsTable_);
    left->addStretch(1);
    layout->addLayout(left, 3);

    auto* right = new QVBoxLayout;
    right->setSpacing(2);
    auto* prizeGrid = new QGridLayout;
    prizeGrid->setHorizontalSpacing(4);
    prizeGrid->setVerticalSpacing(2);
    // Two grades to a row: the part is no taller than its table, so the
    // back-test below keeps its room on a small screen (200 % on 1920 x 1080).
    prizeGrid->addWidget(new QLabel(QStringLiteral("当せん金（1口）"), box), 0, 0, 1, 6);
    for (int g = 0; g < 4; ++g) {
        auto* edit = new QLineEdit(box);
        edit->setObjectName(QStringLiteral("oddsPrize%1").arg(g + 1));
        edit->setValidator(new PrizeValidator(edit));
        edit->setAlignment(Qt::AlignRight);
        edit->setMaxLength(11);
        edit->setToolTip(QStringLiteral("0～10,000,000,000 円"));
        prizes_[static_cast<std::size_t>(g)] = edit;
        connect(edit, &QLineEdit::editingFinished, this, [this, g, edit] {
            const long long yen = edit->text().toLongLong();
            form_.oddsPrizeChanged(g + 1, yen);
            // The amount the page took is the one the next run starts with.
            savePrize(g + 1, form_.odds().figures().prizes.yen[static_cast<std::size_t>(g)]);
        });
        const int row = 1 + g / 2, col = g % 2 * 3;
        prizeGrid->addWidget(new QLabel(QString::fromUtf8(kGradeNames[g]), box), row, col);
        prizeGrid->addWidget(edit, row, col + 1);
        prizeGrid->addWidget(new QLabel(QStringLiteral("円"), box), row, col + 2);
    }
    right->addLayout(prizeGrid);
    return_ = new QLabel(box);
    return_->setObjectName(QStringLiteral("oddsReturn"));
    return_->setWordWrap(true);
    return_->setMinimumWidth(200);
    right->addWidget(return_);
    right->addStretch(1);
    layout->addLayout(right, 2);
    return box;
}

QWidget* OddsTab::buildBacktestPart() {
    auto* box = new QGroupBox(QStringLiteral("過去の回での検証"), this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(6, 2, 6, 4);

    auto* left = new QVBoxLayout;
    left->setSpacing(2);
    auto* range = new QHBoxLayout;
    auto spin = [&](const char* name) {
        auto* s = new QSpinBox(box);
        s->setObjectName(QString::fromLatin1(name));
        s->setKeyboardTracking(false);  // a typed number counts once it is complete
        // Any draw number may be typed; the tab says when the range does not fit.
        s->setRange(1, history::kMaxDraws);
        s->setMinimumWidth(70);
        return s;
    };
    from_ = spin("oddsFrom");
    to_ = spin("oddsTo");
    range->addWidget(new QLabel(QStringLiteral("第"), box));
    range->addWidget(from_);
    range->addWidget(new QLabel(QStringLiteral("回 ～ 第"), box));
    range->addWidget(to_);
    range->addWidget(new QLabel(QStringLiteral("回"), box));
    range->addStretch(1);
    left->addLayout(range);
    QWidget* note = buildHindsightNote(QString(), box, range);
    auto rangeChanged = [this] {
        const int from = from_->value(), to = to_->value();
        form_.oddsRangeChanged(from, to);
    };
    connect(from_, &QSpinBox::valueChanged, this, rangeChanged);
    connect(to_, &QSpinBox::valueChanged, this, rangeChanged);

    rangeProblem_ = new QLabel(box);
    rangeProblem_->setObjectName(QStringLiteral("oddsRangeProblem"));
    rangeProblem_->setStyleSheet(QStringLiteral("QLabel { color: #b00020; }"));
    rangeProblem_->setWordWrap(true);
    rangeProblem_->hide();
    left->addWidget(rangeProblem_);
    draws_ = new QLabel(box);
    draws_->setObjectName(QStringLiteral("oddsDraws"));
    draws_->setWordWrap(true);
    left->addWidget(draws_);
    left->addWidget(note);
    backtestTable_ = makeTable("backtestTable",
                               {QStringLiteral("実際"), QStringLiteral("偶然なら"), QStringLiteral("標準偏差"),
                                QStringLiteral("z"), QStringLiteral("判定")},
                               box);
    // z and the verdict as wide as their texts; the figures share the rest.
    backtestTable_->horizontalHeader()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
    backtestTable_->horizontalHeader()->setSectionResizeMode(4, QHeaderView::ResizeToContents);
    left->addWidget(backtestTable_);
    left->addStretch(1);
    // On a small screen the part scrolls rather than cut the table off.
    auto* leftScroll = new QScrollArea(box);
    leftScroll->setObjectName(QStringLiteral("backtestScroll"));
    leftScroll->setFrameShape(QFrame::NoFrame);
    leftScroll->setWidgetResizable(true);
    leftScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* leftPage = new QWidget(leftScroll);
    leftPage->setLayout(left);
    leftScroll->setWidget(leftPage);
    layout->addWidget(leftScroll, 1);

    // Beside the table, the chart of the same comparison and the same range
    // in yen share the place (the window must fit a small screen).
    auto* views = new QTabWidget(box);
    views->setObjectName(QStringLiteral("backtestViews"));
    views->setDocumentMode(true);
    chart_ = new Chart(views);
    chart_->setObjectName(QStringLiteral("backtestChart"));
    chart_->setMinimumSize(300, 150);
    views->addTab(chart_, QStringLiteral("偶然との比較（グラフ）"));
    views->addTab(buildPayoutPart(views), QStringLiteral("実際の払戻金での検証"));
    popularity_ = new PopularityTab(form_, views);
    views->addTab(popularity_, QStringLiteral("人気と払戻金"));
    layout->addWidget(views, 1);
    return box;
}

QWidget* OddsTab::buildPayoutPart(QWidget* parent) {
    // On a small screen the page scrolls rather than lay its parts over each other.
    auto* scroll = new QScrollArea(parent);
    scroll->setObjectName(QStringLiteral("payoutScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* box = new QWidget(scroll);
    box->setObjectName(QStringLiteral("payoutPage"));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    payoutTable_ = makeTable("payoutTable",
                             {QStringLiteral("当選口数"), QStringLiteral("払戻金（実際）"),
                              QStringLiteral("期待値（当せん金欄）")},
                             box);
    payoutTable_->verticalHeaderItem(analysis::kAnyGrade)->setText(QStringLiteral("合計"));
    layout->addWidget(payoutTable_);
    payoutSummary_ = new QLabel(box);
    payoutSummary_->setObjectName(QStringLiteral("payoutSummary"));
    payoutSummary_->setWordWrap(true);
    layout->addWidget(payoutSummary_);
    // The figures come first, so that they show whole in a small window; the
    // note on hindsight follows them and may need scrolling there.
    layout->addWidget(buildHindsightNote(QStringLiteral("Payout"), box));
    layout->addStretch(1);
    scroll->setWidget(box);
    return scroll;
}

QWidget* OddsTab::buildHindsightNote(const QString& suffix, QWidget* parent, QBoxLayout* buttonRow) {
    auto* frame = new QWidget(parent);
    frame->setObjectName(QStringLiteral("hindsightNote") + suffix);
    auto* layout = new QHBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* text = new QLabel(frame);
    text->setObjectName(QStringLiteral("hindsightText") + suffix);
    text->setWordWrap(true);
    text->setStyleSheet(QStringLiteral("QLabel { color: #8a5300; }"));
    layout->addWidget(text, 1);
    auto* button = new QPushButton(QStringLiteral("作成後の回で検証"), parent);
    button->setObjectName(QStringLiteral("hindsightAfter") + suffix);
    if (buttonRow) buttonRow->addWidget(button);
    else layout->addWidget(button, 0, Qt::AlignTop);
    connect(button, &QPushButton::clicked, this, [this] { form_.oddsRangeAfterMadeRows(); });
    frame->hide();
    button->hide();
    hindsight_.emplace_back(frame, button);
    return frame;
}

void OddsTab::refreshHindsight() {
    const analysis::OddsPage& page = form_.odds().figures();
    const QString note = qs(analysis::hindsightNote(page));
    int from = 0, to = 0;
    const bool after = analysis::rangeAfterMadeRows(page, from, to);
    for (const auto& [frame, button] : hindsight_) {
        frame->findChild<QLabel*>()->setText(note);
        button->setVisible(!note.isEmpty());
        button->setEnabled(after);
        button->setToolTip(after ? QStringLiteral("第%1回～第%2回で検証します").arg(from).arg(to)
                                 : QStringLiteral("作成後の回はまだありません"));
        frame->setVisible(!note.isEmpty());
    }
}

void OddsTab::refresh() {
    popularity_->refresh();
    const analysis::OddsPage& page = form_.odds().figures();
    if (page.revision == shownRevision_) return;
    shownRevision_ = page.revision;
    const bool ready = page.ready;

    combinations_->setText(qs(ready ? analysis::combinationsText(page.odds) : page.message));
    const auto oddsRows = analysis::oddsRowTexts(page.odds);
    for (int g = 0; g < analysis::kGradeRows; ++g) {
        const analysis::OddsRowTexts& r = oddsRows[static_cast<std::size_t>(g)];
        const std::string cells[4] = {r.oneIn, r.percent, r.expected, r.withinYear};
        for (int c = 0; c < 4; ++c) setCell(oddsTable_, g, c, ready ? cells[c] : std::string());
    }
    for (int g = 0; g < 4; ++g) {
        QLineEdit* edit = prizes_[static_cast<std::size_t>(g)];
        const QString text = QString::number(page.prizes.yen[static_cast<std::size_t>(g)]);
        if (edit->text() != text) edit->setText(text);
    }
    return_->setText(ready ? qs(analysis::expectedReturnText(analysis::expectedReturn(page.odds, page.prizes)))
                           : QString());

    // A range that does not fit keeps what was typed beside its message; the
    // figures stay those of the last valid range.
    const std::string& problem = form_.odds().rangeProblem();
    rangeProblem_->setText(qs(problem));
    rangeProblem_->setVisible(!problem.empty());
    if (problem.empty()) {
        const QSignalBlocker blockFrom(from_), blockTo(to_);
        from_->setValue(page.from);
        to_->setValue(page.to);
    }
    draws_->setText(ready ? qs(analysis::drawsText(page.backtest)) : QString());
    const auto rows = analysis::backtestRowTexts(page.backtest);
    for (int g = 0; g < analysis::kGradeRows; ++g) {
        const analysis::BacktestRowTexts& r = rows[static_cast<std::size_t>(g)];
        const std::string cells[5] = {r.actual, r.expected, r.sd, r.z, r.verdict};
        for (int c = 0; c < 5; ++c) setCell(backtestTable_, g, c, ready ? cells[c] : std::string());
    }
    refreshPayouts();
    refreshHindsight();
    refreshChart();
}

void OddsTab::refreshPayouts() {
    const analysis::OddsPage& page = form_.odds().figures();
    const app::State& state = form_.state();
    analysis::PayoutTexts texts;
    if (page.ready)
        texts = analysis::payoutTexts(form_.odds().payouts(), page.odds, page.prizes, state.payoutFileFound);
    // A file that cannot be read says why; the figures are those without it.
    if (!state.payoutProblem.empty()) texts.summary = state.payoutProblem;
    for (int g = 0; g < analysis::kGradeRows; ++g) {
        const analysis::PayoutRowTexts& r = texts.rows[static_cast<std::size_t>(g)];
        const std::string cells[3] = {r.wins, r.yen, r.expectedYen};
        for (int c = 0; c < 3; ++c) setCell(payoutTable_, g, c, cells[c]);
    }
    payoutTable_->setVisible(texts.figures);
    payoutSummary_->setText(qs(texts.summary));
}

void OddsTab::refreshChart() {
    // Each grade on the same scale: the expected number is 100, the actual
    // number and the band of +-2 standard deviations in proportion to it.
    chart_->clear();
    chart_->setTitle(QStringLiteral("実際の当選数（偶然の期待値＝100）"));
    ChartAxis x;
    x.ticks = ChartAxis::Ticks::Categories;
    x.lower = -0.5;
    x.upper = analysis::kGradeRows - 0.5;
    for (int g = 0; g < analysis::kGradeRows; ++g) x.categories.emplace_back(g, QString::fromUtf8(kGradeNames[g]));
    chart_->setAxis(Qt::Horizontal, x);
    const analysis::OddsPage& page = form_.odds().figures();
    if (!page.ready || page.backtest.draws == 0 || page.combos.empty()) return;

    double low = 100, high = 100;
    std::vector<ChartBand> bands;
    std::vector<QPointF> actual;
    for (int g = 0; g < analysis::kGradeRows; ++g) {
        const analysis::GradeBacktest& b = page.backtest.grade[static_cast<std::size_t>(g)];
        if (!(b.expected > 0)) continue;
        const double up = 100 * (b.expected + 2 * b.sd) / b.expected;
        // A count is never below zero.
        const double down = std::max(0.0, 100 * (b.expected - 2 * b.sd) / b.expected);
        bands.push_back({static_cast<double>(g), 0.3, down, up});
        const double ratio = 100 * static_cast<double>(b.actual) / b.expected;
        actual.emplace_back(g, ratio);
        low = std::min({low, down, ratio});
        high = std::max({high, up, ratio});
    }
    chart_->addBands(QStringLiteral("偶然の範囲（±2σ）"), QColor(120, 170, 230, 110), bands);
    chart_->addLine(QStringLiteral("偶然の期待値"), {QColor(90, 90, 90), 1.5, true, 0},
                    {QPointF(-0.5, 100), QPointF(analysis::kGradeRows - 0.5, 100)});
    chart_->addPoints(QStringLiteral("実際"), QColor(210, 60, 40), 10, actual);
    const double margin = std::max(5.0, (high - low) * 0.08);
    ChartAxis y;
    y.ticks = ChartAxis::Ticks::Whole;
    y.lower = std::max(0.0, low - margin);
    y.upper = high + margin;
    y.nice = true;
    chart_->setAxis(Qt::Vertical, y);
}

}  // namespace kazuban::ui
