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

// A history built by hand: every entry is a draw, valid unless listed.
DrawHistory handHistory(const std::vector<std::string>& draws, const std::vector<int>& invalid = {}) {
    DrawHistory h;
    h.entries.push_back("本数字,ボーナス");
    h.entries.insert(h.entries.end(), draws.begin(), draws.end());
    h.valid.assign(h.entries.size(), true);
    h.valid[0] = false;
    for (int d : invalid) h.valid[static_cast<std::size_t>(d)] = false;
    h.numbers.assign(h.entries.size(), {});
    return h;
}

std::vector<WinEntry> fast(const DrawHistory& h, const std::string& c, int last = 1 << 20) {
    DrawIndex index(h);
    return index.winEntries(c, last);
}

TEST(Evaluation, GradesFollowMatchesAndBonus) {
    const std::string c = " 3, 9,14,22,30";
    const DrawHistory h = handHistory({
        makeDrawText({3, 9, 14, 22, 30, 17}),   // 5 matches
        makeDrawText({3, 9, 14, 22, 31, 30}),   // 4 + bonus
        makeDrawText({3, 9, 14, 22, 31, 17}),   // 4 without bonus
        makeDrawText({3, 9, 14, 1, 2, 22}),     // 3 (the bonus is not looked at)
        makeDrawText({3, 9, 1, 2, 4, 14}),      // 2: nothing
    });
    const std::vector<WinEntry> want{{1, 1}, {2, 2}, {3, 3}, {4, 4}};
    EXPECT_EQ(winEntriesLiteral(h, c, h.maxn()), want);
    EXPECT_EQ(fast(h, c), want);
    EXPECT_EQ(winEntryText({123, 4}), "123=4");
    EXPECT_EQ(winEntryText({32767, 1}), "32767=1");
}

TEST(Evaluation, NumbersAreComparedAsTheirTwoCharacterTexts) {
    const DrawHistory h = handHistory({makeDrawText({3, 9, 14, 22, 30, 17})});
    // 03 and 09 are different texts from " 3" and " 9": only three matches.
    EXPECT_EQ(fast(h, "03,09,14,22,30"), (std::vector<WinEntry>{{1, 4}}));
    EXPECT_EQ(fast(h, "3,9,14,22,30"), (std::vector<WinEntry>{{1, 4}}));
    // Without the blank a single-digit number is never found.
    EXPECT_EQ(fast(h, "22,30,31,14,10"), (std::vector<WinEntry>{{1, 4}}));
    // Substring search also finds numbers inside longer runs of digits.
    EXPECT_EQ(fast(h, "1422301 3 9"), (std::vector<WinEntry>{{1, 1}}));
    EXPECT_TRUE(fast(h, "").empty());
}

TEST(Evaluation, InvalidDrawsMatchNothing) {
    // A short line would give empty search texts, which are found everywhere.
    const DrawHistory h = handHistory({"", "12", makeDrawText({3, 9, 14, 22, 30, 17})}, {1, 2});
    EXPECT_EQ(winEntriesLiteral(h, " 3, 9,14,22,30", 3), (std::vector<WinEntry>{{3, 1}}));
    EXPECT_EQ(fast(h, " 3, 9,14,22,30"), (std::vector<WinEntry>{{3, 1}}));
}

TEST(Evaluation, OddButValidDrawsTakeTheRuleItself) {
    // Leading zeros, a trailing blank (bonus = last two characters), a bonus equal to a main number.
    const DrawHistory h = handHistory({
        "03,09,14,22,30,17",
        " 3, 9,14,22,31,30 ",
        " 3, 9,14,22,31,22",
        " 3, 9,14,22,31,30",
    });
    for (const std::string c : {"03,09,14,22,31", " 3, 9,14,22,30"})
        EXPECT_EQ(fast(h, c), winEntriesLiteral(h, c, h.maxn()));
    EXPECT_EQ(fast(h, "03,09,14,22,31"), (std::vector<WinEntry>{{1, 3}, {2, 4}, {3, 4}, {4, 4}}));
    EXPECT_EQ(fast(h, " 3, 9,14,22,30"), (std::vector<WinEntry>{{1, 4}, {2, 3}, {3, 2}, {4, 2}}));
}

TEST(Evaluation, EntriesStopAtTheGivenDraw) {
    const auto draws = testing::syntheticDraws(300, 5);
    std::vector<std::string> texts;
    for (const auto& d : draws) texts.push_back(makeDrawText(d));
    const DrawHistory h = handHistory(texts);
    DrawIndex index(h);
    const std::string c = texts[150].substr(0, 14);
    const auto all = index.winEntries(c, 300);
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.back().draw >= 151, true);
    for (int last : {0, 1, 150, 151, 299, 300, 5000}) {
        const auto part = index.winEntries(c, last);
        EXPECT_EQ(part, winEntriesLiteral(h, c, last)) << last;
        for (const auto& e : part) EXPECT_LE(e.draw, last);
    }
}

// ---- the fast index gives exactly what the rule gives ------------------------

std::string randomField(std::mt19937& rng) {
    const int n = static_cast<int>(rng() % 31) + 1;
    switch (rng() % 10) {
        case 0: return n < 10 ? "0" + std::to_string(n) : std::to_string(n);   // leading zero
        case 1: return std::to_string(n);                                        // one character
        default: return testing::numberField(n);
    }
}

std::string randomCombination(std::mt19937& rng) {
    switch (rng() % 12) {
        case 0: return "";
        case 1: {   // a run of anything the grid may hold, numbers and all
            static const std::string alphabet = " 0123456789,,\r";
            std::string s;
            for (int i = static_cast<int>(rng() % 40); i > 0; --i) s += alphabet[rng() % alphabet.size()];
            return s;
        }
        case 2: return "１, ２,14,22,30";   // full-width digits
        case 3: {   // many numbers in one long text
            std::string s;
            for (int i = 0; i < 12; ++i) s += randomField(rng) + ",";
            return s;
        }
        case 4: return std::string("\xE3\x81 5,14") + testing::numberField(static_cast<int>(rng() % 31) + 1);  // not UTF-8
        default: {
            std::string s;
            const int fields = 4 + static_cast<int>(rng() % 3);   // 12 to 17 characters
            for (int i = 0; i < fields; ++i) s += (i ? "," : "") + randomField(rng);
            if (rng() % 8 == 0) s += " ";
            return s;
        }
    }
}

std::string randomDraw(std::mt19937& rng) {
    std::array<int, 6> v{};
    for (auto& x : v) x = static_cast<int>(rng() % 31) + 1;
    std::string s;
    const bool odd = rng() % 4 == 0;
    for (int i = 0; i < 6; ++i) s += (i ? "," : "") + (odd ? randomField(rng) : testing::numberField(v[i]));
    switch (rng() % 10) {
        case 0: return s.substr(0, rng() % s.size());   // short
        case 1: return s + " 7";                         // a different last field
        default: return s;
    }
}

TEST(Evaluation, FastIndexEqualsTheRuleOnRandomTextsAndHistories) {
    std::mt19937 rng(20260807);
    int compared = 0, withEntries = 0;
    for (int round = 0; round < 150; ++round) {
        std::vector<std::string> draws;
        const int n = 1 + static_cast<int>(rng() % 120);
        for (int d = 0; d < n; ++d) draws.push_back(randomDraw(rng));
        std::vector<int> invalid;
        for (int d = 1; d <= n; ++d)
            if (rng() % 6 == 0) invalid.push_back(d);
        const DrawHistory h = handHistory(draws, invalid);
        DrawIndex index(h);
        std::vector<WinEntry> out;
        for (int k = 0; k < 40; ++k) {
            // Texts of the history's own draws win often: take them as combinations too.
            const std::string c = k % 4 == 0 ? draws[rng() % draws.size()].substr(0, 14) : randomCombination(rng);
            const int last = k % 3 == 0 ? static_cast<int>(rng() % (n + 2)) : n;
            index.winEntries(c, last, out);
            ASSERT_EQ(out, winEntriesLiteral(h, c, last)) << "combination [" << c << "] round " << round;
            ++compared;
            withEntries += !out.empty();
        }
    }
    EXPECT_EQ(compared, 6000);
    EXPECT_GT(withEntries, 1000);
}

// ---- writing into the table ---------------------------------------------------

TEST(Evaluation, TableRowsGetTheirEntriesFromColumnTwo) {
    testing::FakePlatform p;
    grid::TextGrid t;
    const DrawHistory h = handHistory({
        makeDrawText({1, 2, 3, 20, 21, 22}),
        makeDrawText({3, 9, 14, 22, 30, 17}),
        makeDrawText({3, 9, 14, 1, 2, 30}),
    });
    layoutTable(t, h.maxn());
    t.setCell(1, 1, " 3, 9,14,22,30");
    t.setCell(3, 1, " 1, 2, 3,20,21");
    for (int c = 2; c <= 10; ++c) t.setCell(1, c, "stale");   // entries of an earlier text
    t.setCell(2, 5, "left alone");                             // an empty row is not touched
    evaluateWinEntries(t, h, h.maxn(), p);
    EXPECT_EQ(t.cell(1, 2), "2=1");
    EXPECT_EQ(t.cell(1, 3), "3=4");
    EXPECT_EQ(t.storedCells(1), 4);
    EXPECT_EQ(t.cell(3, 2), "1=1");
    EXPECT_EQ(t.cell(3, 3), "3=4");
    EXPECT_EQ(t.cell(2, 5), "left alone");
    EXPECT_EQ(t.col(), 2);
    EXPECT_EQ(t.colSel(), 20);
    EXPECT_DOUBLE_EQ(t.fontSize(), 11);
    EXPECT_EQ(p.progressShows, 1);
    EXPECT_EQ(p.progressMin, 0);
    EXPECT_EQ(p.progressMax, 1000);
    EXPECT_EQ(p.progressValue, 1000);
    EXPECT_FALSE(p.progressVisible);
}

TEST(Evaluation, TableWidensForRowsWithManyEntriesAndAGrownHistory) {
    testing::FakePlatform p;
    grid::TextGrid t;
    // 40 draws equal to the combination: 40 entries, more than the 23 columns of 40 draws.
    std::vector<std::string> draws(40, makeDrawText({3, 9, 14, 22, 30, 17}));
    DrawHistory h = handHistory(draws);
    layoutTable(t, 0);   // built for an empty history: 21 columns
    EXPECT_EQ(t.cols(), 21);
    t.setCell(1, 1, " 3, 9,14,22,30");
    evaluateWinEntries(t, h, h.maxn(), p);
    EXPECT_EQ(t.cols(), 42);
    EXPECT_EQ(t.cell(1, 41), "40=1");
    EXPECT_EQ(t.cell(0, 41), "40");
    EXPECT_EQ(t.colWidth(41), 800);
    EXPECT_EQ(lastWinColumn(t, h.maxn()), 41);

    // Fast and literal write the same table, font size for a long history included.
    grid::TextGrid a, b;
    const auto many = testing::syntheticDraws(10050, 3);
    std::vector<std::string> texts;
    for (const auto& d : many) texts.push_back(makeDrawText(d));
    h = handHistory(texts, {7, 700});
    layoutTable(a, 0);
    for (int r = 1; r <= 1000; r += 50) a.setCell(r, 1, texts[static_cast<std::size_t>(r * 3)].substr(0, 14));
    a.setCell(2, 1, "03,09,14,22,30");
    b = a;
    evaluateWinEntries(a, h, h.maxn(), p, Method::Fast);
    evaluateWinEntries(b, h, h.maxn(), p, Method::Literal);
    EXPECT_EQ(a.cols(), 10050 / 10 + 21);
    for (int r = 1; r <= 1000; ++r) {
        ASSERT_EQ(a.storedCells(r), b.storedCells(r)) << r;
        for (int c = 0; c < a.storedCells(r); ++c) ASSERT_EQ(a.cell(r, c), b.cell(r, c));
    }
    EXPECT_DOUBLE_EQ(a.fontSize(), 9);
}

}  // namespace
}  // namespace kazuban::combos
