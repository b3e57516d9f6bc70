#include "shell/recordset.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/recordset_filter.h"

namespace zentrail {
namespace {

using Rows = std::vector<std::vector<std::optional<std::string>>>;

RowSet ThreeInvoices() {
    return RowSet({"SalId", "SalInvNo", "RtrName"}, Rows{{"11", "INV/001", "Arun & Sons"},
                                                         {"12", "INV/002", std::nullopt},
                                                         {"13", "INV/003", ""}});
}

long ErrorNumber(const std::function<void()>& action) {
    try {
        action();
    } catch (const DbError& error) {
        return error.Number();
    }
    return 0;
}

// The field `name` of every row from the current one to EOF.
std::vector<std::string> Walk(Recordset& rs, const std::string& name) {
    std::vector<std::string> values;
    while (!rs.Eof()) {
        values.push_back(rs.Fields(name).Value());
        rs.MoveNext();
    }
    return values;
}

TEST(Recordset, WalksRowsFromTheFirst) {
    Recordset rs;
    rs.Open(ThreeInvoices());
    EXPECT_EQ(rs.State(), Recordset::kStateOpen);
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_FALSE(rs.Bof());
    std::vector<long> positions;
    std::vector<std::string> numbers;
    while (!rs.Eof()) {
        positions.push_back(rs.AbsolutePosition());
        numbers.push_back(rs.Fields(1).Value());
        rs.MoveNext();
    }
    EXPECT_EQ(positions, (std::vector<long>{1, 2, 3}));
    EXPECT_EQ(numbers, (std::vector<std::string>{"INV/001", "INV/002", "INV/003"}));
    EXPECT_EQ(rs.AbsolutePosition(), 0);
    EXPECT_FALSE(rs.Bof());

    rs.MoveFirst();
    EXPECT_EQ(rs.AbsolutePosition(), 1);
    EXPECT_EQ(rs.Fields("SalInvNo").Value(), "INV/001");
}

TEST(Recordset, ReadsFieldsByNameInAnyCaseAndByPosition) {
    Recordset rs;
    rs.Open(ThreeInvoices());
    EXPECT_EQ(rs.FieldCount(), 3u);
    EXPECT_EQ(rs.FieldName(2), "RtrName");
    EXPECT_EQ(rs.Fields("rtrname").Value(), "Arun & Sons");
    EXPECT_EQ(rs.Fields("SALID").Value(), "11");
    EXPECT_EQ(rs.Fields("SalId").name, "SalId");
    EXPECT_FALSE(rs.Fields(2).isNull);

    rs.MoveNext();  // NULL and empty text differ only by the flag
    EXPECT_TRUE(rs.Fields("RtrName").isNull);
    EXPECT_EQ(rs.Fields("RtrName").Value(), "");
    rs.MoveNext();
    EXPECT_FALSE(rs.Fields("RtrName").isNull);
    EXPECT_EQ(rs.Fields("RtrName").Value(), "");
}

TEST(Recordset, DuplicateFieldNameReadsTheFirst) {
    Recordset rs;
    rs.Open(RowSet({"SalId", "salid"}, Rows{{"1", "2"}}));
    EXPECT_EQ(rs.Fields("SALID").Value(), "1");
    EXPECT_EQ(rs.Fields(1).Value(), "2");
}

TEST(Recordset, EmptyResultIsAtBofAndEofAndKeepsItsFields) {
    Recordset rs;
    rs.Open(RowSet({"SalId", "SalInvNo"}));
    EXPECT_EQ(rs.State(), Recordset::kStateOpen);
    EXPECT_TRUE(rs.Eof());
    EXPECT_TRUE(rs.Bof());
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_EQ(rs.AbsolutePosition(), 0);
    EXPECT_EQ(rs.FieldCount(), 2u);  // a grid takes its columns from an empty result too
    EXPECT_EQ(rs.FieldName(1), "SalInvNo");
    rs.MoveFirst();
    EXPECT_TRUE(rs.Eof() && rs.Bof());
}

TEST(Recordset, ErrorsCarryTheNumbersCallersTest) {
    Recordset rs;
    EXPECT_EQ(rs.State(), Recordset::kStateClosed);
    EXPECT_EQ(ErrorNumber([&] { rs.RecordCount(); }), 3704);
    EXPECT_EQ(ErrorNumber([&] { rs.Eof(); }), 3704);
    EXPECT_EQ(ErrorNumber([&] { rs.Fields("SalId"); }), 3704);
    EXPECT_EQ(ErrorNumber([&] { rs.Filter(""); }), 3704);
    EXPECT_EQ(ErrorNumber([&] { rs.Close(); }), 0);

    rs.Open(ThreeInvoices());
    EXPECT_EQ(ErrorNumber([&] { rs.Fields("NoSuchField"); }), 3265);
    EXPECT_EQ(ErrorNumber([&] { rs.Fields(3); }), 3265);
    EXPECT_EQ(ErrorNumber([&] { rs.FieldName(3); }), 3265);
    for (int i = 0; i < 3; ++i) rs.MoveNext();
    EXPECT_EQ(ErrorNumber([&] { rs.Fields("SalId"); }), 3021);
    EXPECT_EQ(ErrorNumber([&] { rs.MoveNext(); }), 3021);

    rs.Close();
    EXPECT_EQ(rs.State(), Recordset::kStateClosed);
    EXPECT_EQ(ErrorNumber([&] { rs.MoveFirst(); }), 3704);
}

TEST(Recordset, OpenReplacesRowsAndFilter) {
    Recordset rs;
    rs.Open(ThreeInvoices());
    rs.Filter("[SalId] = 12");
    rs.Open(RowSet({"PrdId"}, Rows{{"7"}, {"8"}}));
    EXPECT_EQ(rs.FilterText(), "");
    EXPECT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(ErrorNumber([&] { rs.Fields("SalId"); }), 3265);
    EXPECT_EQ(Walk(rs, "PrdId"), (std::vector<std::string>{"7", "8"}));
}

TEST(Recordset, MovedSetKeepsItsRows) {
    Recordset first;
    first.Open(ThreeInvoices());
    first.MoveNext();
    Recordset second = std::move(first);
    EXPECT_EQ(second.Fields("SalInvNo").Value(), "INV/002");
}

// A moved-from set holds nothing; using it is a caller's bug and says so instead of crashing.
TEST(Recordset, MovedFromSetFailsClearlyUntilReopened) {
    Recordset first;
    first.Open(ThreeInvoices());
    Recordset second = std::move(first);
    const std::function<void()> uses[] = {
        [&] { first.State(); },
        [&] { first.RecordCount(); },
        [&] { first.AbsolutePosition(); },
        [&] { first.Eof(); },
        [&] { first.Bof(); },
        [&] { first.MoveFirst(); },
        [&] { first.MoveNext(); },
        [&] { first.FieldCount(); },
        [&] { first.FieldName(0); },
        [&] { first.Fields(0); },
        [&] { first.Fields("SalId"); },
        [&] { first.Filter(""); },
        [&] { first.FilterText(); },
    };
    for (size_t i = 0; i < std::size(uses); ++i) {
        try {
            uses[i]();
            ADD_FAILURE() << "use " << i << " did not throw";
        } catch (const std::logic_error& error) {
            EXPECT_STREQ(error.what(), "Recordset used after it was moved from") << i;
        }
    }
    Recordset third;
    third = std::move(second);
    EXPECT_THROW(second.Eof(), std::logic_error);
    EXPECT_EQ(third.Fields("SalInvNo").Value(), "INV/001");

    first.Close();
    EXPECT_EQ(first.State(), Recordset::kStateClosed);
    EXPECT_EQ(ErrorNumber([&] { first.Eof(); }), 3704);
    second.Open(ThreeInvoices());
    EXPECT_EQ(second.RecordCount(), 3);
}

// Lines of several invoices, their ids written the ways a numeric column comes back.
RowSet Lines() {
    return RowSet({"SALID", "SlNo", "Ref"}, Rows{{"12", "1", "AB/001"},
                                                 {"13", "1", "ab/001  "},
                                                 {"12.0", "2", "O'Brien"},
                                                 {"120", "1", " AB/001"},
                                                 {"12.00", "3", "AB/0011"},
                                                 {std::nullopt, "9", std::nullopt},
                                                 {" 12", "4", ""},
                                                 {"12.5", "1", "x"},
                                                 {"abc", "1", "Zoë"}});
}

TEST(RecordsetFilter, NumberMatchesEveryTextOfThatNumber) {
    Recordset rs;
    rs.Open(Lines());
    rs.MoveNext();
    rs.Filter("[SALID] = 12");
    EXPECT_EQ(rs.RecordCount(), 4);
    EXPECT_EQ(rs.AbsolutePosition(), 1);  // positioned on the first match
    EXPECT_EQ(Walk(rs, "SlNo"), (std::vector<std::string>{"1", "2", "3", "4"}));

    rs.Filter("[salid]=12.0");
    EXPECT_EQ(rs.RecordCount(), 4);
    rs.Filter("  [SalId]  =  12.5 ");
    EXPECT_EQ(Walk(rs, "SlNo"), (std::vector<std::string>{"1"}));
    rs.Filter("SALID = 120");  // brackets are optional
    EXPECT_EQ(rs.RecordCount(), 1);
}

TEST(RecordsetFilter, NoMatchIsAtBofAndEof) {
    Recordset rs;
    rs.Open(Lines());
    rs.Filter("[SALID] = 7");
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_TRUE(rs.Eof());
    EXPECT_TRUE(rs.Bof());
    EXPECT_EQ(rs.AbsolutePosition(), 0);
}

TEST(RecordsetFilter, TextIgnoresCaseAndTrailingBlanks) {
    Recordset rs;
    rs.Open(Lines());
    rs.Filter("[Ref] = 'ab/001'");
    EXPECT_EQ(Walk(rs, "SALID"), (std::vector<std::string>{"12", "13"}));
    rs.Filter("[REF] = 'O''Brien'");
    EXPECT_EQ(Walk(rs, "SlNo"), (std::vector<std::string>{"2"}));
    rs.Filter("[Ref] = ''");  // empty text, not NULL
    EXPECT_EQ(Walk(rs, "SlNo"), (std::vector<std::string>{"4"}));
    rs.Filter("[Ref] = 'ZOË'");  // only ASCII letters fold
    EXPECT_EQ(rs.RecordCount(), 0);
    rs.Filter("[Ref] = 'Zoë'");
    EXPECT_EQ(rs.RecordCount(), 1);
}

TEST(RecordsetFilter, ClearingAndReplacing) {
    Recordset rs;
    rs.Open(Lines());
    rs.Filter("[SALID] = 13");
    EXPECT_EQ(rs.FilterText(), "[SALID] = 13");
    rs.Filter("[SlNo] = 1");  // replaces, does not narrow
    EXPECT_EQ(rs.RecordCount(), 5);
    rs.MoveNext();
    rs.Filter("");
    EXPECT_EQ(rs.FilterText(), "");
    EXPECT_EQ(rs.RecordCount(), 9);
    EXPECT_EQ(rs.AbsolutePosition(), 1);
    EXPECT_EQ(rs.Fields("SALID").Value(), "12");
}

TEST(RecordsetFilter, UnreadableOrUnknownKeepsTheFilterInForce) {
    Recordset rs;
    rs.Open(Lines());
    rs.Filter("[SALID] = 13");
    EXPECT_EQ(ErrorNumber([&] { rs.Filter("[NoSuchField] = 1"); }), 3265);
    const char* unreadable[] = {"[SALID] 12",    "[SALID] =",    "[SALID] = 'abc",
                                "[SALID] = abc", "[SALID = 12",  "= 12",
                                "[SALID] = 1 2", "[SALID] > 12", "[SALID] = 'a' x",
                                "[SALID] = inf", "[SALID] = -",  "[] = 1"};
    for (const char* expression : unreadable)
        EXPECT_EQ(ErrorNumber([&] { rs.Filter(expression); }), 3001) << expression;
    EXPECT_EQ(rs.FilterText(), "[SALID] = 13");
    EXPECT_EQ(rs.RecordCount(), 1);
}

// Per-document filtering over a large line set gives what a scan of every row gives.
TEST(RecordsetFilter, AgreesWithAScanOverManyDocuments) {
    std::mt19937 random(7);
    const char* forms[] = {"%d", "%d.0", "%d.00", " %d"};
    RowSet rows({"SalId", "RefNo", "SlNo"});
    std::vector<int> ids;
    for (int line = 0; line < 5000; ++line) {
        int id = static_cast<int>(random() % 700);
        char text[32];
        std::snprintf(text, sizeof text, forms[random() % 4], id);
        rows.Append(text);
        rows.Append("R-" + std::to_string(id) + (random() % 2 ? "" : " "));
        rows.Append(std::to_string(line));
        ids.push_back(id);
    }
    Recordset rs;
    rs.Open(std::move(rows));
    for (int id = 0; id < 700; ++id) {
        std::vector<std::string> expected;
        for (size_t line = 0; line < ids.size(); ++line)
            if (ids[line] == id) expected.push_back(std::to_string(line));
        rs.Filter("[SALID] = " + std::to_string(id));
        ASSERT_EQ(Walk(rs, "SlNo"), expected) << id;
        rs.Filter("[refno] = 'r-" + std::to_string(id) + "'");
        ASSERT_EQ(Walk(rs, "SlNo"), expected) << id;
    }
}

TEST(FilterExpression, Reading) {
    FilterExpression number = ParseFilter("[PurRcptId] = -4.5");
    EXPECT_EQ(number.field, "PurRcptId");
    EXPECT_TRUE(number.isNumber);
    EXPECT_EQ(number.number, -4.5);
    FilterExpression text = ParseFilter("[IDTMngRefNo] = 'A''B ''C'''");
    EXPECT_EQ(text.field, "IDTMngRefNo");
    EXPECT_FALSE(text.isNumber);
    EXPECT_EQ(text.text, "A'B 'C'");
    EXPECT_TRUE(ParseFilter("   ").field.empty());
    EXPECT_EQ(ParseFilter("[Return ID] = 3").field, "Return ID");
}

TEST(FilterExpression, WholeNumbers) {
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {{"12", 12},  {"12.00", 12}, {" 12 ", 12}, {"+12", 12},  {"-0", 0},
                          {".5", 0.5}, {"1e3", 1000}, {"12a", {}},  {"", {}},     {"nan", {}},
                          {"inf", {}}, {"-", {}},     {"1 2", {}},  {"0x10", {}}, {"12,5", {}}};
    for (const Case& c : cases) EXPECT_EQ(ReadWholeNumber(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace zentrail
