#pragma once
// The tab "購入記録": the tickets bought, one line per ledger row with its
// grade, prize and claim deadline, filtered by year and by wins; the money of
// the rows in the filter, per year and as a running balance. It shows
// app::LedgerPage and calls Form1's handlers; every text comes from ledger/.
#include <QAbstractTableModel>
#include <QDialog>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/form1.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableView;
class QTableWidget;

namespace kazuban::ui {

class Chart;

// The list over the page's rows in the order of the filter and the sort.
class LedgerListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit LedgerListModel(app::Form1& form, QObject* parent = nullptr) : QAbstractTableModel(parent), form_(form) {}

    // The rows to show (indices into the page's rows), in order.
    void show(std::vector<std::size_t> order);
    const std::vector<std::size_t>& order() const { return order_; }
    // The received day a check in the 受取 column writes.
    void setReceiveDay(std::function<int()> day) { receiveDay_ = std::move(day); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    void sort(int column, Qt::SortOrder order) override;

private:
    app::Form1& form_;
    std::vector<std::size_t> order_;
    std::function<int()> receiveDay_;
    int today_ = 0;
};

class LedgerTab : public QWidget {
    Q_OBJECT
public:
    explicit LedgerTab(app::Form1& form, QWidget* parent = nullptr);

    // Redraws from the page when it changed since the last time.
    void refresh();
    // The tab's caption and the status bar's line, with the deadlines' notes.
    QString caption() const;
    QString statusLine() const;
    // The ledger rows (indices into the page's rows) selected in the list.
    std::vector<std::size_t> selectedRows() const;

private:
    void rebuild();
    void refreshYears();
    void refreshMoney(const std::vector<std::size_t>& which);
    int receiveDay() const;

    app::Form1& form_;
    QLabel* problem_ = nullptr;
    QComboBox* year_ = nullptr;
    QComboBox* show_ = nullptr;
    QDateEdit* receivedDate_ = nullptr;
    QPushButton* markReceived_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* undo_ = nullptr;
    QTableView* list_ = nullptr;
    LedgerListModel* model_ = nullptr;
    QLabel* money_ = nullptr;
    QTableWidget* years_ = nullptr;
    Chart* chart_ = nullptr;
    unsigned shownRevision_ = ~0u;
    int shownToday_ = 0;
    int sortColumn_ = -1;
    bool sortAscending_ = true;
};

// Where a purchase's combinations come from: a caption ("選んだ行"), how
// many there are, and how to get them validated (nullopt: refused, its
// message shown).
struct LedgerSource {
    QString caption;
    int count = 0;
    std::function<std::optional<std::vector<std::array<int, 5>>>()> combos;
};

// 購入記録に追加…: the first draw (maxn + 1), 継続, units, the purchase date
// (today) and a memo, with the cost before OK. OK adds through Form1; a
// refusal keeps the dialog open.
class LedgerAddDialog : public QDialog {
    Q_OBJECT
public:
    LedgerAddDialog(app::Form1& form, std::vector<LedgerSource> sources, int chosen, QWidget* parent = nullptr);
    QString costText() const;
    void accept() override;

private:
    void updateCost();
    int chosenSource() const;

    app::Form1& form_;
    std::vector<LedgerSource> sources_;
    std::vector<QRadioButton*> choices_;
    QSpinBox* firstDraw_ = nullptr;
    QSpinBox* draws_ = nullptr;
    QSpinBox* units_ = nullptr;
    QDateEdit* date_ = nullptr;
    QLineEdit* memo_ = nullptr;
    QLabel* cost_ = nullptr;
};

// Opens the dialog for the combination table's rows: the selected rows
// first..last, or all rows (the selected ones chosen when they are more than one).
void addTableRowsToLedger(app::Form1& form, int first, int last, QWidget* parent);
// Opens the dialog for 組合せ設計's result.
void addDesignToLedger(app::Form1& form, QWidget* parent);

}  // namespace kazuban::ui
