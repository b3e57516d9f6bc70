// The settings dialog's connection tests, without the dialog: what they open, count and say.

#include "screens/connection_tests.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "screens/detached_test.h"
#include "support/demo_database.h"
#include "support/tally_sim_process.h"
#include "support/test_http_server.h"
#include "tally/http_client.h"

namespace zentrail {
namespace {

using testing::RawQuery;
using testing::SmallDemo;

Configuration SourceSettings(const std::string& source) {
    Configuration config;
    config.strTallyServer = "127.0.0.1";
    config.strTallyPort = "9000";
    config.strSqlOdbc = source;
    return config;
}

// The demo month with the most invoices, and their number, counted by SQLite alone.
std::pair<CalendarDate, std::string> BusiestDemoMonth() {
    const auto rows = RawQuery(SmallDemo().Path(),
                               "SELECT substr(SalInvDate, 1, 7) || '-15', COUNT(*) FROM "
                               "SalesInvoice GROUP BY 1 ORDER BY 2 DESC LIMIT 1");
    const std::optional<CalendarDate> day = CalendarDate::FromIso(rows.at(0).at(0).value());
    if (!day) throw std::runtime_error("demo dates are not ISO: " + *rows[0][0]);
    return {*day, rows[0][1].value()};
}

TEST(SourceDatabaseTest, NamesSqliteAndCountsTheInvoicesOfTheMonth) {
    const auto [day, expected] = BusiestDemoMonth();
    const char* months[] = {"January", "February", "March",     "April",   "May",      "June",
                            "July",    "August",   "September", "October", "November", "December"};
    const ConnectionTestResult result =
        TestSourceDatabase(SourceSettings(SmallDemo().Path()), OpenSourceConnection, day);
    EXPECT_TRUE(result.passed) << result.message;
    EXPECT_EQ(result.message, "Opened \"" + SmallDemo().Path() + "\": SQLite " +
                                  sqlite3_libversion() + "; " + expected +
                                  " sales invoices dated in " + months[day.month - 1] + " " +
                                  std::to_string(day.year));
    EXPECT_NE(expected, "0");
}

TEST(SourceDatabaseTest, AMonthWithoutInvoicesCountsNone) {
    const ConnectionTestResult result = TestSourceDatabase(
        SourceSettings(SmallDemo().Path()), OpenSourceConnection, CalendarDate{1999, 2, 10});
    EXPECT_TRUE(result.passed) << result.message;
    EXPECT_TRUE(result.message.ends_with("; 0 sales invoices dated in February 1999"))
        << result.message;
}

TEST(SourceDatabaseTest, FailuresSayWhatWentWrong) {
    const std::string missing =
        (std::filesystem::temp_directory_path() / "zentrail-no-such-source.db").string();
    Configuration withControl = SourceSettings(SmallDemo().Path());
    withControl.strSqlUser = "sa\x01";
    struct Case {
        const char* name;
        Configuration config;
        std::string start;
        std::string holds;
    };
    const Case cases[] = {
        {"missing file", SourceSettings(missing), "No database file at " + missing + "\nError ",
         "Error "},
        {"control character", withControl, "SQL_USER holds a control character", "U+0001"},
    };
    for (const Case& c : cases) {
        const ConnectionTestResult result =
            TestSourceDatabase(c.config, OpenSourceConnection, CalendarDate{2024, 1, 1});
        EXPECT_FALSE(result.passed) << c.name;
        EXPECT_TRUE(result.message.starts_with(c.start)) << c.name << ": " << result.message;
        EXPECT_NE(result.message.find(c.holds), std::string::npos)
            << c.name << ": " << result.message;
    }
}

TEST(SourceDatabaseTest, TheOpenerGetsTheFormsLogon) {
    Configuration config = SourceSettings("DMSDB");
    config.strSqlUser = "clerk";
    config.strSqlPassword = "p:w;d";
    std::string seen;
    const SourceOpener opener =
        [&seen](const std::string& source, const std::string& user,
                const std::string& password) -> std::unique_ptr<SourceConnection> {
        seen = source + "|" + user + "|" + password;
        throw DbError(-2147467259, "Login failed for user 'clerk'.");
    };
    const ConnectionTestResult result = TestSourceDatabase(config, opener, {2024, 1, 1});
    EXPECT_EQ(seen, "DMSDB|clerk|p:w;d");
    EXPECT_FALSE(result.passed);
    EXPECT_EQ(result.message,
              "Cannot open the source database \"DMSDB\"\nError -2147467259: Login failed for "
              "user 'clerk'.");
}

TEST(TallyTest, RunningSimulatorClosedPortAndBadSettings) {
    testing::TallySimProcess sim;
    const int closed = testing::UnusedPort();
    struct Case {
        const char* name;
        std::string server;
        std::string port;
        bool passed;
        std::string message;  // the whole message, or its start when `whole` is false
        bool whole;
    };
    const std::string simAddress = "127.0.0.1:" + std::to_string(sim.Port());
    const std::string closedAddress = "127.0.0.1:" + std::to_string(closed);
    const Case cases[] = {
        {"simulator", "127.0.0.1", std::to_string(sim.Port()), true,
         "Tally runs at " + simAddress +
             " and answered: <RESPONSE>TallyPrime Server is Running</RESPONSE>",
         true},
        {"closed port", "127.0.0.1", std::to_string(closed), false,
         "Tally is not running at " + closedAddress + " (", false},
        {"bad port", "127.0.0.1", "90000", false,
         "PORT \"90000\" is not a port number from 1 to 65535", true},
        {"bad server", "tally server", "9000", false, "SERVER \"tally server\" is not a host name",
         false},
    };
    for (const Case& c : cases) {
        Configuration config = SourceSettings(SmallDemo().Path());
        config.strTallyServer = c.server;
        config.strTallyPort = c.port;
        HttpClient client(kTallyTestTimeouts);
        const auto start = std::chrono::steady_clock::now();
        const ConnectionTestResult result = TestTally(config, client);
        EXPECT_LT(std::chrono::steady_clock::now() - start, kTallyTestTimeouts.connect) << c.name;
        EXPECT_EQ(result.passed, c.passed) << c.name << ": " << result.message;
        if (c.whole)
            EXPECT_EQ(result.message, c.message) << c.name;
        else
            EXPECT_TRUE(result.message.starts_with(c.message)) << c.name << ": " << result.message;
    }
}

TEST(TallyTest, AnErrorStatusIsNotARunningTally) {
    testing::CannedHttpServer failing([](const std::string&) { return ""; }, 503);
    Configuration config = SourceSettings(SmallDemo().Path());
    config.strTallyPort = std::to_string(failing.Port());
    HttpClient client(kTallyTestTimeouts);
    const ConnectionTestResult result = TestTally(config, client);
    EXPECT_FALSE(result.passed);
    EXPECT_EQ(result.message, "Tally at 127.0.0.1:" + config.strTallyPort +
                                  " did not answer as expected (the server answered with HTTP "
                                  "status 503): <RESPONSE>TallyPrime Server is Running</RESPONSE>");
}

TEST(AbandonedTestMessageTest, NamesTheLimit) {
    using namespace std::chrono_literals;
    const std::pair<std::chrono::milliseconds, std::string> cases[] = {
        {20s, "The database gave no answer within 20 s; the test was abandoned"},
        {250ms, "The database gave no answer within 250 ms; the test was abandoned"},
    };
    for (const auto& [limit, message] : cases)
        EXPECT_EQ(AbandonedTestMessage("The database", limit), message);
}

// Waits for a detached test's result, at most `limit`.
std::optional<ConnectionTestResult> WaitFor(const DetachedTest& test,
                                            std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (auto result = test.Result()) return result;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return test.Result();
}

TEST(DetachedTestTest, RunsBesideTheCallerAndTurnsExceptionsIntoFailures) {
    std::atomic<bool> release{false};
    DetachedTest slow([&release] {
        while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return ConnectionTestResult{true, "done"};
    });
    DetachedTest throwing([]() -> ConnectionTestResult { throw std::runtime_error("no driver"); });
    // The caller is not held up while the slow test waits.
    EXPECT_FALSE(slow.Result().has_value());
    const std::optional<ConnectionTestResult> failed = WaitFor(throwing, std::chrono::seconds(10));
    ASSERT_TRUE(failed.has_value());
    EXPECT_FALSE(failed->passed);
    EXPECT_EQ(failed->message, "no driver");
    EXPECT_FALSE(slow.Result().has_value());
    release = true;
    const std::optional<ConnectionTestResult> done = WaitFor(slow, std::chrono::seconds(10));
    ASSERT_TRUE(done.has_value());
    EXPECT_TRUE(done->passed);
    EXPECT_EQ(done->message, "done");
}

TEST(DetachedTestTest, AnAbandonedTestMayEndAfterItsOwnerHasGone) {
    auto ended = std::make_shared<std::atomic<bool>>(false);
    {
        DetachedTest hanging([ended] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            *ended = true;
            return ConnectionTestResult{true, "late"};
        });
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!*ended && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(*ended);
}

}  // namespace
}  // namespace zentrail
