#include "ledger/checking.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <ctime>

#include "analysis/draws.h"
#include "analysis/odds.h"

namespace kazuban::ledger {

namespace {

// Days since 1970-01-01 of a day of the proleptic Gregorian calendar.
long long daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int civilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long y = yoe + era * 400;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long d = doy - (153 * mp + 2) / 5 + 1;
    const long long m = mp + (mp < 10 ? 3 : -9);
    y += m <= 2;
    return static_cast<int>(y * 10000 + m * 100 + d);
}

long long dayNumber(int ymd) { return daysFromCivil(ymd / 10000, ymd / 100 % 100, ymd % 100); }

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

}  // namespace

int gradeOf(const std::array<int, 5>& numbers, std::uint32_t mainMask, int bonus) {
    std::uint32_t t = 0;
    for (int n : numbers) t |= 1u << n;
    const int shared = std::popcount(t & mainMask);
    if (shared == 5) return 1;
    if (shared == 4) return (t >> bonus) & 1u ? 2 : 3;
    return shared == 3 ? 4 : 0;
}

int claimDeadline(int drawDate) {
    const int d1 = civilFromDays(dayNumber(drawDate) + 1);
    int y = d1 / 10000 + 1, m = d1 / 100 % 100, d = d1 % 100;
    if (m == 2 && d == 29 && !isLeap(y)) {
        m = 3;
        d = 1;
    }
    return civilFromDays(daysFromCivil(y, m, d) - 1);
}

int systemToday() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (!local) return 20000101;
    return (local->tm_year + 1900) * 10000 + (local->tm_mon + 1) * 100 + local->tm_mday;
}

int daysBetween(int a, int b) { return static_cast<int>(dayNumber(b) - dayNumber(a)); }

Checked checkRow(const Row& row, const history::DrawHistory& history, const history::PayoutTable& payouts) {
    Checked c;
    const auto p = payouts.find(row.draw);
    if (p != payouts.end() && p->second.fields[history::kDateField])
        c.drawDate = static_cast<int>(*p->second.fields[history::kDateField]);
    if (row.draw > history.maxn()) {
        c.beyondHistory = true;
        return c;
    }
    const std::uint32_t m = analysis::mainMask(history, row.draw);
    if (m == 0) return c;
    c.pending = false;
    c.grade = gradeOf(row.numbers, m, history.numbers[static_cast<std::size_t>(row.draw)][5]);
    c.drawHasPrizes = p != payouts.end() && p->second.hasPrizes();
    if (c.grade > 0) {
        if (p != payouts.end()) {
            if (const auto& amount = p->second.fields[history::kPrizeField + c.grade - 1]) c.yen = *amount * row.units;
        }
        if (c.drawDate != 0) c.deadline = claimDeadline(c.drawDate);
    }
    return c;
}

std::vector<Checked> checkRows(const std::vector<Row>& rows, const history::DrawHistory& history,
                               const history::PayoutTable& payouts) {
    std::vector<Checked> out;
    out.reserve(rows.size());
    for (const Row& r : rows) out.push_back(checkRow(r, history, payouts));
    return out;
}

DeadlineMark deadlineMark(const Row& row, const Checked& c, int today) {
    if (!c.won() || row.received != 0 || c.deadline == 0) return DeadlineMark::None;
    const int left = daysBetween(today, c.deadline);
    if (left < 0) return DeadlineMark::Passed;
    return left <= kDeadlineWarningDays ? DeadlineMark::Near : DeadlineMark::None;
}

Money sumMoney(const std::vector<Row>& rows, const std::vector<Checked>& checked, const std::vector<std::size_t>& which,
               int today) {
    Money m;
    for (std::size_t i : which) {
        const Row& r = rows[i];
        const Checked& c = checked[i];
        ++m.rows;
        m.units += r.units;
        m.spent += r.units * kUnitPrice;
        if (c.pending) {
            ++m.pendingRows;
            continue;
        }
        if (c.drawHasPrizes) {
            m.pricedSpent += r.units * kUnitPrice;
            m.pricedYen += c.yen.value_or(0);
        }
        if (c.grade == 0) continue;
        GradeSum& g = m.grades[static_cast<std::size_t>(c.grade - 1)];
        ++g.rows;
        g.units += r.units;
        ++m.total.rows;
        m.total.units += r.units;
        if (!c.yen) {
            ++m.prizeUnknownRows;
            continue;
        }
        g.yen += *c.yen;
        m.total.yen += *c.yen;
        if (r.received == 0 && c.deadline != 0) (c.deadline >= today ? m.unclaimedYen : m.expiredYen) += *c.yen;
    }
    m.returnPercent =
        m.pricedSpent == 0 ? 0.0 : 100.0 * static_cast<double>(m.pricedYen) / static_cast<double>(m.pricedSpent);
    return m;
}

int rowYear(const Row& row, const Checked& c) {
    if (c.drawDate != 0) return c.drawDate / 10000;
    return row.bought / 10000;
}

std::map<int, Money> moneyByYear(const std::vector<Row>& rows, const std::vector<Checked>& checked,
                                 const std::vector<std::size_t>& which, int today) {
    std::map<int, std::vector<std::size_t>> byYear;
    for (std::size_t i : which) byYear[rowYear(rows[i], checked[i])].push_back(i);
    std::map<int, Money> out;
    for (const auto& [year, indices] : byYear) out[year] = sumMoney(rows, checked, indices, today);
    return out;
}

std::vector<std::pair<int, std::int64_t>> runningBalance(const std::vector<Row>& rows,
                                                         const std::vector<Checked>& checked,
                                                         const std::vector<std::size_t>& which) {
    std::map<int, std::int64_t> perDraw;
    for (std::size_t i : which) perDraw[rows[i].draw] += checked[i].yen.value_or(0) - rows[i].units * kUnitPrice;
    std::vector<std::pair<int, std::int64_t>> out;
    out.reserve(perDraw.size());
    std::int64_t sum = 0;
    for (const auto& [draw, delta] : perDraw) out.emplace_back(draw, sum += delta);
    return out;
}

std::string formatReport(const std::vector<Row>& rows, const std::vector<Checked>& checked, int from, int to,
                         int today) {
    std::vector<std::size_t> which;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].draw >= from && rows[i].draw <= to) which.push_back(i);
    std::stable_sort(which.begin(), which.end(),
                     [&](std::size_t a, std::size_t b) { return rows[a].draw < rows[b].draw; });
    const Money m = sumMoney(rows, checked, which, today);
    const auto n = [](std::int64_t v) { return std::to_string(v); };
    std::string out = "rows," + n(m.rows) + "\nunits," + n(m.units) + "\nspent," + n(m.spent) + "\npending_rows," +
                      n(m.pendingRows) + "\ngrade,rows,units,yen\n";
    for (int g = 0; g < 4; ++g) {
        const GradeSum& s = m.grades[static_cast<std::size_t>(g)];
        out += n(g + 1) + "," + n(s.rows) + "," + n(s.units) + "," + n(s.yen) + "\n";
    }
    out += "total," + n(m.total.rows) + "," + n(m.total.units) + "," + n(m.total.yen) + "\n";
    out += "prize_unknown_rows," + n(m.prizeUnknownRows) + "\n";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", m.returnPercent);
    out += "return_percent," + std::string(buf) + "\n";
    out += "unclaimed_yen," + n(m.unclaimedYen) + "\nexpired_yen," + n(m.expiredYen) + "\n";
    out += "draw,numbers,units,grade,yen,deadline,received\n";
    for (std::size_t i : which) {
        const Row& r = rows[i];
        const Checked& c = checked[i];
        out += n(r.draw) + ",";
        for (int k = 0; k < 5; ++k) out += (k ? " " : "") + n(r.numbers[static_cast<std::size_t>(k)]);
        out += "," + n(r.units) + "," + (c.pending ? std::string("-") : n(c.grade)) + ",";
        out += (c.won() && c.yen ? n(*c.yen) : std::string()) + ",";
        out += (c.won() ? dateText(c.deadline) : std::string()) + "," + dateText(r.received) + "\n";
    }
    return out;
}

std::string newDrawsMessage(const std::vector<Row>& rows, const std::vector<Checked>& checked, int oldMaxn,
                            int newMaxn) {
    std::vector<std::size_t> which;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].draw > oldMaxn && rows[i].draw <= newMaxn) which.push_back(i);
    if (which.empty()) return {};
    std::stable_sort(which.begin(), which.end(),
                     [&](std::size_t a, std::size_t b) { return rows[a].draw < rows[b].draw; });
    std::string wins;
    int first = rows[which.front()].draw, last = rows[which.back()].draw;
    for (std::size_t i : which) {
        const Checked& c = checked[i];
        if (!c.won()) continue;
        if (!wins.empty()) wins += "、";
        wins += "第" + std::to_string(rows[i].draw) + "回 " + std::to_string(c.grade) + "等 " +
                std::to_string(rows[i].units) + "口 " +
                (c.yen ? analysis::groupedText(*c.yen) + "円" : "当せん金未確定");
    }
    if (!wins.empty()) return "購入記録: " + wins + " が当たりました。";
    const std::string range = first == last ? "第" + std::to_string(first) + "回"
                                            : "第" + std::to_string(first) + "回～第" + std::to_string(last) + "回";
    return "購入記録: " + range + "の " + std::to_string(which.size()) + " 組は当たりませんでした。";
}

}  // namespace kazuban::ledger
