// Inter-depot transfers from a generated demo database into the Tally simulator, driven
// through the screen as an operator would, after the items they name.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <vector>

#include "screens/demo_transfer_support.h"
#include "screens/idt_screen.h"
#include "screens/item_screen.h"
#include "tally/http_client.h"
#include "tally/number_text.h"

namespace zentrail {
namespace {

using namespace zentrail::testing;

// Listed transfers holding the demo's product without an HSN code: the line query leaves that
// line out, so their vouchers ask less than the source.
std::set<std::string> TransfersShortOfALine(const std::string& db, const TransferGrid& grid) {
    return ListedAmong(db,
                       "SELECT DISTINCT A.IDTMngRefNo FROM IDTManagement A JOIN "
                       "IDTManagementProduct B ON A.IDTMngRefNo = B.IDTMngRefNo JOIN Product P ON "
                       "B.PrdId = P.PrdId WHERE P.PrdName = 'Counter Display Rack' AND "
                       "A.IDTNetAmt > 0",
                       grid, "IDTMngRefNo");
}

TEST(IdtTransfer, DemoTransfersReachTallyWholeAndBalanced) {
    GeneratedDemo demo(60, 1, "idt-e2e");
    TallySimProcess sim({"--company", "Zentrail Demo"});
    Configuration config = DemoConfiguration(demo.Path(), sim.Port());
    SourceDatabase db;
    db.OpenConnection(config);
    HttpClient tally;
    std::filesystem::path reports =
        std::filesystem::path(::testing::TempDir()) / ("idt-reports-" + std::to_string(::getpid()));
    ScreenContext context{config, db, tally, reports};

    ItemScreen items(context);
    RecordingObserver itemObserver;
    RunOverRange(items, itemObserver, std::nullopt);
    ASSERT_TRUE(items.LastRun().Clean()) << items.LogText();

    IdtScreen idt(context);
    RecordingObserver observer;
    RunOverRange(idt, observer, kDemoRange);
    const TransferGrid& grid = idt.ssdbgItem;
    ASSERT_GT(grid.RowCount(), 50u);

    std::set<std::string> shortOfALine = TransfersShortOfALine(demo.Path(), grid);
    ASSERT_FALSE(shortOfALine.empty()) << "the demo holds such transfers";
    ExpectOnlyTheseDiffer(idt, shortOfALine);
    const RunCounts& run = idt.LastRun();
    EXPECT_EQ(run.documents.Total(), static_cast<long>(grid.RowCount()));
    EXPECT_EQ(ReportedDocuments(run.reportPath), grid.RowCount());
    // A depot that both sent and received is sent once under each group; Tally keeps the first.
    EXPECT_GT(run.masters.alreadyInTally, 0);
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_EQ(observer.messages[0].text.substr(0, 15), "IDT Transferrd\n");

    nlohmann::json books = sim.Books();
    std::map<std::string, const nlohmann::json*> ledgers = LedgersByName(books);
    std::map<std::string, const nlohmann::json*> vouchers;
    for (const auto& voucher : books["vouchers"]) vouchers[voucher["number"]] = &voucher;

    size_t expected = 0, in = 0, out = 0, partiesChecked = 0;
    std::map<std::string, std::set<bool>> directionsOfDepot;
    for (size_t row = 0; row < grid.RowCount(); ++row) {
        std::string number = grid.Cell(row, "IDTMngRefNo");
        std::string depot = grid.Cell(row, "SpmName");
        EXPECT_TRUE(ledgers.count(depot)) << "ledger of " << depot;
        auto found = vouchers.find(number);
        if (ReadNumber(grid.Cell(row, "IDTNetAmt")) <= 0) {
            EXPECT_EQ(found, vouchers.end()) << number;
            continue;
        }
        ++expected;
        ASSERT_NE(found, vouchers.end()) << number;
        const nlohmann::json& voucher = *found->second;
        bool isOut = grid.Cell(row, "StkMgmtTypeId") == "2";
        directionsOfDepot[depot].insert(isOut);
        (isOut ? out : in) += 1;
        EXPECT_EQ(voucher["type"], isOut ? "KVZ IDT Out" : "KVZ IDT In") << number;
        EXPECT_EQ(voucher["party"], depot);
        double sum = 0;
        for (const auto& entry : voucher["entries"]) {
            sum += entry["amount"].get<double>();
            if (entry.contains("ledger") && entry["ledger"] == depot &&
                !shortOfALine.count(number)) {
                ++partiesChecked;
                EXPECT_DOUBLE_EQ(entry["amount"].get<double>() * (isOut ? -1 : 1),
                                 ReadNumber(grid.Cell(row, "IDTNetAmt")))
                    << number;
            }
        }
        EXPECT_NEAR(sum, 0, 0.005) << number;
    }
    EXPECT_EQ(books["vouchers"].size(), expected);
    EXPECT_EQ(partiesChecked, expected - shortOfALine.size());
    EXPECT_GT(in, 0u);
    EXPECT_GT(out, 0u);
    size_t bothWays = 0;
    for (const auto& [depot, directions] : directionsOfDepot) bothWays += directions.size() == 2;
    EXPECT_GT(bothWays, 0u) << "a depot that both sent and received stock";
    EXPECT_NEAR(books["trialBalance"]["totalDebit"].get<double>(),
                books["trialBalance"]["totalCredit"].get<double>(), 0.005);
}

// References holding an apostrophe, one the start of the other, each filter exactly their own
// lines: the vouchers ask the source's totals and nothing else changes.
TEST(IdtTransfer, ReferencesWithAnApostropheCarryExactlyTheirOwnLines) {
    GeneratedDemo demo(60, 1, "idt-apostrophe");
    std::vector<RawRow> transfers = RawQuery(
        demo.Path(),
        "SELECT A.IDTMngRefNo, A.IDTNetAmt FROM IDTManagement A WHERE A.Status = 1 AND "
        "A.IDTNetAmt > 0 AND A.SpmId IN (SELECT SpmId FROM IDTMaster) AND NOT EXISTS (SELECT 1 "
        "FROM IDTManagementProduct B JOIN Product P ON B.PrdId = P.PrdId WHERE B.IDTMngRefNo = "
        "A.IDTMngRefNo AND P.PrdName = 'Counter Display Rack') ORDER BY A.IDTMngRefNo LIMIT 2");
    ASSERT_EQ(transfers.size(), 2u);
    const std::pair<std::string, std::string> renamed[] = {{*transfers[0][0], "O'Neil/23"},
                                                           {*transfers[1][0], "O'Neil/2"}};
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(demo.Path().c_str(), &raw), SQLITE_OK);
        for (const auto& [from, to] : renamed)
            for (const char* table :
                 {"IDTManagement", "IDTManagementProduct", "IDTManagementProductTax"}) {
                std::string sql = std::string("UPDATE ") + table + " SET IDTMngRefNo = '" +
                                  (to == "O'Neil/23" ? "O''Neil/23" : "O''Neil/2") +
                                  "' WHERE IDTMngRefNo = '" + from + "'";
                ASSERT_EQ(sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
                    << sql;
            }
        sqlite3_close(raw);
    }
    TallySimProcess sim({"--company", "Zentrail Demo"});
    Configuration config = DemoConfiguration(demo.Path(), sim.Port());
    SourceDatabase db;
    db.OpenConnection(config);
    HttpClient tally;
    ScreenContext context{config, db, tally};
    ItemScreen items(context);
    RecordingObserver itemObserver;
    RunOverRange(items, itemObserver, std::nullopt);
    IdtScreen idt(context);
    RecordingObserver observer;
    RunOverRange(idt, observer, kDemoRange);
    ExpectOnlyTheseDiffer(idt, TransfersShortOfALine(demo.Path(), idt.ssdbgItem));

    nlohmann::json books = sim.Books();
    for (size_t i = 0; i < 2; ++i) {
        const std::string& number = renamed[i].second;
        const nlohmann::json* found = nullptr;
        for (const auto& voucher : books["vouchers"])
            if (voucher["number"] == number) found = &voucher;
        ASSERT_NE(found, nullptr) << number;
        double party = 0;
        size_t stockLines = 0;
        for (const auto& entry : (*found)["entries"]) {
            if (entry.contains("ledger") && entry["ledger"] == (*found)["party"])
                party = std::abs(entry["amount"].get<double>());
            stockLines += entry.contains("stockItem");
        }
        EXPECT_DOUBLE_EQ(party, ReadNumber(*transfers[i][1])) << number;
        EXPECT_EQ(stockLines, RawQuery(demo.Path(),
                                       "SELECT 1 FROM IDTManagementProduct WHERE "
                                       "IDTMngRefNo = '" +
                                           std::string(i == 0 ? "O''Neil/23" : "O''Neil/2") + "'")
                                  .size())
            << number;
    }
}

}  // namespace
}  // namespace zentrail
