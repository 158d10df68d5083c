#include <gtest/gtest.h>

#include <random>

#include "combos/combination_table.h"
#include "combos/evaluation.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"

namespace kazuban::combos {
namespace {

using history::DrawHistory;
using testing::makeDrawText;
using Entries = std::vector<WinEntry>;

// Every entry is a draw, valid unless listed: the index must agree with the
// rule whatever the loader would have accepted.
DrawHistory handHistory(const std::vector<std::string>& draws, const std::vector<int>& invalid = {}) {
    DrawHistory h;
    h.entries.push_back("header");
    h.entries.insert(h.entries.end(), draws.begin(), draws.end());
    h.valid.assign(h.entries.size(), true);
    h.valid[0] = false;
    for (int d : invalid) h.valid[static_cast<std::size_t>(d)] = false;
    h.numbers.assign(h.entries.size(), {});
    return h;
}

Entries fast(const DrawHistory& h, const std::string& c) { return DrawIndex(h).winEntries(c, h.maxn()); }

TEST(Evaluation, GradesByMatchesAndBonusOnTheTexts) {
    const std::string c = " 3, 9,14,22,30";
    const DrawHistory h = handHistory(
        {
            makeDrawText({3, 9, 14, 22, 30, 17}),  // 5
            makeDrawText({3, 9, 14, 22, 31, 30}),  // 4 and the bonus
            makeDrawText({3, 9, 14, 22, 31, 17}),  // 4
            makeDrawText({3, 9, 14, 1, 2, 22}),    // 3
            makeDrawText({3, 9, 1, 2, 4, 14}),     // 2: no entry
            "",                                    // invalid: empty fields would match anything
        },
        {6});
    const Entries want{{1, 1}, {2, 2}, {3, 3}, {4, 4}};
    EXPECT_EQ(winEntriesLiteral(h, c, h.maxn()), want);
    EXPECT_EQ(fast(h, c), want);
    // 03 is not " 3": only 14, 22 and 30 match the first draw.
    EXPECT_EQ(fast(h, "03,09,14,22,30").front(), (WinEntry{1, 4}));
    EXPECT_TRUE(fast(h, "").empty());
    EXPECT_EQ(winEntryText({123, 4}), "123=4");

    // Valid draws in other forms: leading zeros, a trailing blank (the bonus
    // is the last two characters), a bonus equal to a main number.
    const DrawHistory odd = handHistory({"03,09,14,22,30,17", " 3, 9,14,22,31,30 ", " 3, 9,14,22,31,22"});
    EXPECT_EQ(fast(odd, c), (Entries{{1, 4}, {2, 3}, {3, 2}}));
}

std::string randomField(std::mt19937& rng) {
    const int n = static_cast<int>(rng() % 31) + 1;
    switch (rng() % 10) {
    case 0: return std::string(n < 10 ? "0" : "").append(std::to_string(n));
    case 1: return std::to_string(n);
    default: return testing::numberField(n);
    }
}

std::string randomText(std::mt19937& rng, int fields) {
    std::string s;
    for (int i = 0; i < fields; ++i) s.append(i ? "," : "").append(randomField(rng));
    return s;
}

std::string randomCombination(std::mt19937& rng) {
    switch (rng() % 10) {
    case 0: return "";
    case 1: {
        static const std::string chars = " 0123456789,,\r";
        std::string s;
        for (int i = static_cast<int>(rng() % 40); i > 0; --i) s += chars[rng() % chars.size()];
        return s;
    }
    case 2: return "１, ２,14,22,30";
    case 3: return randomText(rng, 12);                                // many numbers in one text
    case 4: return "\xE3\x81 5,14," + randomField(rng);                // not UTF-8
    default: return randomText(rng, 4 + static_cast<int>(rng() % 3));  // 12 to 17 characters
    }
}

std::string randomDraw(std::mt19937& rng) {
    std::string s;
    for (int i = 0; i < 6; ++i) s.append(i ? "," : "").append(testing::numberField(static_cast<int>(rng() % 31) + 1));
    switch (rng() % 8) {
    case 0: return randomText(rng, 6);             // odd forms
    case 1: return s.substr(0, rng() % s.size());  // short
    case 2: return s + " 7";
    default: return s;  // repeated numbers possible
    }
}

TEST(Evaluation, FastIndexEqualsTheRuleOnRandomTextsAndHistories) {
    std::mt19937 rng(20260807);
    int withEntries = 0;
    for (int round = 0; round < 150; ++round) {
        std::vector<std::string> draws;
        const int n = 1 + static_cast<int>(rng() % 120);
        for (int d = 0; d < n; ++d) draws.push_back(randomDraw(rng));
        std::vector<int> invalid;
        for (int d = 1; d <= n; ++d)
            if (rng() % 6 == 0) invalid.push_back(d);
        const DrawHistory h = handHistory(draws, invalid);
        DrawIndex index(h);
        Entries out;
        for (int k = 0; k < 40; ++k) {
            const std::string c = k % 4 == 0 ? draws[rng() % draws.size()].substr(0, 14) : randomCombination(rng);
            const int last = k % 3 == 0 ? static_cast<int>(rng() % (n + 2)) : n;
            index.winEntries(c, last, out);
            ASSERT_EQ(out, winEntriesLiteral(h, c, last)) << "[" << c << "] round " << round;
            withEntries += !out.empty();
        }
    }
    EXPECT_GT(withEntries, 1000);
}

TEST(Evaluation, TableRowsGetEntriesAndColumnsAsNeeded) {
    testing::FakePlatform p;
    grid::TextGrid t;
    // 39 draws equal to row 1's combination: more entries than the columns of 40 draws.
    std::vector<std::string> draws(40, makeDrawText({3, 9, 14, 22, 30, 17}));
    draws[0] = makeDrawText({1, 2, 3, 20, 21, 22});
    const DrawHistory h = handHistory(draws);
    layoutTable(t, 0);
    t.setCell(1, 1, " 3, 9,14,22,30");
    t.setCell(3, 1, " 1, 2, 3,20,21");
    for (int c = 2; c <= 30; ++c) t.setCell(3, c, "stale");  // entries of an earlier text
    t.setCell(2, 5, "left alone");                           // an empty row is not touched
    evaluateWinEntries(t, h, h.maxn(), p);
    EXPECT_EQ(t.cols(), 41);
    EXPECT_EQ(t.cell(1, 2), "2=1");
    EXPECT_EQ(t.cell(1, 40), "40=1");
    EXPECT_EQ(t.cell(0, 40), "39");
    EXPECT_EQ(t.colWidth(40), 800);
    EXPECT_EQ(t.cell(3, 2), "1=1");
    EXPECT_EQ(t.storedCells(3), 3);
    EXPECT_EQ(t.cell(2, 5), "left alone");
    EXPECT_EQ(t.col(), 2);
    EXPECT_EQ(t.colSel(), 40);
    EXPECT_DOUBLE_EQ(t.fontSize(), 11);
    EXPECT_EQ(p.progressMax, 1000);
    EXPECT_EQ(p.progressValue, 1000);
    EXPECT_FALSE(p.progressVisible);
}

}  // namespace
}  // namespace kazuban::combos
