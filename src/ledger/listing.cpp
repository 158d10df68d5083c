#include "ledger/listing.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "analysis/odds.h"

namespace kazuban::ledger {

namespace {

// Pending rows sort after every grade.
int gradeKey(const Checked& c) { return c.pending ? (c.beyondHistory ? 6 : 5) : c.grade; }

}  // namespace

const char* columnTitle(int column) {
    static const char* const titles[kListColumns] = {"回",   "抽せん日", "組合せ",   "口数", "購入額",
                                                     "等級", "当せん金", "支払期限", "受取"};
    return column >= 0 && column < kListColumns ? titles[column] : "";
}

std::vector<std::size_t> filterRows(const std::vector<Row>& rows, const std::vector<Checked>& checked,
                                    const ListFilter& filter) {
    std::vector<std::size_t> out;
    out.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (filter.year >= 0 && rowYear(rows[i], checked[i]) != filter.year) continue;
        if (filter.show != Show::All && !checked[i].won()) continue;
        if (filter.show == Show::NotReceivedOnly && rows[i].received != 0) continue;
        out.push_back(i);
    }
    return out;
}

std::vector<int> rowYears(const std::vector<Row>& rows, const std::vector<Checked>& checked) {
    std::vector<int> years;
    for (std::size_t i = 0; i < rows.size(); ++i) years.push_back(rowYear(rows[i], checked[i]));
    std::sort(years.begin(), years.end());
    years.erase(std::unique(years.begin(), years.end()), years.end());
    return years;
}

void sortRows(std::vector<std::size_t>& which, const std::vector<Row>& rows, const std::vector<Checked>& checked,
              int column, bool ascending) {
    const auto key = [&](std::size_t i) -> std::int64_t {
        const Row& r = rows[i];
        const Checked& c = checked[i];
        switch (column) {
        case kColDate: return c.drawDate;
        case kColUnits: return r.units;
        case kColSpent: return r.units * kUnitPrice;
        case kColGrade: return gradeKey(c);
        case kColYen: return c.won() ? c.yen.value_or(-1) : -2;
        case kColDeadline: return c.won() ? c.deadline : -1;
        case kColReceived: return r.received;
        default: return r.draw;
        }
    };
    if (column == kColNumbers) {
        std::stable_sort(which.begin(), which.end(), [&](std::size_t a, std::size_t b) {
            return ascending ? rows[a].numbers < rows[b].numbers : rows[b].numbers < rows[a].numbers;
        });
        return;
    }
    std::vector<std::pair<std::int64_t, std::size_t>> keyed;
    keyed.reserve(which.size());
    for (std::size_t i : which) keyed.emplace_back(key(i), i);
    std::stable_sort(keyed.begin(), keyed.end(), [ascending](const auto& a, const auto& b) {
        return ascending ? a.first < b.first : b.first < a.first;
    });
    for (std::size_t k = 0; k < keyed.size(); ++k) which[k] = keyed[k].second;
}

std::string numbersText(const std::array<int, 5>& numbers) {
    std::string out;
    for (std::size_t k = 0; k < numbers.size(); ++k) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%s%2d", k ? "," : "", numbers[k]);
        out += buf;
    }
    return out;
}

std::array<std::string, kListColumns> listTexts(const Row& row, const Checked& c, int today) {
    std::array<std::string, kListColumns> t;
    t[kColDraw] = std::to_string(row.draw);
    t[kColDate] = dateText(c.drawDate);
    t[kColNumbers] = numbersText(row.numbers);
    t[kColUnits] = std::to_string(row.units);
    t[kColSpent] = analysis::groupedText(row.units * kUnitPrice);
    if (c.pending) t[kColGrade] = c.beyondHistory ? "抽せん待ち" : "確認できません";
    else t[kColGrade] = c.grade == 0 ? "はずれ" : std::to_string(c.grade) + "等";
    if (c.won()) {
        t[kColYen] = c.yen ? analysis::groupedText(*c.yen) : "未確定";
        if (c.deadline == 0) {
            t[kColDeadline] = "抽せん日不明";
        } else {
            t[kColDeadline] = dateText(c.deadline);
            switch (deadlineMark(row, c, today)) {
            case DeadlineMark::Passed: t[kColDeadline] += " 期限切れ"; break;
            case DeadlineMark::Near:
                t[kColDeadline] += " あと" + std::to_string(daysBetween(today, c.deadline)) + "日";
                break;
            case DeadlineMark::None: break;
            }
        }
    }
    t[kColReceived] = dateText(row.received);
    return t;
}

DeadlineNotes deadlineNotes(const std::vector<Row>& rows, const std::vector<Checked>& checked, int today) {
    DeadlineNotes n;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        switch (deadlineMark(rows[i], checked[i], today)) {
        case DeadlineMark::Passed: ++n.passed; break;
        case DeadlineMark::Near:
            ++n.near;
            if (n.earliestNear == 0 || checked[i].deadline < n.earliestNear) n.earliestNear = checked[i].deadline;
            break;
        case DeadlineMark::None: break;
        }
    }
    return n;
}

std::string tabCaption(const DeadlineNotes& n) {
    std::string notes;
    if (n.passed > 0) notes = "期限切れ " + std::to_string(n.passed);
    if (n.near > 0) notes += (notes.empty() ? "" : "・") + std::string("期限間近 ") + std::to_string(n.near);
    return notes.empty() ? "購入記録" : "購入記録 (" + notes + ")";
}

std::string deadlineStatus(const DeadlineNotes& n) {
    if (n.passed == 0 && n.near == 0) return {};
    std::string s = "購入記録: ";
    if (n.near > 0)
        s += "受け取っていない当せん金 " + std::to_string(n.near) + " 件の支払期限が 30 日以内です（最も早い期限 " +
             dateText(n.earliestNear) + "）。";
    if (n.passed > 0) s += "支払期限を過ぎた当せん金が " + std::to_string(n.passed) + " 件あります（期限切れ）。";
    return s;
}

std::string yenText(std::int64_t yen) { return analysis::groupedText(yen) + "円"; }

std::string signedYenText(std::int64_t yen) { return (yen > 0 ? "+" : "") + yenText(yen); }

std::string percentText(double percent) { return analysis::groupedDecimalText(percent, 2) + "%"; }

}  // namespace kazuban::ledger
