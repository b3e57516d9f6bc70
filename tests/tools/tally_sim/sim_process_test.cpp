// The tally-sim executable as clients see it: over HTTP, with its switches and signals.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "support/tally_sim_process.h"
#include "tally-sim/fault_plan.h"
#include "tally/http_client.h"
#include "tally/tally_exchange.h"
#include "tally/tally_reply.h"
#include "tools/tally_sim/sim_requests.h"

#ifdef TALLY_SIM_PATH

namespace zentrail {
namespace {

namespace rq = testing::sim_requests;
using testing::TallySimProcess;

// One request through the program's own client and classification.
ExchangeResult Exchange(const TallySimProcess& sim, const std::string& request,
                        RequestForm form = RequestForm::Voucher) {
    HttpClient client;
    return ExchangeWithTally(client, sim.Url(), request, form, nullptr);
}

bool ExitedWith(int status, int code) { return WIFEXITED(status) && WEXITSTATUS(status) == code; }

std::vector<std::string> LedgerNames(const nlohmann::json& books) {
    std::vector<std::string> names;
    for (const nlohmann::json& master : books["masters"])
        if (!master["predefined"].get<bool>()) names.push_back(master["name"]);
    return names;
}

TEST(TallySimProcess, AnswersOnItsPortAndShowsItsBooks) {
    TallySimProcess sim;
    EXPECT_GT(sim.Port(), 0);
    EXPECT_EQ(sim.Url(), "http://127.0.0.1:" + std::to_string(sim.Port()));
    HttpClient client;
    HttpResult running = client.Post(sim.Url(), "");
    ASSERT_EQ(running.status, HttpResult::Status::Ok) << running.description;
    EXPECT_EQ(running.httpCode, 200);
    EXPECT_EQ(running.body, "<RESPONSE>TallyPrime Server is Running</RESPONSE>");
    // A plain GET is answered the same way.
    httplib::Client plain(sim.Host(), sim.Port());
    httplib::Result get = plain.Get("/");
    ASSERT_TRUE(get) << httplib::to_string(get.error());
    EXPECT_EQ(get->status, 200);
    EXPECT_EQ(get->body, "<RESPONSE>TallyPrime Server is Running</RESPONSE>");

    HttpResult masters = client.Post(sim.Url() + "/any/path", rq::Envelope(rq::DemoMasters()));
    ASSERT_EQ(masters.status, HttpResult::Status::Ok);
    EXPECT_TRUE(ParseTallyReply(masters.body).lineErrors.empty()) << masters.body;
    HttpResult sale = client.Post(sim.Url(), rq::Envelope(rq::DemoSale("S-1", "INV1")));
    EXPECT_NE(sale.body.find("<CREATED>1</CREATED>"), std::string::npos) << sale.body;

    nlohmann::json books = sim.Books();
    ASSERT_EQ(books["vouchers"].size(), 1u);
    EXPECT_EQ(books["vouchers"][0]["remoteId"], "S-1");
    EXPECT_EQ(books["trialBalance"]["totalDebit"], 118);
}

TEST(TallySimProcess, TheProgramsTransportReadsItsReplies) {
    TallySimProcess sim({"--company", "Kaveri Traders"});
    std::string masters = rq::Envelope(rq::DemoMasters(), "Kaveri Traders");
    ExchangeResult first = Exchange(sim, masters, RequestForm::Master);
    EXPECT_EQ(first.outcome, Outcome::Accepted) << first.message;
    // Masters sent again are answered "already exists", which the master form keeps quiet.
    ExchangeResult again = Exchange(sim, masters, RequestForm::Master);
    EXPECT_EQ(again.outcome, Outcome::AlreadyInTally) << again.message;
    EXPECT_EQ(again.message, "");

    std::string sale = rq::DemoSale("S-1", "INV1");
    std::string broken = sale;
    broken.replace(broken.find("Output CGST 9%"), 14, "Output CGST 6%");
    ExchangeResult refused = Exchange(sim, rq::Envelope(broken));
    EXPECT_EQ(refused.outcome, Outcome::TallyError);
    EXPECT_EQ(refused.message, "\r\nLedger 'Output CGST 6%' does not exist!");
    ExchangeResult otherCompany = Exchange(sim, rq::Envelope(sale, "Other Co"));
    EXPECT_EQ(otherCompany.outcome, Outcome::TallyError);
    EXPECT_TRUE(otherCompany.companyNotOpen);
    EXPECT_EQ(otherCompany.message, "\r\nCould not set 'SVCurrentCompany' to 'Other Co'");
    ExchangeResult accepted = Exchange(sim, rq::Envelope(sale));
    EXPECT_EQ(accepted.outcome, Outcome::Accepted) << accepted.message;
    EXPECT_EQ(accepted.message, "");
    EXPECT_EQ(sim.Books()["vouchers"].size(), 1u);
}

TEST(TallySimProcess, StopsCleanlyOnSignalsEvenWithAnOpenConnection) {
    for (int signal : {SIGTERM, SIGINT}) {
        TallySimProcess sim;
        HttpClient client;  // keeps its connection open after the reply
        ASSERT_EQ(client.Post(sim.Url(), "").status, HttpResult::Status::Ok);
        kill(sim.Pid(), signal);
        std::optional<int> status = sim.WaitForExit(std::chrono::seconds(3));
        ASSERT_TRUE(status.has_value()) << "signal " << signal << ": still running";
        EXPECT_TRUE(ExitedWith(*status, 0)) << "signal " << signal << ": status " << *status;
    }
}

TEST(TallySimProcess, DropEveryClosesTheConnectionWithoutReplyAndImportsNothing) {
    TallySimProcess sim({"--drop-every", "2"});
    std::vector<HttpResult> results;
    for (const char* name : {"Freight", "Cartage", "Octroi", "Hamali"}) {
        // A new connection each time: on a reused one the client would send the request again.
        HttpClient client;
        results.push_back(
            client.Post(sim.Url(), rq::Envelope(rq::Ledger(name, "Indirect Expenses"))));
    }
    EXPECT_EQ(results[0].status, HttpResult::Status::Ok);
    EXPECT_EQ(results[1].status, HttpResult::Status::Failed) << "a connection was made";
    EXPECT_TRUE(results[1].requestSent);
    EXPECT_EQ(results[1].body, "");
    EXPECT_EQ(results[2].status, HttpResult::Status::Ok) << results[2].description;
    EXPECT_EQ(results[3].status, HttpResult::Status::Failed);
    EXPECT_EQ(LedgerNames(sim.Books()), (std::vector<std::string>{"Freight", "Octroi"}));

    ExchangeResult answered = Exchange(sim, rq::Envelope(""));
    EXPECT_FALSE(answered.transportFailure) << answered.message;
    ExchangeResult dropped = Exchange(sim, rq::Envelope(""));
    EXPECT_EQ(dropped.outcome, Outcome::Unconfirmed) << "the request went out";
    EXPECT_TRUE(dropped.transportFailure);
    EXPECT_FALSE(dropped.message.empty());
    EXPECT_NE(dropped.message, "Tally Server is Not Running") << "a connection was made";
}

TEST(TallySimProcess, GarbageEveryAnswersTextThatIsNotXml) {
    TallySimProcess sim({"--garbage-every", "2"});
    HttpClient client;
    HttpResult first =
        client.Post(sim.Url(), rq::Envelope(rq::Ledger("Freight", "Indirect Expenses")));
    HttpResult second =
        client.Post(sim.Url(), rq::Envelope(rq::Ledger("Cartage", "Indirect Expenses")));
    ASSERT_EQ(first.status, HttpResult::Status::Ok);
    ASSERT_EQ(second.status, HttpResult::Status::Ok);
    EXPECT_TRUE(ParseTallyReply(first.body).importResult);
    EXPECT_FALSE(ParseTallyReply(second.body).wellFormed) << second.body;
    EXPECT_EQ(LedgerNames(sim.Books()), std::vector<std::string>{"Freight"});

    ExchangeResult answered = Exchange(sim, rq::Envelope(""));
    EXPECT_NE(answered.message.rfind("The reply is not XML: ", 0), 0u) << answered.message;
    ExchangeResult garbled = Exchange(sim, rq::Envelope(""));
    EXPECT_EQ(garbled.outcome, Outcome::Unconfirmed) << "the reply does not say what Tally did";
    EXPECT_FALSE(garbled.transportFailure);
    EXPECT_EQ(garbled.message, std::string("The reply is not XML: ") + sim::kGarbageReply);
}

TEST(TallySimProcess, DelayHoldsEachReply) {
    TallySimProcess sim({"--delay-ms", "400"});
    // The reply has its own time-out, counted from the connection.
    HttpClient impatient({std::chrono::milliseconds(5000), std::chrono::milliseconds(100)});
    HttpResult late = impatient.Post(sim.Url(), "");
    EXPECT_EQ(late.status, HttpResult::Status::Failed);
    EXPECT_EQ(late.description, "No reply within 0.1 s");

    HttpClient patient;
    auto start = std::chrono::steady_clock::now();
    HttpResult waited = patient.Post(sim.Url(), "");
    EXPECT_EQ(waited.status, HttpResult::Status::Ok);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
}

TEST(TallySimProcess, MaxRequestsEndsTheServerAfterItsLastReply) {
    TallySimProcess sim({"--max-requests", "2"});
    HttpClient client;
    EXPECT_EQ(client.Post(sim.Url(), "").status, HttpResult::Status::Ok);
    HttpResult last =
        client.Post(sim.Url(), rq::Envelope(rq::Ledger("Freight", "Indirect Expenses")));
    ASSERT_EQ(last.status, HttpResult::Status::Ok);
    EXPECT_NE(last.body.find("<CREATED>1</CREATED>"), std::string::npos)
        << "the last one is answered";
    std::optional<int> status = sim.WaitForExit(std::chrono::seconds(3));
    ASSERT_TRUE(status.has_value()) << "still running";
    EXPECT_TRUE(ExitedWith(*status, 0)) << *status;

    ExchangeResult after = Exchange(sim, rq::Envelope(""));
    EXPECT_EQ(after.outcome, Outcome::NotSent);
    EXPECT_TRUE(after.transportFailure);
    EXPECT_EQ(after.message, "Tally Server is Not Running");
}

TEST(TallySimProcess, BooksFileKeepsTheBooksAcrossRestarts) {
    std::filesystem::path file = std::filesystem::temp_directory_path() /
                                 ("tally-sim-process-" + std::to_string(getpid()) + ".db");
    auto removeFiles = [&] {
        for (const char* suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(file.string() + suffix);
    };
    removeFiles();
    nlohmann::json before;
    {
        TallySimProcess sim({"--books", file.string(), "--company", "Kaveri Traders"});
        HttpClient client;
        client.Post(sim.Url(), rq::Envelope(rq::DemoMasters()));
        client.Post(sim.Url(), rq::Envelope(rq::DemoSale("S-1", "INV1")));
        before = sim.Books();
        EXPECT_TRUE(ExitedWith(sim.Stop(), 0));
    }
    {
        TallySimProcess sim({"--books", file.string()});
        EXPECT_EQ(sim.Books(), before);
        EXPECT_EQ(sim.Books()["company"], "Kaveri Traders");
    }
    EXPECT_THROW(TallySimProcess({"--books", file.string(), "--company", "Other Traders"}),
                 std::runtime_error);
    removeFiles();
}

TEST(TallySimProcess, BadOptionsKeepItFromStarting) {
    for (std::vector<std::string> args : {std::vector<std::string>{"--delay-ms", "-5"},
                                          std::vector<std::string>{"--drop-every", "x"},
                                          std::vector<std::string>{"--no-such-switch"}}) {
        EXPECT_THROW(TallySimProcess{args}, std::runtime_error) << args[0];
    }
}

// Exit status of a shell command that must end by itself within 10 seconds (124 if not).
int StatusOf(const std::string& command) {
    const int status = std::system(("timeout 10 " + command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A second simulator on a port in use would take half the requests into books of its own.
TEST(TallySimProcess, RefusesAPortInUse) {
    TallySimProcess first;
    EXPECT_EQ(StatusOf(std::string(TALLY_SIM_PATH) + " --port " + std::to_string(first.Port())), 1);
    HttpClient client;
    client.Post(first.Url(), rq::Envelope(rq::DemoMasters()));
    EXPECT_FALSE(first.Books()["masters"].empty()) << "the first one still serves";
}

TEST(TallySimProcess, UsageErrorsExitWithTwo) {
    const std::string sim = TALLY_SIM_PATH;
    EXPECT_EQ(StatusOf(sim + " --no-such-switch"), 2);
    EXPECT_EQ(StatusOf(sim + " --port 70000"), 2);
    EXPECT_EQ(StatusOf(sim + " --delay-ms x"), 2);
    EXPECT_EQ(StatusOf(sim + " --help"), 0);
#ifdef DMS_DEMO_PATH
    const std::string demo = DMS_DEMO_PATH;
    EXPECT_EQ(StatusOf(demo), 2) << "--out is required";
    EXPECT_EQ(StatusOf(demo + " --out x.db --invoices -1"), 2);
    EXPECT_EQ(StatusOf(demo + " --help"), 0);
#endif
}

}  // namespace
}  // namespace zentrail

#endif  // TALLY_SIM_PATH
