// Item and sales transfers from a generated demo database into the Tally simulator, driven
// through the screen models as an operator would.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "screens/item_screen.h"
#include "screens/sales_screen.h"
#include "screens/screen_test_support.h"
#include "support/demo_database.h"
#include "support/tally_sim_process.h"
#include "tally/http_client.h"
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
    screen.GetData();
    ASSERT_FALSE(screen.GetDataFailed()) << screen.LogText();
    screen.Export();
}

const std::pair<CalendarDate, CalendarDate> kDemoRange{{2024, 4, 1}, {2024, 5, 31}};

// Listed invoices holding a line that the line query leaves out: the demo's product without an
// HSN code. Their vouchers are sent short of that line, and the run must say so.
std::set<std::string> InvoicesShortOfALine(const std::string& db, const TransferGrid& grid) {
    std::set<std::string> holding;
    for (const auto& row : RawQuery(db,
                                    "SELECT DISTINCT A.SalInvNo FROM SalesInvoice A JOIN "
                                    "SalesInvoiceProduct B ON A.SalId = B.SalId JOIN Product P ON "
                                    "B.PrdId = P.PrdId WHERE P.PrdName = 'Counter Display Rack'"))
        holding.insert(*row[0]);
    std::set<std::string> listed;
    for (size_t row = 0; row < grid.RowCount(); ++row)
        if (holding.count(grid.Cell(row, "SalInvNo")) &&
            ReadNumber(grid.Cell(row, "SalNetAmt")) > 0)
            listed.insert(grid.Cell(row, "SalInvNo"));
    return listed;
}

// The sales run sent everything; only the invoices short of a line differ from the source, and
// the log names each of them and the report, nothing else.
void ExpectOnlyTheShortInvoicesDiffer(const SalesScreen& sales, const std::string& db) {
    std::set<std::string> shortOfALine = InvoicesShortOfALine(db, sales.ssdbgItem);
    ASSERT_FALSE(shortOfALine.empty()) << "the demo holds such invoices";
    const RunCounts& run = sales.LastRun();
    EXPECT_EQ(run.documents.differences, static_cast<long>(shortOfALine.size()));
    EXPECT_EQ(run.documents.tallyErrors + run.documents.notSent + run.documents.stopped, 0);
    EXPECT_TRUE(run.masters.AllGood());
    EXPECT_FALSE(run.Clean());
    std::string log = sales.LogText();
    for (const std::string& number : shortOfALine) {
        size_t at = log.find(" " + number);
        ASSERT_NE(at, std::string::npos) << number;
        size_t start = log.rfind("\r\nDifference from the source: ", at);
        ASSERT_NE(start, std::string::npos) << number;
        log.erase(start, at + 1 + number.size() - start);
    }
    EXPECT_EQ(log, run.reportPath.empty() ? "" : "\r\nRun report: " + run.reportPath);
}

std::vector<const nlohmann::json*> MastersOfKind(const nlohmann::json& books,
                                                 const std::string& kind) {
    std::vector<const nlohmann::json*> found;
    for (const auto& master : books["masters"])
        if (master["kind"] == kind && !master.value("predefined", false)) found.push_back(&master);
    return found;
}

// The item master, then the sales of the demo range, into the Tally at the settings' address.
struct ItemsThenSales {
    explicit ItemsThenSales(Configuration settings) : config(std::move(settings)) {
        db.OpenConnection(config);
        RunScreen(items, itemObserver);
        RunScreen(sales, observer, kDemoRange);
    }
    Configuration config;
    SourceDatabase db;
    HttpClient tally;
    ScreenContext context{config, db, tally};
    ItemScreen items{context};
    SalesScreen sales{context};
    RecordingObserver itemObserver, observer;
};

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
    HttpClient tally;
    std::filesystem::path reports =
        std::filesystem::path(::testing::TempDir()) / ("e2e-reports-" + std::to_string(::getpid()));
    ScreenContext context{config, db, tally, reports};

    ItemScreen items(context);
    RecordingObserver itemObserver;
    RunScreen(items, itemObserver);
    ASSERT_GT(items.ssdbgItem.RowCount(), 10u);
    // Only the demo's product without an HSN code is told, before the report.
    EXPECT_EQ(items.LogText(),
              "\r\nProduct 'Counter Display Rack' (code DSP001) has no HSN code: it is not sent "
              "as a stock item\r\nRun report: " +
                  items.LastRun().reportPath);
    EXPECT_TRUE(items.LastRun().Clean());
    EXPECT_EQ(items.LastRun().documents.Total(), static_cast<long>(items.ssdbgItem.RowCount()));
    ASSERT_EQ(itemObserver.messages.size(), 1u);
    EXPECT_EQ(itemObserver.messages[0].text.substr(0, 16), "Item Transferrd\n");
    EXPECT_EQ(items.CurrentProgress().handled, static_cast<long>(items.ssdbgItem.RowCount()));

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
        // Central rates of the tax percentages; any other percentage is its own rate.
        const std::map<double, double> kCentralRate = {
            {28, 14}, {29, 14}, {18, 9}, {14, 14}, {14.5, 14}, {12, 6}, {9, 9}, {6, 6}, {5, 2.5}};
        for (size_t i = 0; i < taxed.size(); ++i) {
            double percent = ReadNumber(*taxed[i][0]);
            auto rate = kCentralRate.find(percent);
            double half = rate == kCentralRate.end() ? percent : rate->second;
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

    SalesScreen sales(context);
    RecordingObserver salesObserver;
    RunScreen(sales, salesObserver, kDemoRange);
    const TransferGrid& grid = sales.ssdbgItem;
    ASSERT_GT(grid.RowCount(), 100u);
    const RunCounts& run = sales.LastRun();
    ExpectOnlyTheShortInvoicesDiffer(sales, demo_->Path());
    EXPECT_EQ(run.documents.Total(), static_cast<long>(grid.RowCount()));
    ASSERT_EQ(salesObserver.messages.size(), 1u);
    EXPECT_EQ(salesObserver.messages[0].icon, ScreenMessage::Icon::Information);
    EXPECT_EQ(salesObserver.messages[0].title, "Zentrail");
    EXPECT_EQ(salesObserver.messages[0].text.substr(0, 17), "Sales Transferrd\n");
    EXPECT_NE(salesObserver.messages[0].text.find(
                  "\nAccepted: " + std::to_string(run.documents.accepted) + "\n"),
              std::string::npos);
    EXPECT_EQ(sales.CurrentProgress().handled, static_cast<long>(grid.RowCount()));
    {
        // The report holds every listed invoice once.
        std::ifstream report(run.reportPath);
        size_t documents = 0;
        for (std::string line; std::getline(report, line);)
            documents += line.rfind("document,", 0) == 0;
        EXPECT_EQ(documents, grid.RowCount());
    }
    // The short invoices went with differences.
    EXPECT_EQ(sales.CurrentProgress().caption, "Transfer ended with errors");

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
    std::set<std::string> shortOfALine = InvoicesShortOfALine(demo_->Path(), grid);
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
        // The party carries the source's net; each tax the source's own sum for the invoice
        // (not for an invoice short of a line, whose difference the run reports).
        bool whole = !shortOfALine.count(number);
        std::map<std::string, double> taxByCode;
        for (const auto& entry : voucher["entries"]) {
            sum += entry["amount"].get<double>();
            if (!entry.contains("ledger") || !whole) continue;
            std::string ledger = entry["ledger"];
            if (ledger == voucher["party"]) {
                EXPECT_NEAR(-entry["amount"].get<double>(), ReadNumber(grid.Cell(row, "SalNetAmt")),
                            0.5)
                    << number;
            }
            for (const char* code : {"CGST", "SGST", "IGST", "UTGST"})
                if (ledger.rfind(std::string(code) + " ", 0) == 0)
                    taxByCode[code] += entry["amount"].get<double>();
        }
        for (const char* code : {"CGST", "SGST", "IGST", "UTGST"})
            if (whole) {
                EXPECT_NEAR(taxByCode[code], ReadNumber(grid.Cell(row, std::string(code) + "_AMT")),
                            0.005)
                    << number << " " << code;
            }
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
                          SalesScreen::FixedMastersPayload(master) + master.strBottom();
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
    ItemsThenSales run(DemoConfig(padded, sim.Port()));
    ExpectOnlyTheShortInvoicesDiffer(run.sales, padded);
    std::filesystem::remove(padded);
}

// Names in Tamil and Devanagari script and with the rupee sign reach Tally alike whether the
// requests go in UTF-8 or in UTF-16.
TEST_F(TransferEndToEnd, RequestsInUtf16MakeTheSameBooksAsInUtf8) {
    std::map<std::string, nlohmann::json> books;
    for (const std::string encoding : {"UTF-8", "UTF-16"}) {
        TallySimProcess sim({"--company", kCompany});
        Configuration config = DemoConfig(demo_->Path(), sim.Port());
        config.strEncoding = encoding;
        ItemsThenSales run(config);
        EXPECT_TRUE(run.items.LastRun().Clean()) << encoding << run.items.LogText();
        EXPECT_EQ(run.sales.LastRun().documents.tallyErrors, 0) << encoding << run.sales.LogText();
        EXPECT_GT(run.sales.LastRun().documents.accepted, 100) << encoding;
        books[encoding] = sim.Books();
    }
    EXPECT_TRUE(books["UTF-8"] == books["UTF-16"]);
    std::set<std::string> ledgers;
    for (const auto& ledger : MastersOfKind(books["UTF-16"], "Ledger"))
        ledgers.insert((*ledger)["name"].get<std::string>());
    for (const char* name :
         {"\u0bb8\u0bcd\u0bb0\u0bc0 \u0bb2\u0b95\u0bcd\u0bb7\u0bcd\u0bae\u0bbf "
          "\u0bb8\u0bcd\u0b9f\u0bcb\u0bb0\u0bcd\u0bb8\u0bcd_4",
          "\u0935\u093f\u091c\u092f \u091f\u094d\u0930\u0947\u0921\u0930\u094d\u0938_7",
          "Hyderabad \u20b999 Fresh Mart_12"})
        EXPECT_EQ(ledgers.count(name), 1u) << name;
}

TEST_F(TransferEndToEnd, ATallyThatIsNotRunningEndsTheRunBeforeAnyRequest) {
    int port;
    {
        TallySimProcess sim({"--company", kCompany});
        port = sim.Port();
    }
    Configuration config = DemoConfig(demo_->Path(), port);
    SourceDatabase db;
    db.OpenConnection(config);
    HttpClient tally;
    SalesScreen sales(ScreenContext{config, db, tally});
    RecordingObserver observer;
    RunScreen(sales, observer, kDemoRange);
    EXPECT_EQ(sales.CurrentProgress().handled, 0);
    const RunCounts& run = sales.LastRun();
    EXPECT_EQ(run.documents.accepted, 0);
    EXPECT_EQ(run.documents.Total(), static_cast<long>(sales.ssdbgItem.RowCount()));
    EXPECT_EQ(run.documents.notSent + run.documents.skipped, run.documents.Total());
    EXPECT_TRUE(run.stopped) << "nothing listens: the run ends before its first request";
    EXPECT_EQ(run.masters.Total(), 0);
    const std::string notRunning = "Tally is not running at 127.0.0.1:" + std::to_string(port);
    EXPECT_NE(sales.LogText().find("\r\n" + notRunning), std::string::npos) << sales.LogText();
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_NE(observer.messages[0].text.find("\nThe run was stopped.\n" + notRunning),
              std::string::npos)
        << observer.messages[0].text;
    EXPECT_NE(observer.messages[0].text.find(
                  "\nNot sent: " + std::to_string(run.documents.notSent) + "\n"),
              std::string::npos);
}

TEST_F(TransferEndToEnd, StopBetweenRequestsEndsTheRun) {
    TallySimProcess sim({"--company", kCompany});
    Configuration config = DemoConfig(demo_->Path(), sim.Port());
    SourceDatabase db;
    db.OpenConnection(config);
    HttpClient tally;
    SalesScreen sales(ScreenContext{config, db, tally});
    RecordingObserver observer;
    observer.stopAfter = 5;
    RunScreen(sales, observer, kDemoRange);
    EXPECT_TRUE(sales.LastRun().stopped);
    EXPECT_EQ(sales.LastRun().masters.Total() + sales.LastRun().documents.accepted +
                  sales.LastRun().documents.alreadyInTally,
              5);
    EXPECT_EQ(sales.LastRun().documents.Total(), static_cast<long>(sales.ssdbgItem.RowCount()));
    EXPECT_NE(sales.LogText().find("Export stopped by the operator"), std::string::npos);
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
    HttpClient tally;
    SalesScreen sales(ScreenContext{config, db, tally});
    RecordingObserver observer;
    sales.SetObserver(&observer);
    sales.Load();
    sales.GetData();
    EXPECT_TRUE(sales.GetDataFailed());
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_EQ(observer.messages[0].icon, ScreenMessage::Icon::Critical);
    EXPECT_NE(observer.messages[0].text.find("no such table"), std::string::npos);
    EXPECT_NE(sales.LogText().find("no such table"), std::string::npos);
    sales.Reset();
    EXPECT_EQ(sales.LogText(), "");
    std::filesystem::remove(empty);
}

}  // namespace
}  // namespace zentrail
