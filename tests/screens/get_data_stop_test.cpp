#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "screens/screen_registry.h"
#include "screens/screen_test_support.h"
#include "screens/transfer_screen.h"
#include "shell/configuration.h"
#include "shell/source_fixture.h"
#include "support/slow_source.h"

namespace zentrail {
namespace {

using testing::BlockingConnection;
using testing::RecordingObserver;

RowSet Items(size_t count) {
    RowSet rows({"PrdId", "PrdName", "PrdCCode", "HSNCODE"});
    for (size_t i = 0; i < count; ++i) {
        rows.Append(std::to_string(i + 1));
        rows.Append("Product " + std::to_string(i + 1));
        rows.Append("P" + std::to_string(i + 1));
        rows.Append("3401");
    }
    return rows;
}

// The item screen's Get Data on a source whose query number GetParam() runs until it is
// interrupted.
class GetDataStop : public ::testing::TestWithParam<size_t> {
protected:
    GetDataStop()
        : db_([this](const std::string&, const std::string&, const std::string&) {
              auto connection = std::make_unique<BlockingConnection>(
                  GetParam(), [](const std::string&) { return Items(3); });
              connection_ = connection.get();
              return connection;
          }) {
        db_.OpenConnection(config_);
        screen_ = CreateScreen("item", ScreenContext{config_, db_, tally_});
        screen_->SetObserver(&observer_);
        screen_->Load();
    }

    Configuration config_;
    BlockingConnection* connection_ = nullptr;
    SourceDatabase db_;
    testing::ScriptedTransport tally_{[](const std::string&) { return HttpResult{}; }};
    std::unique_ptr<TransferScreen> screen_;
    RecordingObserver observer_;
};

TEST_P(GetDataStop, AStopFromAnotherThreadInterruptsTheRunningQuery) {
    screen_->GetData();  // queries 1 and 2
    ASSERT_EQ(screen_->ssdbgItem.RowCount(), 3u) << screen_->LogText();

    std::thread worker([this] { screen_->GetData(); });
    const bool blocked = connection_->WaitUntilBlocked(std::chrono::seconds(10));
    screen_->RequestStop();
    worker.join();
    ASSERT_TRUE(blocked) << "the query never ran";

    EXPECT_TRUE(screen_->GetDataStopped());
    EXPECT_FALSE(screen_->GetDataFailed());
    EXPECT_EQ(screen_->ssdbgItem.RowCount(), 0u) << "the earlier listing is not left on show";
    EXPECT_NE(screen_->LogText().find("Get Data stopped"), std::string::npos) << screen_->LogText();
    EXPECT_EQ(observer_.messages.size(), 0u) << "a stop is no database error";
    EXPECT_FALSE(screen_->busy);

    // The next Get Data starts afresh.
    screen_->GetData();
    EXPECT_FALSE(screen_->GetDataStopped());
    EXPECT_FALSE(screen_->GetDataFailed());
    EXPECT_EQ(screen_->ssdbgItem.RowCount(), 3u);
}

// Get Data reads the field names (query 3 here), then the rows (query 4): a stop in either
// ends the listing.
INSTANTIATE_TEST_SUITE_P(ColumnsOrRows, GetDataStop, ::testing::Values(3u, 4u));

// A stop that only sets the flag (as a signal handler does) ends a listing between two rows.
TEST(GetDataStopFlag, EndsAListingBetweenRows) {
    Configuration config;
    TransferScreen* stopping = nullptr;
    class StopsAfterTheFirstRow : public SourceConnection {
    public:
        explicit StopsAfterTheFirstRow(TransferScreen*& screen) : screen_(screen) {}
        RowSet Query(const std::string&) override { return Items(0); }
        void Stream(const std::string&, RowSink& sink) override {
            testing::StreamRows(Items(3), sink, [this] {
                ++rowsTaken;
                screen_->StopFlag() = true;
            });
        }
        int rowsTaken = 0;

    private:
        TransferScreen*& screen_;
    };
    StopsAfterTheFirstRow* connection = nullptr;
    SourceDatabase db([&](const std::string&, const std::string&, const std::string&) {
        auto made = std::make_unique<StopsAfterTheFirstRow>(stopping);
        connection = made.get();
        return made;
    });
    db.OpenConnection(config);
    testing::ScriptedTransport tally([](const std::string&) { return HttpResult{}; });
    std::unique_ptr<TransferScreen> screen = CreateScreen("item", ScreenContext{config, db, tally});
    stopping = screen.get();
    screen->Load();
    screen->GetData();
    EXPECT_EQ(connection->rowsTaken, 1);
    EXPECT_TRUE(screen->GetDataStopped());
    EXPECT_FALSE(screen->GetDataFailed());
    EXPECT_EQ(screen->ssdbgItem.RowCount(), 0u);
}

TEST(GetDataStopOnSqlite, ALongListingQueryEndsWithinASecondOfTheStop) {
    test::TempFolder folder;
    const std::filesystem::path file = folder.Path() / "endless.db";
    testing::WriteEndlessProducts(file);
    Configuration config;
    config.strSqlOdbc = file.string();
    SourceDatabase db;
    db.OpenConnection(config);
    testing::ScriptedTransport tally([](const std::string&) { return HttpResult{}; });
    std::unique_ptr<TransferScreen> screen = CreateScreen("item", ScreenContext{config, db, tally});
    RecordingObserver observer;
    screen->SetObserver(&observer);
    screen->Load();

    std::atomic<bool> over{false};
    std::thread worker([&] {
        screen->GetData();
        over = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const bool overEarly = over;
    const auto stoppedAt = std::chrono::steady_clock::now();
    screen->RequestStop();
    // A stop that does not interrupt would leave the query running for minutes: it is ended
    // here after a while, and the time taken tells.
    const auto limit = stoppedAt + std::chrono::seconds(3);
    while (!over && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const auto took = std::chrono::steady_clock::now() - stoppedAt;
    if (!over) db.cnSource->Interrupt();
    worker.join();

    EXPECT_FALSE(overEarly) << "the listing ended by itself: " << screen->LogText();
    EXPECT_LT(took, std::chrono::seconds(1));
    EXPECT_TRUE(screen->GetDataStopped()) << screen->LogText();
    EXPECT_FALSE(screen->GetDataFailed());
    EXPECT_EQ(observer.messages.size(), 0u);
    EXPECT_EQ(screen->ssdbgItem.RowCount(), 0u);
}

}  // namespace
}  // namespace zentrail
