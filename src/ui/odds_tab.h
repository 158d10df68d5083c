#pragma once
// The tab "確率・検証": the chances of the table's combinations in the next
// draw, the expected return at editable prize amounts, and the back-test over
// a range of past draws with its chart, and the same range in the yen the
// draws paid. It shows app::OddsPage and calls Form1's handlers; the figures
// and their texts come from analysis/.
#include <QValidator>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "app/form1.h"

class QBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace kazuban::ui {

class Chart;
class PopularityTab;

// Whole yen 0..10,000,000,000: anything else cannot be typed.
class PrizeValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
    // A field left empty means 0 yen.
    void fixup(QString& input) const override;
};

class OddsTab : public QWidget {
    Q_OBJECT
public:
    explicit OddsTab(app::Form1& form, QWidget* parent = nullptr);

    // Redraws every figure from the core's state, when it changed since the
    // last time.
    void refresh();
    // The rows of a table as they are copied: the grade, then the cells.
    std::vector<std::vector<std::string>> tableRows(QTableWidget* table, bool selectedOnly) const;

private:
    QWidget* buildOddsPart();
    QWidget* buildBacktestPart();
    QWidget* buildPayoutPart(QWidget* parent);
    void refreshChart();
    void refreshPayouts();
    void refreshHindsight();
    // The note that a range reaches back to draws the rows could have been
    // built from, with the button 作成後の回で検证; one beside each back-test.
    // The button goes into `buttonRow` when given, beside the note otherwise.
    QWidget* buildHindsightNote(const QString& suffix, QWidget* parent, QBoxLayout* buttonRow = nullptr);

    app::Form1& form_;
    QLabel* combinations_ = nullptr;
    QTableWidget* oddsTable_ = nullptr;
    std::array<QLineEdit*, 4> prizes_{};
    QLabel* return_ = nullptr;
    QSpinBox* from_ = nullptr;
    QSpinBox* to_ = nullptr;
    QLabel* draws_ = nullptr;
    QLabel* rangeProblem_ = nullptr;
    QTableWidget* backtestTable_ = nullptr;
    Chart* chart_ = nullptr;
    QTableWidget* payoutTable_ = nullptr;
    QLabel* payoutSummary_ = nullptr;
    std::vector<std::pair<QWidget*, QPushButton*>> hindsight_;  // each note and its button
    PopularityTab* popularity_ = nullptr;
    int shownRevision_ = -1;
};

}  // namespace kazuban::ui
