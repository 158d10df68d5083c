#pragma once
// The ledger's rows against the history: the grade each ticket won, its yen
// at the prizes of atarikin.csv, the claim deadline, and the money over a
// set of rows. A row is checked when its draw is a valid draw of the history
// (as the back-test counts draws); otherwise it is pending.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "history/draw_history.h"
#include "history/payout_table.h"
#include "ledger/ledger_file.h"

namespace kazuban::ledger {

inline constexpr std::int64_t kUnitPrice = 200;  // yen per unit (口)
inline constexpr int kDeadlineWarningDays = 30;

// The grade of the outcome model for five distinct numbers against a main
// set and a bonus: 1..4, 0 for no prize.
int gradeOf(const std::array<int, 5>& numbers, std::uint32_t mainMask, int bonus);

// The last day a prize of a draw on `drawDate` (YYYYMMDD) is paid: from the
// day after the draw for one year, so the day before the anniversary of that
// day (1 March stands for a 29 February that the next year lacks).
int claimDeadline(int drawDate);
// The local calendar day as YYYYMMDD.
int systemToday();
// Days from a to b (YYYYMMDD), negative when b is before a.
int daysBetween(int a, int b);

struct Checked {
    bool pending = true;              // the draw is not (yet) a valid draw of the history
    bool beyondHistory = false;       // pending because the draw is after maxn: 抽せん待ち
    int grade = 0;                    // 1..4; 0 for no prize (or pending)
    std::optional<std::int64_t> yen;  // units x the grade's amount, for a win whose amount is known
    bool drawHasPrizes = false;       // the draw's four amounts are all known
    int drawDate = 0;                 // YYYYMMDD; 0 when unknown
    int deadline = 0;                 // for a win whose draw's date is known
    bool won() const { return !pending && grade > 0; }
};

Checked checkRow(const Row& row, const history::DrawHistory& history, const history::PayoutTable& payouts);
std::vector<Checked> checkRows(const std::vector<Row>& rows, const history::DrawHistory& history,
                               const history::PayoutTable& payouts);

// A win not received whose deadline lies within kDeadlineWarningDays of
// today, or has passed.
enum class DeadlineMark { None, Near, Passed };
DeadlineMark deadlineMark(const Row& row, const Checked& c, int today);

// The money over some rows.
struct GradeSum {
    std::int64_t rows = 0, units = 0, yen = 0;
};
struct Money {
    std::int64_t rows = 0, units = 0, spent = 0, pendingRows = 0;
    std::array<GradeSum, 4> grades{};
    GradeSum total;
    std::int64_t prizeUnknownRows = 0;
    // Over the checked rows whose draw has all four amounts.
    std::int64_t pricedSpent = 0, pricedYen = 0;
    double returnPercent = 0;  // 100 x pricedYen / pricedSpent; 0 when nothing was spent
    std::int64_t unclaimedYen = 0, expiredYen = 0;
    std::int64_t balance() const { return total.yen - spent; }  // 収支
};
// `which`: indices into rows (and checked).
Money sumMoney(const std::vector<Row>& rows, const std::vector<Checked>& checked, const std::vector<std::size_t>& which,
               int today);

// The year a row belongs to: its draw's date, else its purchase date; 0 when neither is known.
int rowYear(const Row& row, const Checked& c);
// Per year of rowYear (0: unknown), ascending.
std::map<int, Money> moneyByYear(const std::vector<Row>& rows, const std::vector<Checked>& checked,
                                 const std::vector<std::size_t>& which, int today);

// The running balance after each draw that has rows among `which`, draws ascending:
// (draw, Σ yen − Σ spent of the rows up to it).
std::vector<std::pair<int, std::int64_t>> runningBalance(const std::vector<Row>& rows,
                                                         const std::vector<Checked>& checked,
                                                         const std::vector<std::size_t>& which);

// ledger report: the command-line form over the rows whose draw is in from..to.
std::string formatReport(const std::vector<Row>& rows, const std::vector<Checked>& checked, int from, int to,
                         int today);

// What the ledger won in the draws after `oldMaxn` up to `newMaxn`, in one
// sentence: "購入記録: 第1405回 3等 1口 10,000円 が当たりました。", or that
// nothing won; "" when the ledger has no row for those draws.
std::string newDrawsMessage(const std::vector<Row>& rows, const std::vector<Checked>& checked, int oldMaxn,
                            int newMaxn);

}  // namespace kazuban::ledger
