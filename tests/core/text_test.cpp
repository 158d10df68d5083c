#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "text/text.h"

using namespace kazuban::text;

TEST(NumberText, StrLeadingBlankSignAndNoZeroBeforePoint) {
    EXPECT_EQ(Str(0.3342), " .3342");
    EXPECT_EQ(Str(187.5), " 187.5");
    EXPECT_EQ(Str(12), " 12");
    EXPECT_EQ(Str(0), " 0");
    EXPECT_EQ(Str(-0.0), " 0");
    EXPECT_EQ(Str(-0.5), "-.5");
    EXPECT_EQ(Str(-12.25), "-12.25");
    EXPECT_EQ(Str(-1), "-1");
    EXPECT_EQ(Str(1), " 1");
    EXPECT_EQ(Str(750), " 750");
    EXPECT_EQ(Str(1000), " 1000");
}

TEST(NumberText, StrRoundsToFifteenSignificantDigits) {
    EXPECT_EQ(Str(0.1 + 0.2), " .3");
    EXPECT_EQ(Str(1.0 / 3), " .333333333333333");
    EXPECT_EQ(Str(2.0 / 3), " .666666666666667");
    EXPECT_EQ(Str(-2.0 / 3), "-.666666666666667");
    EXPECT_EQ(Str(0.33372 + 0.0005), " .33422");
    EXPECT_EQ(Str(0.19955 + 0.0005), " .20005");
    EXPECT_EQ(Str(0.0188 + 0.00005), " .01885");
    EXPECT_EQ(Str(0.07505), " .07505");
    EXPECT_EQ(Str(0.00005), " .00005");
    EXPECT_EQ(Str(100000000000000.0), " 100000000000000");
    EXPECT_EQ(Str(123456789012345.0), " 123456789012345");
    // Rounding up can carry into a new leading digit.
    EXPECT_EQ(Str(0.99999999999999999), " 1");
    EXPECT_EQ(Str(9.9999999999999999e13), " 100000000000000");
}

TEST(NumberText, StrSinglePrecisionValuesPromotedToDouble) {
    // An average kept in single precision shows its binary value's digits.
    const float avg = 0.33372f;
    const std::string s = Str(static_cast<double>(avg) + 0.0005);
    EXPECT_EQ(Left(s, 6), " .3342");
    EXPECT_EQ(Str(static_cast<double>(0.5f)), " .5");
}

TEST(NumberText, StrExtremeMagnitudesUseExponentForm) {
    EXPECT_EQ(Str(1e15), " 1E+15");
    EXPECT_EQ(Str(1.5e16), " 1.5E+16");
    EXPECT_EQ(Str(-1e-20), "-1E-20");
    EXPECT_EQ(Str(1.25e-300), " 1.25E-300");
    EXPECT_EQ(plainText(1e16), "1E+16");
    EXPECT_EQ(Str(1e-15), " .000000000000001");
}

TEST(NumberText, StrNonFiniteValuesDoNotCrash) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(Str(inf).empty());
    EXPECT_EQ(Str(-inf)[0], '-');
    EXPECT_FALSE(Str(std::numeric_limits<double>::quiet_NaN()).empty());
    EXPECT_FALSE(plainText(inf).empty());
}

TEST(NumberText, PlainTextHasNoBlankAndAZeroBeforeThePoint) {
    EXPECT_EQ(plainText(12), "12");
    EXPECT_EQ(plainText(0.5), "0.5");
    EXPECT_EQ(plainText(-0.5), "-0.5");
    EXPECT_EQ(plainText(0), "0");
    EXPECT_EQ(plainText(1400), "1400");
    EXPECT_EQ(plainText(0.0188), "0.0188");
    EXPECT_EQ(plainText(-3), "-3");
}

TEST(NumberText, ValReadsTheLeadingNumber) {
    EXPECT_EQ(Val("5,"), 5);
    EXPECT_EQ(Val(" 5"), 5);
    EXPECT_EQ(Val("05"), 5);
    EXPECT_EQ(Val("12=4"), 12);
    EXPECT_EQ(Val("123=4"), 123);
    EXPECT_EQ(Val(" .3342"), 0.3342);
    EXPECT_EQ(Val("-.5"), -0.5);
    EXPECT_EQ(Val("+7"), 7);
    EXPECT_EQ(Val("1.2.3"), 1.2);
    EXPECT_EQ(Val("1e3x"), 1000);
    EXPECT_EQ(Val("2.5E-2"), 0.025);
    EXPECT_EQ(Val("1d2"), 100);
    EXPECT_EQ(Val("5E"), 5);
    EXPECT_EQ(Val("5E+"), 5);
    EXPECT_EQ(Val("0.000001"), 0.000001);
    // Blanks, tabs and line feeds are skipped anywhere, even inside the digits.
    EXPECT_EQ(Val(" 1 2"), 12);
    EXPECT_EQ(Val("\t\n 7"), 7);
    EXPECT_EQ(Val("- 5"), -5);
    EXPECT_EQ(Val(" 3, 9,14"), 3);
    // Round trip of the number texts the views cut.
    EXPECT_EQ(Val(Left(Str(0.33422), 6)), 0.3342);
    EXPECT_EQ(Val(Left(Str(187.5), 7)), 187.5);
}

TEST(NumberText, ValOfNonNumbersIsZero) {
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val("   "), 0);
    EXPECT_EQ(Val("."), 0);
    EXPECT_EQ(Val("-"), 0);
    EXPECT_EQ(Val("--5"), 0);
    EXPECT_EQ(Val("=4"), 0);
    EXPECT_EQ(Val("&H10"), 0);
    EXPECT_EQ(Val("１２"), 0);   // full-width digits are not digits
    EXPECT_EQ(Val("\xFF\xFE\x80"), 0);
}

TEST(NumberText, ValOnHugeInputStaysBoundedAndFinite) {
    const std::string ones(1 << 20, '1');
    EXPECT_TRUE(std::isinf(Val(ones)));   // a million digits is beyond every double
    const std::string longFraction = "0." + std::string(1 << 20, '0') + "5";
    EXPECT_EQ(Val(longFraction), 0);
    EXPECT_EQ(Val("123" + std::string(1 << 20, 'x')), 123);
    EXPECT_EQ(Val("1" + std::string(100, '0')), 1e100);
    EXPECT_TRUE(std::isinf(Val("1e999999999999999999999")));
    EXPECT_EQ(Val("1e-999999999999999999999"), 0);
    const std::string fifty = "12345678901234567890123456789012345678901234567890";
    EXPECT_DOUBLE_EQ(Val(fifty), std::strtod(fifty.c_str(), nullptr));
}

TEST(Characters, CutsCountCharactersNotBytes) {
    const std::string s = "１２３あいう";   // six characters, 18 bytes
    EXPECT_EQ(Len(s), 6u);
    EXPECT_EQ(Left(s, 2), "１２");
    EXPECT_EQ(Right(s, 2), "いう");
    EXPECT_EQ(Mid(s, 3, 2), "３あ");
    EXPECT_EQ(Mid(s, 5), "いう");
    EXPECT_EQ(InStr(s, "あ"), 4);
    EXPECT_EQ(InStr(5, s, "あ"), 0);
    const std::string mixed = "ﾃｷｽﾄ(*.txt)";
    EXPECT_EQ(Len(mixed), 11u);
    EXPECT_EQ(Mid(mixed, 5, 3), "(*.");
    EXPECT_EQ(InStr(mixed, "txt"), 8);
}

TEST(Characters, CountsOutsideTheTextGiveEmptyOrWholeText) {
    const std::string s = " 3, 9,14,22,30";
    EXPECT_EQ(Left(s, 0), "");
    EXPECT_EQ(Left(s, -4), "");
    EXPECT_EQ(Left(s, 100), s);
    EXPECT_EQ(Right(s, 0), "");
    EXPECT_EQ(Right(s, -1), "");
    EXPECT_EQ(Right(s, 100), s);
    EXPECT_EQ(Right(s, 2), "30");
    EXPECT_EQ(Mid(s, 13, 2), "30");
    EXPECT_EQ(Mid(s, 14, 5), "0");
    EXPECT_EQ(Mid(s, 15, 1), "");
    EXPECT_EQ(Mid(s, 100), "");
    EXPECT_EQ(Mid(s, 1, 0), "");
    EXPECT_EQ(Mid(s, 2, -3), "");
    // Positions before the first character hold nothing.
    EXPECT_EQ(Mid(s, 0, 3), " 3");
    EXPECT_EQ(Mid(s, -5, 3), "");
    EXPECT_EQ(Mid(s, -1), s);
    EXPECT_EQ(Mid(s, std::numeric_limits<long>::min(), std::numeric_limits<long>::max()), "");
    EXPECT_EQ(Mid(s, std::numeric_limits<long>::max(), std::numeric_limits<long>::max()), "");
    EXPECT_EQ(Mid(s, 1, std::numeric_limits<long>::max()), s);
    EXPECT_EQ(InStr(std::numeric_limits<long>::max(), s, ""), 0);
    EXPECT_EQ(Mid("", 1, 1), "");
    EXPECT_EQ(Len(""), 0u);
}

TEST(Characters, InStrPositions) {
    const std::string s = "12=4";
    EXPECT_EQ(InStr(s, "="), 3);
    EXPECT_EQ(InStr(s, "12"), 1);
    EXPECT_EQ(InStr(2, s, "12"), 0);
    EXPECT_EQ(InStr(s, "5"), 0);
    EXPECT_EQ(InStr(s, "12=45"), 0);
    EXPECT_EQ(InStr("", "a"), 0);
    EXPECT_EQ(InStr(s, ""), 1);
    EXPECT_EQ(InStr(3, s, ""), 3);
    EXPECT_EQ(InStr(5, s, ""), 5);
    EXPECT_EQ(InStr(6, s, ""), 0);
    EXPECT_EQ(InStr(0, s, "4"), 4);
    EXPECT_EQ(InStr(" 3, 9,14,22,30", " 9"), 4);
}

TEST(Characters, MalformedUtf8NeverBreaksTheCuts) {
    // A lone continuation byte, a cut-off sequence and a stray 0xFF: every
    // broken byte is a character of its own.
    const std::string bad = "a\x80" "b\xE3\x81" "c\xFF";
    EXPECT_EQ(Len(bad), 6u);
    EXPECT_EQ(Left(bad, 2), "a\x80");
    EXPECT_EQ(Mid(bad, 4, 2), "\xE3\x81" "c");
    EXPECT_EQ(Right(bad, 1), "\xFF");
    EXPECT_EQ(InStr(bad, "c"), 5);
    // A match that begins inside a longer character is not a match.
    const std::string hira = "あ";   // E3 81 82
    EXPECT_EQ(InStr(hira, "\x81\x82"), 0);
    std::string joined;
    for (long i = 1; i <= static_cast<long>(Len(bad)); ++i) joined += Mid(bad, i, 1);
    EXPECT_EQ(joined, bad);
}

TEST(Characters, IntText) {
    EXPECT_EQ(intText(0), "0");
    EXPECT_EQ(intText(1400), "1400");
    EXPECT_EQ(intText(-32768), "-32768");
}
