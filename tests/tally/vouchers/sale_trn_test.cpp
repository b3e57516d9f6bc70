#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/tally_xml_check.h"
#include "tally/vouchers/expected_text.h"
#include "tally/vouchers/tally_sale_trn.h"

namespace zentrail {
namespace {

using testing::AppendLines;
using testing::Crlf;
using testing::InsertBefore;
using testing::JoinLines;
using testing::kEnvelopeBottom;
using testing::kEnvelopeTop;
using testing::Lines;
using testing::ParsesAsXml;
using testing::RemoveLine;
using testing::ReplaceLine;
using testing::VoucherAmountSum;

// The head of invoice SI-0042 as the sales export sends it.
const Lines kHead = {
    "<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">",
    "<VOUCHER REMOTEID=\"6178b2bd-1d64-4c89-9c2a-20240115-KVZ Sales-ABC Traders_12-SI-0042-"
    "SI-0042\" VCHTYPE=\"KVZ Sales\" ACTION=\"Create\">",
    "<DATE>20240115</DATE>",
    "<GUID>6178b2bd-1d64-4c89-9c2a-20240115-KVZ Sales-ABC Traders_12-SI-0042-SI-0042</GUID>",
    "<NARRATION></NARRATION>",
    "<VOUCHERTYPENAME>KVZ Sales</VOUCHERTYPENAME>",
    "<ISOPTIONAL>No</ISOPTIONAL>",
    "<USEFORGAINLOSS>No</USEFORGAINLOSS>",
    "<USEFORCOMPOUND>No</USEFORCOMPOUND>",
    "<EFFECTIVEDATE>20240115</EFFECTIVEDATE>",
    "<ISCANCELLED>No</ISCANCELLED>",
    "<USETRACKINGNUMBER>No</USETRACKINGNUMBER>",
    "<ISPOSTDATED>No</ISPOSTDATED>",
    "<ISINVOICE>Yes</ISINVOICE>",
    "<DIFFACTUALQTY>No</DIFFACTUALQTY>",
    "<VOUCHERNUMBER>SI-0042</VOUCHERNUMBER>",
    "<REFERENCE>SI-0042</REFERENCE>",
    "<BASICBUYERNAME></BASICBUYERNAME>",
    "<PARTYNAME>ABC Traders_12</PARTYNAME>",
    "<BASEPARTYNAME>ABC Traders_12</BASEPARTYNAME>",
    "<PARTYLEDGERNAME>ABC Traders_12</PARTYLEDGERNAME>",
    "<STATENAME>Tamil Nadu</STATENAME>",
    "<PARTYGSTIN>33ABCDE1234F1Z5</PARTYGSTIN>",
    "<PLACEOFSUPPLY>Tamil Nadu</PLACEOFSUPPLY>",
    "<BASICBUYERADDRESS.LIST TYPE=\"String\">",
    "<BASICBUYERADDRESS>12 Main Road</BASICBUYERADDRESS>",
    "<BASICBUYERADDRESS>Shop 3 &amp; 4</BASICBUYERADDRESS>",
    "<BASICBUYERADDRESS>Chennai</BASICBUYERADDRESS>",
    "<BASICBUYERADDRESS>Tamil Nadu</BASICBUYERADDRESS>",
    "<BASICBUYERADDRESS></BASICBUYERADDRESS>",
    "</BASICBUYERADDRESS.LIST>",
    "<ISGSTOVERRIDDEN>Yes</ISGSTOVERRIDDEN>",
    "<GSTNOTEXPORTED>No</GSTNOTEXPORTED>",
    "<ALTERID></ALTERID>",
};

// The caller's variables of one head call, as the sales export fills them.
struct HeadArgs {
    std::string type = "KVZ Sales";
    std::string date = "20240115";
    std::string party = "ABC Traders_12";
    std::string number = "SI-0042";
    std::string reference = "SI-0042";
    std::string remarks;
    std::string buyer;
    std::string flag;
    bool cancel = false;
    std::string state = "Tamil Nadu";
    std::string gstin = "33ABCDE1234F1Z5";
    std::string add1 = "12 Main Road";
    std::string add2 = "Shop 3 & 4";
    std::string add3 = "Chennai";
    std::string add4 = "Tamil Nadu";
    std::string add5;

    std::string Head(const TallySaleTrn& sale) {
        return sale.strSale_Head(type, date, party, number, reference, remarks, buyer, flag, cancel,
                                 state, gstin, add1, add2, add3, add4, add5);
    }
};

Lines EmptyRateBlocks() {
    Lines lines;
    for (const char* head : {"Integrated Tax", "Central Tax", "State Tax", "Cess"}) {
        AppendLines(lines, {
                               "<RATEDETAILS.LIST>",
                               std::string("<GSTRATEDUTYHEAD>") + head + "</GSTRATEDUTYHEAD>",
                               "<GSTRATEVALUATIONTYPE>Based on Value</GSTRATEVALUATIONTYPE>",
                               "</RATEDETAILS.LIST>",
                           });
    }
    return lines;
}

// A ledger entry with its amount also as VATEXPAMOUNT: a debit is deemed positive.
Lines LedgerEntry(const std::string& list, bool debit, const std::string& ledger,
                  const std::string& amount) {
    return {
        "<" + list + ">",
        "<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>",
        std::string("<ISDEEMEDPOSITIVE>") + (debit ? "Yes" : "No") + "</ISDEEMEDPOSITIVE>",
        "<LEDGERFROMITEM>No</LEDGERFROMITEM>",
        "<LEDGERNAME>" + ledger + "</LEDGERNAME>",
        "<ISPARTYLEDGER>No</ISPARTYLEDGER>",
        "<AMOUNT>" + amount + "</AMOUNT>",
        "<VATEXPAMOUNT>" + amount + "</VATEXPAMOUNT>",
        "</" + list + ">",
    };
}

Lines CreditEntry(const std::string& ledger, const std::string& amount,
                  const std::string& list = "LEDGERENTRIES.LIST") {
    return LedgerEntry(list, false, ledger, amount);
}

// The entry with the intrastate GST override before its closing tag.
Lines WithGstOverride(Lines entry, const std::string& assessable) {
    entry.insert(entry.end() - 1,
                 {
                     "<GSTOVRDNNATURE>Sales Taxable</GSTOVRDNNATURE>",
                     "<GSTOVRDNINELIGIBLEITC>&#4; Not Applicable</GSTOVRDNINELIGIBLEITC>",
                     "<GSTOVRDNISREVCHARGEAPPL>&#4; Not Applicable</GSTOVRDNISREVCHARGEAPPL>",
                     "<GSTOVRDNASSESSABLEVALUE>" + assessable + "</GSTOVRDNASSESSABLEVALUE>",
                 });
    return entry;
}

// The customer's debit with a new bill over the whole amount.
Lines PartyEntry(const std::string& list, const std::string& party, const std::string& bill,
                 const std::string& amount) {
    return {
        "<" + list + ">",
        "<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>",
        "<ISDEEMEDPOSITIVE>Yes</ISDEEMEDPOSITIVE>",
        "<LEDGERFROMITEM>No</LEDGERFROMITEM>",
        "<LEDGERNAME>" + party + "</LEDGERNAME>",
        "<ISPARTYLEDGER>Yes</ISPARTYLEDGER>",
        "<AMOUNT>" + amount + "</AMOUNT>",
        "<BILLALLOCATIONS.LIST>",
        "<NAME>" + bill + "</NAME>",
        "<BILLTYPE>New Ref</BILLTYPE>",
        "<BILLCREDITPERIOD/>",
        "<AMOUNT>" + amount + "</AMOUNT>",
        "<VATEXPAMOUNT>" + amount + "</VATEXPAMOUNT>",
        "</BILLALLOCATIONS.LIST>",
        "</" + list + ">",
    };
}

// One stock line: qty, rate and gross as written, sales ledger, nature, taxable value.
Lines InventoryEntry(const std::string& item, const std::string& qty, const std::string& rate,
                     const std::string& gross, const std::string& ledger, const std::string& nature,
                     const std::string& taxable) {
    Lines lines = {
        "<ALLINVENTORYENTRIES.LIST>",
        "<STOCKITEMNAME>" + item + "</STOCKITEMNAME>",
        "<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>",
        "<ISAUTONEGATE>No</ISAUTONEGATE>",
        "<RATE>" + rate + "/PC</RATE>",
        "<AMOUNT>" + gross + "</AMOUNT>",
        "<ACTUALQTY> " + qty + " PC</ACTUALQTY>",
        "<BILLEDQTY> " + qty + " PC</BILLEDQTY>",
        "<BATCHALLOCATIONS.LIST>",
        "<GODOWNNAME>Main Location</GODOWNNAME>",
        "<BATCHNAME>Primary Batch</BATCHNAME>",
        "<ORDERNO></ORDERNO>",
        "<TRACKINGNUMBER></TRACKINGNUMBER>",
        "<MFDON></MFDON>",
        "<EXPIRYPERIOD/>",
        "<AMOUNT>" + gross + "</AMOUNT>",
        "<ACTUALQTY> " + qty + " PC</ACTUALQTY>",
        "<BILLEDQTY> " + qty + " PC</BILLEDQTY>",
        "<ORDERDUEDATE></ORDERDUEDATE>",
        "</BATCHALLOCATIONS.LIST>",
        "<ACCOUNTINGALLOCATIONS.LIST>",
        "<TAXCLASSIFICATIONNAME></TAXCLASSIFICATIONNAME>",
        "<LEDGERNAME>" + ledger + "</LEDGERNAME>",
        "<GSTOVRDNNATURE>" + nature + "</GSTOVRDNNATURE>",
        "<GSTOVRDNINELIGIBLEITC>&#4; Not Applicable</GSTOVRDNINELIGIBLEITC>",
        "<GSTOVRDNISREVCHARGEAPPL>&#4; Not Applicable</GSTOVRDNISREVCHARGEAPPL>",
        "<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>",
        "<LEDGERFROMITEM>No</LEDGERFROMITEM>",
        "<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>",
        "<ISPARTYLEDGER>No</ISPARTYLEDGER>",
        "<AMOUNT>" + gross + "</AMOUNT>",
        "<GSTOVRDNASSESSABLEVALUE>" + taxable + "</GSTOVRDNASSESSABLEVALUE>",
    };
    AppendLines(lines, EmptyRateBlocks());
    AppendLines(lines, {"</ACCOUNTINGALLOCATIONS.LIST>", "</ALLINVENTORYENTRIES.LIST>"});
    return lines;
}

struct StockLine {
    std::string item;
    double qty;
    double rate;
    double gross;
    std::string ledger;
    std::string nature;
    double taxable;
};

struct LedgerAmount {
    std::string ledger;
    double amount;
};

// The members in the order the sales export calls them: head, party, stock lines with
// their allocations, discounts, the sixteen tax ledgers, round-off, closing tags.
std::string AssembleInvoice(TallySaleTrn& sale, HeadArgs& head, double partyAmount,
                            const std::vector<StockLine>& stock,
                            const std::vector<LedgerAmount>& discounts,
                            const std::vector<LedgerAmount>& taxes, double roundOff) {
    std::string report = "Vouchers";
    std::string request = sale.strTopMaster(report, "Zentrail Demo & Co");
    request += head.Head(sale);
    request += sale.strSale_Party(head.party, head.number, partyAmount);
    for (const StockLine& line : stock) {
        sale.strSale_Alloc =
            sale.strAccountAlloc(line.gross, line.ledger, "", "", line.nature, line.taxable, 0);
        sale.strSale_Batch = sale.strBatchAlloc(line.qty, line.rate, "Main Location",
                                                "Primary Batch", "PC", "", "", "");
        request += sale.strInvent_Sales(line.item, line.gross, line.qty, "PC", line.rate,
                                        "Main Location", "Primary Batch", "", "", "", "", "", "");
    }
    sale.strSale_Alloc.clear();
    sale.strSale_Batch.clear();
    for (LedgerAmount entry : discounts)
        request += sale.strSale_Cr_Sch(entry.ledger, -entry.amount);
    for (LedgerAmount entry : taxes) request += sale.strSale_Cr(entry.ledger, entry.amount);
    std::string roundOffLedger = "Round Off";
    request += sale.strSale_Cr_Sch(roundOffLedger, roundOff);
    request += "</VOUCHER>\r\n</TALLYMESSAGE>\r\n";
    request += sale.strBottom();
    return request;
}

std::vector<LedgerAmount> SixteenTaxes(double cgst25, double sgst25, double cgst9, double sgst9) {
    return {
        {"CGST 2.5%", cgst25}, {"SGST 2.5%", sgst25}, {"IGST 5%", 0},  {"UTGST 2.5%", 0},
        {"CGST 6%", 0},        {"SGST 6%", 0},        {"IGST 12%", 0}, {"UTGST 6%", 0},
        {"CGST 9%", cgst9},    {"SGST 9%", sgst9},    {"IGST 18%", 0}, {"UTGST 9%", 0},
        {"CGST 14%", 0},       {"SGST 14%", 0},       {"IGST 28%", 0}, {"UTGST 14%", 0},
    };
}

pugi::xml_node Voucher(const pugi::xml_document& doc) {
    return doc.select_node("//VOUCHER").node();
}

// Two taxed lines and a free product: gross 225.5, discounts 6.75, taxes 27.52, net 246.27,
// payable 246, round-off -0.27.
TEST(TallySaleTrnVoucher, CompleteInvoiceInCallingOrder) {
    TallySaleTrn sale;
    HeadArgs head;
    std::string request =
        AssembleInvoice(sale, head, 246,
                        {{"P100_7", 10, 12.5, 125, "GST Sales 18%", "Sales Taxable", 125},
                         {"P200_8", 3, 33.5, 100.5, "GST Sales 5%", "Sales Taxable", 100.5},
                         {"P300_9", 2, 0, 0, "GST Sales 0%", "Sales Nil Rated", 0}},
                        {{"Scheme Discount", 5},
                         {"Special Discount", 0},
                         {"Cash Discount", 1.75},
                         {"DB Discount", 0},
                         {"Window Display", 0}},
                        SixteenTaxes(2.51, 2.51, 11.25, 11.25), -0.27);

    Lines expected;
    AppendLines(expected, kHead);
    AppendLines(expected, PartyEntry("LEDGERENTRIES.LIST", "ABC Traders_12", "SI-0042", "-246"));
    AppendLines(expected, InventoryEntry("P100_7", "10", "12.5", "125", "GST Sales 18%",
                                         "Sales Taxable", "125"));
    AppendLines(expected, InventoryEntry("P200_8", "3", "33.5", "100.5", "GST Sales 5%",
                                         "Sales Taxable", "100.5"));
    AppendLines(expected,
                InventoryEntry("P300_9", "2", "0", "0", "GST Sales 0%", "Sales Nil Rated", "0"));
    AppendLines(expected, CreditEntry("Scheme Discount", "-5"));
    AppendLines(expected, CreditEntry("Cash Discount", "-1.75"));
    AppendLines(expected, CreditEntry("CGST 2.5%", "2.51"));
    AppendLines(expected, CreditEntry("SGST 2.5%", "2.51"));
    AppendLines(expected, CreditEntry("CGST 9%", "11.25"));
    AppendLines(expected, CreditEntry("SGST 9%", "11.25"));
    AppendLines(expected, CreditEntry("Round Off", "-0.27"));

    EXPECT_EQ(request, Crlf(kEnvelopeTop) + JoinLines(expected) + Crlf(kEnvelopeBottom));

    pugi::xml_document doc;
    ASSERT_TRUE(ParsesAsXml(request, doc));
    EXPECT_NEAR(VoucherAmountSum(Voucher(doc)), 0, 1e-9);
    // The address line was escaped in the caller's variable.
    EXPECT_EQ(head.add2, "Shop 3 &amp; 4");
    EXPECT_EQ(head.type, "KVZ Sales");
}

// The service sales voucher: ALLLEDGERENTRIES, the GST override on the service ledger of a
// registered party only, round-off -0.48.
TEST(TallySaleTrnVoucher, ServiceInvoiceWithOverride) {
    TallySaleTrn sale;
    HeadArgs head;
    head.type = "KVZ Service Sales";
    head.party = "Metro Supplies";
    head.number = head.reference = "SRV/24/0001";
    std::string report = "Vouchers";
    std::string request = sale.strTopMaster(report, "Zentrail Demo & Co");
    request += head.Head(sale);
    std::string body = sale.strSale_Party_All(head.party, head.number, 1180);
    std::string service = "Visibility Claim Sales";
    body += sale.strSale_Cr_All(service, 1000.4, head.gstin, 0);
    for (LedgerAmount tax : std::vector<LedgerAmount>{
             {"CGST 9%", 90.04}, {"SGST 9%", 90.04}, {"IGST 18%", 0}, {"UTGST 9%", 0}})
        body += sale.strSale_Cr_All(tax.ledger, tax.amount, "", 0);
    std::string roundOff = "Round Off";
    body += sale.strSale_Cr_Sch_All(roundOff, -0.48);
    request += body + "</VOUCHER>\r\n</TALLYMESSAGE>\r\n" + sale.strBottom();

    const std::string all = "ALLLEDGERENTRIES.LIST";
    Lines expected = PartyEntry(all, "Metro Supplies", "SRV/24/0001", "-1180");
    AppendLines(expected,
                WithGstOverride(CreditEntry("Visibility Claim Sales", "1000.4", all), "1000.4"));
    AppendLines(expected, CreditEntry("CGST 9%", "90.04", all));
    AppendLines(expected, CreditEntry("SGST 9%", "90.04", all));
    AppendLines(expected, CreditEntry("Round Off", "-0.48", all));
    EXPECT_EQ(body, JoinLines(expected));

    pugi::xml_document doc;
    ASSERT_TRUE(ParsesAsXml(request, doc));
    EXPECT_NEAR(VoucherAmountSum(Voucher(doc)), 0, 1e-9);
}

TEST(TallySaleTrnHead, BaseHeadIsExact) {
    TallySaleTrn sale;
    HeadArgs args;
    EXPECT_EQ(args.Head(sale), JoinLines(kHead));
}

TEST(TallySaleTrnHead, EmptyVoucherTypeBecomesSales) {
    TallySaleTrn sale;
    HeadArgs args;
    args.type = "";
    Lines expected = kHead;
    ReplaceLine(expected, kHead[1],
                "<VOUCHER REMOTEID=\"6178b2bd-1d64-4c89-9c2a-20240115-Sales-ABC Traders_12-"
                "SI-0042-SI-0042\" VCHTYPE=\"Sales\" ACTION=\"Create\">");
    ReplaceLine(expected, kHead[3],
                "<GUID>6178b2bd-1d64-4c89-9c2a-20240115-Sales-ABC Traders_12-SI-0042-SI-0042"
                "</GUID>");
    ReplaceLine(expected, "<VOUCHERTYPENAME>KVZ Sales</VOUCHERTYPENAME>",
                "<VOUCHERTYPENAME>Sales</VOUCHERTYPENAME>");
    EXPECT_EQ(args.Head(sale), JoinLines(expected));
    EXPECT_EQ(args.type, "Sales");
}

TEST(TallySaleTrnHead, CancelKeepsTheKeyOfTheCreatedVoucher) {
    TallySaleTrn sale;
    HeadArgs args;
    args.cancel = true;
    Lines expected = kHead;
    ReplaceLine(expected, kHead[1],
                "<VOUCHER REMOTEID=\"6178b2bd-1d64-4c89-9c2a-20240115-KVZ Sales-ABC Traders_12-"
                "SI-0042-SI-0042\" VCHTYPE=\"KVZ Sales\" ACTION=\"Cancel\">");
    ReplaceLine(expected, "<ISCANCELLED>No</ISCANCELLED>", "<ISCANCELLED>Yes</ISCANCELLED>");
    EXPECT_EQ(args.Head(sale), JoinLines(expected));
}

TEST(TallySaleTrnHead, GstinLineOnlyForTenCharactersOrMore) {
    struct Case {
        const char* gstin;
        const char* line;  // nullptr: no PARTYGSTIN line
    };
    const Case cases[] = {
        {"33ABCDE12", nullptr},
        {"33ABCDE123", "<PARTYGSTIN>33ABCDE123</PARTYGSTIN>"},
        {"33ABCDE1234F1Z5", "<PARTYGSTIN>33ABCDE1234F1Z5</PARTYGSTIN>"},
        {"", nullptr},
        // A blank-padded CHAR column holds no GSTIN.
        {"               ", nullptr},
        {"33ABCDE1234F1Z5   ", "<PARTYGSTIN>33ABCDE1234F1Z5</PARTYGSTIN>"},
    };
    for (const Case& c : cases) {
        TallySaleTrn sale;
        HeadArgs args;
        args.gstin = c.gstin;
        Lines expected = kHead;
        if (c.line)
            ReplaceLine(expected, "<PARTYGSTIN>33ABCDE1234F1Z5</PARTYGSTIN>", c.line);
        else
            RemoveLine(expected, "<PARTYGSTIN>33ABCDE1234F1Z5</PARTYGSTIN>");
        EXPECT_EQ(args.Head(sale), JoinLines(expected)) << "GSTIN '" << c.gstin << "'";
    }
}

TEST(TallySaleTrnHead, RemarksGiveASecondNarrationBeforeAlterId) {
    TallySaleTrn sale;
    HeadArgs args;
    args.remarks = "  Goods <damaged> & returned ";
    Lines expected = kHead;
    const std::string narration = "<NARRATION>Goods &lt;damaged&gt; &amp; returned</NARRATION>";
    ReplaceLine(expected, "<NARRATION></NARRATION>", narration);
    InsertBefore(expected, "<ALTERID></ALTERID>", narration);
    EXPECT_EQ(args.Head(sale), JoinLines(expected));
    EXPECT_EQ(args.remarks, "Goods &lt;damaged&gt; &amp; returned");
}

TEST(TallySaleTrnHead, BlankRemarksCountAsEmpty) {
    TallySaleTrn sale;
    HeadArgs args;
    args.remarks = "   ";
    EXPECT_EQ(args.Head(sale), JoinLines(kHead));
}

TEST(TallySaleTrnHead, EscapesInPlaceOnceAndKeepsByValueArguments) {
    TallySaleTrn sale;
    HeadArgs args;
    args.type = "KVZ <Sales>";
    args.party = "R & S \"Agencies\"";
    args.number = "INV'7";
    args.reference = "INV'7";
    args.buyer = "R & S";
    args.state = "Jammu & Kashmir";
    args.add4 = args.state;
    std::string head = args.Head(sale);
    EXPECT_EQ(args.type, "KVZ &lt;Sales&gt;");
    EXPECT_EQ(args.party, "R &amp; S &quot;Agencies&quot;");
    EXPECT_EQ(args.number, "INV&apos;7");
    EXPECT_EQ(args.reference, "INV&apos;7");
    EXPECT_EQ(args.buyer, "R &amp; S");
    EXPECT_EQ(args.state, "Jammu & Kashmir");  // only the written copy is escaped
    EXPECT_EQ(args.add4, "Jammu &amp; Kashmir");
    EXPECT_NE(head.find("<VOUCHER REMOTEID=\"6178b2bd-1d64-4c89-9c2a-20240115-KVZ &lt;Sales&gt;-"
                        "R &amp; S &quot;Agencies&quot;-INV&apos;7-INV&apos;7\" VCHTYPE=\"KVZ "
                        "&lt;Sales&gt;\" ACTION=\"Create\">\r\n"),
              std::string::npos);
    EXPECT_NE(head.find("<STATENAME>Jammu &amp; Kashmir</STATENAME>\r\n"), std::string::npos);
    EXPECT_NE(head.find("<PLACEOFSUPPLY>Jammu &amp; Kashmir</PLACEOFSUPPLY>\r\n"),
              std::string::npos);

    // A second head over the same, now escaped, names writes the same text. Address lines
    // always take one more escape, so they are read afresh as the screens do.
    args.add2 = "Shop 3 & 4";
    args.add4 = "Jammu & Kashmir";
    EXPECT_EQ(args.Head(sale), head);
}

TEST(TallySaleTrnEntries, LedgerEntriesAndZeroAmounts) {
    TallySaleTrn sale;
    std::string ledger = "CGST 9%";
    EXPECT_EQ(sale.strSale_Cr(ledger, 0), "");
    EXPECT_EQ(sale.strSale_Cr_Sch(ledger, 0), "");
    EXPECT_EQ(sale.strSale_Cr_Sch_All(ledger, 0), "");
    EXPECT_EQ(sale.strSale_Dr(ledger, 0), "");
    EXPECT_EQ(sale.strSale_Cr_All(ledger, 0, "33ABCDE1234F1Z5", 0), "");

    EXPECT_EQ(sale.strSale_Cr(ledger, 45.5), JoinLines(CreditEntry("CGST 9%", "45.5")));
    EXPECT_EQ(sale.strSale_Cr_Sch(ledger, 45.5), JoinLines(CreditEntry("CGST 9%", "45.5")));
    EXPECT_EQ(sale.strSale_Dr(ledger, 45.5),
              JoinLines(LedgerEntry("LEDGERENTRIES.LIST", true, "CGST 9%", "-45.5")));
    // The minus sign goes in front of the number's text: a negative debit reads "--".
    std::string roundOff = "Round Off";
    std::string negativeDebit = sale.strSale_Dr(roundOff, -0.4);
    EXPECT_NE(negativeDebit.find("<AMOUNT>--0.4</AMOUNT>\r\n<VATEXPAMOUNT>--0.4</VATEXPAMOUNT>"),
              std::string::npos);
    EXPECT_EQ(testing::TallyAmount("--0.4"), 0.4);
}

TEST(TallySaleTrnEntries, LedgerNameEscapedInPlaceOnlyWhenWritten) {
    TallySaleTrn sale;
    std::string ledger = "P&L Adjustment";
    EXPECT_EQ(sale.strSale_Cr(ledger, 0), "");
    EXPECT_EQ(ledger, "P&L Adjustment");
    EXPECT_EQ(sale.strSale_Cr(ledger, 3), JoinLines(CreditEntry("P&amp;L Adjustment", "3")));
    EXPECT_EQ(ledger, "P&amp;L Adjustment");
    EXPECT_EQ(sale.strSale_Cr(ledger, 3), JoinLines(CreditEntry("P&amp;L Adjustment", "3")));
}

TEST(TallySaleTrnEntries, GstOverrideOnlyForGstinWithoutIntegratedTax) {
    const Lines withoutOverride =
        CreditEntry("Visibility Claim Sales", "70", "ALLLEDGERENTRIES.LIST");
    const Lines withOverride = WithGstOverride(withoutOverride, "70");

    struct Case {
        const char* gstin;
        double igst;
        bool override;
    };
    const Case cases[] = {
        {"33ABCDE1234F1Z5", 0, true},
        {"33ABCDE1234F1Z5", 12.6, false},
        {"", 0, false},
        {"               ", 0, false},  // blank-padded column
    };
    for (const Case& c : cases) {
        TallySaleTrn sale;
        std::string ledger = "Visibility Claim Sales";
        EXPECT_EQ(sale.strSale_Cr_All(ledger, 70, c.gstin, c.igst),
                  JoinLines(c.override ? withOverride : withoutOverride))
            << "GSTIN '" << c.gstin << "' IGST " << c.igst;
    }
}

TEST(TallySaleTrnEntries, PartyEntryWrittenAlsoForZero) {
    TallySaleTrn sale;
    std::string number = "SI-1";
    std::string entry = sale.strSale_Party("ABC", number, 0);
    EXPECT_NE(entry.find("<AMOUNT>-0</AMOUNT>\r\n<BILLALLOCATIONS.LIST>\r\n<NAME>SI-1</NAME>"),
              std::string::npos);
}

TEST(TallySaleTrnInventory, BatchAllocationAmountIsQuantityTimesRate) {
    TallySaleTrn sale;
    EXPECT_EQ(sale.strBatchAlloc(3, 12.5, "Main Location", "Primary Batch", "PC", "ORD-9",
                                 "20240110", "TRK-1"),
              JoinLines({
                  "<BATCHALLOCATIONS.LIST>",
                  "<GODOWNNAME>Main Location</GODOWNNAME>",
                  "<BATCHNAME>Primary Batch</BATCHNAME>",
                  "<ORDERNO>ORD-9</ORDERNO>",
                  "<TRACKINGNUMBER>TRK-1</TRACKINGNUMBER>",
                  "<MFDON></MFDON>",
                  "<EXPIRYPERIOD/>",
                  "<AMOUNT>37.5</AMOUNT>",
                  "<ACTUALQTY> 3 PC</ACTUALQTY>",
                  "<BILLEDQTY> 3 PC</BILLEDQTY>",
                  "<ORDERDUEDATE>20240110</ORDERDUEDATE>",
                  "</BATCHALLOCATIONS.LIST>",
              }));
}

TEST(TallySaleTrnInventory, AccountAllocationWithCostCentreAndNoTaxType) {
    TallySaleTrn sale;
    Lines expected = {
        "<ACCOUNTINGALLOCATIONS.LIST>",
        "<TAXCLASSIFICATIONNAME>Class A</TAXCLASSIFICATIONNAME>",
        "<LEDGERNAME>GST Sales 12%</LEDGERNAME>",
        "<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>",
        "<LEDGERFROMITEM>No</LEDGERFROMITEM>",
        "<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>",
        "<ISPARTYLEDGER>No</ISPARTYLEDGER>",
        "<AMOUNT>80.25</AMOUNT>",
        "<GSTOVRDNASSESSABLEVALUE>75</GSTOVRDNASSESSABLEVALUE>",
        "<CATEGORYALLOCATIONS.LIST>",
        "<CATEGORY>Primary Cost Category</CATEGORY>",
        "<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>",
        "<COSTCENTREALLOCATIONS.LIST>",
        "<NAME>North Zone</NAME>",
        "<AMOUNT>80.25</AMOUNT>",
        "</COSTCENTREALLOCATIONS.LIST>",
        "</CATEGORYALLOCATIONS.LIST>",
    };
    AppendLines(expected, EmptyRateBlocks());
    expected.push_back("</ACCOUNTINGALLOCATIONS.LIST>");
    EXPECT_EQ(sale.strAccountAlloc(80.25, "GST Sales 12%", "Class A", "North Zone", "", 75, 9.63),
              JoinLines(expected));
}

const Lines kPlainEntryItem = {
    "<STOCKITEMNAME>P100_7</STOCKITEMNAME>",
    "<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>",
    "<ISAUTONEGATE>No</ISAUTONEGATE>",
    "<RATE>12.5/PC</RATE>",
    "<AMOUNT>125</AMOUNT>",
    "<ACTUALQTY> 10 PC</ACTUALQTY>",
    "<BILLEDQTY> 10 PC</BILLEDQTY>",
};

TEST(TallySaleTrnInventory, RemarksOnlyWhenTheFirstIsSet) {
    TallySaleTrn sale;
    Lines noRemarks = {"<ALLINVENTORYENTRIES.LIST>"};
    AppendLines(noRemarks, kPlainEntryItem);
    noRemarks.push_back("</ALLINVENTORYENTRIES.LIST>");
    EXPECT_EQ(sale.strInvent_Sales("P100_7", 125, 10, "PC", 12.5, "Main Location", "Primary Batch",
                                   "", "second", "", "", "", ""),
              JoinLines(noRemarks));

    Lines withRemarks = {"<ALLINVENTORYENTRIES.LIST>"};
    AppendLines(withRemarks, {
                                 "<BASICUSERDESCRIPTION.LIST>",
                                 "<BASICUSERDESCRIPTION>Box &amp; strap</BASICUSERDESCRIPTION>",
                                 "<BASICUSERDESCRIPTION>Serial &lt;42&gt;</BASICUSERDESCRIPTION>",
                                 "<BASICUSERDESCRIPTION>six</BASICUSERDESCRIPTION>",
                                 "</BASICUSERDESCRIPTION.LIST>",
                             });
    AppendLines(withRemarks, kPlainEntryItem);
    withRemarks.push_back("</ALLINVENTORYENTRIES.LIST>");
    EXPECT_EQ(sale.strInvent_Sales("P100_7", 125, 10, "PC", 12.5, "Main Location", "Primary Batch",
                                   "Box & strap", "", "Serial <42>", "", "", "six"),
              JoinLines(withRemarks));
}

// A caller that forgets to reset the properties repeats the previous item's allocations.
TEST(TallySaleTrnInventory, PropertiesLeftSetAreAppendedAgain) {
    TallySaleTrn sale;
    const std::string batch =
        "<BATCHALLOCATIONS.LIST>\r\n<AMOUNT>125</AMOUNT>\r\n"
        "</BATCHALLOCATIONS.LIST>\r\n";
    const std::string alloc =
        "<ACCOUNTINGALLOCATIONS.LIST>\r\n<AMOUNT>125</AMOUNT>\r\n"
        "</ACCOUNTINGALLOCATIONS.LIST>\r\n";
    sale.strSale_Batch = batch;
    sale.strSale_Alloc = alloc;
    std::string first =
        sale.strInvent_Sales("P100_7", 125, 10, "PC", 12.5, "", "", "", "", "", "", "", "");
    std::string second =
        sale.strInvent_Sales("P200_8", 67, 2, "PC", 33.5, "", "", "", "", "", "", "", "");
    EXPECT_EQ(second, JoinLines({
                          "<ALLINVENTORYENTRIES.LIST>",
                          "<STOCKITEMNAME>P200_8</STOCKITEMNAME>",
                          "<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>",
                          "<ISAUTONEGATE>No</ISAUTONEGATE>",
                          "<RATE>33.5/PC</RATE>",
                          "<AMOUNT>67</AMOUNT>",
                          "<ACTUALQTY> 2 PC</ACTUALQTY>",
                          "<BILLEDQTY> 2 PC</BILLEDQTY>",
                          "<BATCHALLOCATIONS.LIST>",
                          "<AMOUNT>125</AMOUNT>",
                          "</BATCHALLOCATIONS.LIST>",
                          "<ACCOUNTINGALLOCATIONS.LIST>",
                          "<AMOUNT>125</AMOUNT>",
                          "</ACCOUNTINGALLOCATIONS.LIST>",
                          "</ALLINVENTORYENTRIES.LIST>",
                      }));
    EXPECT_NE(first.find(batch + alloc + "</ALLINVENTORYENTRIES.LIST>"), std::string::npos);

    sale.strSale_Batch.clear();
    sale.strSale_Alloc.clear();
    Lines plain = {"<ALLINVENTORYENTRIES.LIST>"};
    AppendLines(plain, kPlainEntryItem);
    plain.push_back("</ALLINVENTORYENTRIES.LIST>");
    EXPECT_EQ(sale.strInvent_Sales("P100_7", 125, 10, "PC", 12.5, "", "", "", "", "", "", "", ""),
              JoinLines(plain));
}

// Names as they may come from the source database, with what Tally must read back.
struct HostileCase {
    const char* party;
    const char* partyRead;
    const char* item;
    const char* itemRead;
    const char* number;
    const char* numberRead;
};

const HostileCase kHostile[] = {
    {"A & B \"Traders\" <Main>", "A & B \"Traders\" <Main>", "P&G_1", "P&G_1", "SI<1>", "SI<1>"},
    {"O'Brien's Mart", "O'Brien's Mart", "Tom's <Kit>_2", "Tom's <Kit>_2", "SI'2\"", "SI'2\""},
    {"R &amp; D Stores", "R & D Stores", "X&amp;Y_3", "X&Y_3", "SI&amp;3", "SI&3"},
    {"x</PARTYNAME><EVIL>", "x</PARTYNAME><EVIL>", "]]>_4", "]]>_4", "--><!--", "--><!--"},
    {"&unknown; & &amp", "&unknown; & &amp", "&#65;_5", "A_5", "&lt;6&gt;", "<6>"},
    {"  Padded & Co  ", "Padded & Co", " P100_6 ", "P100_6", " SI 6 ", "SI 6"},
    {"Rama's apos; shop", "Rama's apos; shop", "a;b&c_7", "a;b&c_7", "7&", "7&"},
    // References to characters XML forbids stay text, so nothing after them is lost.
    {"Ref&#0;_1", "Ref&#0;_1", "&#1;_8", "&#1;_8", "&#xD800;&#99999999;", "&#xD800;&#99999999;"},
    {"&#4; Applicable", "&#4; Applicable", "&#xFFFE;_9", "&#xFFFE;_9", "9&#x1F600;",
     "9\xF0\x9F\x98\x80"},
    // Characters XML forbids are dropped.
    {"Ref\x01_1", "Ref_1",
     "P\x0B"
     "100_10",
     "P100_10",
     "SI\xEF\xBF\xBE"
     "10",
     "SI10"},
    {"\x1B[31mRed\x1B[0m", "[31mRed[0m", "\x7F_11", "\x7F_11", "\t11\x08", "\t11"},
    // Bytes that are not UTF-8 are dropped here; the source converts Windows-1252 before.
    {"Caf\xE9 Stores", "Caf Stores",
     "\xC0\xAF"
     "P_12",
     "P_12",
     "\xED\xA0\x80"
     "SI12",
     "SI12"},
    {"\xF0\x9F\x98\x80 Mart", "\xF0\x9F\x98\x80 Mart", "\xE0\xAE\x9A_13", "\xE0\xAE\x9A_13",
     "13\xE2\x82", "13"},
};

TEST(TallySaleTrnHostile, PartyItemAndNumberSurviveParsing) {
    for (const HostileCase& c : kHostile) {
        SCOPED_TRACE(c.party);
        TallySaleTrn sale;
        HeadArgs head;
        head.party = c.party;
        head.number = c.number;
        head.reference = c.number;
        std::string request = AssembleInvoice(
            sale, head, 118, {{c.item, 4, 25, 100, "GST Sales 18%", "Sales Taxable", 100}}, {},
            SixteenTaxes(0, 0, 9, 9), 0);

        pugi::xml_document doc;
        ASSERT_TRUE(ParsesAsXml(request, doc));
        pugi::xml_node voucher = Voucher(doc);
        std::string partyLedger = voucher.child_value("PARTYLEDGERNAME");
        EXPECT_EQ(partyLedger, c.partyRead);
        EXPECT_EQ(std::string(voucher.child("LEDGERENTRIES.LIST").child_value("LEDGERNAME")),
                  partyLedger);
        EXPECT_EQ(std::string(voucher.child_value("PARTYNAME")), partyLedger);
        EXPECT_EQ(
            std::string(voucher.child("ALLINVENTORYENTRIES.LIST").child_value("STOCKITEMNAME")),
            c.itemRead);
        std::string number = voucher.child_value("VOUCHERNUMBER");
        EXPECT_EQ(number, c.numberRead);
        EXPECT_EQ(std::string(voucher.child("LEDGERENTRIES.LIST")
                                  .child("BILLALLOCATIONS.LIST")
                                  .child_value("NAME")),
                  number);
        EXPECT_NEAR(VoucherAmountSum(voucher), 0, 1e-9);

        // A caller passing the raw name to the party entry gets the same ledger.
        std::string rawNumber = c.number;
        EXPECT_EQ(sale.strSale_Party(c.party, rawNumber, 118),
                  sale.strSale_Party(head.party, head.number, 118));
    }
}

}  // namespace
}  // namespace zentrail
