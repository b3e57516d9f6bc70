#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/tally_xml_check.h"
#include "tally/vouchers/expected_text.h"
#include "tally/vouchers/sale_voucher_fixture.h"
#include "tally/vouchers/tally_sale_trn.h"

namespace zentrail {
namespace {

using namespace sale_fixture;
using testing::AppendLines;
using testing::Crlf;
using testing::InsertBefore;
using testing::JoinLines;
using testing::kEnvelopeBottom;
using testing::kEnvelopeTop;
using testing::Lines;
using testing::ParsesAsXml;
using testing::ReplaceLine;
using testing::VoucherAmountSum;

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

}  // namespace
}  // namespace zentrail
