#include "history/result_files.h"

#include <algorithm>
#include <array>
#include <optional>

#include "history/draw_history.h"

namespace kazuban::history {

namespace {

constexpr const char* kNotALayout =
    "ミニロトの当選番号のファイルとして読めません（全回の CSV、みずほ銀行の回別 CSV、"
    "draw,date,n1～n5,bonus のどれでもありません）。";
constexpr const char* kSixNumbers = "本数字が6個あるため、ミニロトの当選番号ではありません。";
constexpr std::string_view kNone = "該当なし";

// Columns of the CSV layouts.
enum Column { kDraw, kDate, kMain1, kBonus = kMain1 + 5, kWinners1, kPrize1 = kWinners1 + 4, kColumns = kPrize1 + 4 };

bool isBlank(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

// The column a header name stands for; -1 for a name that is not read, -2
// for a sixth main number.
int columnOf(const std::string& name) {
    static const struct {
        const char* name;
        int column;
    } kNames[] = {
        {"開催回", kDraw}, {"回号", kDraw},       {"draw", kDraw},          {"日付", kDate},   {"抽せん日", kDate},
        {"date", kDate},   {"BONUS数字", kBonus}, {"ボーナス数字", kBonus}, {"bonus", kBonus}, {"第6数字", -2},
        {"n6", -2},
    };
    for (const auto& n : kNames)
        if (name == n.name) return n.column;
    for (int k = 1; k <= 5; ++k)
        if (name == "第" + std::to_string(k) + "数字" || name == "n" + std::to_string(k)) return kMain1 + k - 1;
    for (int g = 1; g <= 4; ++g) {
        if (name == std::to_string(g) + "等口数") return kWinners1 + g - 1;
        if (name == std::to_string(g) + "等賞金") return kPrize1 + g - 1;
    }
    return -1;
}

// Five main number texts and the bonus text as a draw, main numbers
// ascending; nullopt when they are not a Mini Loto draw.
std::optional<DrawNumbers> drawOf(const std::array<std::string, 6>& texts) {
    DrawNumbers d{};
    for (int k = 0; k < 6; ++k) {
        const auto v = parseDigits(texts[k]);
        if (!v || *v < 1 || *v > 31) return std::nullopt;
        d[k] = static_cast<int>(*v);
    }
    std::sort(d.begin(), d.begin() + 5);
    for (int k = 0; k < 5; ++k)
        if (d[k] == d[k + 1] || d[k] == d[5]) return std::nullopt;
    return d;
}

std::string notADraw(int draw) {
    return "第" + std::to_string(draw) +
           "回の当選番号が正しくありません（本数字は 1～31 の異なる5個、ボーナス数字は本数字にない 1～31 です）。";
}

// "123", "0123" or "第123回": the draw number 1.., or 0.
int drawNumberOf(std::string s) {
    if (s.starts_with("第") && s.ends_with("回")) s = s.substr(3, s.size() - 6);
    const auto v = parseDigits(s);
    return v && *v >= 1 ? static_cast<int>(std::min<std::int64_t>(*v, kMaxDraws + 1)) : 0;
}

// The CSV layouts: the header at `header`, a row per later line.
ResultFile readCsv(const std::vector<std::string>& lines, std::size_t header, const std::array<int, kColumns>& at,
                   ResultLayout layout, const std::string& name) {
    ResultFile file;
    file.layout = layout;
    int needed = 0;
    for (int c : {int{kDraw}, kMain1 + 0, kMain1 + 1, kMain1 + 2, kMain1 + 3, kMain1 + 4, int{kBonus}})
        needed = std::max(needed, at[c] + 1);
    for (std::size_t i = header + 1; i < lines.size(); ++i) {
        if (isBlank(lines[i])) continue;
        const int line = static_cast<int>(i) + 1;
        const std::vector<std::string> f = csvFields(asciiDigits(lines[i]));
        auto cell = [&](int c) { return at[c] >= 0 && at[c] < static_cast<int>(f.size()) ? f[at[c]] : std::string(); };
        if (static_cast<int>(f.size()) < needed) throw ImportRefused({name, line, "項目が足りません。"});
        ResultDraw d;
        d.line = line;
        d.draw = drawNumberOf(cell(kDraw));
        if (d.draw == 0) throw ImportRefused({name, line, "回「" + cell(kDraw) + "」が正しくありません。"});
        const auto numbers = drawOf(
            {cell(kMain1), cell(kMain1 + 1), cell(kMain1 + 2), cell(kMain1 + 3), cell(kMain1 + 4), cell(kBonus)});
        if (!numbers) throw ImportRefused({name, line, notADraw(d.draw)});
        d.numbers = *numbers;
        if (const std::string date = cell(kDate); !date.empty()) {
            d.payout.fields[kDateField] = parseDate(date);
            if (!d.payout.fields[kDateField])
                throw ImportRefused({name, line, "日付「" + date + "」が正しくありません。"});
        }
        for (int g = 0; g < 4; ++g) {
            d.payout.fields[kWinnersField + g] = parseAmount(cell(kWinners1 + g), kWinnersField + g, name, line);
            d.payout.fields[kPrizeField + g] = parseAmount(cell(kPrize1 + g), kPrizeField + g, name, line);
        }
        file.draws.push_back(std::move(d));
    }
    return file;
}

// "令和5年6月13日", "平成11年4月13日", "令和元年5月7日" (digits already ASCII) as YYYYMMDD.
std::optional<std::int64_t> eraDate(std::string_view s) {
    int base;
    if (s.starts_with("平成")) base = 1988;
    else if (s.starts_with("令和")) base = 2018;
    else return std::nullopt;
    s.remove_prefix(6);
    int year = 1;
    if (s.starts_with("元")) {
        s.remove_prefix(3);
    } else {
        const std::size_t n = s.find_first_not_of("0123456789");
        const auto v = parseDigits(s.substr(0, n));
        if (!v || *v < 1 || *v > 99) return std::nullopt;
        year = static_cast<int>(*v);
        s.remove_prefix(n == std::string_view::npos ? s.size() : n);
    }
    if (!s.starts_with("年")) return std::nullopt;
    s.remove_prefix(3);
    const std::size_t month = s.find("月");
    if (month == std::string_view::npos || !s.ends_with("日")) return std::nullopt;
    const std::string_view day = s.substr(month + 3, s.size() - month - 6);
    const std::string_view mon = s.substr(0, month);
    // Only digits: "YYYY/M/D" then checks the calendar.
    if (mon.empty() || day.empty() || mon.size() > 2 || day.size() > 2 || !parseDigits(mon) || !parseDigits(day))
        return std::nullopt;
    return parseDate(std::to_string(base + year) + "/" + std::string(mon) + "/" + std::string(day));
}

// "１等,6口,\"9,483,300円\"" and the same without quotes: the grade's count
// and amount, or false for a line that describes the grade instead.
bool gradeRow(const std::vector<std::string>& f, ResultDraw& d, const std::string& name, int line) {
    if (f.size() < 2 || f[0].size() != 4 || f[0][0] < '1' || f[0][0] > '4' || f[0].substr(1) != "等") return false;
    const int g = f[0][0] - '1';
    // The count ends at the field that ends in 口 (digit groups may have split it).
    std::string count;
    std::size_t k = 1;
    for (; k < f.size(); ++k) {
        count += (k > 1 ? "," : "") + f[k];
        if (f[k].ends_with("口") || f[k] == kNone) break;
    }
    if (k == f.size()) return false;
    if (count != kNone) {
        const std::string digits = count.substr(0, count.size() - std::string_view("口").size());
        if (digits.empty() || digits.find_first_not_of("0123456789,-") != std::string::npos) return false;
    }
    std::string amount;
    for (std::size_t j = k + 1; j < f.size(); ++j) amount += (j > k + 1 ? "," : "") + f[j];
    d.payout.fields[kWinnersField + g] = parseAmount(count, kWinnersField + g, name, line);
    d.payout.fields[kPrizeField + g] = parseAmount(amount, kPrizeField + g, name, line);
    return true;
}

ResultFile readBank(const std::vector<std::string>& lines, const std::string& name) {
    ResultFile file;
    file.layout = ResultLayout::BankPerDraw;
    bool haveNumbers = false;
    auto closeBlock = [&] {
        if (!file.draws.empty() && !haveNumbers)
            throw ImportRefused({name, file.draws.back().line,
                                 "第" + std::to_string(file.draws.back().draw) + "回の本数字の行がありません。"});
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        const std::vector<std::string> f = csvFields(asciiDigits(lines[i]));
        if (f[0].starts_with("第") && f[0].ends_with("回ミニロト")) {
            closeBlock();
            haveNumbers = false;
            ResultDraw d;
            d.line = line;
            d.draw = drawNumberOf(f[0].substr(0, f[0].size() - std::string_view("ミニロト").size()));
            if (d.draw == 0) throw ImportRefused({name, line, "回「" + f[0] + "」が正しくありません。"});
            const std::string date = f.size() > 2 ? f[2] : std::string();
            d.payout.fields[kDateField] = eraDate(date);
            if (!d.payout.fields[kDateField])
                throw ImportRefused({name, line, "日付「" + date + "」が正しくありません。"});
            file.draws.push_back(std::move(d));
            continue;
        }
        if (file.draws.empty()) continue;  // a code line such as "A52" before the first block
        ResultDraw& d = file.draws.back();
        if (f[0] == "本数字") {
            const auto bonusAt = std::find(f.begin(), f.end(), "ボーナス数字") - f.begin();
            if (bonusAt == 7 && f.size() > 8) throw ImportRefused({name, line, kSixNumbers});
            const auto numbers = bonusAt == 6 && f.size() == 8 ? drawOf({f[1], f[2], f[3], f[4], f[5], f[7]})
                                                               : std::nullopt;
            if (!numbers) throw ImportRefused({name, line, notADraw(d.draw)});
            d.numbers = *numbers;
            haveNumbers = true;
            continue;
        }
        // Anything else (支払期間, 販売実績額, the grades' descriptions) is skipped.
        gradeRow(f, d, name, line);
    }
    closeBlock();
    return file;
}

}  // namespace

ResultFile readResultFile(std::string_view bytes, const std::string& name) {
    const std::vector<std::string> lines = resultFileLines(bytes, name);
    static const char* const kOtherGames[][2] = {{"ロト6", "ロト６"}, {"ロト7", "ロト７"}};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string s = asciiDigits(lines[i]);
        for (const auto& game : kOtherGames)
            if (s.find(game[0]) != std::string::npos)
                throw ImportRefused({name, static_cast<int>(i) + 1,
                                     std::string("ミニロトではなく、") + game[1] + "の当選番号のファイルです。"});
    }
    std::size_t first = 0;
    while (first < lines.size() && isBlank(lines[first])) ++first;
    if (first == lines.size()) throw ImportRefused({name, 1, kNotALayout});

    // A header naming the columns: one of the CSV layouts.
    std::array<int, kColumns> at;
    at.fill(-1);
    const std::vector<std::string> header = csvFields(asciiDigits(lines[first]));
    for (std::size_t k = 0; k < header.size(); ++k) {
        const int c = columnOf(header[k]);
        if (c == -2) throw ImportRefused({name, static_cast<int>(first) + 1, kSixNumbers});
        if (c >= 0 && at[c] < 0) at[c] = static_cast<int>(k);
    }
    if (at[kDraw] >= 0 && std::all_of(at.begin() + kMain1, at.begin() + kBonus + 1, [](int a) { return a >= 0; }))
        return readCsv(lines, first, at,
                       header[at[kDraw]] == "draw" ? ResultLayout::OwnHistory : ResultLayout::FullHistory, name);

    for (const std::string& line : lines)
        if (line.starts_with("第") && line.find("回ミニロト") != std::string::npos) return readBank(lines, name);
    throw ImportRefused({name, static_cast<int>(first) + 1, kNotALayout});
}

}  // namespace kazuban::history
