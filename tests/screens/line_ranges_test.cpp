// Reading a run's lines in ranges of listed documents: the ranges, the condition each range's
// query gains, and every request of the demo range the same as when the lines are read whole.

#include "screens/line_ranges.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "screens/demo_transfer_support.h"
#include "screens/screen_registry.h"

namespace zentrail {
namespace {

using testing::RecordingObserver;
using testing::ScriptedTransport;

TEST(LineRanges, StartShortThenDoubleUpToTheMost) {
    struct Case {
        size_t rows, first, most;
        std::vector<std::pair<size_t, size_t>> ranges;
    };
    const std::vector<Case> cases = {
        {0, 50, 1000, {}},
        {7, 50, 1000, {{0, 7}}},
        {10, 2, 5, {{0, 2}, {2, 6}, {6, 10}}},
        {20, 2, 5, {{0, 2}, {2, 6}, {6, 11}, {11, 16}, {16, 20}}},
        {5, 8, 3, {{0, 3}, {3, 5}}},  // the first never above the most
        {3, 0, 4, {{0, 1}, {1, 3}}},  // nor below one row
    };
    for (const Case& c : cases) {
        std::vector<std::pair<size_t, size_t>> got;
        for (const RowRange& range : LineRanges(c.rows, c.first, c.most))
            got.emplace_back(range.first, range.end);
        EXPECT_EQ(got, c.ranges) << c.rows << " rows, first " << c.first << ", most " << c.most;
    }
}

TEST(LineRanges, TheConditionGoesBeforeTheLastOrderByOrAtTheEnd) {
    struct Case {
        const char* sql;
        std::vector<std::string> keys;
        const char* ranged;
    };
    const std::vector<Case> cases = {
        {"SELECT A.Id FROM T A INNER JOIN (SELECT X FROM U ORDER BY X) H ON A.Id = H.X "
         "WHERE A.D = 1  ORDER BY A.No,B.SlNo ",
         {"7", "12"},
         "SELECT A.Id FROM T A INNER JOIN (SELECT X FROM U ORDER BY X) H ON A.Id = H.X "
         "WHERE A.D = 1  AND H.SALID IN (7,12) ORDER BY A.No,B.SlNo "},
        {"SELECT A.Id FROM T A WHERE A.D = 1 order by A.No",
         {"3"},
         "SELECT A.Id FROM T A WHERE A.D = 1 AND H.SALID IN (3) order by A.No"},
        {"SELECT A.Id FROM T A WHERE A.D = 1",
         {"3"},
         "SELECT A.Id FROM T A WHERE A.D = 1 AND H.SALID IN (3) "},
        {"SELECT A.Id FROM T A WHERE A.D = 1 ORDER BY A.No ",
         {},
         "SELECT A.Id FROM T A WHERE A.D = 1 AND 1 = 0 ORDER BY A.No "},
    };
    for (const Case& c : cases) EXPECT_EQ(RangedQuery(c.sql, "H.SALID", c.keys), c.ranged);
}

TEST(LineRanges, OnlyWholeNumbersAreNumberLiterals) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"42", "42"},
        {" 42 ", "42"},
        {"42.0", "42"},
        {"-3", "-3"},
        {"0007", "7"},
        {"42.5", ""},
        {"", ""},
        {"  ", ""},
        {"4a", ""},
        {"1); DROP TABLE T;--", ""},
        {"9007199254740993", ""},
        // The same number the builder looks the lines up by.
        {"1e3", "1000"},
    };
    for (const auto& [text, literal] : cases)
        EXPECT_EQ(WholeNumberLiteral(text), literal) << "'" << text << "'";
}

// The requests an export of the demo range sends with the lines read in ranges of `sizes`.
std::vector<std::string> DemoRequests(const std::string& screenName, LineRangeSizes sizes) {
    const testing::GeneratedDemo& demo = testing::SmallDemo();
    Configuration config = testing::DemoConfiguration(demo.Path(), 9);
    SourceDatabase db;
    db.OpenConnection(config);
    ScriptedTransport tally([](const std::string&) {
        return testing::TallyReplies("<RESPONSE><CREATED>1</CREATED><ERRORS>0</ERRORS></RESPONSE>");
    });
    ScreenContext context{config, db, tally, {}};
    context.lineRanges = sizes;
    std::unique_ptr<TransferScreen> screen = CreateScreen(screenName, context);
    RecordingObserver observer;
    testing::RunOverRange(*screen, observer, testing::kDemoRange);
    EXPECT_EQ(screen->LastRun().stopReason, "") << screenName;
    return tally.bodies;
}

TEST(LineRanges, EveryRequestOfTheDemoRangeIsTheSameAsWithTheLinesReadWhole) {
    for (const char* screen : {"sales", "purchase", "salesreturn"}) {
        const std::vector<std::string> whole = DemoRequests(screen, {.first = 0, .most = 0});
        ASSERT_GT(whole.size(), 20u) << screen;
        for (LineRangeSizes sizes : {LineRangeSizes{1, 1}, LineRangeSizes{1, 3}, LineRangeSizes{}})
            EXPECT_EQ(DemoRequests(screen, sizes), whole)
                << screen << " in ranges of " << sizes.first << " to " << sizes.most;
    }
}

}  // namespace
}  // namespace zentrail
