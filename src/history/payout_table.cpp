#include "history/payout_table.h"

#include <chrono>
#include <cstdio>

#include "history/draw_history.h"
#include "platform/line_file.h"
#include "platform/system.h"

namespace kazuban::history {

namespace {

constexpr std::string_view kNone = "該当なし";

bool isGroupedDigits(std::string_view s) {
    // "1,234,567": one to three digits, then groups of three.
    const std::size_t first = s.find(',');
    if (first == 0 || first > 3) return false;
    for (std::size_t i = first; i < s.size(); i += 4)
        if (s[i] != ',' || i + 4 > s.size()) return false;
    return true;
}

}  // namespace

bool DrawPayout::anyKnown() const {
    for (const auto& f : fields)
        if (f) return true;
    return false;
}

bool DrawPayout::hasPrizes() const {
    for (int g = 0; g < 4; ++g)
        if (!fields[kPrizeField + g]) return false;
    return true;
}

std::string payoutFieldName(int field) {
    if (field == kDateField) return "日付";
    if (field < kPrizeField) return std::to_string(field - kWinnersField + 1) + "等口数";
    return std::to_string(field - kPrizeField + 1) + "等賞金";
}

std::string payoutFieldText(int field, std::int64_t value) {
    if (field != kDateField) return std::to_string(value);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", static_cast<int>(value / 10000),
                  static_cast<int>(value / 100 % 100), static_cast<int>(value % 100));
    return buf;
}

std::optional<std::int64_t> suggestedDate(const PayoutTable& table, int drawNumber) {
    for (auto it = table.lower_bound(drawNumber); it != table.begin();) {
        --it;
        const auto& date = it->second.fields[kDateField];
        if (!date) continue;
        namespace ch = std::chrono;
        const ch::year_month_day known{ch::year(static_cast<int>(*date / 10000)),
                                       ch::month(static_cast<unsigned>(*date / 100 % 100)),
                                       ch::day(static_cast<unsigned>(*date % 100))};
        const ch::year_month_day next{ch::sys_days(known) + ch::days(7LL * (drawNumber - it->first))};
        if (!next.ok() || next.year() > ch::year(9999)) return std::nullopt;
        return static_cast<std::int64_t>(static_cast<int>(next.year())) * 10000 +
               static_cast<unsigned>(next.month()) * 100 + static_cast<unsigned>(next.day());
    }
    return std::nullopt;
}

std::optional<std::int64_t> parseAmount(std::string_view text, int field, const std::string& file, int line) {
    if (text.empty()) return std::nullopt;
    if (text == kNone) return 0;
    const std::string name = payoutFieldName(field);
    auto refuse = [&](const char* what) {
        throw ImportRefused({file, line, name + "「" + std::string(text) + "」" + what});
    };
    std::string s = asciiDigits(text);
    const std::string_view unit = field < kPrizeField ? "口" : "円";
    if (s.ends_with(unit)) s.resize(s.size() - unit.size());
    const bool negative = s.starts_with('-');
    if (negative) s.erase(0, 1);
    if (s.find(',') != std::string::npos) {
        if (!isGroupedDigits(s)) refuse("が整数ではありません。");
        std::erase(s, ',');
    }
    const auto v = parseDigits(s);
    const bool allDigits = !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
    if (!v) refuse(allDigits ? "が大きすぎます。" : "が整数ではありません。");
    if (negative) refuse("が負の数です。");
    return v;
}

PayoutCheck checkPayoutFields(const std::string& date, const std::array<std::string, 4>& winners,
                              const std::array<std::string, 4>& prizes) {
    auto clean = [](const std::string& s) {
        const std::size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
        return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
    };
    PayoutCheck c;
    const std::string d = asciiDigits(clean(date));
    if (!d.empty()) {
        c.payout.fields[kDateField] = parseDate(d);
        if (!c.payout.fields[kDateField]) {
            c.problem = "日付「" + clean(date) + "」が正しくありません（例 2024/06/11）。";
            return c;
        }
    }
    try {
        for (int g = 0; g < 4; ++g) {
            c.payout.fields[kWinnersField + g] = parseAmount(clean(winners[g]), kWinnersField + g, {}, 0);
            c.payout.fields[kPrizeField + g] = parseAmount(clean(prizes[g]), kPrizeField + g, {}, 0);
        }
    } catch (const ImportRefused& e) {
        c.problem = e.problem().reason;
        c.payout = {};
    }
    return c;
}

PayoutTable parsePayoutTable(std::string_view bytes, const std::string& name) {
    const std::vector<std::string> lines = resultFileLines(bytes, name);
    PayoutTable table;
    if (lines.empty()) return table;
    if (lines[0] != kPayoutHeader)
        throw ImportRefused({name, 1, std::string("見出しが「") + kPayoutHeader + "」ではありません。"});
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        if (lines[i].find_first_not_of(" \t") == std::string::npos) continue;
        std::vector<std::string> f = csvFields(lines[i]);
        if (f.size() > 1 + kPayoutFields) throw ImportRefused({name, line, "項目が多すぎます。"});
        f.resize(1 + kPayoutFields);
        const auto draw = parseDigits(f[0]);
        if (!draw || *draw < 1 || *draw > kMaxDraws)
            throw ImportRefused(
                {name, line, "回「" + f[0] + "」が 1～" + std::to_string(kMaxDraws) + " ではありません。"});
        DrawPayout p;
        if (!f[1].empty()) {
            p.fields[kDateField] = parseDate(f[1]);
            if (!p.fields[kDateField]) throw ImportRefused({name, line, "日付「" + f[1] + "」が正しくありません。"});
        }
        for (int k = kWinnersField; k < kPayoutFields; ++k) p.fields[k] = parseAmount(f[k + 1], k, name, line);
        if (!table.emplace(static_cast<int>(*draw), p).second)
            throw ImportRefused({name, line, "第" + std::to_string(*draw) + "回の行が2つあります。"});
    }
    return table;
}

std::string payoutTableBytes(const PayoutTable& table) {
    std::string out = platform::encodeCp932(kPayoutHeader) + "\r\n";
    for (const auto& [draw, p] : table) {
        if (!p.anyKnown()) continue;
        out += std::to_string(draw);
        for (int k = 0; k < kPayoutFields; ++k) {
            out += ',';
            if (p.fields[k]) out += payoutFieldText(k, *p.fields[k]);
        }
        out += "\r\n";
    }
    return out;
}

PayoutTable readPayoutTable(const std::filesystem::path& file) {
    if (!platform::isFile(file)) return {};
    return parsePayoutTable(platform::readFileBytes(file), kPayoutFileName);
}

}  // namespace kazuban::history
