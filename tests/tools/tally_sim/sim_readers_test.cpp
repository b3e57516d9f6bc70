#include <gtest/gtest.h>

#include "tally-sim/tally_amount.h"
#include "tally-sim/tally_date.h"

namespace zentrail::sim {
namespace {

TEST(TallySimReaders, VoucherDates) {
    struct Case {
        const char* text;
        std::optional<std::string> date;
    };
    const Case cases[] = {
        {"20240401", "20240401"},       {" 20240401 ", "20240401"},   {"1-Apr-2024", "20240401"},
        {"01-APR-2024", "20240401"},    {"29-feb-2024", "20240229"},  {"31-12-2023", "20231231"},
        {"1/4/2024", "20240401"},       {"01/04/2024", "20240401"},   {"", std::nullopt},
        {"2024041", std::nullopt},      {"20241301", std::nullopt},   {"20240431", std::nullopt},
        {"29-Feb-2023", std::nullopt},  {"29-02-1900", std::nullopt}, {"29-02-2000", "20000229"},
        {"1-April-2024", std::nullopt}, {"1-Apr-24", std::nullopt},   {"2024-04-01", std::nullopt},
        {"01.04.2024", std::nullopt},   {"1/Apr/2024", std::nullopt}, {"001-04-2024", std::nullopt},
        {"01-04-2024-1", std::nullopt}, {"0-04-2024", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadTallyDate(c.text), c.date) << '"' << c.text << '"';
}

TEST(TallySimReaders, AmountsFollowTallysSignRule) {
    struct Case {
        const char* text;
        std::optional<double> amount;
    };
    const Case cases[] = {
        {"118", 118},
        {"-118", -118},
        {"--12.5", 12.5},
        {"---12.5", -12.5},
        {" -45.5 ", -45.5},
        {"", 0},
        {"0", 0},
        {"-0", 0},
        {".5", 0.5},
        {"- 5", -5},
        {"12.", 12},
        {"9,0", std::nullopt},
        {"abc", std::nullopt},
        {"-", std::nullopt},
        {"1e5", std::nullopt},
        {"+5", std::nullopt},
        {"1.2.3", std::nullopt},
        {"12 Dr", std::nullopt},
        {"9999999999999999999999999999999999999999999999999999999999999999999999999999999999999999"
         "9999999999999999999999999999999999999999999999999999999999999999999999999999999999999999"
         "9999999999999999999999999999999999999999999999999999999999999999999999999999999999999999"
         "9999999999999999999999999999999999999999999999999999999999999999999999999999999999999999",
         std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadTallyAmount(c.text), c.amount) << '"' << c.text << '"';
}

}  // namespace
}  // namespace zentrail::sim
