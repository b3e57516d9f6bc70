#include "common/csv.h"

#include <gtest/gtest.h>

namespace zentrail {
namespace {

TEST(CsvField, QuotesAndFormulaGuard) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"", ""},
        {"M\xC3\xBCller's", "M\xC3\xBCller's"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        // A spreadsheet would run these as formulas.
        {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
        {"=1+2", "'=1+2"},
        {"+CMD", "'+CMD"},
        {"-2+3", "'-2+3"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\tTAB", "'\tTAB"},
        {"\rCR", "\"'\rCR\""},
        {"-", "'-"},
        {"+.", "'+."},
        {"a=b", "a=b"},
        // Numbers stay numbers.
        {"-1296.00", "-1296.00"},
        {"+5", "+5"},
        {"-.5", "-.5"},
        {"12", "12"},
        {"-1.2.3", "'-1.2.3"},
    };
    for (const auto& [text, field] : cases) EXPECT_EQ(CsvField(text), field) << text;
}

}  // namespace
}  // namespace zentrail
