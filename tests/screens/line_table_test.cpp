#include "screens/line_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screens/field_number.h"

namespace zentrail {
namespace {

enum class Column { Key, Line };
constexpr const char* kColumns[] = {"RefNo", "Line"};

LineTable Lines(const std::vector<std::vector<std::optional<std::string>>>& rows) {
    return LineTable(RowSet({"REFNO", "Line", "Other"}, rows), kColumns,
                     static_cast<size_t>(Column::Key), "The test query");
}

std::vector<std::string> LineNumbers(const LineTable::Lines& lines) {
    std::vector<std::string> numbers;
    for (LineRow row : lines) numbers.push_back(row.Text(Column::Line));
    return numbers;
}

using Numbers = std::vector<std::string>;

TEST(LineTable, ATextKeyFindsExactlyItsOwnLinesAsTheSourceComparesTexts) {
    LineTable table = Lines({{"O'Neil/23", "1", ""},
                             {"O'Neil/2", "2", ""},
                             {"o'neil/23  ", "3", ""},
                             {"O", "4", ""},
                             {std::nullopt, "5", ""},
                             {"O''Neil/23", "6", ""}});
    EXPECT_EQ(LineNumbers(table.WithText("O'Neil/23")), (Numbers{"1", "3"}));
    EXPECT_EQ(LineNumbers(table.WithText("O'Neil/2")), (Numbers{"2"}));
    EXPECT_EQ(LineNumbers(table.WithText("O''Neil/23")), (Numbers{"6"}));
    EXPECT_TRUE(LineNumbers(table.WithText("x' OR 'a'='a")).empty());
}

TEST(LineTable, AnIdOfPlainDigitsFindsTheLinesThatReadAsThatNumber) {
    LineTable table = Lines({{"12", "1", ""},
                             {"12.0", "2", ""},
                             {" 12 ", "3", ""},
                             {"1e5", "4", ""},
                             {"100000", "5", ""},
                             {"R7", "6", ""}});
    EXPECT_EQ(LineNumbers(table.WithId("12")), (Numbers{"1", "2", "3"}));
    EXPECT_EQ(LineNumbers(table.WithId("12.00")), (Numbers{"1", "2", "3"}));
    EXPECT_EQ(LineNumbers(table.WithId("1e5")), (Numbers{"4"})) << "compared as text";
    EXPECT_EQ(LineNumbers(table.WithId("r7")), (Numbers{"6"}));
    EXPECT_EQ(LineNumbers(table.WithNumber("100000")), (Numbers{"4", "5"}));
}

TEST(LineTable, ABlankOrUnreadableIdIsTheDocumentsFaultNotAnotherDocumentsLines) {
    LineTable table = Lines({{"", "1", ""}, {"7", "2", ""}});
    for (const char* id : {"", "   "}) {
        EXPECT_THROW(table.WithId(id), NotANumber) << "'" << id << "'";
        EXPECT_THROW(table.WithText(id), NotANumber);
        EXPECT_THROW(table.WithNumber(id), NotANumber);
    }
    EXPECT_THROW(table.WithNumber("7x"), NotANumber);
}

TEST(LineTable, AQueryWithoutAColumnTheScreenReadsIsRefusedNamingIt) {
    try {
        LineTable table(RowSet({"RefNo", "Other"}), kColumns, 0, "The test query");
        FAIL() << "bound a missing column";
    } catch (const MissingColumn& e) {
        EXPECT_STREQ(e.what(), "The test query has no column Line");
    }
}

TEST(LineTable, NumbersOfALineAreReadStrictly) {
    LineTable table = Lines({{"1", "2.50", ""}, {"2", "12abc", ""}, {"3", std::nullopt, ""}});
    auto only = [&](const char* id) { return *table.WithId(id).begin(); };
    EXPECT_EQ(only("1").Number(Column::Line), 2.5);
    EXPECT_THROW(only("2").Number(Column::Line), NotANumber);
    EXPECT_EQ(only("3").Number(Column::Line), 0) << "NULL reads as 0";
}

}  // namespace
}  // namespace zentrail
