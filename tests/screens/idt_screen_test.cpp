// The inter-depot transfer screen on small hand-made transfers, with the amounts worked by hand.

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "screens/idt_screen.h"
#include "screens/queries/idt_queries.h"
#include "screens/screen_test_support.h"
#include "screens/voucher_text.h"
#include "shell/configuration.h"

namespace zentrail {
namespace {

using testing::Blocks;
using testing::Element;
using testing::LedgerEntries;
using testing::RecordingObserver;
using testing::ScriptedConnection;
using testing::ScriptedOpener;
using testing::StockLines;

using Cell = std::optional<std::string>;

const CalendarDate kFrom{2024, 4, 1};
const CalendarDate kTo{2024, 4, 30};

struct TransferRow {
    std::string number;
    std::string direction;  // StkMgmtTypeId
    std::string net;
    std::string depot = "KVZ Coimbatore Depot";
};

struct LineRow {
    std::string number, prdId, code, qty, rate, gross;
    Cell cgstTaxable, sgstTaxable, igstTaxable, utgstTaxable;
    Cell cgst, sgst, igst, utgst;
};

struct DepotRow {
    std::string direction, name;
};

RowSet HeaderRows(const std::vector<TransferRow>& transfers) {
    RowSet rows({"IDTMngRefNo", "DocRefNo",  "StkMgmtTypeId", "IDTMngDate", "SpmName",
                 "IDTGrossAmt", "IDTTaxAmt", "IDTNetAmt",     "IDTPaidAmt", "FromSpmId",
                 "ToSpmId",     "LRNo",      "LRDate",        "SpmAdd1",    "SpmAdd2",
                 "SpmAdd3",     "SpmPhone",  "SpmFax",        "SpmEmail",   "SpmContact"});
    for (const TransferRow& t : transfers)
        for (const std::string& value : {t.number,
                                         "STN/" + t.number,
                                         t.direction,
                                         std::string("20240412"),
                                         t.depot,
                                         t.net,
                                         std::string("0"),
                                         t.net,
                                         std::string("0"),
                                         std::string("1"),
                                         std::string("2"),
                                         std::string("LR1"),
                                         std::string("20240412"),
                                         std::string("7, Avinashi Road"),
                                         std::string("Peelamedu"),
                                         std::string("Coimbatore"),
                                         std::string("0422-2567890"),
                                         std::string(""),
                                         std::string("cbe.depot@example.com"),
                                         std::string("N. Senthil")})
            rows.Append(value);
    return rows;
}

RowSet DepotRows(const std::vector<DepotRow>& depots) {
    RowSet rows({"SpmId", "StkMgmtTypeId", "SpmName", "SpmAdd1", "SpmAdd2", "SpmAdd3", "SpmPhone",
                 "SpmFax", "SpmEmail", "SpmContact"});
    for (const DepotRow& d : depots)
        for (const std::string& value :
             {std::string("2"), d.direction, d.name, std::string("7, Avinashi Road"),
              std::string("Peelamedu"), std::string("Coimbatore"), std::string("0422-2567890"),
              std::string(""), std::string(" cbe.depot@example.com "), std::string(" N. Senthil ")})
            rows.Append(value);
    return rows;
}

RowSet LineRows(const std::vector<LineRow>& lines) {
    RowSet rows({"IDTMngRefNo",  "PrdSlNo",      "PrdId",          "PrdCCode",
                 "PrdName",      "Qty",          "PrdUnitRate",    "PrdTaxAmount",
                 "PrdNetAmount", "PrdMRPRate",   "PrdGrossAmount", "CGST_TAXABLE",
                 "SGST_TAXABLE", "IGST_TAXABLE", "UTGST_TAXABLE",  "CGST_AMT",
                 "SGST_AMT",     "IGST_AMT",     "UTGST_AMT",      "UomDescription",
                 "HSNCODE"});
    int slNo = 0;
    for (const LineRow& l : lines) {
        for (const std::string& value :
             {l.number, std::to_string(++slNo), l.prdId, l.code, std::string("Product"), l.qty,
              l.rate, std::string("0"), std::string("0"), std::string("0"), l.gross})
            rows.Append(value);
        for (const Cell& cell : {l.cgstTaxable, l.sgstTaxable, l.igstTaxable, l.utgstTaxable,
                                 l.cgst, l.sgst, l.igst, l.utgst})
            if (cell)
                rows.Append(*cell);
            else
                rows.AppendNull();
        rows.Append("PC");
        rows.Append("1905");
    }
    return rows;
}

// A line without any tax row: its tax columns come back null.
LineRow Untaxed(const std::string& number, const std::string& gross) {
    const Cell none = std::nullopt;
    return LineRow{number, "21", "GH78", "3",  gross, gross, none,
                   none,   none, none,   none, none,  none,  none};
}

// The worked example: 100.25 and 200.50 with central and state tax of 9.02 and 18.05.
std::vector<LineRow> WorkedLines(const std::string& number) {
    return {{number, "11", "AB12", "1", "100.25", "100.25", "100.25", "100.25", "0", "0", "9.02",
             "9.02", "0", "0"},
            {number, "12", "CD34", "2", "100.25", "200.50", "200.50", "200.50", "0", "0", "18.05",
             "18.05", "0", "0"}};
}

class IdtScreenTest : public ::testing::Test {
protected:
    IdtScreenTest() : db_(ScriptedOpener([this](const std::string& sql) { return Answer(sql); })) {
        config_.strCompany = "Zentrail Demo";
        config_.strTallyServer = "127.0.0.1";
        config_.strTallyPort = "9000";
        db_.OpenConnection(config_);
        screen_.SetObserver(&observer_);
    }

    RowSet Answer(const std::string& sql) {
        std::string from = kFrom.QueryText(), to = kTo.QueryText();
        if (sql == IdtHeaderQuery(from, to)) return HeaderRows(transfers_);
        if (sql == IdtDepotQuery(from, to)) return DepotRows(depots_);
        if (sql == IdtLineQuery(from, to)) return LineRows(lines_);
        ADD_FAILURE() << "unexpected query " << sql;
        return RowSet({"x"});
    }

    void Run() {
        tally_.bodies.clear();
        screen_.Load();
        screen_.SetDates(kFrom, kTo);
        screen_.GetData();
        ASSERT_FALSE(screen_.GetDataFailed()) << screen_.LogText();
        screen_.Export();
    }

    std::vector<std::string> Vouchers() const {
        std::vector<std::string> vouchers;
        for (const std::string& body : tally_.bodies)
            if (body.find("<VOUCHER ") != std::string::npos) vouchers.push_back(body);
        return vouchers;
    }

    std::vector<TransferRow> transfers_;
    std::vector<LineRow> lines_;
    std::vector<DepotRow> depots_{{"1", "KVZ Coimbatore Depot"}};
    Configuration config_;
    SourceDatabase db_;
    testing::ScriptedTransport tally_{[](const std::string&) {
        return testing::TallyReplies("<RESPONSE><CREATED>1</CREATED></RESPONSE>");
    }};
    IdtScreen screen_{ScreenContext{config_, db_, tally_}};
    RecordingObserver observer_;
};

TEST_F(IdtScreenTest, TheWorkedTransferPays355EitherWayWithTheRoundOffOnOppositeSides) {
    // 100.25 + 200.50 + 2 x (9.02 + 18.05) = 354.89; 355 to pay; round-off 0.11.
    transfers_ = {{"IDT1", "1", "355"}, {"IDT2", "2", "355"}};
    lines_ = WorkedLines("IDT1");
    for (LineRow line : WorkedLines("IDT2")) lines_.push_back(line);
    Run();
    std::vector<std::string> vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 2u);
    // In: the depot is credited, taxes and the round-off debited.
    EXPECT_NE(vouchers[0].find("VCHTYPE=\"KVZ IDT In\""), std::string::npos);
    EXPECT_EQ(LedgerEntries(vouchers[0]),
              (std::vector<std::string>{"KVZ Coimbatore Depot 355", "CGST -27.07", "SGST -27.07",
                                        "Round Off -0.11"}));
    EXPECT_EQ(StockLines(vouchers[0]),
              (std::vector<std::string>{"AB12_11 -100.25 GST Purchase Purchase Taxable -100.25",
                                        "CD34_12 -200.5 GST Purchase Purchase Taxable -200.5"}));
    // Out: the depot is debited, taxes and the round-off credited.
    EXPECT_NE(vouchers[1].find("VCHTYPE=\"KVZ IDT Out\""), std::string::npos);
    EXPECT_EQ(LedgerEntries(vouchers[1]),
              (std::vector<std::string>{"KVZ Coimbatore Depot -355", "CGST 27.07", "SGST 27.07",
                                        "Round Off 0.11"}));
    EXPECT_EQ(StockLines(vouchers[1]),
              (std::vector<std::string>{"AB12_11 100.25 GST Sales Sales Taxable 100.25",
                                        "CD34_12 200.5 GST Sales Sales Taxable 200.5"}));
    EXPECT_TRUE(screen_.LastRun().Clean()) << screen_.LogText();
    EXPECT_EQ(screen_.CurrentProgress().handled, 2);
    ASSERT_EQ(observer_.messages.size(), 1u);
    EXPECT_EQ(observer_.messages[0].text.substr(0, 15), "IDT Transferrd\n");
}

TEST_F(IdtScreenTest, ARoundOffDownGoesTheOtherWay) {
    // 100.50 rounds to the even 100: the half is a credit on a transfer in, a debit on one out.
    transfers_ = {{"IDT1", "1", "100"}, {"IDT2", "2", "100"}};
    lines_ = {Untaxed("IDT1", "100.50"), Untaxed("IDT2", "100.50")};
    Run();
    std::vector<std::string> vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 2u);
    EXPECT_EQ(LedgerEntries(vouchers[0]),
              (std::vector<std::string>{"KVZ Coimbatore Depot 100", "Round Off 0.5"}));
    EXPECT_EQ(LedgerEntries(vouchers[1]),
              (std::vector<std::string>{"KVZ Coimbatore Depot -100", "Round Off -0.5"}));
}

TEST_F(IdtScreenTest, ADepotThatSentAndReceivedIsPostedOnceUnderEachGroup) {
    depots_ = {{"1", "  KVZ Coimbatore Depot "}, {"2", "  KVZ Coimbatore Depot "}};
    transfers_ = {{"IDT1", "1", "100"}, {"IDT2", "2", "100"}};
    lines_ = {Untaxed("IDT1", "100"), Untaxed("IDT2", "100")};
    Run();
    std::vector<std::string> ledgers;
    for (const std::string& body : tally_.bodies)
        if (body.find("<LEDGER NAME=\"KVZ Coimbatore Depot\"") != std::string::npos)
            ledgers.push_back(Element(body, "PARENT"));
    EXPECT_EQ(ledgers, (std::vector<std::string>{"Sundry Creditors", "Sundry Debtors"}));
    for (const std::string& voucher : Vouchers())
        EXPECT_NE(voucher.find("<PARTYLEDGERNAME>KVZ Coimbatore Depot</PARTYLEDGERNAME>"),
                  std::string::npos);
    EXPECT_EQ(screen_.LastRun().masters.Total(), 3);
}

TEST_F(IdtScreenTest, AnIntegratedNatureCarriesOverToLaterUntaxedLinesOfTransfersIn) {
    transfers_ = {{"IDT1", "1", "1280"}, {"IDT2", "1", "200"}, {"IDT3", "2", "200"}};
    lines_ = {
        {"IDT1", "11", "AB12", "10", "100", "1000", "0", "0", "1000", "0", "0", "0", "180", "0"},
        Untaxed("IDT1", "100"),
        Untaxed("IDT2", "200"),
        Untaxed("IDT3", "200")};
    Run();
    std::vector<std::string> vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 3u);
    EXPECT_EQ(
        StockLines(vouchers[0]),
        (std::vector<std::string>{"AB12_11 -1000 GST Purchase Interstate Purchase Taxable -1000",
                                  "GH78_21 -100 GST Purchase Interstate Purchase Taxable -100"}));
    EXPECT_EQ(
        StockLines(vouchers[1]),
        (std::vector<std::string>{"GH78_21 -200 GST Purchase Interstate Purchase Taxable -200"}));
    // A transfer out starts without a nature; its untaxed line has none and no taxable value.
    EXPECT_EQ(StockLines(vouchers[2]),
              (std::vector<std::string>{"GH78_21 200 GST Sales (none) 0"}));
}

TEST_F(IdtScreenTest, ATransferOutCarriesTheTaxableAmountOfItsFirstTax) {
    transfers_ = {{"IDT1", "2", "1180"}};
    lines_ = {{"IDT1", "11", "AB12", "10", "100", "1000", "990.004", "990", "0", "0", "89.1",
               "90.9", "0", "0"}};
    Run();
    std::vector<std::string> vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 1u);
    EXPECT_EQ(StockLines(vouchers[0]),
              (std::vector<std::string>{"AB12_11 1000 GST Sales Sales Taxable 990"}));
}

TEST_F(IdtScreenTest, AnApostropheInTheReferenceFiltersExactlyItsOwnLines) {
    transfers_ = {{"O'Neil/2", "1", "100"}, {"O'Neil/23", "1", "300"}};
    lines_ = {Untaxed("O'Neil/23", "100"), Untaxed("O'Neil/2", "100"), Untaxed("O'Neil/23", "200")};
    Run();
    std::vector<std::string> vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 2u);
    EXPECT_EQ(LedgerEntries(vouchers[0]), (std::vector<std::string>{"KVZ Coimbatore Depot 100"}));
    EXPECT_EQ(StockLines(vouchers[0]).size(), 1u);
    EXPECT_EQ(LedgerEntries(vouchers[1]), (std::vector<std::string>{"KVZ Coimbatore Depot 300"}));
    EXPECT_EQ(StockLines(vouchers[1]).size(), 2u);
    EXPECT_NE(vouchers[0].find("<VOUCHERNUMBER>O&apos;Neil/2</VOUCHERNUMBER>"), std::string::npos);
    EXPECT_TRUE(screen_.LastRun().Clean()) << screen_.LogText();
}

TEST_F(IdtScreenTest, TransfersOfNoNetAreSkippedAndTheNetAmountIsTheSourceTotal) {
    transfers_ = {{"IDT1", "1", "0"}, {"IDT2", "1", "-5"}, {"IDT3", "1", "400"}};
    lines_ = {Untaxed("IDT1", "100"), Untaxed("IDT2", "100"), Untaxed("IDT3", "100")};
    Run();
    EXPECT_EQ(Vouchers().size(), 1u);
    const RunCounts& run = screen_.LastRun();
    EXPECT_EQ(run.documents.skipped, 2);
    EXPECT_EQ(run.documents.differences, 1);
    EXPECT_NE(screen_.LogText().find(
                  "\r\nDifference from the source: voucher amount 100, document total 400 IDT3"),
              std::string::npos)
        << screen_.LogText();
}

std::string ExpectedFile(const char* name) {
    std::ifstream file(std::string(ZENTRAIL_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    std::stringstream expected;
    expected << file.rdbuf();
    return expected.str();
}

TEST_F(IdtScreenTest, WholeVouchersAreExactlyTheExpectedText) {
    transfers_ = {{"IDT1", "1", "355"}, {"IDT2", "2", "355"}};
    lines_ = WorkedLines("IDT1");
    for (LineRow line : WorkedLines("IDT2")) lines_.push_back(line);
    Run();
    std::vector<std::string> vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 2u);
    std::string in = ExpectedFile("idt_in_voucher.xml");
    std::string out = ExpectedFile("idt_out_voucher.xml");
    ASSERT_FALSE(in.empty() || out.empty()) << "expected file missing";
    EXPECT_EQ(vouchers[0], in);
    EXPECT_EQ(vouchers[1], out);
}

}  // namespace
}  // namespace zentrail
