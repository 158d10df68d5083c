#pragma once
// The inner tab "人気と払戻金" of "確率・検証": per row of the combination
// table its 人気度, the 1等 it would pay and its 期待払戻額 per 200 yen, beside
// the average combination's figures, and a chart of the rows against all
// main sets. It shows app::PopularityPage; the figures come from analysis/.
#include <QWidget>
#include <string>
#include <vector>

#include "app/form1.h"

class QLabel;
class QTableWidget;

namespace kazuban::ui {

class Chart;

class PopularityTab : public QWidget {
    Q_OBJECT
public:
    explicit PopularityTab(app::Form1& form, QWidget* parent = nullptr);

    // Redraws the figures when they changed since the last time.
    void refresh();
    // The rows as they are copied, in the order shown.
    std::vector<std::vector<std::string>> tableRows(bool selectedOnly) const;

private:
    app::Form1& form_;
    QLabel* summary_ = nullptr;
    QTableWidget* table_ = nullptr;
    Chart* chart_ = nullptr;
    int shownRevision_ = -1;
};

}  // namespace kazuban::ui
