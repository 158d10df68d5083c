// The page behind the tab 組合せ設計: what it states beside a result, the
// draws a wheel's tickets cover, and a refusal that keeps the last result.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/design_page.h"
#include "support/brute_cover.h"
#include "support/fake_platform.h"

namespace kazuban {
namespace {

using design::Mode;

struct TextCase {
    const char* name;
    Mode mode;
    int tickets, numbers, atLeast;
    std::int64_t covered, units, draws;
    bool cancelled;
    std::vector<std::string> contains;     // in the line named first, then the text
    std::vector<std::string> notContains;  // anywhere
};

std::string allOf(const app::DesignTexts& t) {
    return t.tickets + "|" + t.covered + "|" + t.compare + "|" + t.expected + "|" + t.guarantee + "|" + t.stopped;
}

class DesignTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(DesignTexts, StateTheFiguresPlainly) {
    const TextCase& c = GetParam();
    app::DesignRun run;
    run.request.mode = c.mode;
    if (c.mode == Mode::Wheel) run.request.atLeast = c.atLeast;
    run.result.mode = c.mode;
    run.result.numbers = c.numbers;
    run.result.tickets.assign(static_cast<std::size_t>(c.tickets), design::Ticket{0x3E});
    run.result.covered = c.covered;
    run.result.units = c.units;
    run.result.cancelled = c.cancelled;
    run.draws = c.draws;
    const std::string text = allOf(app::designTexts(run));
    for (const std::string& s : c.contains) EXPECT_NE(text.find(s), std::string::npos) << s << "\n" << text;
    for (const std::string& s : c.notContains) EXPECT_EQ(text.find(s), std::string::npos) << s << "\n" << text;
}

INSTANTIATE_TEST_SUITE_P(
    Results, DesignTexts,
    ::testing::Values(TextCase{"BestOne",
                               Mode::Best,
                               1,
                               31,
                               3,
                               3'381,
                               169'911,
                               3'381,
                               false,
                               {"169,911 通りのうち 3,381 通り（1.99%）", "上限 1.99%（1 × 3,381 / 169,911）",
                                "平均 1.99%", "1 × 3,381 / 169,911 ＝ 0.0199 口"},
                               {"必ず", "打ち切"}},
                      TextCase{"BestBelowTheBound",
                               Mode::Best,
                               50,
                               31,
                               3,
                               131'519,
                               169'911,
                               131'519,
                               false,
                               {"（77.40%）", "上限 99.49%", "＝ 0.9949 口"},
                               {"上限 100.00%"}},
                      TextCase{"BestPastTheBound",
                               Mode::Best,
                               51,
                               31,
                               3,
                               132'000,
                               169'911,
                               132'000,
                               true,
                               {"上限 100.00%", "＝ 1.0148 口", "途中で打ち切った"},
                               {"上限 101"}},
                      TextCase{"GuaranteeWhole",
                               Mode::Guarantee,
                               111,
                               31,
                               3,
                               169'911,
                               169'911,
                               169'911,
                               false,
                               {"（100.00%）", "必ず 4等以上が 1 本以上あります",
                                "111 口（すべての回の保証に要る口数の下限 75 口：Turán 数から）"},
                               {"残って"}},
                      TextCase{"GuaranteeNotYet",
                               Mode::Guarantee,
                               90,
                               31,
                               3,
                               169'900,
                               169'911,
                               169'900,
                               true,
                               {"11 通り残っています"},
                               {"必ず"}},
                      TextCase{"WheelOfTwelve",
                               Mode::Wheel,
                               29,
                               12,
                               3,
                               220,
                               220,
                               40'000,
                               false,
                               {"29 口（この保証に要る口数の下限 27 口", "169,911 通りのうち 40,000 通り",
                                "選んだ 12 個の数字のうち 3 個以上が当選番号に入れば、必ず 4等以上が 1 本以上あります",
                                "220 通りをすべて確認"},
                               {}},
                      TextCase{"WheelOfFour",
                               Mode::Wheel,
                               12,
                               12,
                               4,
                               495,
                               495,
                               20'000,
                               false,
                               {"のうち 4 個以上が当選番号に入れば、必ず"},
                               {"下限"}},
                      TextCase{"WheelNotYet",
                               Mode::Wheel,
                               20,
                               12,
                               3,
                               218,
                               220,
                               30'000,
                               true,
                               {"2 通りがまだ保証されていません"},
                               {"必ず"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DesignProgress, NamesTheBestSoFar) {
    EXPECT_EQ(app::designProgressText(Mode::Best, {10, 33'126, 169'911, 0, 0}),
              "これまでの最良　33,126 / 169,911 通り（19.50%）");
    EXPECT_EQ(app::designProgressText(Mode::Wheel, {29, 220, 220, 0, 0}), "これまでの最小　29 口");
    EXPECT_EQ(app::designProgressText(Mode::Guarantee, {0, 169'000, 169'911, 0, 0}), "探索中…");
}

TEST(DesignWork, AWheelCountsItsDrawsAndARefusalKeepsTheLastResult) {
    testing::FakePlatform platform;
    app::State state(platform);
    app::DrawFrame frame(state);
    app::WinsPage wins(state, frame);
    app::DesignPage page(state, wins);

    design::Request wheel;
    wheel.mode = Mode::Wheel;
    wheel.numbers = 0x7E;  // 1..6
    app::DesignRun run = app::runDesignWork(wheel);
    ASSERT_EQ(run.refusal, "");
    ASSERT_FALSE(run.result.tickets.empty());
    EXPECT_EQ(run.result.covered, run.result.units);
    EXPECT_EQ(run.draws, testing::bruteCoveredDraws(run.result.tickets));
    page.finish(run);
    EXPECT_EQ(page.problem(), "");

    wheel.numbers = 0x1E;  // four numbers
    const app::DesignRun refused = app::runDesignWork(wheel);
    EXPECT_EQ(refused.refusal, design::refusal(wheel).value_or("(none)"));
    EXPECT_TRUE(refused.result.tickets.empty());
    page.finish(refused);
    EXPECT_EQ(page.problem(), refused.refusal);
    ASSERT_TRUE(page.last().has_value());
    EXPECT_EQ(page.last()->result.tickets, run.result.tickets);
}

}  // namespace
}  // namespace kazuban
