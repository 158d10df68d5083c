#include <gtest/gtest.h>

#include "analysis/draws.h"

namespace kazuban::analysis {
namespace {

TEST(StrictDraws, LeadingZerosAndClassicRefusalsAreLeftOut) {
    const auto h =
        history::historyFromLines({
                                      "回=本数字,ボーナス",
                                      "第1回= 1, 5,12,20,28,30",  // strict
                                      "第2回=01, 5,12,20,28,30",  // the classic loader accepts it, the analyses do not
                                      "第3回= 1, 5,12,20,28,05",  // a leading zero on the bonus too
                                      "第4回= 1, 5,12,20, 5,30",  // the fifth main number repeats the second
                                      "第5回=３, 5,12,20,28,30",  // a full-width digit
                                      "第6回=31,30,29,28,27,26 etc",
                                  })
            .history;
    EXPECT_TRUE(isStrictDraw(h, 1));
    EXPECT_FALSE(isStrictDraw(h, 2));
    EXPECT_FALSE(isStrictDraw(h, 3));
    EXPECT_FALSE(isStrictDraw(h, 4));
    EXPECT_FALSE(isStrictDraw(h, 5));
    EXPECT_TRUE(isStrictDraw(h, 6));
    EXPECT_FALSE(isStrictDraw(h, 0));
    EXPECT_FALSE(isStrictDraw(h, 7));
    EXPECT_EQ(mainMask(h, 1), (1u << 1) | (1u << 5) | (1u << 12) | (1u << 20) | (1u << 28));
    EXPECT_EQ(mainMask(h, 2), 0u);
    EXPECT_EQ(mainMask(h, 6), (1u << 31) | (1u << 30) | (1u << 29) | (1u << 28) | (1u << 27));
}

}  // namespace
}  // namespace kazuban::analysis
