// The purchase screen on small hand-made receipts, with the amounts worked by hand.

#include "screens/purchase_screen.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "screens/queries/purchase_queries.h"
#include "screens/screen_test_support.h"
#include "screens/voucher_text.h"
#include "shell/configuration.h"

namespace zentrail {
namespace {

using testing::LedgerEntries;
using testing::RecordingObserver;
using testing::ScriptedConnection;
using testing::ScriptedOpener;
using testing::StockLines;

using Cell = std::optional<std::string>;

const CalendarDate kFrom{2024, 4, 1};
const CalendarDate kTo{2024, 4, 30};

struct ReceiptRow {
    std::string id, number, supplier = "Kaveri Foods & Beverages Ltd";
    std::string net, payable;
    std::string gstin = "33AABCK1234F1Z5", state = "Tamil Nadu";
    std::string invoiceDate = "20240405";
};

struct LineRow {
    std::string receiptId, prdId, code, qty, rate, gross, discount;
    Cell cgstTaxable, sgstTaxable, igstTaxable, utgstTaxable;
    Cell cgst, sgst, igst, utgst;
    std::string taxPercent;
};

RowSet HeaderRows(const std::vector<ReceiptRow>& receipts) {
    RowSet rows({"PurRcptId", "PurRcptRefNo", "GoodsRcvdDate", "SpmName",       "GrossAmount",
                 "TaxAmount", "NetAmount",    "NetPayable",    "PurOrderRefNo", "CmpInvNo",
                 "InvDate",   "SpmAdd1",      "SpmAdd2",       "SpmAdd3",       "SpmPhone",
                 "SpmFax",    "SpmEmail",     "SpmContact",    "GSTN",          "STATE_NAME"});
    for (const ReceiptRow& r : receipts)
        for (const std::string& value : {r.id,
                                         r.number,
                                         std::string("20240406"),
                                         r.supplier,
                                         r.net,
                                         std::string("0"),
                                         r.net,
                                         r.payable,
                                         std::string("PO/1"),
                                         "KFB/" + r.id,
                                         r.invoiceDate,
                                         std::string("1 Main Road"),
                                         std::string(""),
                                         std::string(""),
                                         std::string("044-1"),
                                         std::string(""),
                                         std::string("a@b.in"),
                                         std::string("Ravi"),
                                         r.gstin,
                                         r.state})
            rows.Append(value);
    return rows;
}

RowSet LineRows(const std::vector<LineRow>& lines) {
    RowSet rows({"PurRcptId",      "PurRcptRefNo",   "PrdId",        "PrdCCode",     "PrdName",
                 "InvBaseQty",     "PrdLSP",         "PrdUnitLSP",   "PrdTaxAmount", "PrdNetAmount",
                 "PrdUnitMRP",     "PrdGrossAmount", "CGST_TAXABLE", "SGST_TAXABLE", "IGST_TAXABLE",
                 "UTGST_TAXABLE",  "CGST_AMT",       "SGST_AMT",     "IGST_AMT",     "UTGST_AMT",
                 "UomDescription", "HSNCODE",        "PrdDiscount",  "TAXPERC"});
    auto put = [&rows](const Cell& cell) {
        if (cell)
            rows.Append(*cell);
        else
            rows.AppendNull();
    };
    for (const LineRow& l : lines) {
        for (const std::string& value :
             {l.receiptId, "GRN" + l.receiptId, l.prdId, l.code, std::string("Product"), l.qty,
              l.rate, l.rate, std::string("0"), std::string("0"), std::string("0"), l.gross})
            rows.Append(value);
        for (const Cell& cell : {l.cgstTaxable, l.sgstTaxable, l.igstTaxable, l.utgstTaxable,
                                 l.cgst, l.sgst, l.igst, l.utgst})
            put(cell);
        for (const std::string& value :
             {std::string("PC"), std::string("1905"), l.discount, l.taxPercent})
            rows.Append(value);
    }
    return rows;
}

RowSet ClaimRows(const std::vector<std::vector<std::string>>& claims) {
    RowSet rows({"PurRcptId", "PurRcptRefNo", "PrdId", "PrdCCode", "PrdName", "Quantity",
                 "UomDescription"});
    for (const auto& c : claims)  // receipt id, product id, code, quantity
        for (const std::string& value :
             {c[0], "GRN" + c[0], c[1], c[2], std::string("Free"), c[3], std::string("PC")})
            rows.Append(value);
    return rows;
}

RowSet SupplierRows(const std::vector<std::string>& names) {
    RowSet rows({"SpmId", "SpmName", "SpmAdd1", "SpmAdd2", "SpmAdd3", "SpmPhone", "SpmFax",
                 "SpmEmail", "SpmContact", "GSTN", "STATE_NAME"});
    int id = 0;
    for (const std::string& name : names)
        for (const std::string& value :
             {std::to_string(++id), name, std::string("1 Main Road"), std::string(""),
              std::string(""), std::string("044-1"), std::string(""), std::string(" a@b.in "),
              std::string(" Ravi "), std::string(" 33AABCK1234F1Z5 "), std::string("Pondicherry")})
            rows.Append(value);
    return rows;
}

class PurchaseScreenTest : public ::testing::Test {
protected:
    PurchaseScreenTest()
        : db_(ScriptedOpener([this](const std::string& sql) { return Answer(sql); })) {
        config_.strCompany = "Zentrail Demo";
        config_.strTallyServer = "127.0.0.1";
        config_.strTallyPort = "9000";
        db_.OpenConnection(config_);
        screen_.SetObserver(&observer_);
    }

    RowSet Answer(const std::string& sql) {
        std::string from = kFrom.QueryText(), to = kTo.QueryText();
        if (sql == PurchaseReceiptColumnQuery(from, to) ||
            sql == PurchaseReceiptHeaderQuery(from, to))
            return HeaderRows(receipts_);
        if (sql == PurchaseSupplierQuery(from, to)) return SupplierRows(suppliers_);
        if (testing::WholeQuery(sql) == PurchaseReceiptLineQuery(from, to)) return LineRows(lines_);
        if (testing::WholeQuery(sql) == PurchaseClaimSchemeQuery(from, to))
            return ClaimRows(claims_);
        ADD_FAILURE() << "unexpected query " << sql;
        return RowSet({"x"});
    }

    void Run() {
        screen_.Load();
        screen_.SetDates(kFrom, kTo);
        screen_.GetData();
        ASSERT_FALSE(screen_.GetDataFailed()) << screen_.LogText();
        screen_.Export();
    }

    // The voucher requests, in order (the masters come first).
    std::vector<std::string> Vouchers() const {
        std::vector<std::string> vouchers;
        for (const std::string& body : tally_.bodies)
            if (body.find("<VOUCHER ") != std::string::npos) vouchers.push_back(body);
        return vouchers;
    }

    std::vector<ReceiptRow> receipts_;
    std::vector<LineRow> lines_;
    std::vector<std::vector<std::string>> claims_;
    std::vector<std::string> suppliers_{"Kaveri Foods & Beverages Ltd"};
    Configuration config_;
    SourceDatabase db_;
    testing::ScriptedTransport tally_{[](const std::string&) {
        return testing::TallyReplies("<RESPONSE><CREATED>1</CREATED></RESPONSE>");
    }};
    PurchaseScreen screen_{ScreenContext{config_, db_, tally_}};
    RecordingObserver observer_;
};

// An untaxed line of a local supplier: nil rated on "GST Purchase 0%".
LineRow NilLine(const std::string& receiptId, const std::string& gross) {
    return LineRow{receiptId, "11", "AB12", "1", gross, gross, "0", gross,
                   gross,     "0",  "0",    "0", "0",   "0",   "0", "0"};
}

TEST_F(PurchaseScreenTest, ExactHalvesRoundToTheEvenRupeeEitherWay) {
    receipts_ = {{.id = "1", .number = "GRN1", .net = "100.5", .payable = "100"},
                 {.id = "2", .number = "GRN2", .net = "101.5", .payable = "102"}};
    lines_ = {NilLine("1", "100.50"), NilLine("2", "101.50")};
    Run();
    std::vector<std::string> vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 2u);
    // 100.50 pays 100: the half is credited; 101.50 pays 102: the half is debited.
    EXPECT_EQ(LedgerEntries(vouchers[0]),
              (std::vector<std::string>{"Kaveri Foods &amp; Beverages Ltd 100", "Round Off 0.5"}));
    EXPECT_EQ(LedgerEntries(vouchers[1]),
              (std::vector<std::string>{"Kaveri Foods &amp; Beverages Ltd 102", "Round Off -0.5"}));
    EXPECT_EQ(
        StockLines(vouchers[0]),
        (std::vector<std::string>{"AB12_11 -100.5 GST Purchase 0% Purchase Nil Rated -100.5"}));
    EXPECT_EQ(screen_.LastRun().documents.accepted, 2);
    EXPECT_EQ(screen_.CurrentProgress().handled, 2);
}

TEST_F(PurchaseScreenTest, TheTaxPercentageChoosesTheSlabAndTheTaxesTheNature) {
    const struct {
        const char* what;
        LineRow line;
        std::string stockLine;
        std::vector<std::string> taxEntries;
    } cases[] = {
        {"central and state tax at 9 each",
         {"1", "11", "AB12", "10", "100", "1000", "0", "1000", "1000", "0", "0", "90", "90", "0",
          "0", "9"},
         "AB12_11 -1000 GST Purchase 18% Purchase Taxable -1000",
         {"CGST 9% -90", "SGST 9% -90"}},
        {"integrated tax at 18",
         {"1", "11", "AB12", "10", "100", "1000", "0", "0", "0", "1000", "0", "0", "0", "180", "0",
          "18"},
         "AB12_11 -1000 GST Purchase 18% Interstate Purchase Taxable -1000",
         {"IGST 18% -180"}},
        {"central and union-territory tax at 2.5",
         {"1", "11", "AB12", "10", "100", "1000", "0", "1000", "0", "0", "1000", "25", "0", "0",
          "25", "2.5"},
         "AB12_11 -1000 GST Purchase 5% Purchase Taxable -1000",
         {"CGST 2.5% -25", "UTGST 2.5% -25"}},
        {"integrated tax at 12",
         {"1", "11", "AB12", "10", "100", "1000", "0", "0", "0", "1000", "0", "0", "0", "120", "0",
          "12"},
         "AB12_11 -1000 GST Purchase 12% Interstate Purchase Taxable -1000",
         {"IGST 12% -120"}},
        {"central and state tax at 14.5",
         {"1", "11", "AB12", "10", "100", "1000", "0", "1000", "1000", "0", "0", "145", "145", "0",
          "0", "14.5"},
         "AB12_11 -1000 GST Purchase 28% Purchase Taxable -1000",
         {"CGST 14% -145", "SGST 14% -145"}},
        {"nil rated from a local supplier",
         {"1", "11", "AB12", "10", "100", "1000", "0", "1000", "1000", "0", "0", "0", "0", "0", "0",
          "0"},
         "AB12_11 -1000 GST Purchase 0% Purchase Nil Rated -1000",
         {}},
        {"nil rated from another state",
         {"1", "11", "AB12", "10", "100", "1000", "0", "0", "0", "1000", "0", "0", "0", "0", "0",
          "0"},
         "AB12_11 -1000 GST Purchase 0% Interstate Purchase Nil Rated -1000",
         {}},
        // Outside every slab: its tax reaches no tax ledger and so not the payable either.
        {"central and state tax at 3",
         {"1", "11", "AB12", "10", "100", "1000", "0", "1000", "1000", "0", "0", "30", "30", "0",
          "0", "3"},
         "AB12_11 -1000 GST Purchase 0% Purchase Taxable -1000",
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        tally_.bodies.clear();
        receipts_ = {{.id = "1", .number = "GRN1", .net = "1000", .payable = "1000"}};
        lines_ = {c.line};
        Run();
        std::vector<std::string> vouchers = Vouchers();
        ASSERT_EQ(vouchers.size(), 1u);
        std::vector<std::string> entries = LedgerEntries(vouchers[0]);
        ASSERT_FALSE(entries.empty());
        double taxes = 0;
        for (const std::string& tax : c.taxEntries)
            taxes += std::stod(tax.substr(tax.rfind(' ') + 2));
        EXPECT_EQ(entries[0], "Kaveri Foods &amp; Beverages Ltd " +
                                  std::to_string(1000 + static_cast<int>(taxes)));
        entries.erase(entries.begin());
        EXPECT_EQ(entries, c.taxEntries);
        EXPECT_EQ(StockLines(vouchers[0]), std::vector<std::string>{c.stockLine});
    }
}

TEST_F(PurchaseScreenTest, DiscountsAreDebitsOfTheNegatedTotalAndLowerTheAssessableValue) {
    // 1000 less 100 discount, tax 9 % + 9 % of 900: 81 + 81. Net 1062; a second line 500.25
    // less 50.13, tax 2.5 % + 2.5 % of 450.12: 11.25 + 11.25. Net 1062 + 472.62 = 1534.62.
    receipts_ = {{.id = "7", .number = "GRN7", .net = "1534.62", .payable = "1535"}};
    lines_ = {{"7", "11", "AB12", "10", "100", "1000", "100", "900", "900", "0", "0", "81", "81",
               "0", "0", "9"},
              {"7", "12", "CD34", "5", "100.05", "500.25", "50.13", "450.12", "450.12", "0", "0",
               "11.25", "11.25", "0", "0", "2.5"}};
    Run();
    std::vector<std::string> vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 1u);
    EXPECT_EQ(LedgerEntries(vouchers[0]),
              (std::vector<std::string>{"Kaveri Foods &amp; Beverages Ltd 1535",
                                        "Scheme Discount Purch --150.13", "CGST 2.5% -11.25",
                                        "SGST 2.5% -11.25", "CGST 9% -81", "SGST 9% -81",
                                        "Round Off -0.38"}));
    EXPECT_EQ(
        StockLines(vouchers[0]),
        (std::vector<std::string>{"AB12_11 -1000 GST Purchase 18% Purchase Taxable -900",
                                  "CD34_12 -500.25 GST Purchase 5% Purchase Taxable -450.12"}));
    EXPECT_TRUE(screen_.LastRun().Clean()) << screen_.LogText();
}

TEST_F(PurchaseScreenTest, ClaimSchemeGoodsCarryTheNatureOfTheLastStockLine) {
    receipts_ = {{.id = "1", .number = "GRN1", .net = "1180", .payable = "1180"},
                 {.id = "2", .number = "GRN2", .net = "1", .payable = "0"}};
    lines_ = {{"1", "11", "AB12", "10", "100", "1000", "0", "0", "0", "1000", "0", "0", "0", "180",
               "0", "18"}};
    claims_ = {{"1", "12", "CD34", "6"}, {"2", "13", "EF56", "12"}};
    Run();
    std::vector<std::string> vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 2u);
    EXPECT_EQ(StockLines(vouchers[0]),
              (std::vector<std::string>{
                  "AB12_11 -1000 GST Purchase 18% Interstate Purchase Taxable -1000",
                  "CD34_12 -0 GST Purchase 0% Interstate Purchase Taxable -0"}));
    // The second receipt has no line of its own: its free goods keep the first one's nature,
    // and its voucher holds the supplier's entry of 0 only.
    EXPECT_EQ(
        StockLines(vouchers[1]),
        (std::vector<std::string>{"EF56_13 -0 GST Purchase 0% Interstate Purchase Taxable -0"}));
    EXPECT_EQ(LedgerEntries(vouchers[1]),
              (std::vector<std::string>{"Kaveri Foods &amp; Beverages Ltd 0"}));
}

TEST_F(PurchaseScreenTest, ReceiptsOfNoNetAreSkippedAndTheNetPayableIsTheSourceTotal) {
    receipts_ = {{.id = "2", .number = "GRN2", .net = "100.5", .payable = "100"},
                 // The source asks 250 for what its lines make 100: posted, and reported.
                 {.id = "3", .number = "GRN3", .net = "100", .payable = "250"},
                 {.id = "1", .number = "GRN1", .net = "0", .payable = "0"}};
    lines_ = {NilLine("1", "50"), NilLine("2", "100.50"), NilLine("3", "100")};
    Run();
    EXPECT_EQ(Vouchers().size(), 2u);
    EXPECT_EQ(screen_.CurrentProgress().handled, 2) << "a skipped receipt is not counted as sent";
    const RunCounts& run = screen_.LastRun();
    EXPECT_EQ(run.documents.skipped, 1);
    EXPECT_EQ(run.documents.accepted, 1);
    EXPECT_EQ(run.documents.differences, 1);
    EXPECT_EQ(run.documents.Total(), 3);
    EXPECT_NE(screen_.LogText().find(
                  "\r\nDifference from the source: voucher amount 100, document total 250 GRN3"),
              std::string::npos)
        << screen_.LogText();
    ASSERT_EQ(observer_.messages.size(), 1u);
    EXPECT_EQ(observer_.messages[0].text.substr(0, 20), "Purchase Transferrd\n");
}

TEST_F(PurchaseScreenTest, AReceiptWithAnAmountThatIsNoNumberIsNotSentAndTheRunGoesOn) {
    receipts_ = {{.id = "1", .number = "GRN1", .net = "100", .payable = "100"},
                 {.id = "2", .number = "GRN2", .net = "100", .payable = "100"}};
    lines_ = {NilLine("1", "100"), NilLine("2", "100")};
    lines_[0].gross = "1OO";
    Run();
    std::vector<std::string> vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 1u);
    EXPECT_NE(vouchers[0].find("<VOUCHERNUMBER>GRN2</VOUCHERNUMBER>"), std::string::npos);
    const RunCounts& run = screen_.LastRun();
    EXPECT_EQ(run.documents.notSent, 1);
    EXPECT_EQ(run.documents.accepted, 1);
    EXPECT_FALSE(run.Clean());
    size_t logged = screen_.LogText().find("\r\nNot sent: ");
    ASSERT_NE(logged, std::string::npos) << screen_.LogText();
    EXPECT_NE(screen_.LogText().find(" GRN1", logged), std::string::npos) << screen_.LogText();
}

TEST_F(PurchaseScreenTest, PaddedSupplierNamesNameOneLedgerInMasterAndVoucher) {
    suppliers_ = {"  Kaveri Foods & Beverages Ltd  "};
    receipts_ = {{.id = "1", .number = "GRN1", .net = "100", .payable = "100"}};
    lines_ = {NilLine("1", "100")};
    Run();
    ASSERT_GE(tally_.bodies.size(), 3u);
    const std::string& ledger = tally_.bodies[1];
    EXPECT_NE(ledger.find("<LEDGER NAME=\"Kaveri Foods &amp; Beverages Ltd\" RESERVEDNAME=\"\">"),
              std::string::npos)
        << ledger;
    EXPECT_NE(ledger.find("<PARENT>Sundry Creditors</PARENT>"), std::string::npos);
    EXPECT_NE(ledger.find("Puducherry"), std::string::npos);
    std::vector<std::string> vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 1u);
    EXPECT_NE(
        vouchers[0].find("<PARTYLEDGERNAME>Kaveri Foods &amp; Beverages Ltd</PARTYLEDGERNAME>"),
        std::string::npos);
}

TEST_F(PurchaseScreenTest, AWholeVoucherIsExactlyTheExpectedText) {
    receipts_ = {{.id = "7", .number = "GRN7", .net = "1534.62", .payable = "1535"}};
    lines_ = {{"7", "11", "AB12", "10", "100", "1000", "100", "900", "900", "0", "0", "81", "81",
               "0", "0", "9"},
              {"7", "12", "CD34", "5", "100.05", "500.25", "50.13", "450.12", "450.12", "0", "0",
               "11.25", "11.25", "0", "0", "2.5"}};
    claims_ = {{"7", "13", "EF56", "6"}};
    Run();
    std::vector<std::string> vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 1u);
    std::ifstream file(std::string(ZENTRAIL_TEST_DATA_DIR) + "/purchase_voucher.xml",
                       std::ios::binary);
    ASSERT_TRUE(file) << "expected file missing";
    std::stringstream expected;
    expected << file.rdbuf();
    EXPECT_EQ(vouchers[0], expected.str());
}

}  // namespace
}  // namespace zentrail
