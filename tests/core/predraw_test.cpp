#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "app/form1.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"
#include "views/predraw.h"

namespace kazuban {
namespace {

using testing::FakePlatform;
using testing::TempDir;

history::DrawHistory historyOf(const std::vector<std::string>& texts) {
    std::vector<std::string> lines{"回=本数字,ボーナス"};
    for (std::size_t i = 0; i < texts.size(); ++i) lines.push_back("第" + std::to_string(i + 1) + "回=" + texts[i]);
    return history::historyFromLines(lines).history;
}

// Draws from a pool of `pool` numbers (a small pool makes many wins of every grade).
std::vector<std::string> randomDraws(int n, int pool, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) {
        std::vector<int> v(static_cast<std::size_t>(pool));
        for (int k = 0; k < pool; ++k) v[static_cast<std::size_t>(k)] = k + 1 + (31 - pool) * (k % 2);
        std::shuffle(v.begin(), v.end(), rng);
        std::sort(v.begin(), v.begin() + 5);
        out.push_back(testing::makeDrawText({v[0], v[1], v[2], v[3], v[4], v[5]}));
    }
    return out;
}

void expectSameGrid(const grid::TextGrid& a, const grid::TextGrid& b) {
    ASSERT_EQ(a.rows(), b.rows());
    ASSERT_EQ(a.cols(), b.cols());
    EXPECT_EQ(a.fontSize(), b.fontSize());
    for (int r = 0; r < a.rows(); ++r)
        for (int c = 0; c < a.cols(); ++c) ASSERT_EQ(a.cell(r, c), b.cell(r, c)) << "row " << r << " col " << c;
}

grid::TextGrid fastGrid(const history::DrawHistory& h, views::PredrawState* state = nullptr) {
    grid::TextGrid g;
    views::PredrawState local;
    views::buildPredrawGrid(g, h.maxn());
    views::runPredrawAnalysis(h, h.maxn(), g, state ? *state : local, nullptr);
    return g;
}

TEST(Predraw, FastAnalysisEqualsTheLiteralStepsOnRandomHistories) {
    for (int pool : {31, 12, 8}) {
        for (unsigned seed : {1u, 2u}) {
            const auto h = historyOf(randomDraws(pool == 31 ? 260 : 140, pool, seed));
            SCOPED_TRACE(::testing::Message() << "pool " << pool << " seed " << seed);
            expectSameGrid(fastGrid(h), views::predrawLiteral(h, h.maxn()));
        }
    }
}

TEST(Predraw, IrregularAndInvalidDrawsGiveTheLiteralResult) {
    auto texts = randomDraws(320, 10, 5);
    texts[3] = "03, 5, 7, 8, 9,10";            // leading zero: valid, never matches " 3"
    texts[10] = " 1, 2, 3, 4, 5, 6 ";          // trailing blank: the bonus is "6 "
    texts[20] = " 1, 2, 3, 3, 5, 6";           // duplicate main number: invalid
    texts[60] = "12 13 20 21 30 31";           // blank separators: " 2" hides in " 20"
    texts[61] = "10,11,12,13,14,15,16,17,18";  // a long text holding many numbers
    texts[62] = "1,2,3";                       // too short to score
    texts[63] = "";
    texts[64] = "１,２,３,４,５,６";
    texts[65] = texts[64 - 30];  // a repeat: grade 1
    texts[70] = " 1, 2, 3, 4, 5, 6";
    texts[71] = " 1, 2, 3, 4, 6, 5";  // bonus swapped in: grade 2 against draw 71
    for (int i = 100; i < 180; i += 7) texts[static_cast<std::size_t>(i)] = texts[static_cast<std::size_t>(i - 50)];
    // Texts holding many numbers, once the earlier draws outnumber their subsets.
    texts[300] = texts[60];
    texts[301] = texts[61];
    const auto h = historyOf(texts);
    views::PredrawState state;
    const auto fast = fastGrid(h, &state);
    expectSameGrid(fast, views::predrawLiteral(h, h.maxn()));
    // Texts shorter than 14 characters are listed without scores.
    const int row63 = h.maxn() + 1 - 63;
    EXPECT_EQ(fast.cell(row63, 0), "63");
    EXPECT_EQ(fast.cell(row63, 1), "1,");
    EXPECT_EQ(fast.cell(row63, 2), "");
    EXPECT_EQ(state.wins[72].best, 2);
}

struct PredrawForm : ::testing::Test {
    TempDir dir;
    FakePlatform platform;
    app::Form1 form{platform};
    void start(int draws) {
        testing::prepareDataFolder(dir, draws, 11);
        ASSERT_TRUE(form.Form_Load(dir.str()));
        form.SSTab1_Click(app::kTabPredraw);
    }
    const grid::TextGrid& view() const { return form.predraw().grid(); }
};

TEST_F(PredrawForm, FiftyDrawsAreTooFew) {
    start(50);
    EXPECT_EQ(form.predraw().chg(), 0);
    EXPECT_EQ(platform.progressShows, 0);
    EXPECT_NE(view().cell(0, 1), "当選番号データ");
}

TEST_F(PredrawForm, FiftyOneDrawsGiveOneRow) {
    start(51);
    EXPECT_EQ(form.predraw().chg(), 1);
    ASSERT_EQ(view().rows(), 2);
    EXPECT_EQ(view().cell(0, 0) + view().cell(1, 0), "回51");
    EXPECT_EQ(view().fontSize(), 11);
    EXPECT_EQ(platform.progressMin + platform.progressMax, 102);
    EXPECT_FALSE(platform.progressVisible);
    expectSameGrid(view(), views::predrawLiteral(form.state().history, 51));
}

TEST(PredrawFont, NinePointsFromAThousandDraws) {
    for (int n : {999, 1000}) {
        const auto h = historyOf(randomDraws(n, 31, 4));
        const auto g = fastGrid(h);
        EXPECT_EQ(g.fontSize(), n == 1000 ? 9 : 11);
        EXPECT_EQ(g.rows(), n - 49);
        EXPECT_EQ(g.cell(1, 0) + "/" + g.cell(n - 50, 0), std::to_string(n) + "/51");
    }
}

TEST_F(PredrawForm, SortsByEveryColumnBothWaysAndCopies) {
    start(400);
    const int last = view().rows() - 1;
    std::vector<std::string> before;
    for (int r = 1; r <= last; ++r) before.push_back(view().cell(r, 0) + "|" + view().cell(r, 1));
    std::sort(before.begin(), before.end());
    for (int column : {0, 1, 2, 3, 4, 6, 7, 8, 9}) {
        for (bool ascending : {true, false}) {
            form.ptsmnuSort(column, ascending);
            const bool text = column == 1 || column == 9;
            for (int r = 2; r <= last; ++r) {
                const int c = text ? grid::compareText(view().cell(r - 1, column), view().cell(r, column))
                                   : grid::compareGeneric(view().cell(r - 1, column), view().cell(r, column));
                ASSERT_TRUE(ascending ? c <= 0 : c >= 0) << column << " row " << r;
            }
            std::vector<std::string> after;
            for (int r = 1; r <= last; ++r) after.push_back(view().cell(r, 0) + "|" + view().cell(r, 1));
            std::sort(after.begin(), after.end());
            ASSERT_EQ(after, before);
        }
    }
    form.ptsmnuSort(1, true);
    EXPECT_EQ(view().cell(1, 1)[0], ' ');  // one-digit first numbers first

    grid::TextGrid& g = form.predraw().grid();
    g.setRow(3);
    g.setRowSel(2);
    EXPECT_TRUE(form.MSFlexGrid5_MouseDown(2));
    form.pmnucopy3_click();
    EXPECT_EQ(platform.clipboard, g.cell(2, 1) + "\r\n" + g.cell(3, 1) + "\r\n");
    EXPECT_EQ(g.row(), 3);  // the press keeps the selected rows
    EXPECT_EQ(g.rowSel(), 2);
    EXPECT_EQ(g.col(), 0);
    EXPECT_EQ(g.colSel(), 9);
}

}  // namespace
}  // namespace kazuban
