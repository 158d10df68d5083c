#pragma once
// The ledger as the tab lists it: the rows a filter keeps, their texts, the
// sort by a column, and the notes on deadlines for the caption and the
// status bar.
#include <array>
#include <string>
#include <vector>

#include "ledger/checking.h"

namespace kazuban::ledger {

enum class Show { All, WinsOnly, NotReceivedOnly };
struct ListFilter {
    int year = -1;  // a year of rowYear (0: unknown); -1 for every year
    Show show = Show::All;
};

enum Column { kColDraw, kColDate, kColNumbers, kColUnits, kColSpent, kColGrade, kColYen, kColDeadline, kColReceived };
inline constexpr int kListColumns = 9;
// "回", "抽せん日", "組合せ", "口数", "購入額", "等級", "当せん金", "支払期限", "受取"
const char* columnTitle(int column);

// Indices of the rows the filter keeps, in file order. NotReceivedOnly keeps
// the wins not received.
std::vector<std::size_t> filterRows(const std::vector<Row>& rows, const std::vector<Checked>& checked,
                                    const ListFilter& filter);
// The years of the rows (0 for unknown), ascending.
std::vector<int> rowYears(const std::vector<Row>& rows, const std::vector<Checked>& checked);

// Stable: rows with equal keys keep their order.
void sortRows(std::vector<std::size_t>& which, const std::vector<Row>& rows, const std::vector<Checked>& checked,
              int column, bool ascending);

// The texts of one line of the list.
std::array<std::string, kListColumns> listTexts(const Row& row, const Checked& c, int today);
// " 1, 5,14,21,30"
std::string numbersText(const std::array<int, 5>& numbers);

// The deadlines of all rows.
struct DeadlineNotes {
    int near = 0, passed = 0;
    int earliestNear = 0;  // the first deadline among the near ones
};
DeadlineNotes deadlineNotes(const std::vector<Row>& rows, const std::vector<Checked>& checked, int today);
// "購入記録" with the counts when there are any: "購入記録 (期限切れ 1・期限間近 2)".
std::string tabCaption(const DeadlineNotes& n);
// One line for the status bar; "" when no deadline needs a word.
std::string deadlineStatus(const DeadlineNotes& n);

// The money texts: "45,600円", "+158,262,200円", "507,396.79%".
std::string yenText(std::int64_t yen);
std::string signedYenText(std::int64_t yen);
std::string percentText(double percent);

}  // namespace kazuban::ledger
