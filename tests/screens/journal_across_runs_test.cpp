// The transfer journal across runs: a corrected source alters the vouchers Tally holds instead of
// doubling them, unchanged documents are told or skipped, a killed run's request is told the next
// time, and nothing is sent without its row.

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "screens/item_screen.h"
#include "screens/sales_screen.h"
#include "screens/screen_test_support.h"
#include "support/demo_database.h"
#include "support/tally_sim_process.h"
#include "tally/http_client.h"

namespace zentrail {
namespace {

using testing::GeneratedDemo;
using testing::RecordingObserver;
using testing::TallySimProcess;

constexpr const char* kCompany = "Zentrail Demo";

// Passes requests on to Tally and counts them.
class CountingSink : public RequestSink {
public:
    explicit CountingSink(RequestSink& next) : next_(next) {}
    ExchangeResult Deliver(const Request& request, const std::atomic<bool>* stop) override {
        ++delivered;
        return next_.Deliver(request, stop);
    }
    int delivered = 0;

private:
    RequestSink& next_;
};

// Passes masters on; the first voucher never gets an answer, and `marker` tells it is waiting.
class HangingSink : public RequestSink {
public:
    HangingSink(RequestSink& next, std::filesystem::path marker)
        : next_(next), marker_(std::move(marker)) {}
    ExchangeResult Deliver(const Request& request, const std::atomic<bool>* stop) override {
        if (request.form == RequestForm::Master) return next_.Deliver(request, stop);
        std::ofstream(marker_) << request.document;
        for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
    }

private:
    RequestSink& next_;
    std::filesystem::path marker_;
};

// One query's single number from a SQLite file.
long long Scalar(const std::filesystem::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    long long value = -1;
    if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            value = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return value;
}

void Execute(const std::string& file, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

// Net balance of every ledger that has one.
std::map<std::string, double> Balances(const nlohmann::json& books) {
    std::map<std::string, double> balances;
    for (const auto& line : books["trialBalance"]["ledgers"]) {
        double net = line["debit"].get<double>() - line["credit"].get<double>();
        if (std::abs(net) > 0.005) balances[line["ledger"].get<std::string>()] = net;
    }
    return balances;
}

class JournalAcrossRuns : public ::testing::Test {
protected:
    JournalAcrossRuns() {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder_ = std::filesystem::path(::testing::TempDir()) /
                  ("journal-" + std::to_string(::getpid()) + "-" + name);
        std::filesystem::create_directories(folder_);
        demo_ = std::make_unique<GeneratedDemo>(40, 7, "journal-" + name);
        journal_ = folder_ / "runs" / "journal.db";
    }
    ~JournalAcrossRuns() override { std::filesystem::remove_all(folder_); }

    Configuration ConfigFor(int port) const {
        Configuration config;
        config.strTallyServer = "127.0.0.1";
        config.strTallyPort = std::to_string(port);
        config.strCompany = kCompany;
        config.strSqlOdbc = demo_->Path();
        config.blnLedgerId = ledgerId_;
        return config;
    }

    // Get Data and Export of a screen over the demo range, keeping `journal`.
    template <class Screen>
    std::unique_ptr<Screen> Run(int port, const std::filesystem::path& journal,
                                RequestSink* sink = nullptr, bool skipUnchanged = false,
                                std::optional<size_t> capacity = std::nullopt) {
        config_ = ConfigFor(port);
        db_.OpenConnection(config_);
        ScreenContext context{config_, db_, tally_, folder_};
        context.journalPath = journal;
        context.sink = sink;
        context.journalCapacity = capacity;
        auto screen = std::make_unique<Screen>(context);
        screen->SetObserver(&observer_);
        screen->Load();
        screen->SetDates({2024, 4, 1}, {2024, 5, 31});
        screen->skipUnchanged = skipUnchanged;
        screen->GetData();
        EXPECT_FALSE(screen->GetDataFailed()) << screen->LogText();
        screen->Export();
        return screen;
    }

    static long Sent(const OutcomeCounts& counts) {
        return counts.accepted + counts.alreadyInTally + counts.differences;
    }
    static void ExpectNothingRefused(const RunCounts& run, const std::string& log) {
        EXPECT_EQ(run.documents.tallyErrors + run.documents.notSent + run.documents.unconfirmed +
                      run.masters.tallyErrors + run.masters.notSent + run.masters.unconfirmed,
                  0)
            << log;
    }

    std::filesystem::path folder_;
    std::filesystem::path journal_;
    std::unique_ptr<GeneratedDemo> demo_;
    bool ledgerId_ = true;
    Configuration config_;
    SourceDatabase db_;
    HttpClient tally_;
    RecordingObserver observer_;
};

// A renamed retailer, a corrected date and LEDGER_ID turned off change the keys of the vouchers;
// Tally holds every invoice once, as a clean run of the corrected source leaves it.
TEST_F(JournalAcrossRuns, ACorrectedSourceAltersTheVouchersTallyHolds) {
    TallySimProcess tally({"--company", kCompany});
    Run<ItemScreen>(tally.Port(), journal_);
    auto first = Run<SalesScreen>(tally.Port(), journal_);
    ExpectNothingRefused(first->LastRun(), first->LogText());
    const size_t vouchers = tally.Books()["vouchers"].size();
    ASSERT_EQ(static_cast<long>(vouchers), Sent(first->LastRun().documents));

    Execute(demo_->Path(),
            "UPDATE Retailer SET RtrName = RtrName || ' Traders' WHERE RtrId = "
            "(SELECT RtrId FROM SalesInvoice WHERE SalInvNo = 'SIN0000002');"
            "UPDATE SalesInvoice SET SalInvDate = '2024-04-09 11:00:00' "
            "WHERE SalInvNo = 'SIN0000003';");
    ledgerId_ = false;
    auto corrected = Run<SalesScreen>(tally.Port(), journal_);
    ExpectNothingRefused(corrected->LastRun(), corrected->LogText());
    EXPECT_EQ(tally.Books()["vouchers"].size(), vouchers) << "no document became a second voucher";
    const std::string log = corrected->LogText();
    EXPECT_NE(log.find(": its voucher in Tally is altered (voucher key "), std::string::npos)
        << log;
    EXPECT_NE(log.find("changed since it was sent on "), std::string::npos) << log;

    TallySimProcess clean({"--company", kCompany});
    const std::filesystem::path other = folder_ / "other" / "journal.db";
    Run<ItemScreen>(clean.Port(), other);
    auto once = Run<SalesScreen>(clean.Port(), other);
    ExpectNothingRefused(once->LastRun(), once->LogText());
    EXPECT_EQ(Balances(tally.Books()), Balances(clean.Books()));
}

// A document sent again unchanged is told so; with the check box, it is not sent at all, and
// neither are masters.
TEST_F(JournalAcrossRuns, UnchangedDocumentsAreToldOrSkipped) {
    TallySimProcess tally({"--company", kCompany});
    HttpClient http;
    TallySink toTally(http, tally.Url());
    Run<ItemScreen>(tally.Port(), journal_);
    auto first = Run<SalesScreen>(tally.Port(), journal_);
    const long sent = Sent(first->LastRun().documents);
    ASSERT_GT(sent, 0);

    auto again = Run<SalesScreen>(tally.Port(), journal_);
    long told = 0;
    for (const RunEntry& entry : again->LastRecord().Entries())
        if (entry.kind == EntryKind::Document &&
            (IsAccepted(entry.outcome) || entry.outcome == Outcome::Difference))
            told += entry.message.starts_with("re-sent (accepted ") &&
                    entry.message.find(", unchanged)") != std::string::npos;
    EXPECT_EQ(told, sent) << again->LogText();

    CountingSink counting(toTally);
    auto skipping = Run<SalesScreen>(tally.Port(), journal_, &counting, true);
    const RunCounts& run = skipping->LastRun();
    EXPECT_EQ(counting.delivered, 0);
    EXPECT_EQ(run.documents.skipped, static_cast<long>(skipping->ssdbgItem.RowCount()));
    EXPECT_EQ(run.masters.skipped, run.masters.Total());
    EXPECT_TRUE(run.Clean());
    const std::string closing = observer_.messages.back().text;
    EXPECT_NE(closing.find("\nMasters: 0 sent, 0 accepted, 0 with Tally errors, 0 not sent, " +
                           std::to_string(run.masters.skipped) +
                           " skipped (already in Tally, unchanged)"),
              std::string::npos)
        << closing;
    for (const RunEntry& entry : skipping->LastRecord().Entries())
        if (entry.outcome == Outcome::Skipped && entry.kind == EntryKind::Master) {
            EXPECT_TRUE(entry.message.starts_with("skipped: already in Tally, unchanged since "))
                << entry.message;
        }
}

// A run killed while Tally has a voucher leaves that one row "sending"; the next run tells it as
// unconfirmed and completes it.
TEST_F(JournalAcrossRuns, ARequestInFlightWhenTheRunWasKilledIsToldUnconfirmed) {
    TallySimProcess tally({"--company", kCompany});
    Run<ItemScreen>(tally.Port(), journal_);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        HttpClient http;
        TallySink toTally(http, tally.Url());
        HangingSink hanging(toTally, folder_ / "hanging");
        Run<SalesScreen>(tally.Port(), journal_, &hanging);
        ::_exit(0);
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!std::filesystem::exists(folder_ / "hanging") &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    { TransferJournal reader(journal_); }  // reads in what the killed run left
    ASSERT_EQ(Scalar(journal_, "SELECT count(*) FROM requests WHERE state = 'sending'"), 1);
    const std::string number = [&] {
        sqlite3* db = nullptr;
        sqlite3_open_v2(journal_.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, "SELECT number FROM requests WHERE state = 'sending'", -1,
                           &statement, nullptr);
        std::string text = sqlite3_step(statement) == SQLITE_ROW
                               ? reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))
                               : "";
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return text;
    }();

    auto next = Run<SalesScreen>(tally.Port(), journal_);
    const RunEntry* told = nullptr;
    for (const RunEntry& entry : next->LastRecord().Entries())
        if (entry.outcome == Outcome::Unconfirmed) told = &entry;
    ASSERT_NE(told, nullptr) << next->LogText();
    EXPECT_EQ(told->name, number);
    EXPECT_EQ(next->LastRun().documents.unconfirmed, 1);
    EXPECT_FALSE(next->LastRun().Clean());
    EXPECT_NE(next->LogText().find("by a run that ended before Tally's reply: Tally may hold it " +
                                   number),
              std::string::npos)
        << next->LogText();
    EXPECT_EQ(Scalar(journal_, "SELECT count(*) FROM requests WHERE state = 'sending'"), 0);
}

// A journal that cannot be opened keeps the export from sending anything; one that fills up
// ends the run before the next request, and every request sent has its row.
TEST_F(JournalAcrossRuns, NothingIsSentWithoutItsRow) {
    TallySimProcess tally({"--company", kCompany});
    HttpClient http;
    TallySink toTally(http, tally.Url());
    CountingSink counting(toTally);
    const std::filesystem::path blocker = folder_ / "not-a-folder";
    { std::ofstream(blocker) << "a file"; }
    auto refused = Run<SalesScreen>(tally.Port(), blocker / "journal.db", &counting);
    EXPECT_EQ(counting.delivered, 0);
    EXPECT_TRUE(refused->LastRun().failed);
    EXPECT_EQ(refused->LastRun().documents.notSent,
              static_cast<long>(refused->ssdbgItem.RowCount()));
    EXPECT_NE(refused->LogText().find("the transfer journal " + (blocker / "journal.db").string() +
                                      " cannot be opened"),
              std::string::npos)
        << refused->LogText();

    Run<ItemScreen>(tally.Port(), journal_);
    counting.delivered = 0;
    auto full = Run<SalesScreen>(tally.Port(), journal_, &counting, false, 12000);
    EXPECT_TRUE(full->LastRun().failed) << full->LogText();
    EXPECT_GT(counting.delivered, 0);
    EXPECT_GT(full->LastRun().documents.notSent, 0) << "the run ended before them";
    EXPECT_NE(full->LogText().find("the transfer journal " + journal_.string()), std::string::npos)
        << full->LogText();
    EXPECT_EQ(Scalar(journal_,
                     "SELECT count(*) FROM requests WHERE run_id = (SELECT max(id) FROM "
                     "runs)"),
              counting.delivered);
}

}  // namespace
}  // namespace zentrail
