#include "tally/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zentrail {
namespace {

TEST(NumberText, GeneralForm) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {125, "125"},
        {125.5, "125.5"},
        {0.25, "0.25"},
        {-3.25, "-3.25"},
        {1180, "1180"},
        {0, "0"},
        {-0.0, "0"},
        {2.5, "2.5"},
        {0.1 + 0.2, "0.3"},
        {1e20, "100000000000000000000"},
        {1.5e-7, "0.00000015"},
        {123456789.12, "123456789.12"},
        {-1e-5, "-0.00001"},
        {18, "18"},
    };
    for (const Case& c : cases) EXPECT_EQ(NumberText(c.value), c.text) << c.value;
}

TEST(NumberText, RoundHalfEven) {
    struct Case {
        double value;
        int decimals;
        double expected;
    };
    const Case cases[] = {
        {0.125, 2, 0.12},  {0.375, 2, 0.38},     {100.5, 0, 100}, {101.5, 0, 102},
        {1000.4, 0, 1000}, {2.675, 2, 2.68},     {1.005, 2, 1.0}, {-0.125, 2, -0.12},
        {-2.5, 0, -2},     {123.456, 2, 123.46}, {0.0049, 2, 0},  {99.995, 2, 100},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(RoundHalfEven(c.value, c.decimals), c.expected)
            << c.value << " at " << c.decimals;
}

TEST(NumberText, ReadNumber) {
    struct Case {
        const char* text;
        double expected;
    };
    const Case cases[] = {
        {"", 0},          {"   ", 0},    {"abc", 0},   {"12", 12},  {"  12.5xyz", 12.5},
        {"-3.25", -3.25}, {"+7", 7},     {"1,234", 1}, {".5", 0.5}, {"5.", 5},
        {"-", 0},         {"1e3", 1000}, {"2e", 2},    {"18%", 18}, {"\t4", 4},
        {"0012", 12},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(ReadNumber(c.text), c.expected) << c.text;
}

}  // namespace
}  // namespace zentrail
