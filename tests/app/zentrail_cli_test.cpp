// The command line as a scheduled job sees it: output, exit status and messages.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include "support/demo_database.h"
#include "support/slow_source.h"
#include "support/tally_sim_process.h"

namespace zentrail {
namespace {

struct CommandResult {
    int status = -1;
    std::string out;
};

// Runs the program with `args` (already quoted for the shell) behind `prefix`, stdout captured,
// and stderr too when `withErrors`.
CommandResult RunCli(const std::string& args, bool withErrors = false,
                     const std::string& prefix = "") {
    CommandResult result;
    std::string command = prefix + std::string(ZENTRAIL_CLI_PATH) + " " + args +
                          (withErrors ? " 2>&1" : " 2>/dev/null");
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class ZentrailCli : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ =
            std::filesystem::temp_directory_path() / ("zentrail-cli-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string WriteConfig(int port, const std::string& database) {
        std::string path = (folder_ / "Config.txt").string();
        std::ofstream(path) << "SERVER:127.0.0.1\nPORT:" << port
                            << "\nCOMPANY:Zentrail Demo\nSQL_ODBC:" << database
                            << "\nLEDGER_ID:YES\n";
        return path;
    }
    std::filesystem::path folder_;
};

TEST_F(ZentrailCli, ExportsPrintTheLogTheCountsAndTheReport) {
    testing::TallySimProcess sim({"--company", "Zentrail Demo"});
    std::string config = WriteConfig(sim.Port(), testing::SmallDemo().Path());
    CommandResult items = RunCli("--config " + config + " export item");
    EXPECT_EQ(items.status, 0) << items.out;
    // The product the listing leaves out for want of an HSN code is told first.
    EXPECT_TRUE(
        items.out.starts_with("Product 'Counter Display Rack' (code DSP001) has no HSN "
                              "code: it is not sent as a stock item\nRun report: " +
                              (folder_ / "runs" / "item-").string()))
        << items.out;
    EXPECT_NE(items.out.find("\nZentrail: Item Transferrd\nDocuments listed: "), std::string::npos)
        << items.out;
    EXPECT_TRUE(std::filesystem::exists(folder_ / "runs"));

    // The demo holds invoices with a line the line query leaves out (a product without an HSN
    // code): they are sent, and the run says so and ends with status 1.
    CommandResult sales =
        RunCli("--config " + config + " export sales --from 2024-04-01 --to 2024-05-31");
    EXPECT_EQ(sales.status, 1) << sales.out;
    EXPECT_NE(sales.out.find("Difference from the source: voucher amount "), std::string::npos)
        << sales.out;
    EXPECT_NE(sales.out.find("\nZentrail: Sales Transferrd\n"), std::string::npos);
    EXPECT_EQ(sales.out.find("\nSent with differences: 0\n"), std::string::npos);
    EXPECT_NE(sales.out.find("\nSent with Tally errors: 0\nSent with differences: "),
              std::string::npos);
    EXPECT_GT(sim.Books()["vouchers"].size(), 10u);
}

// The closing message of a run, without the report's path that differs from run to run.
std::string ClosingCounts(const std::string& out) {
    size_t from = out.find("\nZentrail: ");
    size_t to = out.find("\nRun report: ", from);
    return from == std::string::npos ? out : out.substr(from, to - from);
}

TEST_F(ZentrailCli, TallyRepliesOfEveryShapeAndEncodingGiveTheSameRun) {
    std::string expectedItems, expectedSales;
    size_t expectedVouchers = 0;
    const std::vector<std::vector<std::string>> styles = {
        {},  // today's: a bare RESPONSE in UTF-8
        {"--reply-shape", "envelope"},
        {"--reply-encoding", "utf-16"},
        {"--reply-shape", "envelope", "--reply-encoding", "utf-16"},
    };
    for (const std::vector<std::string>& style : styles) {
        std::vector<std::string> args{"--company", "Zentrail Demo"};
        args.insert(args.end(), style.begin(), style.end());
        testing::TallySimProcess sim(args);
        std::string config = WriteConfig(sim.Port(), testing::SmallDemo().Path());
        CommandResult items = RunCli("--config " + config + " export item");
        CommandResult sales =
            RunCli("--config " + config + " export sales --from 2024-04-01 --to 2024-05-31");
        const std::string name = style.empty() ? "default" : style.back();
        ASSERT_EQ(items.status, 0) << name << "\n" << items.out;
        size_t vouchers = sim.Books()["vouchers"].size();
        if (style.empty()) {
            expectedItems = ClosingCounts(items.out);
            expectedSales = ClosingCounts(sales.out);
            expectedVouchers = vouchers;
            EXPECT_GT(vouchers, 10u);
            continue;
        }
        EXPECT_EQ(ClosingCounts(items.out), expectedItems) << name;
        EXPECT_EQ(ClosingCounts(sales.out), expectedSales) << name;
        EXPECT_EQ(vouchers, expectedVouchers) << name;
    }
}

// Every file of `folder`, in the order of their names.
std::vector<std::string> FileContents(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    std::vector<std::string> contents;
    for (const auto& path : paths) {
        std::ifstream file(path, std::ios::binary);
        contents.emplace_back(std::istreambuf_iterator<char>(file),
                              std::istreambuf_iterator<char>());
    }
    return contents;
}

// A run that only saves writes, file for file and byte for byte, what a posting run sends and
// what it saves beside posting, in either encoding.
TEST_F(ZentrailCli, SavedRequestsAreExactlyThoseAPostingRunSends) {
    for (const std::string encoding : {"UTF-8", "UTF-16"}) {
        const std::filesystem::path dir = folder_ / encoding;
        std::filesystem::create_directories(dir);
        testing::TallySimProcess sim(
            {"--company", "Zentrail Demo", "--record", (dir / "posted").string()});
        const std::string config = (dir / "Config.txt").string();
        std::ofstream(config) << "SERVER:127.0.0.1\nPORT:" << sim.Port()
                              << "\nCOMPANY:Zentrail Demo\nSQL_ODBC:" << testing::SmallDemo().Path()
                              << "\nLEDGER_ID:YES\nENCODING:" << encoding << "\n";
        const std::string range = " export receipt --from 2024-04-01 --to 2024-05-31";
        CommandResult saved = RunCli("--config " + config + range + " --save-requests " +
                                     (dir / "saved").string() + " --no-post");
        EXPECT_EQ(saved.status, 0) << encoding << "\n" << saved.out;
        EXPECT_NE(saved.out.find("\nZentrail: Requests saved to files, not posted to Tally\n"),
                  std::string::npos)
            << saved.out;
        EXPECT_TRUE(sim.Books()["vouchers"].empty()) << "nothing was posted";
        CommandResult posted =
            RunCli("--config " + config + range + " --save-requests " + (dir / "beside").string());
        EXPECT_EQ(posted.status, 0) << encoding << "\n" << posted.out;

        const std::vector<std::string> sent = FileContents(dir / "posted");
        ASSERT_GT(sent.size(), 20u) << encoding;
        EXPECT_NE(saved.out.find("\nRequests saved: " + std::to_string(sent.size()) + " files in " +
                                 (dir / "saved").string() + "\n"),
                  std::string::npos)
            << saved.out;
        EXPECT_EQ(sent.front().starts_with("\xFF\xFE<\0E\0N\0"), encoding == "UTF-16") << encoding;
        EXPECT_TRUE(FileContents(dir / "saved") == sent) << encoding;
        EXPECT_TRUE(FileContents(dir / "beside") == sent) << encoding;
        EXPECT_TRUE(std::filesystem::exists(dir / "saved" / "00001-master-Receipt masters.xml"));
        EXPECT_GT(sim.Books()["vouchers"].size(), 20u) << encoding;
    }
}

// The fault switch of a full disk: the run stops, says why and where, and fails.
TEST_F(ZentrailCli, AReportThatCannotBeWrittenFailsTheRun) {
    testing::TallySimProcess sim({"--company", "Zentrail Demo"});
    std::string config = WriteConfig(sim.Port(), testing::SmallDemo().Path());
    CommandResult items = RunCli("--config " + config + " export item --report-capacity 200");
    EXPECT_EQ(items.status, 1) << items.out;
    EXPECT_NE(items.out.find(": No space left on device"), std::string::npos) << items.out;
    EXPECT_NE(items.out.find("\nThe run report is incomplete: cannot write the run report " +
                             (folder_ / "runs" / "item-").string()),
              std::string::npos)
        << items.out;
}

TEST_F(ZentrailCli, GetDataPrintsTheGridAsCsv) {
    std::string config = WriteConfig(9, testing::SmallDemo().Path());
    CommandResult listed =
        RunCli("--config " + config + " getdata sales --from 2024-04-01 --to 2024-05-31");
    ASSERT_EQ(listed.status, 0);
    EXPECT_TRUE(listed.out.starts_with("\xEF\xBB\xBFSalId,SalInvNo,SalInvDate,RtrName,SalNetAmt,"))
        << listed.out.substr(0, 80);
    // Cells holding commas are quoted, so every row keeps its column count.
    EXPECT_NE(listed.out.find(",\""), std::string::npos);
    size_t rows = 0;
    for (char c : listed.out) rows += c == '\n';
    EXPECT_GT(rows, 10u);
}

TEST_F(ZentrailCli, FailuresSetTheExitStatus) {
    int stoppedPort;
    {
        testing::TallySimProcess sim({"--company", "Zentrail Demo"});
        stoppedPort = sim.Port();
    }
    std::string config = WriteConfig(stoppedPort, testing::SmallDemo().Path());
    CommandResult notSent =
        RunCli("--config " + config + " export sales --from 2024-04-01 --to 2024-05-31");
    EXPECT_EQ(notSent.status, 1);
    EXPECT_NE(notSent.out.find("Tally is not running at 127.0.0.1:" + std::to_string(stoppedPort) +
                               " (SERVER and PORT in " + config + ")\n"),
              std::string::npos)
        << notSent.out;
    EXPECT_NE(notSent.out.find("Sales Transferrd\nDocuments listed: "), std::string::npos);

    const std::pair<std::string, int> usage[] = {
        {"--config " + config + " export nothing", 2},
        {"--config " + config + " getdata sales --from 2024-13-01", 2},
        {"--config " + (folder_ / "missing.txt").string() + " getdata sales", 2},
        {"getdata", 2},
    };
    for (const auto& [args, status] : usage) EXPECT_EQ(RunCli(args).status, status) << args;

    std::string badDatabase = WriteConfig(9, (folder_ / "absent.db").string());
    EXPECT_EQ(RunCli("--config " + badDatabase + " getdata item").status, 2);
}

TEST_F(ZentrailCli, TermStopsTheRunWhichStillEndsWithItsCountsAndReport) {
    testing::TallySimProcess sim({"--company", "Zentrail Demo", "--delay-ms", "30000"});
    std::string config = WriteConfig(sim.Port(), testing::SmallDemo().Path());
    // SIGTERM after a second, while the first request waits for its reply.
    CommandResult stopped =
        RunCli("--config " + config + " export sales --from 2024-04-01 --to 2024-05-31", false,
               "timeout --preserve-status -s TERM 1 ");
    EXPECT_EQ(stopped.status, 1) << stopped.out;
    EXPECT_NE(stopped.out.find("Export stopped by the operator"), std::string::npos) << stopped.out;
    EXPECT_NE(stopped.out.find("\nZentrail: Sales Transferrd\n"), std::string::npos);
    EXPECT_NE(stopped.out.find("\nThe run was stopped."), std::string::npos);
    EXPECT_NE(stopped.out.find("Run report: "), std::string::npos);
}

// Ctrl+C or SIGTERM a second into a listing that would take minutes ends it at once, with
// nothing listed, and the status a shell gives a program Ctrl+C ended.
TEST_F(ZentrailCli, StopSignalsEndGetDataWithStatus130) {
    const std::filesystem::path database = folder_ / "endless.db";
    testing::WriteEndlessProducts(database);
    const std::string config = WriteConfig(9, database.string());
    struct Case {
        const char* signal;
        bool locked;  // another program holds the source: Get Data waits, no query runs
    };
    for (const Case& c : {Case{"INT", false}, Case{"TERM", false}, Case{"INT", true}}) {
        std::optional<testing::ExclusiveLock> lock;
        if (c.locked) lock.emplace(database);
        const auto started = std::chrono::steady_clock::now();
        const CommandResult stopped =
            RunCli("--config " + config + " getdata item", true,
                   "timeout --preserve-status -s " + std::string(c.signal) + " 1 ");
        const auto took = std::chrono::steady_clock::now() - started;
        const std::string label = std::string(c.signal) + (c.locked ? " locked" : " query");
        EXPECT_EQ(stopped.status, 130) << label << ": " << stopped.out;
        EXPECT_NE(stopped.out.find("zentrail-cli: Get Data stopped\n"), std::string::npos)
            << label << ": " << stopped.out;
        EXPECT_EQ(stopped.out.find("PrdId,PrdCCode"), std::string::npos) << label << ": no grid";
        EXPECT_LT(took, std::chrono::seconds(5)) << label;
    }
}

// The journal tells what Tally holds: pending lists what is not there as the source has it,
// journal prints the last request of each document, and --skip-unchanged sends nothing again.
TEST_F(ZentrailCli, TheJournalTellsWhatTallyHolds) {
    testing::TallySimProcess sim({"--company", "Zentrail Demo"});
    std::string config = WriteConfig(sim.Port(), testing::SmallDemo().Path());
    const std::string range = " sales --from 2024-04-01 --to 2024-05-31";
    CommandResult none = RunCli("--config " + config + " journal sales", true);
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.out.find("no transfer journal at " + (folder_ / "runs" / "journal.db").string()),
              std::string::npos)
        << none.out;

    ASSERT_EQ(RunCli("--config " + config + " export item").status, 0);
    CommandResult before = RunCli("--config " + config + " pending" + range);
    EXPECT_EQ(before.status, 0);
    std::istringstream lines(before.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "\xEF\xBB\xBFnumber or name,date,party,why");
    size_t pending = 0;
    for (; std::getline(lines, line); ++pending)
        EXPECT_TRUE(line.ends_with(",not in Tally")) << line;
    EXPECT_GT(pending, 10u);

    RunCli("--config " + config + " export" + range);
    CommandResult after = RunCli("--config " + config + " pending" + range);
    EXPECT_EQ(after.out, "\xEF\xBB\xBFnumber or name,date,party,why\n");

    CommandResult april =
        RunCli("--config " + config + " journal sales --from 2024-04-01 --to 2024-04-30");
    EXPECT_EQ(april.status, 0);
    std::istringstream rows(april.out);
    std::getline(rows, line);
    EXPECT_EQ(line,
              "\xEF\xBB\xBFkind,identity,number or name,date,outcome,voucher key,sent,"
              "completed,message");
    size_t inApril = 0;
    for (; std::getline(rows, line); ++inApril) {
        EXPECT_TRUE(line.starts_with("document,")) << line;
        EXPECT_NE(line.find(",2024-04-"), std::string::npos) << line;
    }
    EXPECT_GT(inApril, 0u);
    EXPECT_LT(inApril, pending);

    CommandResult skipping = RunCli("--config " + config + " export" + range + " --skip-unchanged");
    EXPECT_EQ(skipping.status, 0) << skipping.out;
    EXPECT_NE(skipping.out.find("\nSkipped: " + std::to_string(pending) + "\n"), std::string::npos)
        << skipping.out;
}

TEST_F(ZentrailCli, HelpsANewUser) {
    std::string config = WriteConfig(9, testing::SmallDemo().Path());
    // Global options before or after the subcommand.
    for (const std::string& args :
         {"--config " + config + " getdata item", "getdata item --config " + config,
          "getdata --config " + config + " item"}) {
        CommandResult listed = RunCli(args);
        EXPECT_EQ(listed.status, 0) << args;
        EXPECT_TRUE(listed.out.starts_with("\xEF\xBB\xBFPrdId,"))
            << args << ": " << listed.out.substr(0, 80);
    }

    CommandResult version = RunCli("--version", true);
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("zentrail-cli ") + ZENTRAIL_VERSION + "\n");

    CommandResult help = RunCli("export --help", true);
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("item, sales, purchase, salesreturn, idt, receipt, service, "
                            "creditnote"),
              std::string::npos)
        << help.out;
    EXPECT_NE(help.out.find("first day, YYYY-MM-DD (default: today)"), std::string::npos);
    EXPECT_NE(help.out.find("last day, YYYY-MM-DD (default: today)"), std::string::npos);

    CommandResult mainHelp = RunCli("--help", true);
    EXPECT_EQ(mainHelp.status, 0);
    EXPECT_NE(mainHelp.out.find("SCREEN: item, sales, purchase, salesreturn, idt, receipt, "
                                "service, creditnote."),
              std::string::npos)
        << mainHelp.out;
    EXPECT_NE(mainHelp.out.find("default to today"), std::string::npos) << mainHelp.out;

    CommandResult unknown = RunCli("--config " + config + " export nothing", true);
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.out,
              "zentrail-cli: unknown screen 'nothing'; the screens are item, sales, purchase, "
              "salesreturn, idt, receipt, service, creditnote\n");

    CommandResult reversed =
        RunCli("--config " + config + " getdata sales --from 2024-05-31 --to 2024-04-01", true);
    EXPECT_EQ(reversed.status, 2);
    EXPECT_EQ(reversed.out,
              "zentrail-cli: the first day 31/05/2024 (--from) is after the last day 01/04/2024 "
              "(--to)\n");
}

TEST_F(ZentrailCli, SettingsThatCannotWorkStopBeforeAnythingIsSent) {
    testing::TallySimProcess sim({"--company", "Zentrail Demo"});
    const std::string port = std::to_string(sim.Port());
    struct Case {
        std::string lines;
        std::string message;
    };
    const Case cases[] = {
        {"SERVER:127.0.0.1\nPORT:" + port + "/x\n",
         "zentrail-cli: PORT \"" + port + "/x\" is not a port number from 1 to 65535\n"},
        {"SERVER:127.0.0.1\nPORT:abc\n",
         "zentrail-cli: PORT \"abc\" is not a port number from 1 to 65535\n"},
        {"SERVER:127.0.0.1\n", "zentrail-cli: PORT \"\" is not a port number from 1 to 65535\n"},
        {"SERVER:127.0.0.1/tally?\nPORT:" + port + "\n",
         "zentrail-cli: SERVER \"127.0.0.1/tally?\" is not a host name, an IPv4 address or an "
         "IPv6 address in brackets\n"},
        {"SERVER:127.0.0.1\nPORT:" + port + "\nCOMPANY:Zentrail\x01 Demo\n",
         "zentrail-cli: COMPANY holds a control character (U+0001) at position 9 of "
         "\"Zentrail\\x01 Demo\"; write the value as plain text on one line\n"},
    };
    for (const Case& c : cases) {
        const std::filesystem::path path = folder_ / "Config.txt";
        std::ofstream(path) << c.lines << "SQL_ODBC:" << testing::SmallDemo().Path() << "\n";
        CommandResult run = RunCli("--config " + path.string() +
                                       " export sales --from 2024-04-01 "
                                       "--to 2024-05-31",
                                   true);
        EXPECT_EQ(run.status, 2) << c.lines;
        EXPECT_EQ(run.out,
                  "zentrail-cli: configuration read from " + path.string() + "\n" + c.message)
            << c.lines;
    }
    EXPECT_EQ(sim.Books()["vouchers"].size(), 0u);
}

TEST_F(ZentrailCli, SaysWhichDataSourceItCannotOpen) {
    std::string config = WriteConfig(9, (folder_ / "absent.db").string());
    CommandResult run = RunCli("--config " + config + " getdata item", true);
    EXPECT_EQ(run.status, 2);
    // The plain words first, then the driver's.
    const std::string told = "\nzentrail-cli: No database file at " +
                             (folder_ / "absent.db").string() + " (SQL_ODBC in " + config +
                             ")\nerror ";
    EXPECT_NE(run.out.find(told), std::string::npos) << run.out;

    const std::string path = (folder_ / "Config.txt").string();
    std::ofstream(path) << "SQL_ODBC:DRIVER={No Such Driver};PWD=hush;Server=x\n";
    run = RunCli("--config " + path + " getdata item", true);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find("zentrail-cli: Cannot open the source database \"DRIVER={No Such "
                           "Driver};PWD=****;Server=x\" (SQL_ODBC in " +
                           path + ")\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("hush"), std::string::npos) << run.out;
}

TEST_F(ZentrailCli, SaysWhenTheDefaultsApply) {
    // Beside the program there is no Config.txt in the build tree, so the defaults apply and
    // the default data source DMSDB is not there.
    const std::filesystem::path beside =
        std::filesystem::path(ZENTRAIL_CLI_PATH).parent_path() / "Config.txt";
    if (std::filesystem::exists(beside)) GTEST_SKIP() << beside << " exists";
    CommandResult run = RunCli("getdata item", true);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.starts_with("zentrail-cli: no configuration file at " + beside.string() +
                                    "; the defaults apply\n"))
        << run.out;
    EXPECT_NE(run.out.find("Cannot open the source database \"DMSDB\" (SQL_ODBC in " +
                           beside.string() + ")\n"),
              std::string::npos)
        << run.out;
}

}  // namespace
}  // namespace zentrail
