#include "ui/popularity_tab.h"

#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <set>

#include "analysis/popularity.h"
#include "ui/charts.h"
#include "ui/export_menus.h"
#include "ui/look.h"

namespace kazuban::ui {

namespace {

// A cell that sorts by its figure, not by its text.
class FigureItem : public QTableWidgetItem {
public:
    FigureItem(const std::string& text, double key) : QTableWidgetItem(qs(text)), key_(key) {
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        const auto* o = dynamic_cast<const FigureItem*>(&other);
        return o ? key_ < o->key_ : QTableWidgetItem::operator<(other);
    }

private:
    double key_;
};

std::string comboText(analysis::ComboMask m) {
    std::string s;
    for (int v = 1; v <= 31; ++v)
        if (m & (analysis::ComboMask{1} << v)) s += (s.empty() ? "" : " ") + std::to_string(v);
    return s;
}

}  // namespace

PopularityTab::PopularityTab(app::Form1& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("popularityTab"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("popularitySummary"));
    summary_->setWordWrap(true);
    layout->addWidget(summary_);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setChildrenCollapsible(false);
    table_ = new QTableWidget(0, 5, split);
    table_->setObjectName(QStringLiteral("popularityTable"));
    table_->setHorizontalHeaderLabels({QStringLiteral("番号"), QStringLiteral("組合せ"), QStringLiteral("人気度"),
                                       QStringLiteral("1等の推定額"), QStringLiteral("期待払戻額/200円")});
    table_->verticalHeader()->hide();
    table_->setWordWrap(false);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setSortingEnabled(true);
    table_->sortByColumn(0, Qt::AscendingOrder);  // table order until a header is clicked
    table_->setMinimumWidth(200);
    table_->setMinimumHeight(60);  // the tab must fit a small screen at 200 %
    chart_ = new Chart(split);
    chart_->setObjectName(QStringLiteral("popularityChart"));
    chart_->setMinimumSize(200, 100);
    chart_->setTitle(QStringLiteral("人気度の分布"));
    split->addWidget(table_);
    split->addWidget(chart_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    layout->addWidget(split, 1);

    auto header = [this] {
        std::vector<std::string> h;
        for (int c = 0; c < table_->columnCount(); ++c)
            h.push_back(table_->horizontalHeaderItem(c)->text().toStdString());
        return h;
    };
    addTableExportMenu(
        table_, form_, "popularity", [this](bool selectedOnly) { return tableRows(selectedOnly); }, header);
    addChartExportMenu(chart_, form_, "popularitychart");
    refresh();
}

std::vector<std::vector<std::string>> PopularityTab::tableRows(bool selectedOnly) const {
    std::set<int> chosen;
    if (selectedOnly)
        for (const QTableWidgetItem* item : table_->selectedItems()) chosen.insert(item->row());
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < table_->rowCount(); ++r) {
        if (!chosen.empty() && !chosen.count(r)) continue;
        std::vector<std::string> cells;
        for (int c = 0; c < table_->columnCount(); ++c) cells.push_back(table_->item(r, c)->text().toStdString());
        rows.push_back(std::move(cells));
    }
    return rows;
}

void PopularityTab::refresh() {
    const app::PopularityPage& page = form_.popularity();
    if (page.revision() == shownRevision_) return;
    shownRevision_ = page.revision();
    const analysis::PopularityFigures& f = page.figures();
    summary_->setText(qs(analysis::popularitySummary(f)));

    table_->setSortingEnabled(false);
    table_->setRowCount(static_cast<int>(f.rows.size()));
    // The average combination's figure beside the column's own.
    table_->horizontalHeaderItem(4)->setText(
        qs("期待払戻額/200円" + (f.ready ? "\n（平均 " + analysis::centsYenText(f.averageYen) + "）" : std::string())));
    for (int i = 0; i < static_cast<int>(f.rows.size()); ++i) {
        const analysis::PopularityRow& r = f.rows[static_cast<std::size_t>(i)];
        table_->setItem(i, 0, new FigureItem(std::to_string(r.row), r.row));
        auto* combo = new QTableWidgetItem(qs(comboText(r.combo)));
        table_->setItem(i, 1, combo);
        table_->setItem(i, 2, new FigureItem(analysis::popularityText(r.popularity), r.popularity));
        table_->setItem(i, 3, new FigureItem(analysis::roundYenText(r.prize1), r.prize1));
        table_->setItem(i, 4, new FigureItem(analysis::centsYenText(r.expectedYen), r.expectedYen));
    }
    table_->setSortingEnabled(true);

    // The chart: the share of all main sets (%) against their popularity on
    // a logarithmic axis, and the table's rows at their bin's height.
    constexpr double kLeast = 0.25, kMost = 64;
    std::vector<QPointF> all, rows;
    double top = 1;
    for (std::size_t k = 0; k < f.distribution.size(); ++k) {
        const double p = std::exp2(analysis::kLogBinStart + (static_cast<double>(k) + 0.5) * analysis::kLogBinWidth);
        if (p < kLeast) continue;
        all.emplace_back(p, 100 * f.distribution[k]);
        top = std::max(top, all.back().y());
    }
    for (const analysis::PopularityRow& r : f.rows) {
        const int k =
            static_cast<int>(std::floor((std::log2(r.popularity) - analysis::kLogBinStart) / analysis::kLogBinWidth));
        const double share = k >= 0 && k < static_cast<int>(f.distribution.size())
                                 ? 100 * f.distribution[static_cast<std::size_t>(k)]
                                 : 0;
        rows.emplace_back(std::clamp(r.popularity, kLeast, kMost), share);
    }
    chart_->clear();
    chart_->addLine(QStringLiteral("全組合せ"), {QColor(0x2f, 0x6f, 0xb8), 1.5, false, 0}, all);
    chart_->addPoints(QStringLiteral("表"), QColor(210, 60, 40), 7, rows);
    ChartAxis x;
    x.title = QStringLiteral("人気度（倍）");
    x.ticks = ChartAxis::Ticks::LogBase4;
    x.lower = kLeast;
    x.upper = kMost;
    chart_->setAxis(Qt::Horizontal, x);
    ChartAxis y;
    y.title = QStringLiteral("組合せの割合（%）");
    y.upper = top * 1.1;
    chart_->setAxis(Qt::Vertical, y);
}

}  // namespace kazuban::ui
