#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "text/text.h"

using namespace kazuban::text;

TEST(NumberText, StrAndPlainTextForms) {
    EXPECT_EQ(Str(0.3342), " .3342");
    EXPECT_EQ(Str(187.5), " 187.5");
    EXPECT_EQ(Str(12), " 12");
    EXPECT_EQ(Str(0), " 0");
    EXPECT_EQ(Str(-0.0), " 0");
    EXPECT_EQ(Str(-0.5), "-.5");
    EXPECT_EQ(Str(-12.25), "-12.25");
    EXPECT_EQ(plainText(0.5), "0.5");
    EXPECT_EQ(plainText(-0.5), "-0.5");
    EXPECT_EQ(plainText(1400), "1400");
    EXPECT_EQ(plainText(0), "0");
}

TEST(NumberText, StrRoundsTheBinaryValueToFifteenDigits) {
    EXPECT_EQ(Str(0.1 + 0.2), " .3");
    EXPECT_EQ(Str(1.0 / 3), " .333333333333333");
    EXPECT_EQ(Str(-2.0 / 3), "-.666666666666667");
    EXPECT_EQ(Str(0.33372 + 0.0005), " .33422");
    EXPECT_EQ(Str(0.19955 + 0.0005), " .20005");
    EXPECT_EQ(Str(0.0188 + 0.00005), " .01885");
    EXPECT_EQ(Str(0.00005), " .00005");  // small values stay in plain form
    EXPECT_EQ(Str(100000000000000.0), " 100000000000000");
    EXPECT_EQ(Str(0.99999999999999999), " 1");  // the carry makes a new digit
    // An average kept in single precision shows its binary value's digits.
    EXPECT_EQ(Left(Str(static_cast<double>(0.33372f) + 0.0005), 6), " .3342");
    // Only extreme magnitudes take the exponent form.
    EXPECT_EQ(Str(1e15), " 1E+15");
    EXPECT_EQ(Str(-1.5e-20), "-1.5E-20");
    EXPECT_EQ(plainText(1e16), "1E+16");
    EXPECT_EQ(Str(1e-15), " .000000000000001");
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Str(-inf)[0], '-');
    EXPECT_FALSE(Str(std::numeric_limits<double>::quiet_NaN()).empty());
}

// Str by the C library's "%.14e" (the exact binary value rounded to 15
// digits), the road Str once took: Str must give the same texts by its own.
std::string strByPrintf(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
    std::string digits;
    const char* p = buf;
    for (; *p != 'e'; ++p)
        if (*p != '.') digits += *p;
    int exp = std::atoi(p + 1);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string body;
    const int n = static_cast<int>(digits.size());
    if (digits == "0") {
        body = "0";
    } else if (exp >= 15 || exp < -15) {
        body = digits.substr(0, 1) + (n > 1 ? "." + digits.substr(1) : "");
        body +=
            std::string("E") + (exp < 0 ? "-" : "+") + (std::abs(exp) < 10 ? "0" : "") + std::to_string(std::abs(exp));
    } else if (exp >= 0) {
        body = n <= exp + 1 ? digits + std::string(static_cast<std::size_t>(exp + 1 - n), '0')
                            : digits.substr(0, static_cast<std::size_t>(exp + 1)) + "." +
                                  digits.substr(static_cast<std::size_t>(exp + 1));
    } else {
        body = "." + std::string(static_cast<std::size_t>(-exp - 1), '0') + digits;
    }
    return (std::signbit(v) && v != 0 ? "-" : " ") + body;
}

TEST(NumberText, StrGivesTheCLibrarysDigitsOnManyValues) {
    std::vector<double> values = {0,
                                  1,
                                  12,
                                  187.5,
                                  0.3342,
                                  0.0005,
                                  0.00005,
                                  0.0188,
                                  0.07505,
                                  0.33422000885009766,
                                  0.20005000281333923,
                                  1.0005,
                                  999999999999999,
                                  999999999999999.5,
                                  1e15,
                                  1e-15,
                                  9.99999999999999e-16,
                                  1.5e-16,
                                  123456.789,
                                  0.1 + 0.2,
                                  2.0 / 3,
                                  1e14 + 0.5,
                                  -3,
                                  -0.5,
                                  5e-324,
                                  1.7976931348623157e308,
                                  1000000000000005,
                                  1000000000000015,
                                  2.5e15 + 1,
                                  0.125e-10,
                                  4503599627370497.0,
                                  123456789012345.67,
                                  0.999999999999999944,
                                  9.999999999999995e22};
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> unit(0, 2.5), wide(0, 1e7), power(-330, 310);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(unit(rng));
        values.push_back(-wide(rng));
        values.push_back(std::floor(wide(rng)) / 10000 + 0.00005);
        values.push_back(static_cast<double>(static_cast<float>(unit(rng))) + 0.0005);
        if (const double v = std::pow(10.0, power(rng)) * unit(rng); std::isfinite(v)) values.push_back(v);
        // Any bit pattern that is a finite number.
        const std::uint64_t bits = rng();
        double any;
        std::memcpy(&any, &bits, sizeof any);
        if (std::isfinite(any)) values.push_back(any);
    }
    for (double v : values) {
        const std::string want = strByPrintf(v);
        ASSERT_EQ(Str(v), want) << v;
        std::string plain = want.substr(want[0] == ' ' ? 1 : 0);
        const std::size_t point = plain.find('.');
        if (point != std::string::npos && (point == 0 || (point == 1 && plain[0] == '-'))) plain.insert(point, "0");
        ASSERT_EQ(plainText(v), plain) << v;
    }
}

TEST(NumberText, ValReadsTheLeadingNumber) {
    EXPECT_EQ(Val("5,"), 5);
    EXPECT_EQ(Val("05"), 5);
    EXPECT_EQ(Val("123=4"), 123);
    EXPECT_EQ(Val(" .3342"), 0.3342);
    EXPECT_EQ(Val("-.5"), -0.5);
    EXPECT_EQ(Val("1.2.3"), 1.2);
    EXPECT_EQ(Val("2.5E-2x"), 0.025);
    EXPECT_EQ(Val("1d2"), 100);
    EXPECT_EQ(Val("5E+"), 5);
    // Blanks, tabs and line feeds are skipped anywhere, even inside the digits.
    EXPECT_EQ(Val(" 1 2"), 12);
    EXPECT_EQ(Val("\t\n- 7"), -7);
    EXPECT_EQ(Val(" 3, 9,14"), 3);
    EXPECT_EQ(Val(Left(Str(187.5), 7)), 187.5);
    for (const char* junk : {"", "abc", "   ", ".", "-", "--5", "=4", "&H10", "１２", "\xFF\xFE\x80"})
        EXPECT_EQ(Val(junk), 0) << junk;
}

TEST(NumberText, ValOnHugeInputStaysBounded) {
    EXPECT_TRUE(std::isinf(Val(std::string(1 << 20, '1'))));
    EXPECT_EQ(Val("0." + std::string(1 << 20, '0') + "5"), 0);
    EXPECT_EQ(Val("123" + std::string(1 << 20, 'x')), 123);
    EXPECT_EQ(Val("1" + std::string(100, '0')), 1e100);
    EXPECT_TRUE(std::isinf(Val("1e999999999999999999999")));
    EXPECT_EQ(Val("1e-999999999999999999999"), 0);
    const std::string fifty = "12345678901234567890123456789012345678901234567890";
    EXPECT_DOUBLE_EQ(Val(fifty), std::strtod(fifty.c_str(), nullptr));
}

TEST(Characters, CutsCountCharactersNotBytes) {
    const std::string s = "１２３あいう";  // six characters, 18 bytes
    EXPECT_EQ(Len(s), 6u);
    EXPECT_EQ(Left(s, 2), "１２");
    EXPECT_EQ(Right(s, 2), "いう");
    EXPECT_EQ(Mid(s, 3, 2), "３あ");
    EXPECT_EQ(Mid(s, 5), "いう");
    EXPECT_EQ(InStr(s, "あ"), 4);
    EXPECT_EQ(InStr(5, s, "あ"), 0);
    EXPECT_EQ(InStr("ﾃｷｽﾄ(*.txt)", "txt"), 8);
}

TEST(Characters, PositionsAndCountsOutsideTheText) {
    const std::string s = " 3, 9,14,22,30";
    const long big = std::numeric_limits<long>::max(), small = std::numeric_limits<long>::min();
    EXPECT_EQ(Left(s, -4), "");
    EXPECT_EQ(Left(s, 100), s);
    EXPECT_EQ(Right(s, -1), "");
    EXPECT_EQ(Right(s, 100), s);
    EXPECT_EQ(Mid(s, 14, 5), "0");
    EXPECT_EQ(Mid(s, 15, 1), "");
    EXPECT_EQ(Mid(s, 2, -3), "");
    EXPECT_EQ(Mid(s, 0, 3), " 3");  // positions before the first character hold nothing
    EXPECT_EQ(Mid(s, -5, 3), "");
    EXPECT_EQ(Mid(s, small, big), "");
    EXPECT_EQ(Mid(s, big, big), "");
    EXPECT_EQ(Mid(s, 1, big), s);
    EXPECT_EQ(InStr(s, " 9"), 4);
    EXPECT_EQ(InStr(2, "12=4", "12"), 0);
    EXPECT_EQ(InStr("12=4", "12=45"), 0);
    EXPECT_EQ(InStr(0, "12=4", "4"), 4);
    EXPECT_EQ(InStr(5, "12=4", ""), 5);
    EXPECT_EQ(InStr(6, "12=4", ""), 0);
    EXPECT_EQ(InStr(big, s, ""), 0);
}

TEST(Characters, SplitKeepsEmptyFieldsAtBothEnds) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Split("", ','), V{""});
    EXPECT_EQ(Split("a,,b", ','), (V{"a", "", "b"}));
    EXPECT_EQ(Split(",1,", ','), (V{"", "1", ""}));
    EXPECT_EQ(Split("ﾃｷｽﾄ|*.txt", '|'), (V{"ﾃｷｽﾄ", "*.txt"}));
}

TEST(Characters, MalformedUtf8NeverBreaksTheCuts) {
    // Every byte that cannot belong to a character is a character of its own.
    const std::string bad =
        "a\x80"
        "b\xE3\x81"
        "c\xFF";
    EXPECT_EQ(Len(bad), 6u);
    EXPECT_EQ(Mid(bad, 4, 2),
              "\xE3\x81"
              "c");
    EXPECT_EQ(InStr(bad, "c"), 5);
    EXPECT_EQ(InStr("あ", "\x81\x82"), 0);  // a match inside a character is none
    std::string joined;
    for (long i = 1; i <= static_cast<long>(Len(bad)); ++i) joined += Mid(bad, i, 1);
    EXPECT_EQ(joined, bad);
}
