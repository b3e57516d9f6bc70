#include "screens/filter_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/recordset.h"

namespace zentrail {
namespace {

TEST(FilterText, QuotesInsideTheValueAreDoubled) {
    const struct {
        const char* value;
        const char* expected;
    } cases[] = {
        {"IDT0001", "[IDTMngRefNo] = 'IDT0001'"},
        {"O'Neil/23", "[IDTMngRefNo] = 'O''Neil/23'"},
        {"''", "[IDTMngRefNo] = ''''''"},
        {"x' OR 'a'='a", "[IDTMngRefNo] = 'x'' OR ''a''=''a'"},
        {"", "[IDTMngRefNo] = ''"},
    };
    for (const auto& c : cases) EXPECT_EQ(FilterEquals("IDTMngRefNo", c.value), c.expected);
}

TEST(FilterText, IdsAreComparedAsNumbersOnlyWhenTheyArePlainNumbers) {
    EXPECT_EQ(FilterEqualsId("PurRcptId", "12"), "[PurRcptId] = 12");
    EXPECT_EQ(FilterEqualsId("PurRcptId", "12.5"), "[PurRcptId] = 12.5");
    EXPECT_EQ(FilterEqualsId("PurRcptId", "1e5"), "[PurRcptId] = '1e5'");
    EXPECT_EQ(FilterEqualsId("PurRcptId", "R'7"), "[PurRcptId] = 'R''7'");
    EXPECT_EQ(FilterEqualsId("PurRcptId", ""), "[PurRcptId] = ''");
}

// Reads the RefNo of every row the filter keeps.
std::vector<std::string> Kept(Recordset& rs, const std::string& expression) {
    rs.Filter(expression);
    std::vector<std::string> kept;
    for (; !rs.Eof(); rs.MoveNext()) kept.push_back(rs.Fields("Line").Value());
    return kept;
}

TEST(FilterText, AnApostropheInAReferenceFiltersExactlyItsOwnLines) {
    Recordset rs;
    rs.Open(RowSet({"RefNo", "Line"}, {{"O'Neil/23", "1"},
                                       {"O'Neil/2", "2"},
                                       {"O'Neil/23", "3"},
                                       {"O", "4"},
                                       {"Neil/23", "5"},
                                       {"O''Neil/23", "6"}}));
    EXPECT_EQ(Kept(rs, FilterEquals("RefNo", "O'Neil/23")), (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(Kept(rs, FilterEquals("RefNo", "O'Neil/2")), (std::vector<std::string>{"2"}));
    EXPECT_EQ(Kept(rs, FilterEquals("RefNo", "O''Neil/23")), (std::vector<std::string>{"6"}));
    EXPECT_EQ(Kept(rs, FilterEquals("RefNo", "O")), (std::vector<std::string>{"4"}));
    EXPECT_TRUE(Kept(rs, FilterEquals("RefNo", "x' OR 'a'='a")).empty());
}

}  // namespace
}  // namespace zentrail
