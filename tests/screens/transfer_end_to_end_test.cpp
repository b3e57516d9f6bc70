// Item and sales transfers from a generated demo database into the Tally simulator, driven
// through the screen models as an operator would.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "screens/frm_t_item.h"
#include "screens/frm_t_sales.h"
#include "screens/screen_test_support.h"
#include "support/demo_database.h"
#include "support/tally_sim_process.h"
#include "tally/masters/tally_master.h"
#include "tally/number_text.h"

namespace zentrail {
namespace {

using testing::GeneratedDemo;
using testing::RawQuery;
using testing::RecordingObserver;
using testing::TallySimProcess;

constexpr const char* kCompany = "Zentrail Demo";

Configuration DemoConfig(const std::string& dbPath, int port) {
    Configuration config;
    config.strTallyServer = "127.0.0.1";
    config.strTallyPort = std::to_string(port);
    config.strCompany = kCompany;
    config.strSqlOdbc = dbPath;
    config.blnLedgerId = true;
    return config;
}

// Runs Get Data and Export of a screen and returns the observer that watched it.
void RunScreen(TransferScreen& screen, RecordingObserver& observer,
               std::optional<std::pair<CalendarDate, CalendarDate>> range = std::nullopt) {
    screen.SetObserver(&observer);
    screen.Load();
    if (range) screen.SetDates(range->first, range->second);
    screen.cmdGetData_Click();
    ASSERT_FALSE(screen.GetDataFailed()) << screen.txtLog;
    screen.cmdExport_Click();
}

const std::pair<CalendarDate, CalendarDate> kDemoRange{{2024, 4, 1}, {2024, 5, 31}};

std::vector<const nlohmann::json*> MastersOfKind(const nlohmann::json& books,
                                                 const std::string& kind) {
    std::vector<const nlohmann::json*> found;
    for (const auto& master : books["masters"])
        if (master["kind"] == kind && !master.value("predefined", false)) found.push_back(&master);
    return found;
}

class TransferEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() { demo_ = new GeneratedDemo(300, 1, "e2e-demo"); }
    static void TearDownTestSuite() {
        delete demo_;
        demo_ = nullptr;
    }
    static GeneratedDemo* demo_;
};
GeneratedDemo* TransferEndToEnd::demo_ = nullptr;

TEST_F(TransferEndToEnd, ItemsThenSalesReachTallyWhole) {
    TallySimProcess sim({"--company", kCompany});
    Configuration config = DemoConfig(demo_->Path(), sim.Port());
    SourceDatabase db;
    db.OpenConnection(config);
    ScreenContext context{config, db};

    frmT_Item items(context);
    RecordingObserver itemObserver;
    RunScreen(items, itemObserver);
    ASSERT_GT(items.ssdbgItem.RowCount(), 10u);
    EXPECT_EQ(items.txtLog, "");
    EXPECT_TRUE(items.LastRun().Clean());
    ASSERT_EQ(itemObserver.messages.size(), 1u);
    EXPECT_EQ(itemObserver.messages[0].text, "Item Transferrd");
    EXPECT_EQ(items.lblRecCurr, std::to_string(items.ssdbgItem.RowCount()));

    nlohmann::json books = sim.Books();
    auto stockItems = MastersOfKind(books, "Stock Item");
    EXPECT_EQ(stockItems.size(), items.ssdbgItem.RowCount());
    EXPECT_EQ(MastersOfKind(books, "Stock Group").size(), 1u);
    EXPECT_EQ(MastersOfKind(books, "Unit").size(),
              RawQuery(demo_->Path(), "SELECT DISTINCT UomDescription FROM UOMMASTER").size());

    // Every item carries one block per distinct taxed sales rate, highest first, then its
    // zero-rated blocks; the rates are those the invoices used.
    for (const nlohmann::json* item : stockItems) {
        std::string alias = (*item)["aliases"][0];
        std::string prdId = alias.substr(alias.rfind('_') + 1);
        auto taxed = RawQuery(demo_->Path(),
                              "SELECT DISTINCT C.TaxPerc FROM SalesInvoice A JOIN "
                              "SalesInvoiceProduct B ON A.SalId = B.SalId JOIN "
                              "SalesInvoiceProductTax C ON A.SalId = C.SalId AND B.SlNo = "
                              "C.PrdSlNo WHERE A.DlvSts >= 3 AND C.TaxPerc > 0 AND B.PrdId = " +
                                  prdId + " ORDER BY C.TaxPerc DESC");
        const nlohmann::json& blocks = (*item)["gstDetails"];
        ASSERT_GE(blocks.size(), taxed.size()) << alias;
        for (size_t i = 0; i < taxed.size(); ++i) {
            double percent = ReadNumber(*taxed[i][0]);
            double half = frmT_Item::HalfRate(percent);
            EXPECT_EQ(blocks[i]["applicableFrom"], i == 0 ? "20170701" : "20171115") << alias;
            EXPECT_DOUBLE_EQ(blocks[i]["rates"][0]["rate"].get<double>(), half) << alias;
            EXPECT_DOUBLE_EQ(blocks[i]["rates"][2]["rate"].get<double>(), 2 * half) << alias;
        }
        if (taxed.empty()) continue;  // rated from returns or zero-rated sales only
        for (size_t i = taxed.size(); i < blocks.size(); ++i) {
            EXPECT_EQ(blocks[i]["applicableFrom"], "20180727") << alias;
            EXPECT_DOUBLE_EQ(blocks[i]["rates"][2]["rate"].get<double>(), 0) << alias;
        }
    }

    frmT_Sales sales(context);
    RecordingObserver salesObserver;
    RunScreen(sales, salesObserver, kDemoRange);
    const TransferGrid& grid = sales.ssdbgItem;
    ASSERT_GT(grid.RowCount(), 100u);
    EXPECT_EQ(sales.txtLog, "") << "Tally refused something";
    EXPECT_TRUE(sales.LastRun().Clean());
    ASSERT_EQ(salesObserver.messages.size(), 1u);
    EXPECT_EQ(salesObserver.messages[0].icon, ScreenMessage::Icon::Information);
    EXPECT_EQ(salesObserver.messages[0].title, "Zentrail");
    EXPECT_EQ(salesObserver.messages[0].text, "Sales Transferrd");
    EXPECT_EQ(sales.lblRecCurr, std::to_string(grid.RowCount()));
    EXPECT_EQ(sales.fraPrg, "Data Transferred To Tally");

    books = sim.Books();
    std::map<std::string, const nlohmann::json*> vouchersByNumber;
    for (const auto& voucher : books["vouchers"]) vouchersByNumber[voucher["number"]] = &voucher;
    std::set<std::string> ledgers;
    for (const nlohmann::json* ledger : MastersOfKind(books, "Ledger")) {
        ledgers.insert((*ledger)["name"].get<std::string>());
        if ((*ledger)["name"] == "Round Off") {
            EXPECT_EQ((*ledger)["parent"], "Indirect Expenses");
        }
    }
    for (const char* fixed : {"GST Sales 0%", "CGST 2.5%", "UTGST 14%", "Window Display"})
        EXPECT_TRUE(ledgers.count(fixed)) << fixed;
    EXPECT_EQ(MastersOfKind(books, "Voucher Type").size(), 1u);

    size_t expectedVouchers = 0, cancelled = 0;
    for (size_t row = 0; row < grid.RowCount(); ++row) {
        std::string number = grid.Cell(row, "SalInvNo");
        EXPECT_TRUE(ledgers.count(grid.Cell(row, "RtrName") + "_" + grid.Cell(row, "RtrId")))
            << "party ledger of " << number;
        auto found = vouchersByNumber.find(number);
        if (ReadNumber(grid.Cell(row, "SalNetAmt")) <= 0) {
            EXPECT_EQ(found, vouchersByNumber.end()) << number;
            continue;
        }
        ++expectedVouchers;
        ASSERT_NE(found, vouchersByNumber.end()) << number;
        const nlohmann::json& voucher = *found->second;
        bool isCancelled = ReadNumber(grid.Cell(row, "DlvSts")) == 3;
        cancelled += isCancelled;
        EXPECT_EQ(voucher["cancelled"].get<bool>(), isCancelled) << number;
        EXPECT_EQ(voucher["type"], "KVZ Sales");
        EXPECT_EQ(voucher["date"], grid.Cell(row, "SalInvDate"));
        if (isCancelled) continue;
        double sum = 0;
        for (const auto& entry : voucher["entries"]) sum += entry["amount"].get<double>();
        EXPECT_NEAR(sum, 0, 0.005) << number;
    }
    EXPECT_EQ(books["vouchers"].size(), expectedVouchers);
    EXPECT_GT(cancelled, 0u) << "the demo holds cancelled invoices";
    EXPECT_NEAR(books["trialBalance"]["totalDebit"].get<double>(),
                books["trialBalance"]["totalCredit"].get<double>(), 0.005);
}

TEST_F(TransferEndToEnd, FixedMastersRequestIsExactlyTheExpectedText) {
    TallyMaster master;
    Configuration config;
    config.strCompany = kCompany;
    std::string report = "Vouchers";
    std::string request = master.strTopMaster(report, config.strCompany) +
                          frmT_Sales::FixedMastersPayload(master) + master.strBottom();
    std::ifstream file(std::string(ZENTRAIL_TEST_DATA_DIR) + "/sales_fixed_masters.xml",
                       std::ios::binary);
    ASSERT_TRUE(file) << "expected file missing";
    std::stringstream expected;
    expected << file.rdbuf();
    EXPECT_EQ(request, expected.str());
}

TEST_F(TransferEndToEnd, PaddedCustomerNamesNameTheSameLedgerInMasterAndVoucher) {
    // A copy of the demo whose customers carry blanks around their names in the source.
    std::string padded = demo_->Path() + ".padded.db";
    std::filesystem::copy_file(demo_->Path(), padded,
                               std::filesystem::copy_options::overwrite_existing);
    RawQuery(padded, "SELECT 1");  // the file is readable
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(padded.c_str(), &raw), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(raw, "UPDATE Retailer SET RtrName = '  ' || RtrName || '  '",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(raw);
    }
    TallySimProcess sim({"--company", kCompany});
    Configuration config = DemoConfig(padded, sim.Port());
    SourceDatabase db;
    db.OpenConnection(config);
    ScreenContext context{config, db};
    frmT_Item items(context);
    RecordingObserver itemObserver;
    RunScreen(items, itemObserver);
    frmT_Sales sales(context);
    RecordingObserver observer;
    RunScreen(sales, observer, kDemoRange);
    EXPECT_EQ(sales.txtLog, "");
    EXPECT_TRUE(sales.LastRun().Clean());
    std::filesystem::remove(padded);
}

TEST_F(TransferEndToEnd, StoppedTallyIsCountedAndLoggedNotHidden) {
    int port;
    {
        TallySimProcess sim({"--company", kCompany});
        port = sim.Port();
    }
    Configuration config = DemoConfig(demo_->Path(), port);
    SourceDatabase db;
    db.OpenConnection(config);
    frmT_Sales sales(ScreenContext{config, db});
    RecordingObserver observer;
    RunScreen(sales, observer, kDemoRange);
    EXPECT_EQ(sales.lblRecCurr, "0");
    const RunCounts& run = sales.LastRun();
    EXPECT_EQ(run.accepted, 0);
    EXPECT_GT(run.notSent, static_cast<long>(sales.ssdbgItem.RowCount() / 2));
    std::string firstInvoice = sales.ssdbgItem.Cell(0, "SalInvNo");
    EXPECT_NE(sales.txtLog.find("\r\nTally Server is Not Running " + firstInvoice),
              std::string::npos);
    EXPECT_NE(sales.txtLog.find("\r\nTally Server is Not Running Sales masters"),
              std::string::npos);
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_EQ(observer.messages[0].text,
              "Sales Transferrd\nSent and accepted: 0, sent with Tally errors: 0, not sent: " +
                  std::to_string(run.notSent));
}

TEST_F(TransferEndToEnd, StopBetweenRequestsEndsTheRun) {
    TallySimProcess sim({"--company", kCompany});
    Configuration config = DemoConfig(demo_->Path(), sim.Port());
    SourceDatabase db;
    db.OpenConnection(config);
    frmT_Sales sales(ScreenContext{config, db});
    RecordingObserver observer;
    observer.stopAfter = 5;
    RunScreen(sales, observer, kDemoRange);
    EXPECT_TRUE(sales.LastRun().stopped);
    EXPECT_EQ(sales.LastRun().accepted, 5);
    EXPECT_NE(sales.txtLog.find("Export stopped by the operator"), std::string::npos);
}

TEST_F(TransferEndToEnd, MissingTableIsReportedAndTheScreenLives) {
    std::string empty = demo_->Path() + ".empty.db";
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(empty.c_str(), &raw), SQLITE_OK);
        sqlite3_exec(raw, "CREATE TABLE Unrelated (x INTEGER)", nullptr, nullptr, nullptr);
        sqlite3_close(raw);
    }
    Configuration config = DemoConfig(empty, 9);
    SourceDatabase db;
    db.OpenConnection(config);
    frmT_Sales sales(ScreenContext{config, db});
    RecordingObserver observer;
    sales.SetObserver(&observer);
    sales.Load();
    sales.cmdGetData_Click();
    EXPECT_TRUE(sales.GetDataFailed());
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_EQ(observer.messages[0].icon, ScreenMessage::Icon::Critical);
    EXPECT_NE(observer.messages[0].text.find("no such table"), std::string::npos);
    EXPECT_NE(sales.txtLog.find("no such table"), std::string::npos);
    sales.cmdCancel_Click();
    EXPECT_EQ(sales.txtLog, "");
    std::filesystem::remove(empty);
}

}  // namespace
}  // namespace zentrail
