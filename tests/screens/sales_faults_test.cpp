// A sales run against a Tally that misbehaves: every listed invoice still ends in one outcome in
// the report, nothing refused or lost counts as accepted, and a second run converges.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "screens/item_screen.h"
#include "screens/sales_screen.h"
#include "screens/screen_test_support.h"
#include "support/demo_database.h"
#include "support/tally_sim_process.h"
#include "support/test_http_server.h"
#include "tally/http_client.h"

namespace zentrail {
namespace {

using testing::GeneratedDemo;
using testing::RecordingObserver;
using testing::TallySimProcess;

constexpr const char* kCompany = "Zentrail Demo";

class SalesFaults : public ::testing::Test {
protected:
    static void SetUpTestSuite() { demo_ = new GeneratedDemo(60, 3, "faults-demo"); }
    static void TearDownTestSuite() {
        delete demo_;
        demo_ = nullptr;
    }

    SalesFaults() {
        folder_ = std::filesystem::path(::testing::TempDir()) /
                  ("sales-faults-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    ~SalesFaults() override { std::filesystem::remove_all(folder_); }

    Configuration ConfigFor(int port, const std::string& company = kCompany) const {
        Configuration config;
        config.strTallyServer = "127.0.0.1";
        config.strTallyPort = std::to_string(port);
        config.strCompany = company;
        config.strSqlOdbc = demo_->Path();
        return config;
    }

    // Runs a screen over the demo range and returns it with its record.
    template <class Screen>
    std::unique_ptr<Screen> Run(const Configuration& config, TallyTransport& tally,
                                RecordingObserver& observer,
                                std::function<void(Screen&)> whileRunning = nullptr) {
        db_.OpenConnection(config);
        auto screen = std::make_unique<Screen>(ScreenContext{config, db_, tally, folder_});
        screen->SetObserver(&observer);
        screen->Load();
        screen->SetDates({2024, 4, 1}, {2024, 5, 31});
        screen->GetData();
        EXPECT_FALSE(screen->GetDataFailed()) << screen->LogText();
        std::thread helper;
        if (whileRunning) helper = std::thread([&] { whileRunning(*screen); });
        screen->Export();
        if (helper.joinable()) helper.join();
        return screen;
    }

    // Every listed row has exactly one line in the report, and the counts add up to the grid.
    static void ExpectEveryInvoiceOnce(const TransferScreen& screen) {
        const RunCounts& run = screen.LastRun();
        EXPECT_EQ(run.documents.Total(), static_cast<long>(screen.ssdbgItem.RowCount()));
        std::ifstream report(run.reportPath);
        ASSERT_TRUE(report) << run.reportPath;
        std::map<std::string, int> lines;
        for (std::string line; std::getline(report, line);)
            if (line.rfind("document,", 0) == 0) ++lines[line.substr(9, line.find(',', 9) - 9)];
        std::map<std::string, int> listed;
        for (size_t row = 0; row < screen.ssdbgItem.RowCount(); ++row)
            ++listed[screen.ssdbgItem.Cell(row, "SalInvNo")];
        EXPECT_EQ(lines, listed);
    }

    static size_t VouchersIn(const nlohmann::json& books) { return books["vouchers"].size(); }

    static GeneratedDemo* demo_;
    std::filesystem::path folder_;
    SourceDatabase db_;
};
GeneratedDemo* SalesFaults::demo_ = nullptr;

TEST_F(SalesFaults, DroppedAndGarbledRepliesAreUnconfirmedAndASecondRunConverges) {
    std::string books = (folder_ / "books.db").string();
    HttpClient tally;
    RecordingObserver observer;
    {
        TallySimProcess clean({"--company", kCompany, "--books", books});
        Run<ItemScreen>(ConfigFor(clean.Port()), tally, observer);
    }
    long accepted = 0;
    {
        TallySimProcess faulty(
            {"--company", kCompany, "--books", books, "--drop-every", "7", "--garbage-every", "5"});
        HttpClient fresh;
        auto sales = Run<SalesScreen>(ConfigFor(faulty.Port()), fresh, observer);
        const RunCounts& run = sales->LastRun();
        ExpectEveryInvoiceOnce(*sales);
        EXPECT_GT(run.documents.unconfirmed, 0) << "dropped and garbled replies";
        EXPECT_FALSE(run.Clean());
        accepted =
            run.documents.accepted + run.documents.alreadyInTally + run.documents.differences;
        EXPECT_EQ(static_cast<long>(VouchersIn(faulty.Books())), accepted)
            << "what counts as accepted is what Tally holds";
    }
    TallySimProcess clean({"--company", kCompany, "--books", books});
    HttpClient again;
    auto sales = Run<SalesScreen>(ConfigFor(clean.Port()), again, observer);
    const RunCounts& run = sales->LastRun();
    ExpectEveryInvoiceOnce(*sales);
    EXPECT_EQ(run.documents.notSent + run.documents.unconfirmed + run.documents.tallyErrors +
                  run.masters.notSent + run.masters.unconfirmed + run.masters.tallyErrors,
              0)
        << sales->LogText();
    EXPECT_GE(run.documents.alreadyInTally, 1) << "the first run's vouchers are met again";
    long sent = run.documents.accepted + run.documents.alreadyInTally + run.documents.differences;
    const nlohmann::json held = clean.Books();
    EXPECT_EQ(static_cast<long>(VouchersIn(held)), sent) << "each invoice once";
    std::set<std::string> numbers;
    for (const auto& voucher : held["vouchers"])
        EXPECT_TRUE(numbers.insert(voucher["number"].get<std::string>()).second)
            << voucher["number"];
}

// An empty net amount is no 0 (the demo's column holds no NULL) and 1e308 is no amount: both
// invoices are not sent, and say why.
TEST_F(SalesFaults, AnEmptyOrHugeNetAmountIsNotSentAndNamesTheField) {
    const std::filesystem::path copy = folder_ / "damaged.db";
    std::filesystem::copy_file(demo_->Path(), copy);
    Configuration config = ConfigFor(9);
    config.strSqlOdbc = copy.string();
    HttpClient unused;
    RecordingObserver listing;
    db_.OpenConnection(config);
    SalesScreen probe(ScreenContext{config, db_, unused, folder_});
    probe.SetObserver(&listing);
    probe.Load();
    probe.SetDates({2024, 4, 1}, {2024, 5, 31});
    probe.GetData();
    ASSERT_GT(probe.ssdbgItem.RowCount(), 2u);
    const std::string missing = probe.ssdbgItem.Cell(0, "SalInvNo");
    const std::string huge = probe.ssdbgItem.Cell(1, "SalInvNo");
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(copy.c_str(), &raw), SQLITE_OK);
    const std::string damage = "UPDATE SalesInvoice SET SalNetAmt = '' WHERE SalInvNo = '" +
                               missing + "'; UPDATE SalesInvoice SET SalNetAmt = 1e308 " +
                               "WHERE SalInvNo = '" + huge + "';";
    ASSERT_EQ(sqlite3_exec(raw, damage.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(raw);

    TallySimProcess sim({"--company", kCompany});
    HttpClient tally;
    RecordingObserver observer;
    Configuration damaged = ConfigFor(sim.Port());
    damaged.strSqlOdbc = copy.string();
    auto sales = Run<SalesScreen>(damaged, tally, observer);
    const RunCounts& run = sales->LastRun();
    ExpectEveryInvoiceOnce(*sales);
    EXPECT_FALSE(run.Clean());
    EXPECT_NE(sales->LogText().find("Not sent: field SalNetAmt holds '', no amount " + missing),
              std::string::npos)
        << sales->LogText().substr(0, 2000);
    EXPECT_NE(sales->LogText().find("', larger than 10^13 " + huge), std::string::npos)
        << sales->LogText().substr(0, 2000);
    // The books are kept while they are walked: a member of a temporary would die first.
    const nlohmann::json books = sim.Books();
    for (const auto& voucher : books["vouchers"]) {
        EXPECT_NE(voucher["number"], missing);
        EXPECT_NE(voucher["number"], huge);
    }
}

// Tally refuses the first request for a company it has not open; the run ends there, once.
TEST_F(SalesFaults, AWrongCompanyEndsTheRunAtTheFirstRequestAndSaysSo) {
    TallySimProcess sim({"--company", kCompany});
    HttpClient tally;
    RecordingObserver observer;
    auto sales = Run<SalesScreen>(ConfigFor(sim.Port(), "Nobody Traders"), tally, observer);
    const RunCounts& run = sales->LastRun();
    ExpectEveryInvoiceOnce(*sales);
    EXPECT_EQ(run.masters.accepted + run.masters.alreadyInTally, 0);
    EXPECT_EQ(run.masters.tallyErrors, 1);
    EXPECT_TRUE(run.stopped);
    EXPECT_EQ(run.documents.notSent, run.listed);
    EXPECT_NE(sales->LogText().find("Company 'Nobody Traders' is not open in Tally, or its name "
                                    "differs: open it in Tally or correct COMPANY in Config.txt"),
              std::string::npos)
        << sales->LogText().substr(0, 600);
    EXPECT_NE(sales->LogText().find("Nobody Traders"), std::string::npos)
        << sales->LogText().substr(0, 300);
    EXPECT_NE(sales->LogText().find(" Sales masters"), std::string::npos)
        << "refused masters are named";
    EXPECT_EQ(VouchersIn(sim.Books()), 0u);
}

TEST_F(SalesFaults, AStopDuringASlowReplyEndsTheRunAtOnce) {
    TallySimProcess sim({"--company", kCompany, "--delay-ms", "20000"});
    HttpClient tally;
    RecordingObserver observer;
    auto sales = Run<SalesScreen>(ConfigFor(sim.Port()), tally, observer, [](SalesScreen& screen) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        screen.RequestStop();
    });
    const RunCounts& run = sales->LastRun();
    EXPECT_TRUE(run.stopped);
    // The fixed masters' request went out before the stop: Tally may hold it.
    EXPECT_EQ(run.masters.unconfirmed, 1);
    EXPECT_EQ(run.documents.stopped, run.listed);
    ExpectEveryInvoiceOnce(*sales);
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_NE(observer.messages[0].text.find("\nThe run was stopped."), std::string::npos);
    EXPECT_NE(observer.messages[0].text.find("Masters: 1 sent, 0 accepted, 0 with Tally errors, "
                                             "0 not sent, 1 unconfirmed\nUnconfirmed requests "
                                             "went out without a reply: export the range again"),
              std::string::npos)
        << observer.messages[0].text;
}

TEST_F(SalesFaults, ATallyThatNeverAnswersEndsTheRunAfterThreeRequests) {
    testing::RawReplyServer silent("", std::chrono::milliseconds(10000));
    HttpClient tally({std::chrono::milliseconds(2000), std::chrono::milliseconds(200)});
    RecordingObserver observer;
    std::string url = silent.Url();
    auto sales =
        Run<SalesScreen>(ConfigFor(std::stoi(url.substr(url.rfind(':') + 1))), tally, observer);
    const RunCounts& run = sales->LastRun();
    EXPECT_TRUE(run.stopped);
    EXPECT_EQ(run.masters.unconfirmed, 3) << "each request went out and got no reply";
    EXPECT_EQ(run.documents.notSent, run.listed);
    EXPECT_NE(sales->LogText().find("No reply within 0.2 s Sales masters"), std::string::npos);
    EXPECT_NE(sales->LogText().find("\r\nTally is not answering"), std::string::npos);
    ExpectEveryInvoiceOnce(*sales);
}

}  // namespace
}  // namespace zentrail
