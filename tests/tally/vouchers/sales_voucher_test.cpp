#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/tally_xml_check.h"
#include "tally/vouchers/expected_text.h"
#include "tally/vouchers/sale_voucher_fixture.h"
#include "tally/vouchers/voucher_entries.h"
#include "tally/vouchers/written_voucher.h"

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
using testing::WrittenEntry;
using testing::WrittenRequest;

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
TEST(SalesVoucher, CompleteInvoiceInCallingOrder) {
    HeadArgs head;
    std::string request =
        AssembleInvoice(head, 246,
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
    EXPECT_NEAR(VoucherAmountSum(VoucherNode(doc)), 0, 1e-9);
}

// The service sales voucher: ALLLEDGERENTRIES, the GST override on the service ledger of a
// registered party only, round-off -0.48.
TEST(SalesVoucher, ServiceInvoiceWithOverride) {
    HeadArgs head;
    head.type = "KVZ Service Sales";
    head.party = "Metro Supplies";
    head.number = head.reference = "SRV/24/0001";
    std::vector<VoucherEntry> entries;
    entries.push_back(SalesPartyEntry(EntryList::AllLedger, head.party, head.number, 1180));
    entries.push_back(SalesLedgerEntry(EntryList::AllLedger, "Visibility Claim Sales", 1000.4,
                                       false, SalesServiceNature(head.gstin, 0)));
    for (LedgerAmount tax : std::vector<LedgerAmount>{
             {"CGST 9%", 90.04}, {"SGST 9%", 90.04}, {"IGST 18%", 0}, {"UTGST 9%", 0}})
        entries.push_back(SalesLedgerEntry(EntryList::AllLedger, tax.ledger, tax.amount, false));
    entries.push_back(SalesLedgerEntry(EntryList::AllLedger, "Round Off", -0.48, false));
    const std::string body = testing::WrittenEntries(entries, head.Value());
    const std::string request = WrittenRequest({.head = head.Value(), .entries = entries});

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
    EXPECT_NEAR(VoucherAmountSum(VoucherNode(doc)), 0, 1e-9);
}

TEST(SalesVoucherHead, RemarksGiveASecondNarrationBeforeAlterId) {
    HeadArgs args;
    args.remarks = "  Goods <damaged> & returned ";
    Lines expected = kHead;
    const std::string narration = "<NARRATION>Goods &lt;damaged&gt; &amp; returned</NARRATION>";
    ReplaceLine(expected, "<NARRATION></NARRATION>", narration);
    InsertBefore(expected, "<ALTERID></ALTERID>", narration);
    EXPECT_EQ(args.Head(), JoinLines(expected));
}

TEST(SalesVoucherHead, BlankRemarksCountAsEmpty) {
    HeadArgs args;
    args.remarks = "   ";
    EXPECT_EQ(args.Head(), JoinLines(kHead));
}

TEST(SalesVoucherHead, EscapesOnceExceptTheAddress) {
    HeadArgs args;
    args.type = "KVZ <Sales>";
    args.party = "R & S \"Agencies\"";
    args.number = "INV'7";
    args.reference = "INV'7";
    args.buyer = "R & S";
    args.state = "Jammu & Kashmir";
    args.add4 = args.state;
    std::string head = args.Head();
    EXPECT_NE(head.find("<VOUCHER REMOTEID=\"6178b2bd-1d64-4c89-9c2a-20240115-KVZ &lt;Sales&gt;-"
                        "R &amp; S &quot;Agencies&quot;-INV&apos;7-INV&apos;7\" VCHTYPE=\"KVZ "
                        "&lt;Sales&gt;\" ACTION=\"Create\">\r\n"),
              std::string::npos);
    EXPECT_NE(head.find("<BASICBUYERNAME>R &amp; S</BASICBUYERNAME>\r\n"), std::string::npos);
    EXPECT_NE(head.find("<STATENAME>Jammu &amp; Kashmir</STATENAME>\r\n"), std::string::npos);
    EXPECT_NE(head.find("<PLACEOFSUPPLY>Jammu &amp; Kashmir</PLACEOFSUPPLY>\r\n"),
              std::string::npos);

    // Texts already escaped write the same head; address lines always take one more escape,
    // so the raw address is kept.
    args.type = "KVZ &lt;Sales&gt;";
    args.party = "R &amp; S &quot;Agencies&quot;";
    args.number = "INV&apos;7";
    args.reference = "INV&apos;7";
    args.buyer = "R &amp; S";
    args.state = "Jammu &amp; Kashmir";
    EXPECT_EQ(args.Head(), head);
    args.add2 = "Shop 3 &amp; 4";
    EXPECT_NE(args.Head().find("<BASICBUYERADDRESS>Shop 3 &amp;amp; 4</BASICBUYERADDRESS>"),
              std::string::npos);
}

TEST(SalesVoucherEntries, LedgerEntriesAndZeroAmounts) {
    auto entry = [](EntryList list, const char* ledger, double amount, bool debit,
                    std::string nature = {}) {
        return WrittenEntry(SalesLedgerEntry(list, ledger, amount, debit, std::move(nature)));
    };
    EXPECT_EQ(entry(EntryList::Ledger, "CGST 9%", 0, false), "");
    EXPECT_EQ(entry(EntryList::AllLedger, "CGST 9%", 0, false), "");
    EXPECT_EQ(entry(EntryList::Ledger, "CGST 9%", 0, true), "");
    EXPECT_EQ(entry(EntryList::AllLedger, "CGST 9%", 0, false, "Sales Taxable"), "");

    EXPECT_EQ(entry(EntryList::Ledger, "CGST 9%", 45.5, false),
              JoinLines(CreditEntry("CGST 9%", "45.5")));
    EXPECT_EQ(entry(EntryList::Ledger, "CGST 9%", 45.5, true),
              JoinLines(LedgerEntry("LEDGERENTRIES.LIST", true, "CGST 9%", "-45.5")));
    // The minus sign goes in front of the number's text: a negative debit reads "--".
    std::string negativeDebit = entry(EntryList::Ledger, "Round Off", -0.4, true);
    EXPECT_NE(negativeDebit.find("<AMOUNT>--0.4</AMOUNT>\r\n<VATEXPAMOUNT>--0.4</VATEXPAMOUNT>"),
              std::string::npos);
    EXPECT_EQ(testing::TallyAmount("--0.4"), 0.4);
    EXPECT_EQ(entry(EntryList::Ledger, "P&L Adjustment", 3, false),
              JoinLines(CreditEntry("P&amp;L Adjustment", "3")));
}

TEST(SalesVoucherEntries, GstOverrideOnlyForGstinWithoutIntegratedTax) {
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
        EXPECT_EQ(WrittenEntry(SalesLedgerEntry(EntryList::AllLedger, "Visibility Claim Sales", 70,
                                                false, SalesServiceNature(c.gstin, c.igst))),
                  JoinLines(c.override ? withOverride : withoutOverride))
            << "GSTIN '" << c.gstin << "' IGST " << c.igst;
    }
}

TEST(SalesVoucherEntries, PartyEntryWrittenAlsoForZero) {
    std::string entry = WrittenEntry(SalesPartyEntry(EntryList::Ledger, "ABC", "SI-1", 0));
    EXPECT_NE(entry.find("<AMOUNT>-0</AMOUNT>\r\n<BILLALLOCATIONS.LIST>\r\n<NAME>SI-1</NAME>"),
              std::string::npos);
}

const VoucherHead kSalesHead{.kind = VoucherKind::Sales};

TEST(SalesVoucherInventory, AccountAllocationWithCostCentreAndNoTaxType) {
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
    const InventoryLine line{.item = "P100_7",
                             .allocation = {.ledger = "GST Sales 12%",
                                            .taxClass = "Class A",
                                            .amount = 80.25,
                                            .assessable = 75,
                                            .costCentre = "North Zone"}};
    const std::string entry = WrittenEntry(line, kSalesHead);
    const size_t open = entry.find("<ACCOUNTINGALLOCATIONS.LIST>");
    ASSERT_NE(open, std::string::npos);
    EXPECT_EQ(entry.substr(open), JoinLines(expected) + "</ALLINVENTORYENTRIES.LIST>\r\n");
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

TEST(SalesVoucherInventory, RemarksOnlyWhenTheFirstIsSet) {
    InventoryLine line{.item = "P100_7", .rate = 12.5, .amount = 125, .quantity = 10, .unit = "PC"};
    auto stockPart = [&line]() {
        const std::string entry = WrittenEntry(line, kSalesHead);
        return entry.substr(0, entry.find("<BATCHALLOCATIONS.LIST>"));
    };
    Lines noRemarks = {"<ALLINVENTORYENTRIES.LIST>"};
    AppendLines(noRemarks, kPlainEntryItem);
    line.remarks = {"", "second", "", "", "", ""};
    EXPECT_EQ(stockPart(), JoinLines(noRemarks));

    Lines withRemarks = {"<ALLINVENTORYENTRIES.LIST>"};
    AppendLines(withRemarks, {
                                 "<BASICUSERDESCRIPTION.LIST>",
                                 "<BASICUSERDESCRIPTION>Box &amp; strap</BASICUSERDESCRIPTION>",
                                 "<BASICUSERDESCRIPTION>Serial &lt;42&gt;</BASICUSERDESCRIPTION>",
                                 "<BASICUSERDESCRIPTION>six</BASICUSERDESCRIPTION>",
                                 "</BASICUSERDESCRIPTION.LIST>",
                             });
    AppendLines(withRemarks, kPlainEntryItem);
    line.remarks = {"Box & strap", "", "Serial <42>", "", "", "six"};
    EXPECT_EQ(stockPart(), JoinLines(withRemarks));
}

}  // namespace
}  // namespace zentrail
