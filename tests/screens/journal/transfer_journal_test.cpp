// What the journal says Tally may hold of a document, after requests that ended in every way.

#include "screens/journal/transfer_journal.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "screens/journal/body_digest.h"

namespace zentrail {
namespace {

class TransferJournalTest : public ::testing::Test {
protected:
    TransferJournalTest()
        : path_(std::filesystem::path(::testing::TempDir()) /
                ("journal-test-" + std::to_string(::getpid())) / "journal.db") {
        std::filesystem::remove_all(path_.parent_path());
    }
    ~TransferJournalTest() override { std::filesystem::remove_all(path_.parent_path()); }

    // Sends one request of document `identity` and completes it with `outcome`.
    static void Sent(TransferJournal& journal, int64_t run, const std::string& identity,
                     const std::string& key, const std::string& body, Outcome outcome) {
        int64_t id = journal.Sending({.runId = run,
                                      .screen = "sales",
                                      .kind = "document",
                                      .identity = identity,
                                      .number = "SIN" + identity,
                                      .date = "2024-04-01",
                                      .key = key,
                                      .bodySha256 = BodyDigest(body)});
        journal.Complete(id, outcome, "", {});
    }

    std::filesystem::path path_;
};

TEST(BodyDigest, IsTheSha256OfTheBytes) {
    EXPECT_EQ(BodyDigest(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(BodyDigest("abc"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST(OutcomeToken, EveryOutcomeReadsBack) {
    for (Outcome outcome :
         {Outcome::Accepted, Outcome::AlreadyInTally, Outcome::TallyError, Outcome::Difference,
          Outcome::NotSent, Outcome::Unconfirmed, Outcome::Skipped, Outcome::Stopped})
        EXPECT_EQ(OutcomeFromToken(OutcomeToken(outcome)), outcome) << OutcomeToken(outcome);
    EXPECT_EQ(OutcomeFromToken("sending"), std::nullopt);
}

// Held is the last request that may have reached Tally: a later refusal does not hide an
// earlier acceptance, and an unanswered request counts as held.
TEST_F(TransferJournalTest, HeldIsTheLastRequestTallyMayHold) {
    TransferJournal journal(path_);
    const int64_t run = journal.BeginRun("sales", "2024-04-01", "2024-05-31");
    Sent(journal, run, "1", "K1", "first", Outcome::Accepted);
    Sent(journal, run, "1", "K1", "second", Outcome::TallyError);
    Sent(journal, run, "2", "K2", "a", Outcome::Accepted);
    Sent(journal, run, "2", "K2", "b", Outcome::Unconfirmed);
    Sent(journal, run, "3", "K3", "x", Outcome::NotSent);
    Sent(journal, run, "4", "K4", "y", Outcome::Difference);
    EXPECT_TRUE(journal.Held("sales", "document").empty()) << "the run's rows are in its log";
    journal.EndRun();

    const HeldRequests held = journal.Held("sales", "document");
    ASSERT_EQ(held.size(), 3u);
    EXPECT_EQ(held.at("1").bodySha256, BodyDigest("first"));
    EXPECT_EQ(held.at("1").outcome, Outcome::Accepted);
    EXPECT_EQ(held.at("2").outcome, Outcome::Unconfirmed);
    EXPECT_EQ(held.at("2").bodySha256, BodyDigest("b"));
    EXPECT_EQ(held.at("4").key, "K4");
    EXPECT_TRUE(journal.Held("purchase", "document").empty());
    EXPECT_TRUE(journal.Held("sales", "master").empty());
}

// A row left "sending" is completed as unconfirmed once, by the next run of its screen.
TEST_F(TransferJournalTest, UnfinishedRowsAreClosedOnceForTheirScreen) {
    {
        TransferJournal journal(path_);
        const int64_t run = journal.BeginRun("sales", "2024-04-01", "2024-04-30");
        Sent(journal, run, "1", "K1", "body", Outcome::Accepted);
        journal.Sending({.runId = run,
                         .screen = "sales",
                         .kind = "document",
                         .identity = "2",
                         .number = "SIN2",
                         .key = "K2",
                         .bodySha256 = BodyDigest("two")});
    }
    TransferJournal journal(path_);
    EXPECT_TRUE(journal.CloseUnfinished("purchase", "gone").empty());
    const std::vector<JournalRow> closed = journal.CloseUnfinished("sales", "gone");
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(closed[0].number, "SIN2");
    EXPECT_EQ(closed[0].outcome, Outcome::Unconfirmed);
    EXPECT_TRUE(journal.CloseUnfinished("sales", "gone").empty());
    EXPECT_EQ(journal.Held("sales", "document").at("2").outcome, Outcome::Unconfirmed);
    const std::vector<JournalRow> latest = journal.Latest("sales", std::nullopt, std::nullopt);
    ASSERT_EQ(latest.size(), 2u);
    EXPECT_EQ(latest[1].message, "gone");
}

// The log of a killed run is read in by the next journal opened beside it; a line the kill cut
// short is no request, since nothing leaves before its line is written.
TEST_F(TransferJournalTest, AKilledRunsLogIsReadInAndItsCutLineIgnored) {
    { TransferJournal create(path_); }
    std::ofstream(path_.string() + ".run-7")
        << R"({"seq":1,"run":7,"screen":"sales","kind":"document","identity":"9","number":"SIN9",)"
        << R"("date":"2024-04-02","key":"K9","sha256":"ab","started":"2024-04-02 10:00:00"})"
        << "\n"
        << R"({"done":1,"outcome":"accepted","message":"","created":1,"altered":0,"errors":0,)"
        << R"("ended":"2024-04-02 10:00:01"})"
        << "\n"
        << R"({"seq":2,"run":7,"screen":"sales","kind":"document","identity":"10","number":"SIN10",)"
        << R"("date":"2024-04-02","key":"K10","sha256":"cd","started":"2024-04-02 10:00:01"})"
        << "\n"
        << R"({"seq":3,"run":7,"screen":"sales","kind":"docu)";
    TransferJournal journal(path_);
    EXPECT_FALSE(std::filesystem::exists(path_.string() + ".run-7"));
    const std::vector<JournalRow> rows = journal.Latest("sales", std::nullopt, std::nullopt);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].number, "SIN9");
    EXPECT_EQ(rows[0].outcome, Outcome::Accepted);
    EXPECT_EQ(rows[0].counters.created, 1);
    EXPECT_EQ(rows[1].number, "SIN10");
    EXPECT_EQ(rows[1].state, "sending");
    EXPECT_EQ(journal.CloseUnfinished("sales", "gone").size(), 1u);
}

TEST_F(TransferJournalTest, AJournalThatCannotBeOpenedNamesItsFile) {
    std::filesystem::create_directories(path_.parent_path());
    const std::filesystem::path blocked = path_.parent_path() / "file";
    { std::ofstream(blocked) << "x"; }
    try {
        TransferJournal journal(blocked / "journal.db");
        FAIL() << "opened";
    } catch (const JournalError& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with(
            "the transfer journal " + (blocked / "journal.db").string() + " cannot be opened: "))
            << e.what();
    }
}

}  // namespace
}  // namespace zentrail
