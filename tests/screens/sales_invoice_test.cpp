// The money of one sales invoice, from the source's lines to the voucher that reaches Tally,
// against figures worked by hand; and the documents the run must not send as they stand.

#include "screens/sales_invoice.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "screens/document_totals.h"
#include "screens/queries/sales_queries.h"
#include "screens/sales_screen.h"
#include "screens/screen_test_support.h"

namespace zentrail {
namespace {

using testing::RecordingObserver;
using testing::ScriptedConnection;
using testing::ScriptedOpener;
using testing::ScriptedTransport;
using testing::TallyReplies;

SalesLine Line(double gross, double scheme, double special, double cash, double db, TaxAmounts tax,
               double taxPercent, TaxAmounts taxable) {
    SalesLine line;
    line.amounts = {gross, scheme, special, cash, db, tax};
    line.taxPercent = taxPercent;
    line.taxable = taxable;
    return line;
}

// Three lines: 18 % intrastate, 5 % interstate, and 9 % (half of 18) intrastate.
std::vector<SalesLine> ThreeLines() {
    return {Line(100, 2.5, 0, 1.25, 0, {8.67, 8.67, 0, 0}, 18, {96.25, 96.25, 0, 0}),
            Line(200.5, 0, 3, 0, 0.5, {0, 0, 9.85, 0}, 5, {0, 0, 197, 0}),
            Line(50, 0, 0, 0, 0, {4.5, 4.5, 0, 0}, 9, {50, 50, 0, 0})};
}

TEST(SalesInvoice, LinesPostToTheirBandsAndTotalsAddUp) {
    DocumentTotals totals(TotalRounding::EveryAddition);
    std::vector<LinePosting> postings;
    for (const SalesLine& line : ThreeLines()) postings.push_back(PostSalesLine(line, totals));

    EXPECT_EQ(postings[0].salesLedger, "GST Sales 18%");
    EXPECT_EQ(postings[0].taxType, "Sales Taxable");
    EXPECT_EQ(postings[0].taxable, 96.25);
    EXPECT_EQ(postings[1].salesLedger, "GST Sales 5%");
    EXPECT_EQ(postings[1].taxType, "Interstate Sales Taxable");
    EXPECT_EQ(postings[1].taxable, 197);
    EXPECT_EQ(postings[2].salesLedger, "GST Sales 18%");

    const LineAmounts& sum = totals.Sum();
    EXPECT_DOUBLE_EQ(sum.gross, 350.5);
    EXPECT_DOUBLE_EQ(sum.scheme, 2.5);
    EXPECT_DOUBLE_EQ(sum.special, 3);
    EXPECT_DOUBLE_EQ(sum.cash, 1.25);
    EXPECT_DOUBLE_EQ(sum.db, 0.5);
    EXPECT_DOUBLE_EQ(sum.tax.cgst, 13.17);
    EXPECT_DOUBLE_EQ(sum.tax.igst, 9.85);

    std::map<std::string, double> ledgers;
    for (const auto& [name, amount] : totals.TaxLedgers()) ledgers[name] = amount;
    EXPECT_EQ(ledgers.size(), 16u);
    EXPECT_DOUBLE_EQ(ledgers["CGST 9%"], 13.17);
    EXPECT_DOUBLE_EQ(ledgers["SGST 9%"], 13.17);
    EXPECT_DOUBLE_EQ(ledgers["IGST 5%"], 9.85);
    EXPECT_DOUBLE_EQ(ledgers["CGST 2.5%"] + ledgers["IGST 18%"] + ledgers["CGST 14%"], 0);
    EXPECT_EQ(totals.TaxLedgers().front().first, "CGST 2.5%");
    EXPECT_EQ(totals.TaxLedgers().back().first, "UTGST 14%");
}

TEST(SalesInvoice, AnOffBandLineIsNilRatedAndItsTaxReachesNoLedger) {
    DocumentTotals totals(TotalRounding::EveryAddition);
    LinePosting posting =
        PostSalesLine(Line(100, 0, 0, 0, 0, {1.5, 1.5, 0, 0}, 3, {100, 100, 0, 0}), totals);
    EXPECT_EQ(posting.salesLedger, "GST Sales 0%");
    EXPECT_EQ(posting.taxType, "Sales Nil Rated");
    for (const auto& [name, amount] : totals.TaxLedgers()) EXPECT_EQ(amount, 0) << name;
    EXPECT_DOUBLE_EQ(totals.Net(), 103);
}

TEST(SalesInvoice, NetSettlesToAWholeAmountWithHalvesToEven) {
    // 350.50 - 2.50 - 3 - 1.25 - 0.50 - window display + 13.17 + 13.17 + 9.85
    struct Case {
        double windowDisplay, net, payable, roundOff;
    } cases[] = {{9.94, 369.5, 370, 0.5}, {10.94, 368.5, 368, -0.5}, {10, 369.44, 369, -0.44}};
    for (const Case& c : cases) {
        DocumentTotals totals(TotalRounding::EveryAddition);
        for (const SalesLine& line : ThreeLines()) PostSalesLine(line, totals);
        double net = totals.Net(c.windowDisplay);
        EXPECT_DOUBLE_EQ(net, c.net) << c.windowDisplay;
        Payable payable = SettleToWhole(net);
        EXPECT_EQ(payable.amount, c.payable) << c.windowDisplay;
        EXPECT_DOUBLE_EQ(payable.roundOff, c.roundOff) << c.windowDisplay;
    }
}

// A sales screen over a scripted source: one header row per invoice, their lines and free
// products; requests are answered as created.
class ScriptedSales : public ::testing::Test {
protected:
    using Row = std::vector<std::optional<std::string>>;

    ScriptedSales() : db_(ScriptedOpener([this](const std::string& sql) { return Answer(sql); })) {
        config_.strCompany = "Test Co";
        config_.blnLedgerId = true;
        db_.OpenConnection(config_);
        screen_.SetObserver(&observer_);
    }

    void AddInvoice(const std::string& salId, const std::string& number,
                    const std::string& netAmount, const std::string& windowDisplay = "0",
                    const std::string& party = "Shah Stores") {
        headers_.push_back({salId, number, "20240401", party, "7", "Addr 1", "", "",
                            "33ABCDE1234F1Z5", "Tamil Nadu", "4", windowDisplay, netAmount});
    }
    void AddLine(const std::string& salId, Row amounts) {
        Row row = {salId, "P", "1"};
        row.insert(row.end(), amounts.begin(), amounts.end());
        lines_.push_back(row);
    }

    RowSet Answer(const std::string& sql) {
        const std::string from = "04/01/2024", to = "04/30/2024";
        if (testing::WholeQuery(sql) == SalesInvoiceLineQuery(from, to))
            return RowSet(
                {"SALID", "PrdCCode", "PrdId", "BaseQty", "PrdUnitSelRate", "PrdGrossAmount",
                 "PrdSchDiscAmount", "PrdSplDiscAmount", "PrdCDAmount", "PrdDBDiscAmount",
                 "CGST_AMT", "SGST_AMT", "IGST_AMT", "UTGST_AMT", "CGST_TAXABLE", "SGST_TAXABLE",
                 "IGST_TAXABLE", "UTGST_TAXABLE", "TAXPERC"},
                lines_);
        if (testing::WholeQuery(sql) == SalesFreeProductQuery(from, to))
            return RowSet({"SALID", "PrdCCode", "FreePrdId", "FREEQty"}, free_);
        if (sql == SalesPartyQuery(from, to)) return RowSet({"RtrName"}, {});
        return RowSet(
            {"SalId", "SalInvNo", "SalInvDate", "RtrName", "RtrId", "RtrShipAdd1", "RtrShipAdd2",
             "RtrShipAdd3", "GSTN", "STat_Name", "DlvSts", "WindowDisplayAmount", "SalNetAmt"},
            headers_);
    }

    void Run() {
        screen_.Load();
        screen_.SetDates({2024, 4, 1}, {2024, 4, 30});
        screen_.GetData();
        ASSERT_FALSE(screen_.GetDataFailed()) << screen_.LogText();
        screen_.Export();
    }

    // The voucher request of an invoice number, parsed.
    std::map<std::string, std::string> Amounts(const std::string& number) {
        std::map<std::string, std::string> amounts;
        for (const std::string& body : tally_.bodies) {
            if (body.find("<VOUCHERNUMBER>" + number + "</VOUCHERNUMBER>") == std::string::npos)
                continue;
            pugi::xml_document doc;
            EXPECT_TRUE(doc.load_string(body.c_str()));
            for (auto hit : doc.select_nodes("//LEDGERENTRIES.LIST"))
                amounts[hit.node().child_value("LEDGERNAME")] = hit.node().child_value("AMOUNT");
            for (auto hit : doc.select_nodes("//ALLINVENTORYENTRIES.LIST"))
                amounts["item " + std::string(hit.node().child_value("STOCKITEMNAME"))] =
                    hit.node().child_value("AMOUNT");
        }
        return amounts;
    }

    Configuration config_;
    std::vector<Row> headers_, lines_, free_;
    SourceDatabase db_;
    ScriptedTransport tally_{[](const std::string&) {
        return TallyReplies("<RESPONSE><CREATED>1</CREATED></RESPONSE>");
    }};
    SalesScreen screen_{ScreenContext{config_, db_, tally_}};
    RecordingObserver observer_;
};

TEST_F(ScriptedSales, TheVoucherCarriesTheHandWorkedFigures) {
    AddInvoice("1", "INV1", "369.5", "9.94");
    // qty, rate, gross, scheme, special, cash, db, CGST, SGST, IGST, UTGST, 4 taxables, TAXPERC
    AddLine("1", {"1", "100", "100", "2.5", "0", "1.25", "0", "8.67", "8.67", "0", "0", "96.25",
                  "96.25", "0", "0", "18"});
    AddLine("1", {"2", "100.25", "200.5", "0", "3", "0", "0.5", "0", "0", "9.85", "0", "0", "0",
                  "197", "0", "5"});
    AddLine("1", {"1", "50", "50", std::nullopt, "0", "0", "0", "4.5", "4.5", "0", "0", "50", "50",
                  "0", "0", "9"});
    free_.push_back({"1", "F", "9", "2"});
    Run();
    EXPECT_TRUE(screen_.LastRun().Clean()) << screen_.LogText();
    std::map<std::string, std::string> amounts = Amounts("INV1");
    EXPECT_EQ(amounts["Shah Stores_7"], "-370");
    EXPECT_EQ(amounts["Round Off"], "0.5");
    EXPECT_EQ(amounts["Window Display"], "-9.94");
    EXPECT_EQ(amounts["Scheme Discount"], "-2.5");
    EXPECT_EQ(amounts["Special Discount"], "-3");
    EXPECT_EQ(amounts["Cash Discount"], "-1.25");
    EXPECT_EQ(amounts["DB Discount"], "-0.5");
    EXPECT_EQ(amounts["CGST 9%"], "13.17");
    EXPECT_EQ(amounts["SGST 9%"], "13.17");
    EXPECT_EQ(amounts["IGST 5%"], "9.85");
    EXPECT_EQ(amounts.count("CGST 2.5%"), 0u) << "zero entries are left out";
    EXPECT_EQ(amounts["item F_9"], "0") << "a free product carries no amount";
    EXPECT_EQ(amounts["item P_1"], "50") << "the last stock line of P_1";
}

TEST_F(ScriptedSales, DocumentsThatCannotBeSentAsTheyStandAreShown) {
    AddInvoice("1", "INV1", "118");
    AddLine("1", {"1", "100", "12abc", "0", "0", "0", "0", "9", "9", "0", "0", "100", "100", "0",
                  "0", "18"});
    AddInvoice("2", "INV2", "236");  // no lines at all
    AddInvoice("3", "INV3", "118");
    AddLine("3", {"1", "100", "100", "0", "0", "0", "0", "9", "9", "0", "0", "100", "100", "0", "0",
                  "18"});
    AddInvoice("4", "INV3", "118");  // the same number, date and party: the same voucher key
    AddLine("4", {"1", "100", "100", "0", "0", "0", "0", "9", "9", "0", "0", "100", "100", "0", "0",
                  "18"});
    AddInvoice("5", "INV5", "0");
    Run();
    const RunCounts& run = screen_.LastRun();
    EXPECT_EQ(run.documents.notSent, 2);
    EXPECT_EQ(run.documents.differences, 1);
    EXPECT_EQ(run.documents.accepted, 1);
    EXPECT_EQ(run.documents.skipped, 1);
    EXPECT_EQ(run.documents.Total(), 5);
    EXPECT_NE(
        screen_.LogText().find("\r\nNot sent: field PrdGrossAmount holds '12abc', not a number "
                               "INV1"),
        std::string::npos)
        << screen_.LogText();
    EXPECT_NE(screen_.LogText().find(
                  "\r\nDifference from the source: voucher amount 0, document total 236 INV2"),
              std::string::npos);
    EXPECT_NE(screen_.LogText().find(
                  "\r\nNot sent: same voucher key as document INV3 sent earlier in this run INV3"),
              std::string::npos);
    EXPECT_EQ(tally_.bodies.size(), 3u) << "the masters, INV2 and the first INV3";
}

}  // namespace
}  // namespace zentrail
