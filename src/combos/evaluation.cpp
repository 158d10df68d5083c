#include "combos/evaluation.h"

#include <algorithm>
#include <bit>
#include <charconv>

#include "combos/combination_table.h"
#include "platform/line_file.h"
#include "platform/platform.h"
#include "text/text.h"

namespace kazuban::combos {

namespace {

bool isAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string plainField(int v) { return v < 10 ? std::string{' ', static_cast<char>('0' + v)} : std::to_string(v); }

constexpr int tripleKey(int a, int b, int c) { return (a << 10) | (b << 5) | c; }
constexpr int kTripleKeys = 1 << 15;

// Beyond this many distinct numbers in one text, walking every draw is
// cheaper than walking the buckets of all its triples.
constexpr int kMaxNumbersForBuckets = 8;

}  // namespace

int plainFieldValue(char a, char b) {
    if (b < '0' || b > '9') return 0;
    const int low = b - '0';
    if (a == ' ') return low == 0 ? 0 : low;
    if (a == '1' || a == '2') return (a - '0') * 10 + low;
    if (a == '3' && low <= 1) return 30 + low;
    return 0;
}

std::uint32_t fieldMask(std::string_view s) {
    std::uint32_t mask = 0;
    for (std::size_t i = 0; i + 1 < s.size(); ++i) {
        const int v = plainFieldValue(s[i], s[i + 1]);
        if (v != 0) mask |= 1u << v;
    }
    return mask;
}

int gradeFromMatches(int matches, bool bonusHit) {
    switch (matches) {
    case 5: return 1;
    case 4: return bonusHit ? 2 : 3;
    case 3: return 4;
    default: return 0;
    }
}

std::string winEntryText(const WinEntry& e) {
    char buf[32];
    char* p = std::to_chars(buf, buf + 12, e.draw).ptr;  // an int takes at most 11 characters
    *p++ = '=';
    p = std::to_chars(p, buf + sizeof buf, e.grade).ptr;
    return std::string(buf, p);
}

int gradeLiteral(std::string_view combination, std::string_view drawText) {
    int matches = 0;
    for (long j = 1; j <= 5; ++j)
        if (text::InStr(combination, text::Mid(drawText, 3 * j - 2, 2)) > 0) ++matches;
    const bool bonusHit = matches == 4 && text::InStr(combination, text::Right(drawText, 2)) > 0;
    return gradeFromMatches(matches, bonusHit);
}

std::vector<WinEntry> winEntriesLiteral(const history::DrawHistory& h, std::string_view combination, int lastDraw) {
    std::vector<WinEntry> out;
    if (combination.empty()) return out;
    lastDraw = std::min(lastDraw, h.maxn());
    for (int d = 1; d <= lastDraw; ++d) {
        if (!h.isValidDraw(d)) continue;
        if (const int g = gradeLiteral(combination, h.entry(d))) out.push_back({d, g});
    }
    return out;
}

DrawIndex::DrawIndex(const history::DrawHistory& h) : lastDraw_(std::max(h.maxn(), 0)) {
    const auto size = static_cast<std::size_t>(lastDraw_) + 1;
    mainMask_.assign(size, 0);
    bonus_.assign(size, 0);
    seen_.assign(size / 64 + 1, 0);
    tripleStart_.assign(kTripleKeys + 1, 0);

    // A draw goes into the buckets when its text is exactly the 17 ASCII
    // characters of five distinct plain main fields and a plain bonus field
    // at the end: then "field occurs in c" is "bit set in c's mask" and the
    // match count is a popcount. Every other valid draw keeps its text.
    std::array<int, 5> nums{};
    for (int d = 1; d <= lastDraw_; ++d) {
        if (!h.isValidDraw(d)) continue;
        const std::string& t = h.entry(d);
        bool plain = t.size() == 17 && isAscii(t);
        std::uint32_t mask = 0;
        for (int j = 0; plain && j < 5; ++j) {
            const int v = plainFieldValue(t[3 * j], t[3 * j + 1]);
            if (v == 0 || (mask >> v & 1u)) plain = false;
            mask |= 1u << v;
            nums[j] = v;
        }
        const int b = plain ? plainFieldValue(t[15], t[16]) : 0;
        if (!plain || b == 0) {
            oddDraws_.push_back({d, t});
            continue;
        }
        mainMask_[d] = mask;
        bonus_[d] = static_cast<std::uint8_t>(b);
        regularDraws_.push_back(d);
        std::sort(nums.begin(), nums.end());
        for (int x = 0; x < 5; ++x)
            for (int y = x + 1; y < 5; ++y)
                for (int z = y + 1; z < 5; ++z) ++tripleStart_[tripleKey(nums[x], nums[y], nums[z]) + 1];
    }
    for (int k = 0; k < kTripleKeys; ++k) tripleStart_[k + 1] += tripleStart_[k];
    tripleDraws_.assign(static_cast<std::size_t>(tripleStart_[kTripleKeys]), 0);
    std::vector<std::int32_t> fill(tripleStart_.begin(), tripleStart_.end() - 1);
    for (int d : regularDraws_) {
        int n = 0;
        for (int v = 1; v <= 31; ++v)
            if (mainMask_[d] >> v & 1u) nums[n++] = v;
        for (int x = 0; x < 5; ++x)
            for (int y = x + 1; y < 5; ++y)
                for (int z = y + 1; z < 5; ++z) tripleDraws_[fill[tripleKey(nums[x], nums[y], nums[z])]++] = d;
    }
}

void DrawIndex::literalEntries(std::string_view combination, int lastDraw, std::vector<WinEntry>& out) const {
    for (const OddDraw& od : oddDraws_) {
        if (od.draw > lastDraw) break;
        if (const int g = gradeLiteral(combination, od.text)) out.push_back({od.draw, g});
    }
}

void DrawIndex::literalAllEntries(std::string_view combination, int lastDraw, std::vector<WinEntry>& out) const {
    auto odd = oddDraws_.begin();
    for (int d = 1; d <= lastDraw; ++d) {
        std::string rebuilt;
        std::string_view t;
        if (mainMask_[static_cast<std::size_t>(d)] != 0) {
            // Separators are never read by the rule: the fields are enough.
            for (int v = 1; v <= 31; ++v)
                if (mainMask_[static_cast<std::size_t>(d)] >> v & 1u) rebuilt += plainField(v) + ",";
            rebuilt += plainField(bonus_[static_cast<std::size_t>(d)]);
            t = rebuilt;
        } else if (odd != oddDraws_.end() && odd->draw == d) {
            t = (odd++)->text;
        } else {
            continue;
        }
        if (const int g = gradeLiteral(combination, t)) out.push_back({d, g});
    }
}

void DrawIndex::winEntries(std::string_view combination, int lastDraw, std::vector<WinEntry>& out) {
    out.clear();
    if (combination.empty()) return;
    lastDraw = std::min(lastDraw, lastDraw_);
    if (lastDraw < 1) return;

    // A text that is not valid UTF-8 would have its characters counted
    // differently from its bytes: take the rule itself for it.
    if (!isAscii(combination) && !text::isValidUtf8(combination)) {
        literalAllEntries(combination, lastDraw, out);
        return;
    }

    const std::uint32_t mask = fieldMask(combination);
    const int count = std::popcount(mask);
    std::size_t lowWord = seen_.size(), highWord = 0;
    auto mark = [&](int d) {
        const auto w = static_cast<std::size_t>(d) >> 6;
        seen_[w] |= std::uint64_t{1} << (d & 63);
        lowWord = std::min(lowWord, w);
        highWord = std::max(highWord, w);
    };

    if (count >= 3 && count <= kMaxNumbersForBuckets) {
        int nums[kMaxNumbersForBuckets];
        int n = 0;
        for (int v = 1; v <= 31; ++v)
            if (mask >> v & 1u) nums[n++] = v;
        for (int x = 0; x < n; ++x)
            for (int y = x + 1; y < n; ++y)
                for (int z = y + 1; z < n; ++z) {
                    const int key = tripleKey(nums[x], nums[y], nums[z]);
                    const std::int32_t* it = tripleDraws_.data() + tripleStart_[key];
                    const std::int32_t* end = tripleDraws_.data() + tripleStart_[key + 1];
                    for (; it != end && *it <= lastDraw; ++it) mark(*it);
                }
    } else if (count > kMaxNumbersForBuckets) {
        for (int d : regularDraws_) {
            if (d > lastDraw) break;
            if (std::popcount(mask & mainMask_[d]) >= 3) mark(d);
        }
    }

    for (std::size_t w = lowWord; w <= highWord && w < seen_.size(); ++w) {
        std::uint64_t bits = seen_[w];
        seen_[w] = 0;
        while (bits) {
            const int d = static_cast<int>(w * 64) + std::countr_zero(bits);
            bits &= bits - 1;
            const int matches = std::popcount(mask & mainMask_[d]);
            out.push_back({d, gradeFromMatches(matches, (mask >> bonus_[d] & 1u) != 0)});
        }
    }

    if (!oddDraws_.empty()) {
        const auto middle = static_cast<std::ptrdiff_t>(out.size());
        literalEntries(combination, lastDraw, out);
        std::inplace_merge(out.begin(), out.begin() + middle, out.end(),
                           [](const WinEntry& a, const WinEntry& b) { return a.draw < b.draw; });
    }
}

std::vector<WinEntry> DrawIndex::winEntries(std::string_view combination, int lastDraw) {
    std::vector<WinEntry> out;
    winEntries(combination, lastDraw, out);
    return out;
}

void evaluateWinEntries(grid::TextGrid& table, const history::DrawHistory& h, int maxn, platform::Platform& platform,
                        Method method) {
    ensureWinColumns(table, baseLastWinColumn(maxn));
    platform.showProgress(0, kDataRows);
    DrawIndex index;
    if (method == Method::Fast) index = DrawIndex(h);
    std::vector<WinEntry> entries;
    for (int r = 1; r <= kDataRows; ++r) {
        const std::string& c = table.cell(r, 1);
        if (!c.empty()) {
            if (method == Method::Fast) index.winEntries(c, h.maxn(), entries);
            else entries = winEntriesLiteral(h, c, h.maxn());
            const int last = kFirstWinColumn + static_cast<int>(entries.size()) - 1;
            if (last >= table.cols()) ensureWinColumns(table, last);
            if (table.storedCells(r) > last + 1) table.clearRange(r, last + 1, r, table.storedCells(r) - 1);
            // Last column first: the row's storage grows once.
            for (int i = static_cast<int>(entries.size()) - 1; i >= 0; --i)
                table.setCell(r, kFirstWinColumn + i, winEntryText(entries[static_cast<std::size_t>(i)]));
        }
        platform.setProgress(r);
    }
    table.setCol(kFirstWinColumn);
    table.setColSel(lastWinColumn(table, maxn));
    table.setFontSize(evaluatedFontSize(maxn));
    platform.hideProgress();
}

void evaluateRow(grid::TextGrid& table, const history::DrawHistory& h, int row) {
    ensureWinColumns(table, baseLastWinColumn(h.maxn()));
    if (table.storedCells(row) > kFirstWinColumn)
        table.clearRange(row, kFirstWinColumn, row, table.storedCells(row) - 1);
    const std::string c = table.cell(row, 1);
    if (c.empty()) return;
    const std::vector<WinEntry> entries = winEntriesLiteral(h, c, h.maxn());
    const int last = kFirstWinColumn + static_cast<int>(entries.size()) - 1;
    if (last >= table.cols()) ensureWinColumns(table, last);
    for (int i = static_cast<int>(entries.size()) - 1; i >= 0; --i)
        table.setCell(row, kFirstWinColumn + i, winEntryText(entries[static_cast<std::size_t>(i)]));
}

}  // namespace kazuban::combos
