// Sales returns: small hand-made returns through the screen with a scripted source and Tally,
// then the demo database's returns into the Tally simulator.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <pugixml.hpp>
#include <set>
#include <sstream>

#include "screens/item_screen.h"
#include "screens/queries/sales_return_queries.h"
#include "screens/sales_return_screen.h"
#include "screens/screen_test_support.h"
#include "support/demo_database.h"
#include "support/tally_sim_process.h"
#include "support/tally_xml_check.h"
#include "tally/http_client.h"
#include "tally/number_text.h"

namespace zentrail {
namespace {

using testing::RecordingObserver;
using testing::ScriptedConnection;
using testing::ScriptedOpener;

constexpr const char* kCompany = "Zentrail Demo";
const CalendarDate kFrom{2024, 4, 1};
const CalendarDate kTo{2024, 4, 30};

const std::vector<std::string> kListFields = {
    "ReturnID",       "ReturnCode",   "SalInvNo",     "ReturnDate",    "RtrName",     "RtnNetAmt",
    "RtnGrossAmt",    "RtrId",        "RtnSplDisAmt", "RtnSchDisAmt",  "RtnDBDisAmt", "RtnTaxAmt",
    "RtnRoundOffAmt", "Status",       "InvoiceType",  "RtrAdd1",       "RtrAdd2",     "RtrAdd3",
    "CGST_TAXABLE",   "SGST_TAXABLE", "IGST_TAXABLE", "UTGST_TAXABLE", "CGST_AMT",    "SGST_AMT",
    "IGST_AMT",       "UTGST_AMT",    "GSTN",         "STat_Name",     "COMPOS",      "SalInvDate"};

const std::vector<std::string> kLineFields = {
    "ReturnID",  "ReturnCode",    "PrdId",        "PrdCCode",     "PrdName",
    "BaseQty",   "PrdUnitSelRte", "PrdSchDisAmt", "PrdSplDisAmt", "PrdCDDisAmt",
    "PrdTaxAmt", "PrdNetAmt",     "PrdUnitMRP",   "PrdGrossAmt",  "UomDescription",
    "HSNCODE",   "CGST_TAXABLE",  "SGST_TAXABLE", "IGST_TAXABLE", "UTGST_TAXABLE",
    "CGST_AMT",  "SGST_AMT",      "IGST_AMT",     "UTGST_AMT",    "TAXPERC"};

const std::vector<std::string> kPartyFields = {
    "RtrCode",    "RtrName",    "RtrId",        "RtrAdd1",           "RtrAdd2",    "RtrAdd3",
    "RtrPinNo",   "RtrPhoneNo", "RtrEmailId",   "RtrContactPerson",  "RtrRegDate", "RtrTINNo",
    "RtrCrLimit", "RtrCrDays",  "RtrDrugLicNo", "RtrDrugExpiryDate", "GSTN",       "REG_UNREG",
    "PAN_NUM",    "STat_Name",  "COMPOS"};

// One return as the list query gives it; only the fields the export reads are set.
struct ReturnRow {
    std::string id, code, invoice, date, party, net, partyId, gstin, state, invoiceDate;
};

// One line as the line query gives it.
struct LineRow {
    std::string returnId, prdId, code, qty, rate, scheme, special, cash, gross;
    std::string cgst, sgst, igst, utgst, taxPerc;
};

RowSet ListRows(const std::vector<ReturnRow>& returns) {
    RowSet rows(kListFields);
    for (const ReturnRow& r : returns) {
        std::map<std::string, std::string> cells = {{"ReturnID", r.id},
                                                    {"ReturnCode", r.code},
                                                    {"SalInvNo", r.invoice},
                                                    {"ReturnDate", r.date},
                                                    {"RtrName", r.party},
                                                    {"RtnNetAmt", r.net},
                                                    {"RtrId", r.partyId},
                                                    {"RtrAdd1", "12 Car Street"},
                                                    {"RtrAdd2", "Near Bus Stand"},
                                                    {"RtrAdd3", "Chennai"},
                                                    {"GSTN", r.gstin},
                                                    {"STat_Name", r.state},
                                                    {"COMPOS", "N"},
                                                    {"SalInvDate", r.invoiceDate}};
        for (const std::string& field : kListFields) {
            auto found = cells.find(field);
            if (found == cells.end())
                rows.Append("0");
            else
                rows.Append(found->second);
        }
    }
    return rows;
}

RowSet LineRows(const std::vector<LineRow>& lines) {
    RowSet rows(kLineFields);
    for (const LineRow& l : lines) {
        std::map<std::string, std::string> cells = {
            {"ReturnID", l.returnId},    {"PrdId", l.prdId},        {"PrdCCode", l.code},
            {"BaseQty", l.qty},          {"PrdUnitSelRte", l.rate}, {"PrdSchDisAmt", l.scheme},
            {"PrdSplDisAmt", l.special}, {"PrdCDDisAmt", l.cash},   {"PrdGrossAmt", l.gross},
            {"CGST_AMT", l.cgst},        {"SGST_AMT", l.sgst},      {"IGST_AMT", l.igst},
            {"UTGST_AMT", l.utgst},      {"TAXPERC", l.taxPerc}};
        for (const std::string& field : kLineFields) {
            auto found = cells.find(field);
            if (found == cells.end())
                rows.Append(field == "PrdName" ? "Goods" : "0");
            else
                rows.Append(found->second);
        }
    }
    return rows;
}

RowSet PartyRows() {
    RowSet rows(kPartyFields);
    for (const std::string& field : kPartyFields) {
        if (field == "RtrName")
            rows.Append("Shah & Sons");
        else if (field == "RtrId")
            rows.Append("42");
        else if (field == "STat_Name")
            rows.Append("Pondicherry");
        else if (field == "COMPOS")
            rows.Append(" y ");
        else if (field == "GSTN")
            rows.Append("34AABCS1234D1Z5");
        else
            rows.AppendNull();
    }
    return rows;
}

// The worked return: 10 at 52 less a scheme discount of 20, CGST 9 % and SGST 9 % of 500.
ReturnRow WorkedReturn(bool withInvoice) {
    return {
        "1",   "SRN-1", withInvoice ? "INV-7" : "", "20240410",   "Shah & Sons",
        "590", "42",    "33AABCS1234D1Z5",          "Tamil Nadu", withInvoice ? "20240405" : ""};
}
LineRow WorkedLine() {
    return {"1", "7", "BIS75", "10", "52", "20", "0", "0", "520", "45", "45", "0", "0", "9"};
}

class SalesReturnScreenTest : public ::testing::Test {
protected:
    SalesReturnScreenTest()
        : db_(ScriptedOpener([this](const std::string& sql) { return Answer(sql); })) {
        config_.strCompany = kCompany;
        config_.blnLedgerId = true;
        db_.OpenConnection(config_);
    }

    RowSet Answer(const std::string& sql) {
        std::string from = kFrom.QueryText(), to = kTo.QueryText();
        if (sql == SalesReturnColumnQuery(from, to) || sql == SalesReturnListQuery(from, to))
            return ListRows(returns_);
        if (testing::WholeQuery(sql) == SalesReturnLineQuery(from, to)) return LineRows(lines_);
        if (sql == SalesReturnPartyQuery(from, to)) return PartyRows();
        ADD_FAILURE() << "unexpected query " << sql;
        return RowSet{};
    }

    // Runs Get Data and Export; the requests Tally received are in tally_.bodies.
    void Run() {
        screen_.SetObserver(&observer_);
        screen_.Load();
        screen_.SetDates(kFrom, kTo);
        screen_.GetData();
        ASSERT_FALSE(screen_.GetDataFailed()) << screen_.LogText();
        screen_.Export();
    }

    // The voucher requests, after the masters and the party ledger.
    std::vector<std::string> Vouchers() const {
        std::vector<std::string> vouchers;
        for (const std::string& body : tally_.bodies)
            if (body.find("<VOUCHER ") != std::string::npos &&
                body.find("<VOUCHERTYPE ") == std::string::npos)
                vouchers.push_back(body);
        return vouchers;
    }

    Configuration config_;
    std::vector<ReturnRow> returns_;
    std::vector<LineRow> lines_;
    SourceDatabase db_;
    testing::ScriptedTransport tally_{[](const std::string&) {
        return testing::TallyReplies("<RESPONSE><CREATED>1</CREATED></RESPONSE>");
    }};
    SalesReturnScreen screen_{ScreenContext{config_, db_, tally_}};
    RecordingObserver observer_;
};

std::string ReadFile(const std::string& name) {
    std::ifstream file(std::string(ZENTRAIL_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(file) << name << " missing";
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The amounts of the voucher's entries by ledger or stock item, as Tally signs them.
std::map<std::string, double> EntryAmounts(const std::string& request) {
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_string(request.c_str())) << request;
    std::map<std::string, double> amounts;
    pugi::xml_node voucher = doc.select_node("//VOUCHER").node();
    for (pugi::xml_node entry : voucher.children()) {
        std::string name = entry.child_value("LEDGERNAME");
        if (name.empty()) name = entry.child_value("STOCKITEMNAME");
        if (name.empty()) continue;
        amounts[name] += testing::TallyAmount(entry.child_value("AMOUNT"));
    }
    EXPECT_NEAR(testing::VoucherAmountSum(voucher), 0, 0.005) << request;
    return amounts;
}

TEST_F(SalesReturnScreenTest, ReturnAgainstAnInvoiceIsExactlyTheExpectedRequest) {
    returns_ = {WorkedReturn(true)};
    lines_ = {WorkedLine()};
    Run();
    std::vector<std::string> vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 1u);
    EXPECT_EQ(vouchers[0], ReadFile("sales_return_voucher.xml"));
    EXPECT_TRUE(screen_.LastRun().Clean()) << screen_.LogText();
    EXPECT_EQ(screen_.CurrentProgress().handled, 1);
    ASSERT_EQ(observer_.messages.size(), 1u);
    EXPECT_EQ(observer_.messages[0].text.substr(0, 23), "Credit Note Transferrd\n");
}

TEST_F(SalesReturnScreenTest, FixedMastersRequestIsExactlyTheExpectedText) {
    returns_ = {WorkedReturn(true)};
    lines_ = {WorkedLine()};
    Run();
    ASSERT_FALSE(tally_.bodies.empty());
    EXPECT_EQ(tally_.bodies[0], ReadFile("sales_return_fixed_masters.xml"));
}

TEST_F(SalesReturnScreenTest, MastersAndPartyLedgerComeFirst) {
    returns_ = {WorkedReturn(true)};
    lines_ = {WorkedLine()};
    Run();
    ASSERT_EQ(tally_.bodies.size(), 3u);
    const std::string& masters = tally_.bodies[0];
    // Three discount ledgers only, and the predefined voucher type Credit Note.
    EXPECT_NE(masters.find("<LEDGER NAME=\"Cash Discount\""), std::string::npos);
    EXPECT_EQ(masters.find("DB Discount"), std::string::npos);
    EXPECT_EQ(masters.find("Window Display"), std::string::npos);
    EXPECT_NE(masters.find("<VOUCHERTYPE NAME=\"Credit Note\""), std::string::npos);
    EXPECT_NE(masters.find("<PARENT>Credit Note</PARENT>"), std::string::npos);
    for (const char* ledger : {"GST Sales 0%", "CGST 2.5%", "UTGST 14%", "IGST 28%", "Round Off"})
        EXPECT_NE(masters.find(std::string("NAME=\"") + ledger + "\""), std::string::npos)
            << ledger;
    const std::string& party = tally_.bodies[1];
    EXPECT_NE(party.find("<LEDGER NAME=\"Shah &amp; Sons_42\""), std::string::npos) << party;
    EXPECT_NE(party.find("Puducherry"), std::string::npos);
    EXPECT_EQ(party.find("Pondicherry"), std::string::npos);
    // " y " starts with Y once trimmed: a composition dealer for returns.
    EXPECT_NE(party.find("<GSTREGISTRATIONTYPE>Composition</GSTREGISTRATIONTYPE>"),
              std::string::npos)
        << party;
}

// The worked line on a return without an invoice: its 90 of tax goes into the gross (610),
// the rate becomes 61, no tax ledger is written and the nature is "Sales Nil Rated".
TEST_F(SalesReturnScreenTest, ReturnWithoutAnInvoiceCreditsTheTaxInclusivePrice) {
    returns_ = {WorkedReturn(false)};
    lines_ = {WorkedLine()};
    Run();
    std::vector<std::string> vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 1u);
    const std::string& v = vouchers[0];
    std::map<std::string, double> amounts = EntryAmounts(v);
    const std::map<std::string, double> expected = {
        {"Shah & Sons_42", 590}, {"BIS75_7", -610}, {"Scheme Discount", 20}};
    EXPECT_EQ(amounts, expected);
    EXPECT_NE(v.find("<RATE>61/PC</RATE>"), std::string::npos);
    EXPECT_NE(v.find("<GSTOVRDNNATURE>Sales Nil Rated</GSTOVRDNNATURE>"), std::string::npos);
    EXPECT_NE(v.find("<GSTOVRDNASSESSABLEVALUE>-590</GSTOVRDNASSESSABLEVALUE>"), std::string::npos);
    EXPECT_NE(v.find("<LEDGERNAME>GST Sales 18%</LEDGERNAME>"), std::string::npos);
    EXPECT_EQ(v.find("GST 9%"), std::string::npos);
    // Reference and its date are the return's own.
    EXPECT_NE(v.find("<REFERENCE>SRN-1</REFERENCE>"), std::string::npos);
    EXPECT_NE(v.find("<REFERENCEDATE>20240410</REFERENCEDATE>"), std::string::npos);
    EXPECT_NE(v.find("-Shah &amp; Sons_42-SRN-1-SRN-1\""), std::string::npos);
    EXPECT_TRUE(screen_.LastRun().Clean()) << screen_.LogText();
}

// Bands by the line's percentage, two lines of one band in one entry per tax ledger.
TEST_F(SalesReturnScreenTest, LinesGoToTheLedgersOfTheirBand) {
    returns_ = {{"3", "SRN-3", "INV-9", "20240412", "Shah & Sons", "1316.5", "42", "", "Kerala",
                 "20240402"}};
    lines_ = {
        // 14.5 is in the 28 % band: 200 taxed 29 as IGST.
        {"3", "1", "A", "2", "100", "0", "0", "0", "200", "0", "0", "29", "0", "14.5"},
        // two 5 % lines as IGST: 2.5 + 5.
        {"3", "2", "B", "1", "50", "0", "0", "0", "50", "0", "0", "2.5", "0", "5"},
        {"3", "3", "C", "1", "100", "0", "0", "0", "100", "0", "0", "5", "0", "5"},
        // 3 % is no band: "GST Sales 0%", its tax in no ledger entry.
        {"3", "4", "D", "3", "310", "0", "0", "0", "930", "0", "0", "0", "0", "3"},
    };
    Run();
    std::vector<std::string> vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 1u);
    const std::string& v = vouchers[0];
    std::map<std::string, double> amounts = EntryAmounts(v);
    EXPECT_DOUBLE_EQ(amounts["IGST 28%"], -29);
    EXPECT_DOUBLE_EQ(amounts["IGST 5%"], -7.5);
    EXPECT_EQ(amounts.count("IGST 18%"), 0u);
    // 200 + 50 + 100 + 930 + 29 + 7.5
    EXPECT_DOUBLE_EQ(amounts["Shah & Sons_42"], 1316.5);
    EXPECT_NE(v.find("<LEDGERNAME>GST Sales 28%</LEDGERNAME>\r\n<GSTOVRDNNATURE>Interstate Sales "
                     "Taxable</GSTOVRDNNATURE>"),
              std::string::npos);
    EXPECT_NE(v.find("<LEDGERNAME>GST Sales 0%</LEDGERNAME>\r\n<GSTOVRDNNATURE>Sales Nil "
                     "Rated</GSTOVRDNNATURE>"),
              std::string::npos);
    // No PARTYGSTIN for an empty GSTIN.
    EXPECT_EQ(v.find("<PARTYGSTIN>"), std::string::npos);
    EXPECT_TRUE(screen_.LastRun().Clean()) << screen_.LogText();
}

TEST_F(SalesReturnScreenTest, QuantityZeroWithoutAnInvoiceIsWrittenAtRateZeroAndLogged) {
    returns_ = {{"4", "SRN-4", "", "20240415", "Shah & Sons", "118", "42", "", "Tamil Nadu", ""}};
    lines_ = {{"4", "5", "SOAP", "0", "0", "0", "0", "0", "100", "9", "9", "0", "0", "9"}};
    Run();
    std::vector<std::string> vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 1u);
    std::map<std::string, double> amounts = EntryAmounts(vouchers[0]);
    EXPECT_DOUBLE_EQ(amounts["SOAP_5"], -118);
    EXPECT_DOUBLE_EQ(amounts["Shah & Sons_42"], 118);
    EXPECT_NE(vouchers[0].find("<RATE>0/PC</RATE>"), std::string::npos);
    EXPECT_NE(
        screen_.LogText().find("\r\nQuantity 0: rate written as 0 for SOAP_5 on return SRN-4"),
        std::string::npos)
        << screen_.LogText();
    EXPECT_EQ(screen_.LastRun().documents.accepted, 1);
}

TEST_F(SalesReturnScreenTest, ReturnsOfNoNetAreSkippedAndCountedAsSuch) {
    returns_ = {{"5", "SRN-5", "INV-1", "20240410", "Shah & Sons", "0", "42", "", "Goa", ""},
                {"6", "SRN-6", "INV-1", "20240410", "Shah & Sons", "-12", "42", "", "Goa", ""},
                WorkedReturn(true)};
    lines_ = {WorkedLine()};
    Run();
    EXPECT_EQ(Vouchers().size(), 1u);
    const RunCounts& run = screen_.LastRun();
    EXPECT_EQ(run.documents.skipped, 2);
    EXPECT_EQ(run.documents.accepted, 1);
    EXPECT_EQ(screen_.CurrentProgress().handled, 3)
        << "the count shows the row of the last return sent";
}

TEST_F(SalesReturnScreenTest, ALineThatIsNotANumberKeepsItsReturnBackAndSaysWhy) {
    ReturnRow second = WorkedReturn(true);
    second.id = "2";
    second.code = "SRN-2";
    returns_ = {WorkedReturn(true), second};
    LineRow bad = WorkedLine();
    bad.qty = "ten";
    lines_ = {bad, WorkedLine()};
    lines_[1].returnId = "2";
    Run();
    EXPECT_EQ(Vouchers().size(), 1u);
    EXPECT_EQ(screen_.LastRun().documents.notSent, 1);
    EXPECT_EQ(screen_.LastRun().documents.accepted, 1);
    EXPECT_NE(screen_.LogText().find("\r\nNot sent: field BaseQty holds 'ten', not a number SRN-1"),
              std::string::npos)
        << screen_.LogText();
}

// A return whose net the lines do not make (a line missing from the line query) is sent and
// reported as a difference.
TEST_F(SalesReturnScreenTest, ANetTheLinesDoNotMakeIsReported) {
    ReturnRow row = WorkedReturn(true);
    row.net = "700";
    returns_ = {row};
    lines_ = {WorkedLine()};
    Run();
    EXPECT_EQ(screen_.LastRun().documents.differences, 1);
    EXPECT_NE(screen_.LogText().find("Difference from the source: voucher amount 590, document "
                                     "total 700 SRN-1"),
              std::string::npos)
        << screen_.LogText();
}

// ---- The demo database into the Tally simulator.

Configuration DemoConfig(const std::string& dbPath, int port) {
    Configuration config;
    config.strTallyServer = "127.0.0.1";
    config.strTallyPort = std::to_string(port);
    config.strCompany = kCompany;
    config.strSqlOdbc = dbPath;
    config.blnLedgerId = true;
    return config;
}

void RunScreen(TransferScreen& screen, RecordingObserver& observer,
               std::optional<std::pair<CalendarDate, CalendarDate>> range = std::nullopt) {
    screen.SetObserver(&observer);
    screen.Load();
    if (range) screen.SetDates(range->first, range->second);
    screen.GetData();
    ASSERT_FALSE(screen.GetDataFailed()) << screen.LogText();
    screen.Export();
}

TEST(SalesReturnEndToEnd, DemoReturnsReachTallyWhole) {
    testing::GeneratedDemo demo(300, 1, "returns-e2e");
    testing::TallySimProcess sim({"--company", kCompany});
    Configuration config = DemoConfig(demo.Path(), sim.Port());
    SourceDatabase db;
    db.OpenConnection(config);
    HttpClient tally;
    std::filesystem::path reports = std::filesystem::path(::testing::TempDir()) /
                                    ("returns-reports-" + std::to_string(::getpid()));
    ScreenContext context{config, db, tally, reports};

    ItemScreen items(context);
    RecordingObserver itemObserver;
    RunScreen(items, itemObserver);
    ASSERT_TRUE(items.LastRun().Clean()) << items.LogText();

    SalesReturnScreen returns(context);
    RecordingObserver observer;
    RunScreen(returns, observer,
              std::make_pair(CalendarDate{2024, 4, 1}, CalendarDate{2024, 5, 31}));
    const TransferGrid& grid = returns.ssdbgItem;
    ASSERT_GT(grid.RowCount(), 100u);
    ASSERT_EQ(grid.ColumnCount(), 30u);

    // Every listed return of the range, and only those: status 0, with tax rows and a retailer
    // with GSTIN, state and composition values.
    auto listed = testing::RawQuery(
        demo.Path(),
        "SELECT COUNT(*) FROM ReturnHeader A WHERE A.Status = 0 AND A.ReturnDate >= '2024-04-01' "
        "AND A.ReturnDate < '2024-06-01' AND EXISTS (SELECT 1 FROM ReturnProductTax T WHERE "
        "T.ReturnID = A.ReturnID) AND (SELECT COUNT(*) FROM UdcDetails U WHERE U.MasterId = 2 AND "
        "U.MasterRecordId = A.RtrId AND U.UdcMasterId IN (81, 77, 78)) = 3");
    EXPECT_EQ(std::to_string(grid.RowCount()), *listed[0][0]);

    const RunCounts& run = returns.LastRun();
    EXPECT_TRUE(run.Clean()) << returns.LogText();
    EXPECT_EQ(run.documents.accepted, static_cast<long>(grid.RowCount()));
    EXPECT_EQ(run.documents.Total(), static_cast<long>(grid.RowCount()));
    EXPECT_TRUE(run.masters.AllGood()) << returns.LogText();
    EXPECT_EQ(returns.LogText(), "\r\nRun report: " + run.reportPath);
    EXPECT_EQ(returns.CurrentProgress().handled, static_cast<long>(grid.RowCount()));
    EXPECT_EQ(returns.CurrentProgress().caption, "Data Transferred To Tally");
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_EQ(observer.messages[0].text.substr(0, 23), "Credit Note Transferrd\n");
    {
        std::ifstream report(run.reportPath);
        size_t documents = 0;
        for (std::string line; std::getline(report, line);)
            documents += line.rfind("document,", 0) == 0;
        EXPECT_EQ(documents, grid.RowCount());
    }

    nlohmann::json books = sim.Books();
    std::map<std::string, const nlohmann::json*> byNumber;
    for (const auto& voucher : books["vouchers"])
        if (voucher["type"] == "Credit Note") byNumber[voucher["number"]] = &voucher;
    EXPECT_EQ(byNumber.size(), grid.RowCount());
    size_t withoutInvoice = 0;
    std::set<std::string> salesLedgers;
    for (size_t row = 0; row < grid.RowCount(); ++row) {
        std::string number = grid.Cell(row, "ReturnCode");
        auto found = byNumber.find(number);
        ASSERT_NE(found, byNumber.end()) << number;
        const nlohmann::json& voucher = *found->second;
        EXPECT_EQ(voucher["date"], grid.Cell(row, "ReturnDate"));
        EXPECT_EQ(voucher["party"], grid.Cell(row, "RtrName") + "_" + grid.Cell(row, "RtrId"));
        bool invoice = !grid.Cell(row, "SalInvNo").empty();
        withoutInvoice += !invoice;
        double sum = 0, party = 0;
        std::map<std::string, double> taxByCode;
        for (const auto& entry : voucher["entries"]) {
            double amount = entry["amount"].get<double>();
            sum += amount;
            if (entry.contains("stockItem")) {
                for (const auto& allocation : entry["allocations"])
                    salesLedgers.insert(allocation["ledger"].get<std::string>());
                continue;
            }
            std::string ledger = entry["ledger"];
            if (ledger == voucher["party"]) party += amount;
            for (const char* code : {"CGST", "SGST", "IGST", "UTGST"})
                if (ledger.rfind(std::string(code) + " ", 0) == 0) taxByCode[code] -= amount;
        }
        EXPECT_NEAR(sum, 0, 0.005) << number;
        // The party is credited the return's exact net.
        EXPECT_NEAR(party, ReadNumber(grid.Cell(row, "RtnNetAmt")), 0.005) << number;
        // Against an invoice the tax ledgers take the return's own taxes; without one none.
        for (const char* code : {"CGST", "SGST", "IGST", "UTGST"})
            EXPECT_NEAR(taxByCode[code],
                        invoice ? ReadNumber(grid.Cell(row, std::string(code) + "_AMT")) : 0, 0.005)
                << number << " " << code;
    }
    EXPECT_GT(withoutInvoice, 5u) << "the demo holds returns without an invoice";
    for (const char* ledger : {"GST Sales 5%", "GST Sales 12%", "GST Sales 18%", "GST Sales 28%"})
        EXPECT_TRUE(salesLedgers.count(ledger)) << ledger;
    EXPECT_NEAR(books["trialBalance"]["totalDebit"].get<double>(),
                books["trialBalance"]["totalCredit"].get<double>(), 0.005);
}

}  // namespace
}  // namespace zentrail
