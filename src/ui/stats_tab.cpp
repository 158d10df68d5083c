#include "ui/stats_tab.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <optional>
#include <set>

#include "app/form1.h"
#include "history/draw_history.h"
#include "ui/charts.h"
#include "ui/export_menus.h"
#include "ui/look.h"

namespace kazuban::ui {

namespace {

using analysis::Analysis;

// The choices of the window of draws: 0 all, -1 a number typed in.
struct WindowChoice {
    const char* caption;
    int draws;
};
constexpr WindowChoice kWindows[] = {{"全回", 0},        {"直近10回", 10},   {"直近30回", 30},  {"直近50回", 50},
                                     {"直近100回", 100}, {"直近300回", 300}, {"回数を指定", -1}};

// The expectations as a player reads them: one decimal. Copy and CSV keep
// the report's full figures.
constexpr int kFullTextRole = Qt::UserRole + 1;
QString shownText(const analysis::StatsSection& section, std::size_t row, std::size_t col) {
    if (col > 0 && section.expectation[col - 1]) return QString::number(section.rows[row].values[col - 1], 'f', 1);
    return qs(section.cell(row, col));
}

// The frequency and gap tables sort on a header click: hot and cold numbers.
bool sortable(Analysis a) { return a == Analysis::Frequency || a == Analysis::Gaps; }

QLabel* textLine(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QTableView* newTable(const char* name, QStandardItemModel* model, QWidget* parent) {
    auto* table = new QTableView(parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setModel(model);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    return table;
}

void fitColumns(QTableView* table) {
    table->resizeColumnsToContents();
    for (int c = 0; c < table->model()->columnCount(); ++c)
        table->setColumnWidth(c, std::max(table->columnWidth(c) + 16, 90));
}

// A table's rows in the order shown, with their full figures; with
// selectedOnly, the selected rows, or every row when none is selected.
std::vector<std::vector<std::string>> rowsOf(const QTableView* table, bool selectedOnly) {
    std::set<int> chosen;
    if (selectedOnly)
        for (const QModelIndex& i : table->selectionModel()->selectedRows()) chosen.insert(i.row());
    const QAbstractItemModel* model = table->model();
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < model->rowCount(); ++r) {
        if (!chosen.empty() && !chosen.count(r)) continue;
        std::vector<std::string> cells;
        for (int c = 0; c < model->columnCount(); ++c)
            cells.push_back(model->index(r, c).data(kFullTextRole).toString().toStdString());
        rows.push_back(std::move(cells));
    }
    return rows;
}

}  // namespace

StatsTab::StatsTab(app::Form1& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("StatsTab"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);

    auto* top = new QHBoxLayout;
    top->setSpacing(6);
    top->addWidget(new QLabel(QStringLiteral("分析："), this));
    analysisBox_ = new QComboBox(this);
    analysisBox_->setObjectName(QStringLiteral("ComboAnalysis"));
    const analysis::HistoryStats none;
    for (int a = 0; a < analysis::kAnalysisCount; ++a)
        analysisBox_->addItem(qs(analysis::statsSection(none, static_cast<Analysis>(a)).caption));
    analysisBox_->addItem(QStringLiteral("すべての検定"));
    top->addWidget(analysisBox_);
    top->addSpacing(10);
    top->addWidget(new QLabel(QStringLiteral("対象："), this));
    windowBox_ = new QComboBox(this);
    windowBox_->setObjectName(QStringLiteral("ComboWindow"));
    for (const WindowChoice& w : kWindows) windowBox_->addItem(QString::fromUtf8(w.caption), w.draws);
    top->addWidget(windowBox_);
    lastBox_ = new QSpinBox(this);
    lastBox_->setObjectName(QStringLiteral("SpinLast"));
    lastBox_->setRange(1, history::kMaxDraws);
    lastBox_->setValue(100);
    lastBox_->setSuffix(QStringLiteral(" 回"));
    lastBox_->setEnabled(false);
    lastBox_->setKeyboardTracking(false);
    top->addWidget(lastBox_);
    top->addSpacing(10);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("LabelStatsNote"));
    top->addWidget(note_, 1);
    auto* hint = new QLabel(QStringLiteral("右ｸﾘｯｸ可"), this);
    hint->setObjectName(QStringLiteral("LabelHintStats"));
    top->addWidget(hint);
    layout->addLayout(top);

    pages_ = new QStackedWidget(this);
    auto* split = new QSplitter(Qt::Vertical, pages_);
    // The chart with the test of its analysis under it.
    auto* chartPane = new QWidget(split);
    auto* chartLayout = new QVBoxLayout(chartPane);
    chartLayout->setContentsMargins(0, 0, 0, 2);
    chartLayout->setSpacing(2);
    chart_ = new Chart(chartPane);
    chart_->setObjectName(QStringLiteral("ChartStats"));
    chart_->setMinimumHeight(160);
    chartLayout->addWidget(chart_, 1);
    testFigures_ = textLine("LabelTest", chartPane);
    testSentence_ = textLine("LabelTestSentence", chartPane);
    chartLayout->addWidget(testFigures_);
    chartLayout->addWidget(testSentence_);
    model_ = new QStandardItemModel(this);
    model_->setSortRole(Qt::UserRole);
    table_ = newTable("TableStats", model_, split);
    table_->horizontalHeader()->setSectionsClickable(true);
    split->addWidget(chartPane);
    split->addWidget(table_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setSizes({330, 220});
    pages_->addWidget(split);

    // All the tests: their table, and what many tests do by chance under it.
    auto* testsPane = new QWidget(pages_);
    auto* testsLayout = new QVBoxLayout(testsPane);
    testsLayout->setContentsMargins(0, 0, 0, 0);
    testsModel_ = new QStandardItemModel(this);
    testsTable_ = newTable("TableTests", testsModel_, testsPane);
    testsTable_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    manyTests_ = textLine("LabelManyTests", testsPane);
    testsLayout->addWidget(testsTable_);
    testsLayout->addWidget(manyTests_);
    testsLayout->addStretch(1);
    pages_->addWidget(testsPane);
    layout->addWidget(pages_, 1);

    tableMenu_ = addTableExportMenu(
        table_, form_, "stats", [this](bool selectedOnly) { return shownRows(selectedOnly); },
        [this] { return section_.captions; });
    chartMenu_ = addChartExportMenu(chart_, form_, "chart");
    testsMenu_ = addTableExportMenu(
        testsTable_, form_, "tests", [this](bool selectedOnly) { return testRows(selectedOnly); },
        [] { return app::testColumns(); });
    connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) { sortByColumn(c); });
    connect(analysisBox_, &QComboBox::currentIndexChanged, this, [this] {
        sortColumn_ = -1;
        showSection();
    });
    connect(windowBox_, &QComboBox::currentIndexChanged, this, [this] {
        lastBox_->setEnabled(windowBox_->currentData().toInt() < 0);
        form_.statsWindowChanged(windowSize());
    });
    connect(lastBox_, &QSpinBox::valueChanged, this, [this] {
        if (windowBox_->currentData().toInt() < 0) form_.statsWindowChanged(windowSize());
    });
}

int StatsTab::windowSize() const {
    const int chosen = windowBox_->currentData().toInt();
    return chosen < 0 ? lastBox_->value() : chosen;
}

bool StatsTab::allTests() const { return analysisBox_->currentIndex() == analysis::kAnalysisCount; }

Analysis StatsTab::currentAnalysis() const {
    return static_cast<Analysis>(std::clamp(analysisBox_->currentIndex(), 0, analysis::kAnalysisCount - 1));
}

void StatsTab::refresh() {
    const app::StatsPage& page = form_.stats();
    if (page.revision() == shownRevision_) return;
    shownRevision_ = page.revision();
    note_->setText(qs(page.note()));
    showSection();
}

void StatsTab::showSection() {
    if (shownRevision_ == 0) return;
    if (allTests()) {
        showAllTests();
        return;
    }
    pages_->setCurrentIndex(0);
    section_ = analysis::statsSection(form_.stats().stats(), currentAnalysis());
    fillTable();
    drawChart();
    showTest();
}

void StatsTab::showTest() {
    const std::optional<analysis::RandomnessTest> test = analysis::testOfAnalysis(currentAnalysis());
    if (!test) {
        testFigures_->setText(QStringLiteral("検定：出現間隔には、偶然かどうかの検定はありません。"));
        testSentence_->clear();
        testSentence_->hide();
        return;
    }
    const analysis::TestResult& result = form_.stats().test(*test);
    testFigures_->setText(QStringLiteral("検定：") + qs(app::testFigures(result)));
    testSentence_->setText(qs(analysis::chanceSentence(result)));
    testSentence_->show();
}

void StatsTab::showAllTests() {
    pages_->setCurrentIndex(1);
    const analysis::RandomnessReport& report = form_.stats().report();
    testsModel_->clear();
    QStringList captions;
    for (const std::string& c : app::testColumns()) captions << qs(c);
    testsModel_->setHorizontalHeaderLabels(captions);
    for (const analysis::TestResult& result : report.tests) {
        const std::vector<std::string> shown = app::testRow(result, true), full = app::testRow(result, false);
        QList<QStandardItem*> items;
        for (std::size_t c = 0; c < shown.size(); ++c) {
            auto* item = new QStandardItem(qs(shown[c]));
            item->setData(qs(full[c]), kFullTextRole);
            // Figures to the right, names and verdicts to the left.
            const bool figure = c > 0 && c + 1 < shown.size();
            item->setTextAlignment((figure ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            items << item;
        }
        testsModel_->appendRow(items);
    }
    fitColumns(testsTable_);
    // The eight rows whole, with the sentence right under them.
    int height = testsTable_->horizontalHeader()->height() + 2 * testsTable_->frameWidth();
    for (int r = 0; r < testsModel_->rowCount(); ++r) height += testsTable_->rowHeight(r);
    testsTable_->setFixedHeight(height);
    manyTests_->setText(qs(app::allTestsSentence(report)));
}

void StatsTab::fillTable() {
    model_->clear();
    QStringList captions;
    for (const std::string& c : section_.captions) captions << qs(c);
    model_->setHorizontalHeaderLabels(captions);
    for (std::size_t r = 0; r < section_.rows.size(); ++r) {
        QList<QStandardItem*> items;
        for (std::size_t c = 0; c < section_.columns.size(); ++c) {
            auto* item = new QStandardItem(shownText(section_, r, c));
            item->setData(qs(section_.cell(r, c)), kFullTextRole);
            // Rows sort by value; the label column keeps the rows' own order.
            item->setData(c == 0 ? static_cast<double>(r) : section_.rows[r].values[c - 1], Qt::UserRole);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            items << item;
        }
        model_->appendRow(items);
    }
    QHeaderView* header = table_->horizontalHeader();
    const bool canSort = sortable(currentAnalysis());
    header->setSortIndicatorShown(canSort && sortColumn_ >= 0);
    if (canSort && sortColumn_ >= 0) {
        const Qt::SortOrder order = sortDescending_ ? Qt::DescendingOrder : Qt::AscendingOrder;
        model_->sort(sortColumn_, order);
        header->setSortIndicator(sortColumn_, order);
    }
    fitColumns(table_);
}

void StatsTab::sortByColumn(int column) {
    if (!sortable(currentAnalysis()) || column < 0 || column >= model_->columnCount()) return;
    // A first click on a count puts the largest first; a second click turns the order.
    sortDescending_ = column == sortColumn_ ? !sortDescending_ : column > 0;
    sortColumn_ = column;
    const Qt::SortOrder order = sortDescending_ ? Qt::DescendingOrder : Qt::AscendingOrder;
    model_->sort(column, order);
    table_->horizontalHeader()->setSortIndicatorShown(true);
    table_->horizontalHeader()->setSortIndicator(column, order);
}

void StatsTab::drawChart() {
    chart_->clear();
    QString title = qs(section_.caption);
    const analysis::HistoryStats& stats = form_.stats().stats();
    if (stats.draws > 0) title += QStringLiteral("（第%1回～第%2回）").arg(stats.firstDraw).arg(stats.lastDraw);
    chart_->setTitle(title);

    const int n = static_cast<int>(section_.rows.size());
    double top = 0;
    // Observed counts in blue and grey, the expectation in red over them.
    static const QColor kBarColors[] = {QColor(0x2f, 0x6f, 0xb8), QColor(0xa8, 0xb3, 0xbf)};
    const QColor expectedColor(0xc8, 0x1e, 0x1e);
    std::size_t barSeries = 0;
    std::vector<std::pair<QString, std::vector<QPointF>>> lines;
    for (std::size_t c = 0; c < section_.expectation.size(); ++c) {
        const QString name = qs(section_.captions[c + 1]);
        std::vector<double> values;
        for (const auto& row : section_.rows) {
            values.push_back(row.values[c]);
            top = std::max(top, row.values[c]);
        }
        if (section_.expectation[c]) {
            std::vector<QPointF> points;
            for (int r = 0; r < n; ++r) points.emplace_back(r, values[static_cast<std::size_t>(r)]);
            lines.emplace_back(name, std::move(points));
        } else {
            chart_->addBars(name, kBarColors[std::min<std::size_t>(barSeries++, 1)], values);
        }
    }
    // Markers where they stay apart; a line alone over many bars (sums).
    for (const auto& [name, points] : lines)
        chart_->addLine(name, {expectedColor, 1.5, false, n <= 40 ? 6.0 : 0.0}, points);

    // Category labels at the bars, thinned out where there are many (sums).
    ChartAxis x;
    x.ticks = ChartAxis::Ticks::Categories;
    x.lower = -0.5;
    x.upper = n - 0.5;
    const int step = std::max(1, static_cast<int>(std::ceil(n / 31.0)));
    for (int r = 0; r < n; r += step)
        x.categories.emplace_back(r, qs(section_.rows[static_cast<std::size_t>(r)].label));
    chart_->setAxis(Qt::Horizontal, x);
    ChartAxis y;
    y.ticks = ChartAxis::Ticks::Whole;
    y.upper = top > 0 ? top * 1.08 : 1.0;
    y.nice = true;
    chart_->setAxis(Qt::Vertical, y);
}

std::vector<std::vector<std::string>> StatsTab::shownRows(bool selectedOnly) const {
    return rowsOf(table_, selectedOnly);
}

std::vector<std::vector<std::string>> StatsTab::testRows(bool selectedOnly) const {
    return rowsOf(testsTable_, selectedOnly);
}

}  // namespace kazuban::ui
