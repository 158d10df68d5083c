#include <gtest/gtest.h>

#include "text/text.h"

using namespace kazuban::text;

TEST(NumberText, StrForms) {
    EXPECT_EQ(Str(0.3342), " .3342");
    EXPECT_EQ(Str(-0.5), "-.5");
    EXPECT_EQ(Str(187.5), " 187.5");
    EXPECT_EQ(Str(12), " 12");
    EXPECT_EQ(Str(0), " 0");
}
