// The command line as a scheduled job sees it: output, exit status and messages.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/demo_database.h"
#include "support/tally_sim_process.h"

namespace zentrail {
namespace {

struct CommandResult {
    int status = -1;
    std::string out;
};

// Runs the program with `args` (already quoted for the shell), stdout captured.
CommandResult RunCli(const std::string& args, const std::string& prefix = "") {
    CommandResult result;
    std::string command = prefix + std::string(ZENTRAIL_CLI_PATH) + " " + args + " 2>/dev/null";
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
    EXPECT_TRUE(items.out.starts_with("Run report: " + (folder_ / "runs" / "item-").string()))
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

TEST_F(ZentrailCli, GetDataPrintsTheGridAsCsv) {
    std::string config = WriteConfig(9, testing::SmallDemo().Path());
    CommandResult listed =
        RunCli("--config " + config + " getdata sales --from 2024-04-01 --to 2024-05-31");
    ASSERT_EQ(listed.status, 0);
    EXPECT_TRUE(listed.out.starts_with("SalId,SalInvNo,SalInvDate,RtrName,SalNetAmt,"))
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
    EXPECT_NE(notSent.out.find("Tally Server is Not Running"), std::string::npos);
    EXPECT_NE(notSent.out.find("Tally is not answering"), std::string::npos);
    EXPECT_NE(notSent.out.find("Sales Transferrd\nDocuments listed: "), std::string::npos);

    const std::pair<std::string, int> usage[] = {
        {"--config " + config + " export nothing", 2},
        {"--config " + config + " export purchase", 2},
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
        RunCli("--config " + config + " export sales --from 2024-04-01 --to 2024-05-31",
               "timeout --preserve-status -s TERM 1 ");
    EXPECT_EQ(stopped.status, 1) << stopped.out;
    EXPECT_NE(stopped.out.find("Export stopped by the operator"), std::string::npos) << stopped.out;
    EXPECT_NE(stopped.out.find("\nZentrail: Sales Transferrd\n"), std::string::npos);
    EXPECT_NE(stopped.out.find("\nThe run was stopped."), std::string::npos);
    EXPECT_NE(stopped.out.find("Run report: "), std::string::npos);
}

}  // namespace
}  // namespace zentrail
