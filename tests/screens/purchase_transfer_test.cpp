// Purchase receipts from a generated demo database into the Tally simulator, driven through
// the screen as an operator would, after the items they name.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>

#include "screens/demo_transfer_support.h"
#include "screens/item_screen.h"
#include "screens/purchase_screen.h"
#include "tally/http_client.h"
#include "tally/number_text.h"

namespace zentrail {
namespace {

using namespace zentrail::testing;

// Listed receipts holding the demo's product without an HSN code: the line query leaves that
// line out, so their vouchers ask less than the source.
std::set<std::string> ReceiptsShortOfALine(const std::string& db, const TransferGrid& grid) {
    std::set<std::string> listed = ListedAmong(
        db,
        "SELECT DISTINCT A.PurRcptRefNo FROM PurchaseReceipt A JOIN PurchaseReceiptProduct B ON "
        "A.PurRcptId = B.PurRcptId JOIN Product P ON B.PrdId = P.PrdId WHERE P.PrdName = "
        "'Counter Display Rack' AND A.NetAmount > 0",
        grid, "PurRcptRefNo");
    return listed;
}

TEST(PurchaseTransfer, DemoReceiptsReachTallyWholeAndBalanced) {
    GeneratedDemo demo(60, 1, "purchase-e2e");
    TallySimProcess sim({"--company", "Zentrail Demo"});
    Configuration config = DemoConfiguration(demo.Path(), sim.Port());
    SourceDatabase db;
    db.OpenConnection(config);
    HttpClient tally;
    std::filesystem::path reports = std::filesystem::path(::testing::TempDir()) /
                                    ("purchase-reports-" + std::to_string(::getpid()));
    ScreenContext context{config, db, tally, reports};

    ItemScreen items(context);
    RecordingObserver itemObserver;
    RunOverRange(items, itemObserver, std::nullopt);
    ASSERT_TRUE(items.LastRun().Clean()) << items.LogText();

    PurchaseScreen purchase(context);
    RecordingObserver observer;
    RunOverRange(purchase, observer, kDemoRange);
    const TransferGrid& grid = purchase.ssdbgItem;
    ASSERT_GT(grid.RowCount(), 100u);

    std::set<std::string> shortOfALine = ReceiptsShortOfALine(demo.Path(), grid);
    ASSERT_FALSE(shortOfALine.empty()) << "the demo holds such receipts";
    ExpectOnlyTheseDiffer(purchase, shortOfALine);
    const RunCounts& run = purchase.LastRun();
    EXPECT_EQ(run.documents.Total(), static_cast<long>(grid.RowCount()));
    EXPECT_EQ(ReportedDocuments(run.reportPath), grid.RowCount());
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_EQ(observer.messages[0].icon, ScreenMessage::Icon::Information);
    EXPECT_EQ(observer.messages[0].text.substr(0, 20), "Purchase Transferrd\n");
    EXPECT_EQ(purchase.CurrentProgress().caption, "Transfer ended with errors") << "receipts with differences";

    nlohmann::json books = sim.Books();
    std::map<std::string, const nlohmann::json*> ledgers = LedgersByName(books);
    std::map<std::string, const nlohmann::json*> vouchers;
    for (const auto& voucher : books["vouchers"]) vouchers[voucher["number"]] = &voucher;

    size_t expected = 0, roundedDown = 0, roundedUp = 0, partiesChecked = 0;
    for (size_t row = 0; row < grid.RowCount(); ++row) {
        std::string number = grid.Cell(row, "PurRcptRefNo");
        std::string supplier = grid.Cell(row, "SpmName");
        auto ledger = ledgers.find(supplier);
        ASSERT_NE(ledger, ledgers.end()) << "ledger of " << supplier;
        EXPECT_EQ((*ledger->second)["parent"], "Sundry Creditors") << supplier;
        auto found = vouchers.find(number);
        if (ReadNumber(grid.Cell(row, "NetAmount")) <= 0) {
            EXPECT_EQ(found, vouchers.end()) << number;
            continue;
        }
        ++expected;
        ASSERT_NE(found, vouchers.end()) << number;
        const nlohmann::json& voucher = *found->second;
        EXPECT_EQ(voucher["type"], "KVZ Purchase");
        EXPECT_EQ(voucher["party"], supplier);
        double sum = 0;
        for (const auto& entry : voucher["entries"]) {
            sum += entry["amount"].get<double>();
            if (!entry.contains("ledger")) continue;
            double amount = entry["amount"].get<double>();
            if (entry["ledger"] == supplier && !shortOfALine.count(number)) {
                ++partiesChecked;
                EXPECT_DOUBLE_EQ(amount, ReadNumber(grid.Cell(row, "NetPayable"))) << number;
            }
            if (entry["ledger"] == "Round Off") {
                roundedDown += amount == 0.5;
                roundedUp += amount == -0.5;
            }
        }
        EXPECT_NEAR(sum, 0, 0.005) << number;
    }
    EXPECT_EQ(books["vouchers"].size(), expected);
    EXPECT_EQ(partiesChecked, expected - shortOfALine.size());
    EXPECT_GT(roundedDown, 0u) << "a net of an even rupee and a half";
    EXPECT_GT(roundedUp, 0u) << "a net of an odd rupee and a half";
    EXPECT_NEAR(books["trialBalance"]["totalDebit"].get<double>(),
                books["trialBalance"]["totalCredit"].get<double>(), 0.005);
}

}  // namespace
}  // namespace zentrail
