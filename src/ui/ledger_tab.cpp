#include "ui/ledger_tab.h"

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "ledger/listing.h"
#include "ui/charts.h"
#include "ui/export_menus.h"
#include "ui/look.h"

namespace kazuban::ui {

namespace {

QDate dateOf(int ymd) { return QDate(ymd / 10000, ymd / 100 % 100, ymd % 100); }
int ymdOf(const QDate& d) { return d.year() * 10000 + d.month() * 100 + d.day(); }

constexpr int kYearColumns = 5;
const char* const kYearTitles[kYearColumns] = {"年", "購入額", "当せん金", "収支", "回収率"};

}  // namespace

// ---- the list ---------------------------------------------------------------------

void LedgerListModel::show(std::vector<std::size_t> order) {
    beginResetModel();
    order_ = std::move(order);
    today_ = form_.ledger().today();
    endResetModel();
}

int LedgerListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int LedgerListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ledger::kListColumns;
}

QVariant LedgerListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(order_.size())) return {};
    const std::size_t i = order_[static_cast<std::size_t>(index.row())];
    const auto& page = form_.ledger();
    if (i >= page.rows().size()) return {};
    const ledger::Row& row = page.rows()[i];
    const ledger::Checked& c = page.checked()[i];
    const int col = index.column();
    if (role == Qt::DisplayRole) return qs(ledger::listTexts(row, c, today_)[static_cast<std::size_t>(col)]);
    if (role == Qt::CheckStateRole && col == ledger::kColReceived && c.won())
        return row.received != 0 ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::TextAlignmentRole) {
        const bool right = col == ledger::kColDraw || col == ledger::kColUnits || col == ledger::kColSpent ||
                           col == ledger::kColYen;
        return QVariant::fromValue(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role == Qt::ForegroundRole && col == ledger::kColDeadline) {
        switch (ledger::deadlineMark(row, c, today_)) {
        case ledger::DeadlineMark::Passed: return QColor(170, 0, 0);
        case ledger::DeadlineMark::Near: return QColor(200, 90, 0);
        case ledger::DeadlineMark::None: break;
        }
    }
    if (role == Qt::BackgroundRole && c.won()) return QColor(255, 248, 220);
    if (role == Qt::ToolTipRole && !row.memo.empty()) return qs(row.memo);
    return {};
}

QVariant LedgerListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return QString::fromUtf8(ledger::columnTitle(section));
    return section + 1;
}

Qt::ItemFlags LedgerListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == ledger::kColReceived && index.row() < static_cast<int>(order_.size())) {
        const std::size_t i = order_[static_cast<std::size_t>(index.row())];
        if (i < form_.ledger().checked().size() && form_.ledger().checked()[i].won()) f |= Qt::ItemIsUserCheckable;
    }
    return f;
}

bool LedgerListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || index.column() != ledger::kColReceived) return false;
    const std::size_t i = order_[static_cast<std::size_t>(index.row())];
    const bool received = value.toInt() == Qt::Checked;
    form_.ledgerSetReceived({i}, received ? (receiveDay_ ? receiveDay_() : form_.ledger().today()) : 0);
    return true;
}

void LedgerListModel::sort(int column, Qt::SortOrder order) {
    const auto& page = form_.ledger();
    beginResetModel();
    ledger::sortRows(order_, page.rows(), page.checked(), column, order == Qt::AscendingOrder);
    endResetModel();
}

// ---- the tab ----------------------------------------------------------------------

LedgerTab::LedgerTab(app::Form1& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("LedgerTab"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("ledgerProblem"));
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #a00000;"));
    problem_->hide();
    layout->addWidget(problem_);

    auto* bar = new QHBoxLayout;
    year_ = new QComboBox(this);
    year_->setObjectName(QStringLiteral("ledgerYear"));
    show_ = new QComboBox(this);
    show_->setObjectName(QStringLiteral("ledgerShow"));
    show_->addItems({QStringLiteral("すべて"), QStringLiteral("当せんのみ"), QStringLiteral("未受取のみ")});
    receivedDate_ = new QDateEdit(this);
    receivedDate_->setObjectName(QStringLiteral("ledgerReceivedDate"));
    receivedDate_->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    receivedDate_->setCalendarPopup(true);
    receivedDate_->setDate(dateOf(form_.ledger().today()));
    markReceived_ = new QPushButton(QStringLiteral("受取日を記入"), this);
    markReceived_->setObjectName(QStringLiteral("ledgerMarkReceived"));
    markReceived_->setToolTip(QStringLiteral("選んだ当せんの行に、左の日付を受取日として記入します"));
    delete_ = new QPushButton(QStringLiteral("削除"), this);
    delete_->setObjectName(QStringLiteral("ledgerDelete"));
    undo_ = new QPushButton(QStringLiteral("元に戻す"), this);
    undo_->setObjectName(QStringLiteral("ledgerUndo"));
    auto* reload = new QPushButton(QStringLiteral("読み直す"), this);
    reload->setObjectName(QStringLiteral("ledgerReload"));
    bar->addWidget(new QLabel(QStringLiteral("年:"), this));
    bar->addWidget(year_);
    bar->addWidget(show_);
    bar->addSpacing(8);
    bar->addWidget(receivedDate_);
    bar->addWidget(markReceived_);
    bar->addStretch(1);
    bar->addWidget(delete_);
    bar->addWidget(undo_);
    bar->addWidget(reload);
    layout->addLayout(bar);

    auto* split = new QSplitter(Qt::Vertical, this);
    list_ = new QTableView(split);
    list_->setObjectName(QStringLiteral("ledgerList"));
    model_ = new LedgerListModel(form_, this);
    model_->setReceiveDay([this] { return receiveDay(); });
    list_->setModel(model_);
    list_->setFont(japaneseFont());
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSortingEnabled(true);
    list_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setStretchLastSection(true);
    const int widths[ledger::kListColumns] = {50, 84, 120, 40, 64, 80, 96, 150, 100};
    for (int c = 0; c < ledger::kListColumns; ++c) list_->setColumnWidth(c, widths[c]);
    connect(list_->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this, [this](int column, Qt::SortOrder o) {
        sortColumn_ = column;
        sortAscending_ = o == Qt::AscendingOrder;
    });
    split->addWidget(list_);

    auto* bottom = new QWidget(split);
    auto* bottomLayout = new QHBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    auto* moneyBox = new QGroupBox(QStringLiteral("金額（表示中の行）"), bottom);
    auto* moneyLayout = new QVBoxLayout(moneyBox);
    money_ = new QLabel(moneyBox);
    money_->setObjectName(QStringLiteral("ledgerMoney"));
    money_->setWordWrap(true);
    money_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    moneyLayout->addWidget(money_);
    years_ = new QTableWidget(0, kYearColumns - 1, moneyBox);
    years_->setObjectName(QStringLiteral("ledgerYears"));
    QStringList titles;
    for (int c = 1; c < kYearColumns; ++c) titles << QString::fromUtf8(kYearTitles[c]);
    years_->setHorizontalHeaderLabels(titles);
    years_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    years_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    years_->verticalHeader()->setDefaultSectionSize(years_->fontMetrics().height() + 6);
    moneyLayout->addWidget(years_, 1);
    bottomLayout->addWidget(moneyBox, 1);
    chart_ = new Chart(bottom);
    chart_->setObjectName(QStringLiteral("ledgerChart"));
    chart_->setMinimumSize(200, 120);
    chart_->setLegendShown(false);
    chart_->setTitle(QStringLiteral("収支の推移（円）"));
    bottomLayout->addWidget(chart_, 1);
    split->addWidget(bottom);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    layout->addWidget(split, 1);

    addTableExportMenu(
        years_, form_, "ledgeryears",
        [this](bool selectedOnly) {
            std::set<int> chosen;
            if (selectedOnly)
                for (const QTableWidgetItem* item : years_->selectedItems()) chosen.insert(item->row());
            ExportRows rows;
            for (int r = 0; r < years_->rowCount(); ++r) {
                if (!chosen.empty() && !chosen.count(r)) continue;
                std::vector<std::string> cells{years_->verticalHeaderItem(r)->text().toStdString()};
                for (int c = 0; c < years_->columnCount(); ++c)
                    cells.push_back(years_->item(r, c)->text().toStdString());
                rows.push_back(std::move(cells));
            }
            return rows;
        },
        [] { return std::vector<std::string>(kYearTitles, kYearTitles + kYearColumns); });
    addTableExportMenu(
        list_, form_, "ledgerlist",
        [this](bool selectedOnly) {
            const auto& page = form_.ledger();
            std::vector<std::size_t> which = selectedOnly ? selectedRows() : std::vector<std::size_t>{};
            if (which.empty()) which = model_->order();
            ExportRows rows;
            for (std::size_t i : which) {
                const auto t = ledger::listTexts(page.rows()[i], page.checked()[i], page.today());
                rows.emplace_back(t.begin(), t.end());
            }
            return rows;
        },
        [] {
            std::vector<std::string> h;
            for (int c = 0; c < ledger::kListColumns; ++c) h.push_back(ledger::columnTitle(c));
            return h;
        });
    addChartExportMenu(chart_, form_, "ledgerchart");

    connect(year_, &QComboBox::currentIndexChanged, this, [this] { rebuild(); });
    connect(show_, &QComboBox::currentIndexChanged, this, [this] { rebuild(); });
    connect(markReceived_, &QPushButton::clicked, this,
            [this] { form_.ledgerSetReceived(selectedRows(), receiveDay()); });
    connect(delete_, &QPushButton::clicked, this, [this] { form_.ledgerDelete(selectedRows()); });
    connect(undo_, &QPushButton::clicked, this, [this] { form_.ledgerUndo(); });
    connect(reload, &QPushButton::clicked, this, [this] { form_.ledgerReload(); });
    refresh();
}

int LedgerTab::receiveDay() const { return ymdOf(receivedDate_->date()); }

std::vector<std::size_t> LedgerTab::selectedRows() const {
    std::vector<std::size_t> out;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows())
        out.push_back(model_->order()[static_cast<std::size_t>(index.row())]);
    std::sort(out.begin(), out.end());
    return out;
}

QString LedgerTab::caption() const {
    const auto& page = form_.ledger();
    return qs(ledger::tabCaption(ledger::deadlineNotes(page.rows(), page.checked(), page.today())));
}

QString LedgerTab::statusLine() const {
    const auto& page = form_.ledger();
    if (!page.problemText().empty())
        return QStringLiteral("購入記録: kounyu.csv に読めない行があります。購入記録のタブをご覧ください。");
    return qs(ledger::deadlineStatus(ledger::deadlineNotes(page.rows(), page.checked(), page.today())));
}

void LedgerTab::refresh() {
    const auto& page = form_.ledger();
    if (page.revision() == shownRevision_ && page.today() == shownToday_) return;
    if (page.today() != shownToday_) receivedDate_->setDate(dateOf(page.today()));
    shownRevision_ = page.revision();
    shownToday_ = page.today();
    const std::string problem = page.problemText();
    problem_->setText(qs(problem));
    problem_->setVisible(!problem.empty());
    markReceived_->setEnabled(!page.readOnly());
    delete_->setEnabled(!page.readOnly());
    undo_->setEnabled(page.canUndo() && !page.readOnly());
    refreshYears();
    rebuild();
}

void LedgerTab::refreshYears() {
    const auto& page = form_.ledger();
    const QVariant chosen = year_->currentData();
    const QSignalBlocker block(year_);
    year_->clear();
    year_->addItem(QStringLiteral("すべての年"), -1);
    for (int y : ledger::rowYears(page.rows(), page.checked()))
        year_->addItem(y == 0 ? QStringLiteral("年不明") : QStringLiteral("%1年").arg(y), y);
    const int at = chosen.isValid() ? year_->findData(chosen) : 0;
    year_->setCurrentIndex(at < 0 ? 0 : at);
}

void LedgerTab::rebuild() {
    const auto& page = form_.ledger();
    ledger::ListFilter filter;
    filter.year = year_->currentData().isValid() ? year_->currentData().toInt() : -1;
    filter.show = static_cast<ledger::Show>(std::max(0, show_->currentIndex()));
    std::vector<std::size_t> which = ledger::filterRows(page.rows(), page.checked(), filter);
    refreshMoney(which);
    if (sortColumn_ >= 0) ledger::sortRows(which, page.rows(), page.checked(), sortColumn_, sortAscending_);
    model_->show(std::move(which));
}

void LedgerTab::refreshMoney(const std::vector<std::size_t>& which) {
    const auto& page = form_.ledger();
    const int today = page.today();
    const ledger::Money m = ledger::sumMoney(page.rows(), page.checked(), which, today);
    QString text = QStringLiteral("%1 行　購入額 %2　当せん金 %3　収支 %4　回収率 %5")
                       .arg(m.rows)
                       .arg(qs(ledger::yenText(m.spent)), qs(ledger::yenText(m.total.yen)),
                            qs(ledger::signedYenText(m.balance())), qs(ledger::percentText(m.returnPercent)));
    if (m.pendingRows > 0) text += QStringLiteral("　抽せん待ちなど %1 行").arg(m.pendingRows);
    if (m.prizeUnknownRows > 0) text += QStringLiteral("　当せん金未確定 %1 行").arg(m.prizeUnknownRows);
    if (m.unclaimedYen > 0) text += QStringLiteral("　未受取 %1").arg(qs(ledger::yenText(m.unclaimedYen)));
    if (m.expiredYen > 0) text += QStringLiteral("　期限切れ %1").arg(qs(ledger::yenText(m.expiredYen)));
    money_->setText(text);

    const auto byYear = ledger::moneyByYear(page.rows(), page.checked(), which, today);
    years_->setRowCount(static_cast<int>(byYear.size()));
    int r = 0;
    for (const auto& [year, ym] : byYear) {
        years_->setVerticalHeaderItem(r, new QTableWidgetItem(year == 0 ? QStringLiteral("年不明")
                                                                        : QStringLiteral("%1年").arg(year)));
        const std::string cells[] = {ledger::yenText(ym.spent), ledger::yenText(ym.total.yen),
                                     ledger::signedYenText(ym.balance()), ledger::percentText(ym.returnPercent)};
        for (int c = 0; c < kYearColumns - 1; ++c) {
            auto* item = new QTableWidgetItem(qs(cells[c]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            years_->setItem(r, c, item);
        }
        ++r;
    }

    // The balance after each draw, over the draws and zero.
    std::vector<QPointF> points;
    double low = 0, high = 0;
    for (const auto& [draw, balance] : ledger::runningBalance(page.rows(), page.checked(), which)) {
        points.emplace_back(draw, static_cast<double>(balance));
        low = std::min(low, points.back().y());
        high = std::max(high, points.back().y());
    }
    chart_->clear();
    chart_->addLine(QString(), {QColor(0x2f, 0x6f, 0xb8), 1.5, false, 0}, points);
    ChartAxis x;
    x.title = QStringLiteral("回");
    x.ticks = ChartAxis::Ticks::Whole;
    if (!points.empty()) {
        x.lower = points.front().x();
        x.upper = std::max(points.back().x(), x.lower + 1);
    }
    chart_->setAxis(Qt::Horizontal, x);
    ChartAxis y;
    y.ticks = ChartAxis::Ticks::Whole;
    y.lower = low;
    y.upper = high > low ? high : low + 1;
    y.nice = true;
    chart_->setAxis(Qt::Vertical, y);
}

// ---- adding ----------------------------------------------------------------------

LedgerAddDialog::LedgerAddDialog(app::Form1& form, std::vector<LedgerSource> sources, int chosen, QWidget* parent)
    : QDialog(parent), form_(form), sources_(std::move(sources)) {
    setObjectName(QStringLiteral("LedgerAddDialog"));
    setWindowTitle(QStringLiteral("購入記録に追加"));
    auto* layout = new QVBoxLayout(this);
    auto* form1 = new QFormLayout;
    if (sources_.size() > 1) {
        auto* box = new QWidget(this);
        auto* v = new QVBoxLayout(box);
        v->setContentsMargins(0, 0, 0, 0);
        for (std::size_t i = 0; i < sources_.size(); ++i) {
            auto* b =
                new QRadioButton(QStringLiteral("%1（%2 組）").arg(sources_[i].caption).arg(sources_[i].count), box);
            b->setObjectName(QStringLiteral("ledgerSource%1").arg(i));
            b->setChecked(static_cast<int>(i) == chosen);
            connect(b, &QRadioButton::toggled, this, [this] { updateCost(); });
            v->addWidget(b);
            choices_.push_back(b);
        }
        form1->addRow(QStringLiteral("組合せ:"), box);
    } else if (!sources_.empty()) {
        form1->addRow(QStringLiteral("組合せ:"),
                      new QLabel(QStringLiteral("%1（%2 組）").arg(sources_[0].caption).arg(sources_[0].count), this));
    }
    firstDraw_ = new QSpinBox(this);
    firstDraw_->setObjectName(QStringLiteral("ledgerFirstDraw"));
    firstDraw_->setRange(1, ledger::kMaxDraw);
    firstDraw_->setValue(std::min(form_.state().maxn + 1, ledger::kMaxDraw));
    firstDraw_->setSuffix(QStringLiteral(" 回から"));
    draws_ = new QSpinBox(this);
    draws_->setObjectName(QStringLiteral("ledgerDraws"));
    draws_->setRange(1, ledger::kMaxDraws);
    draws_->setSuffix(QStringLiteral(" 回"));
    units_ = new QSpinBox(this);
    units_->setObjectName(QStringLiteral("ledgerUnits"));
    units_->setRange(1, ledger::kMaxUnits);
    units_->setSuffix(QStringLiteral(" 口"));
    date_ = new QDateEdit(this);
    date_->setObjectName(QStringLiteral("ledgerPurchaseDate"));
    date_->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    date_->setCalendarPopup(true);
    date_->setDate(dateOf(form_.ledger().today()));
    memo_ = new QLineEdit(this);
    memo_->setObjectName(QStringLiteral("ledgerMemo"));
    form1->addRow(QStringLiteral("最初の回:"), firstDraw_);
    form1->addRow(QStringLiteral("継続:"), draws_);
    form1->addRow(QStringLiteral("1組の口数:"), units_);
    form1->addRow(QStringLiteral("購入日:"), date_);
    form1->addRow(QStringLiteral("メモ:"), memo_);
    layout->addLayout(form1);
    cost_ = new QLabel(this);
    cost_->setObjectName(QStringLiteral("ledgerCost"));
    QFont bold = cost_->font();
    bold.setBold(true);
    cost_->setFont(bold);
    layout->addWidget(cost_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("追加"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    for (QSpinBox* box : {draws_, units_}) connect(box, &QSpinBox::valueChanged, this, [this] { updateCost(); });
    updateCost();
}

int LedgerAddDialog::chosenSource() const {
    for (std::size_t i = 0; i < choices_.size(); ++i)
        if (choices_[i]->isChecked()) return static_cast<int>(i);
    return 0;
}

QString LedgerAddDialog::costText() const { return cost_->text(); }

void LedgerAddDialog::updateCost() {
    ledger::Purchase p;
    if (!sources_.empty())
        p.combos.resize(static_cast<std::size_t>(sources_[static_cast<std::size_t>(chosenSource())].count));
    p.draws = draws_->value();
    p.units = units_->value();
    cost_->setText(qs(ledger::costText(p)));
}

void LedgerAddDialog::accept() {
    if (sources_.empty()) return;
    const auto combos = sources_[static_cast<std::size_t>(chosenSource())].combos();
    if (!combos) return;
    ledger::Purchase p{*combos,         firstDraw_->value(),  draws_->value(),
                       units_->value(), ymdOf(date_->date()), memo_->text().toStdString()};
    if (form_.ledgerAdd(p)) QDialog::accept();
}

void addTableRowsToLedger(app::Form1& form, int first, int last, QWidget* parent) {
    if (first > last) std::swap(first, last);
    first = std::max(first, 1);
    const auto& table = form.combinationTable();
    const auto count = [&table](int from, int to) {
        int n = 0;
        for (int r = from; r <= to && r < table.rows(); ++r) n += !table.cell(r, 1).empty();
        return n;
    };
    std::vector<LedgerSource> sources;
    const int selected = count(first, last);
    if (selected > 0)
        sources.push_back({QStringLiteral("選んだ行 %1～%2").arg(first).arg(last), selected,
                           [&form, first, last] { return form.ledgerCombosFromTable(first, last); }});
    sources.push_back(
        {QStringLiteral("すべての行"), count(1, 1000), [&form] { return form.ledgerCombosFromTable(0, 0); }});
    LedgerAddDialog dialog(form, sources, selected > 1 ? 0 : static_cast<int>(sources.size()) - 1, parent);
    dialog.exec();
}

void addDesignToLedger(app::Form1& form, QWidget* parent) {
    const auto& last = form.design().last();
    const int count = last ? static_cast<int>(last->result.tickets.size()) : 0;
    if (count == 0) return;
    LedgerAddDialog dialog(form,
                           {{QStringLiteral("組合せ設計の結果"), count,
                             [&form] { return form.ledgerCombosFromDesign(); }}},
                           0, parent);
    dialog.exec();
}

}  // namespace kazuban::ui
