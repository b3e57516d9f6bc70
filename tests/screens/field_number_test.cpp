#include "screens/field_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "screens/transfer_grid.h"

namespace zentrail {
namespace {

// nullopt: the field keeps its document from being sent, with the field and text named.
TEST(NumberField, AmountsAndWhatIsNoAmount) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"1296.00", 1296.0},
        {" -12.5 ", -12.5},
        {"+7", 7.0},
        {"", 0.0},
        {"10000000000000", 1e13},
        {"-10000000000000", -1e13},
        {"1,296.00", std::nullopt},
        {"1e308", std::nullopt},
        {"-1e308", std::nullopt},
        {"1e999", std::nullopt},
        {"10000000000001", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"12abc", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        if (expected) {
            EXPECT_EQ(NumberField("SalNetAmt", text, false), *expected) << text;
            continue;
        }
        try {
            NumberField("SalNetAmt", text, false);
            ADD_FAILURE() << text << " was read as a number";
        } catch (const NotANumber& e) {
            EXPECT_EQ(e.Field(), "SalNetAmt");
            EXPECT_EQ(e.Text(), text);
            EXPECT_NE(std::string(e.what()).find("SalNetAmt holds '" + std::string(text) + "'"),
                      std::string::npos)
                << e.what();
        }
    }
    EXPECT_EQ(NumberField("SalNetAmt", "garbage", true), 0.0) << "NULL reads as 0 in a line";
}

// A field that decides a rule reads NULL or blank as no amount, not as 0.
TEST(RuleNumberCell, BlankIsNoAmount) {
    TransferGrid grid;
    grid.AddColumn("SalInvNo");
    grid.AddColumn("SalNetAmt");
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"", std::nullopt}, {"   ", std::nullopt},   {"0", 0.0},
        {"-5", -5.0},       {"1e308", std::nullopt}, {"120.50", 120.5},
    };
    for (const auto& [text, expected] : cases) grid.AddRow({std::string("INV"), std::string(text)});
    for (size_t row = 0; row < std::size(cases); ++row) {
        const auto& [text, expected] = cases[row];
        if (expected) {
            EXPECT_EQ(RuleNumberCell(grid, row, "SalNetAmt"), *expected) << text;
            continue;
        }
        try {
            RuleNumberCell(grid, row, "SalNetAmt");
            ADD_FAILURE() << "'" << text << "' was read as a number";
        } catch (const NotANumber& e) {
            EXPECT_EQ(e.Field(), "SalNetAmt") << text;
        }
    }
}

}  // namespace
}  // namespace zentrail
