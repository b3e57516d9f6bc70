// Building documents ahead of their sending: the builder stays in bounds and hands over failures
// in their turn, and a sales export gives the same requests, log and report whether it builds
// ahead or not, also when Tally refuses, stops answering or the operator stops the run.

#include "screens/document_pipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "screens/demo_transfer_support.h"
#include "screens/sales_screen.h"

namespace zentrail {
namespace {

using testing::RecordingObserver;
using testing::ScriptedTransport;

BuiltDocument Numbered(size_t row) {
    BuiltDocument built;
    built.document.number = "D" + std::to_string(row);
    built.request = "request " + std::to_string(row);
    return built;
}

TEST(DocumentPipeline, HandsOverEveryRowInOrderAndBuildsAtMostAheadOfTheTaken) {
    for (size_t ahead : {0u, 1u, 3u}) {
        std::atomic<size_t> taken{0};
        std::atomic<size_t> furthestAhead{0};
        {
            DocumentPipeline pipeline(20, ahead, [&](size_t row) {
                size_t lead = row - taken.load();
                if (lead > furthestAhead) furthestAhead = lead;
                return Numbered(row);
            });
            for (size_t row = 0; row < 20; ++row) {
                if (row % 5 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
                EXPECT_EQ(pipeline.Next().document.number, "D" + std::to_string(row));
                ++taken;
            }
            EXPECT_THROW(pipeline.Next(), std::logic_error) << "only 20 rows";
        }
        EXPECT_LE(furthestAhead.load(), ahead) << "ahead " << ahead;
    }
}

TEST(DocumentPipeline, AFailureComesInItsTurnAndNothingIsBuiltAfterIt) {
    for (size_t ahead : {0u, 4u}) {
        std::atomic<size_t> built{0};
        DocumentPipeline pipeline(10, ahead, [&](size_t row) {
            ++built;
            if (row == 3) throw std::runtime_error("row 3 cannot be built");
            return Numbered(row);
        });
        for (size_t row = 0; row < 3; ++row)
            EXPECT_EQ(pipeline.Next().document.number, "D" + std::to_string(row));
        try {
            pipeline.Next();
            ADD_FAILURE() << "row 3 must fail";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "row 3 cannot be built");
        }
        EXPECT_THROW(pipeline.Next(), std::logic_error);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(built.load(), 4u) << "ahead " << ahead;
    }
}

TEST(DocumentPipeline, EndingEarlyWaitsOnlyForTheBuildInProgress) {
    std::atomic<size_t> built{0};
    {
        DocumentPipeline pipeline(1000, 2, [&](size_t row) {
            ++built;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return Numbered(row);
        });
        pipeline.Next();
    }
    const size_t atEnd = built.load();
    EXPECT_LE(atEnd, 4u) << "the taken one, two ahead and at most one in progress";
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(built.load(), atEnd) << "nothing is built once the pipeline is gone";
}

TEST(DocumentPipeline, EndingWhileABuildWaitsCancelsIt) {
    std::atomic<bool> waiting{false};
    std::atomic<bool> cancelled{false};
    std::atomic<size_t> built{0};
    {
        DocumentPipeline pipeline(
            10, 2,
            [&](size_t row) {
                if (row == 1) {
                    waiting = true;
                    // Stands for lines still being read: ends when cancelled, or fails the
                    // test after 10 s.
                    for (int i = 0; i < 10000 && !cancelled; ++i)
                        std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    throw std::runtime_error("interrupted");
                }
                ++built;
                return Numbered(row);
            },
            [&] { cancelled = true; });
        pipeline.Next();
        while (!waiting) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(cancelled.load());
    EXPECT_EQ(built.load(), 1u) << "nothing built after the build that waited";
}

// One sales export of the small demo, with Tally answering through `answer`, and what it left.
struct SalesRun {
    std::vector<std::string> requests;
    std::string log;
    std::string report;
    std::vector<ScreenMessage> messages;
    RunCounts counts;
};

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

SalesRun RunSales(size_t buildAhead, const std::function<HttpResult(const std::string&)>& answer,
                  int stopAfter) {
    const testing::GeneratedDemo& demo = testing::SmallDemo();
    Configuration config = testing::DemoConfiguration(demo.Path(), 9);
    SourceDatabase db;
    db.OpenConnection(config);
    ScriptedTransport tally(answer);
    const std::filesystem::path reports =
        std::filesystem::path(::testing::TempDir()) /
        ("pipeline-" + std::to_string(::getpid()) + "-" + std::to_string(buildAhead));
    std::filesystem::remove_all(reports);
    ScreenContext context{config, db, tally, reports};
    context.buildAhead = buildAhead;
    SalesScreen sales(context);
    RecordingObserver observer;
    observer.stopAfter = stopAfter;
    testing::RunOverRange(sales, observer, testing::kDemoRange);

    SalesRun run;
    run.requests = tally.bodies;
    run.counts = sales.LastRun();
    run.report = FileText(run.counts.reportPath);
    run.log = sales.LogText();
    // The report's file name carries the time of the run; the rest must match.
    const size_t at = run.log.find(run.counts.reportPath);
    if (at != std::string::npos) run.log.replace(at, run.counts.reportPath.size(), "<report>");
    run.messages = observer.messages;
    for (ScreenMessage& message : run.messages) {
        const size_t in = message.text.find(run.counts.reportPath);
        if (in != std::string::npos)
            message.text.replace(in, run.counts.reportPath.size(), "<report>");
    }
    std::filesystem::remove_all(reports);
    return run;
}

HttpResult Created() {
    return testing::TallyReplies("<RESPONSE><CREATED>1</CREATED><ERRORS>0</ERRORS></RESPONSE>");
}

TEST(BuildingAhead, AnExportSendsAndReportsExactlyWhatItWouldBuildingEachInTurn) {
    struct Case {
        const char* what;
        std::function<std::function<HttpResult(const std::string&)>()> tally;
        int stopAfter;
        bool endsEarly;
    };
    const std::vector<Case> cases = {
        {"Tally takes everything", [] { return [](const std::string&) { return Created(); }; }, -1,
         false},
        {"Tally refuses every fifth request",
         [] {
             return [n = 0](const std::string&) mutable {
                 return ++n % 5 == 0 ? testing::TallyReplies(
                                           "<RESPONSE><LINEERROR>Voucher totals do not "
                                           "match!</LINEERROR><ERRORS>1</ERRORS>"
                                           "</RESPONSE>")
                                     : Created();
             };
         },
         -1, false},
        {"Tally stops answering after 30 requests",
         [] {
             return [n = 0](const std::string&) mutable {
                 return ++n > 30 ? HttpResult{HttpResult::Status::NotConnected, 0, "",
                                              "Connection refused"}
                                 : Created();
             };
         },
         -1, true},
        {"the operator stops after 25 requests",
         [] { return [](const std::string&) { return Created(); }; }, 25, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SalesRun serial = RunSales(0, c.tally(), c.stopAfter);
        const SalesRun ahead = RunSales(4, c.tally(), c.stopAfter);
        ASSERT_GT(serial.requests.size(), 20u);
        EXPECT_EQ(serial.counts.stopped, c.endsEarly);
        EXPECT_TRUE(ahead.requests == serial.requests) << "the same requests in the same order";
        EXPECT_EQ(ahead.log, serial.log);
        EXPECT_EQ(ahead.report, serial.report);
        ASSERT_EQ(ahead.messages.size(), serial.messages.size());
        for (size_t i = 0; i < serial.messages.size(); ++i)
            EXPECT_EQ(ahead.messages[i].text, serial.messages[i].text);
        EXPECT_EQ(ahead.counts.documents.Total(), serial.counts.documents.Total());
        EXPECT_EQ(ahead.counts.documents.Total(), serial.counts.listed);
    }
}

}  // namespace
}  // namespace zentrail
