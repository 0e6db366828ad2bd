#include "common/Number.h"

#include <clocale>
#include <gtest/gtest.h>

using namespace korvan;

TEST(Number, IntegerReadsLeadingDigitsOnly) {
    EXPECT_EQ(Number::parseInt("123"), 123);
    EXPECT_EQ(Number::parseInt("  -42abc"), -42);
    EXPECT_EQ(Number::parseInt("+7"), 7);
    EXPECT_EQ(Number::parseInt("abc"), 0);
    EXPECT_EQ(Number::parseInt(""), 0);
    EXPECT_EQ(Number::parseInt("-"), 0);
    EXPECT_EQ(Number::parseInt("12.9"), 12);
    EXPECT_EQ(Number::parseInt("\t 5 6"), 5);
    EXPECT_EQ(Number::parseInt("99999999999999999999999"), LONG_MAX);
    EXPECT_EQ(Number::parseInt("-99999999999999999999999"), LONG_MIN);
}

TEST(Number, DecimalReadsTheLongestNumber) {
    EXPECT_DOUBLE_EQ(Number::parseDecimal("1.50"), 1.5);
    EXPECT_DOUBLE_EQ(Number::parseDecimal(" -2.25yuan"), -2.25);
    EXPECT_DOUBLE_EQ(Number::parseDecimal(".5"), 0.5);
    EXPECT_DOUBLE_EQ(Number::parseDecimal("5."), 5.0);
    EXPECT_DOUBLE_EQ(Number::parseDecimal("2e3"), 2000.0);
    EXPECT_DOUBLE_EQ(Number::parseDecimal("2e"), 2.0);
    EXPECT_DOUBLE_EQ(Number::parseDecimal("2e+x"), 2.0);
    EXPECT_DOUBLE_EQ(Number::parseDecimal("+3"), 3.0);
    EXPECT_DOUBLE_EQ(Number::parseDecimal("."), 0.0);
    EXPECT_DOUBLE_EQ(Number::parseDecimal("abc"), 0.0);
    EXPECT_DOUBLE_EQ(Number::parseDecimal("inf"), 0.0);
    EXPECT_DOUBLE_EQ(Number::parseDecimal("0x10"), 0.0);
}

TEST(Number, DecimalIgnoresTheProcessLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        std::setlocale(LC_NUMERIC, "C");
    EXPECT_DOUBLE_EQ(Number::parseDecimal("1.25"), 1.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
}
