#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/tally_xml_check.h"
#include "tally/vouchers/credit_note_voucher_fixture.h"
#include "tally/vouchers/expected_text.h"
#include "tally/vouchers/voucher_entries.h"
#include "tally/vouchers/written_voucher.h"

namespace zentrail {
namespace {

using namespace credit_note_fixture;
using testing::AppendLines;
using testing::Crlf;
using testing::JoinLines;
using testing::kEnvelopeBottom;
using testing::kEnvelopeTop;
using testing::Lines;
using testing::ParsesAsXml;
using testing::ReplaceLine;
using testing::VoucherAmountSum;
using testing::WrittenEntry;
using testing::WrittenHead;
using testing::WrittenRequest;

Lines LedgerEntry(const std::string& list, const std::string& ledger, const std::string& amount) {
    return {
        "<" + list + ">",
        "<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>",
        "<ISDEEMEDPOSITIVE>Yes</ISDEEMEDPOSITIVE>",
        "<LEDGERFROMITEM>No</LEDGERFROMITEM>",
        "<LEDGERNAME>" + ledger + "</LEDGERNAME>",
        "<ISPARTYLEDGER>No</ISPARTYLEDGER>",
        "<AMOUNT>" + amount + "</AMOUNT>",
        "<VATEXPAMOUNT>" + amount + "</VATEXPAMOUNT>",
        "</" + list + ">",
    };
}

Lines PartyEntry(const std::string& list, const std::string& party, const std::string& bill,
                 const std::string& amount) {
    return {
        "<" + list + ">",
        "<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>",
        "<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>",
        "<LEDGERFROMITEM>No</LEDGERFROMITEM>",
        "<LEDGERNAME>" + party + "</LEDGERNAME>",
        "<ISPARTYLEDGER>Yes</ISPARTYLEDGER>",
        "<AMOUNT>" + amount + "</AMOUNT>",
        "<BILLALLOCATIONS.LIST>",
        "<NAME>" + bill + "</NAME>",
        "<BILLTYPE>New Ref</BILLTYPE>",
        "<BILLCREDITPERIOD/>",
        "<AMOUNT>" + amount + "</AMOUNT>",
        "</BILLALLOCATIONS.LIST>",
        "</" + list + ">",
    };
}

// The batch allocation of a line in Main Location, Primary Batch, with no order or tracking.
Lines BatchAllocation(const std::string& qty, const std::string& amount) {
    return {
        "<BATCHALLOCATIONS.LIST>",
        "<GODOWNNAME>Main Location</GODOWNNAME>",
        "<BATCHNAME>Primary Batch</BATCHNAME>",
        "<ORDERNO></ORDERNO>",
        "<TRACKINGNUMBER></TRACKINGNUMBER>",
        "<MFDON></MFDON>",
        "<EXPIRYPERIOD/>",
        "<AMOUNT>" + amount + "</AMOUNT>",
        "<ACTUALQTY> " + qty + " PC</ACTUALQTY>",
        "<BILLEDQTY> " + qty + " PC</BILLEDQTY>",
        "<ORDERDUEDATE></ORDERDUEDATE>",
        "</BATCHALLOCATIONS.LIST>",
    };
}

// One returned stock line: qty, rate, gross and net value as written.
Lines InventoryEntry(const std::string& item, const std::string& qty, const std::string& rate,
                     const std::string& gross, const std::string& ledger, const std::string& nature,
                     const std::string& net) {
    Lines lines = {
        "<ALLINVENTORYENTRIES.LIST>",
        "<STOCKITEMNAME>" + item + "</STOCKITEMNAME>",
        "<ISDEEMEDPOSITIVE>Yes</ISDEEMEDPOSITIVE>",
        "<ISAUTONEGATE>No</ISAUTONEGATE>",
        "<RATE>" + rate + "/PC</RATE>",
        "<AMOUNT>-" + gross + "</AMOUNT>",
        "<ACTUALQTY> " + qty + " PC</ACTUALQTY>",
        "<BILLEDQTY> " + qty + " PC</BILLEDQTY>",
    };
    AppendLines(lines, BatchAllocation(qty, "-" + gross));
    AppendLines(lines, {
                           "<ACCOUNTINGALLOCATIONS.LIST>",
                           "<TAXCLASSIFICATIONNAME></TAXCLASSIFICATIONNAME>",
                           "<LEDGERNAME>" + ledger + "</LEDGERNAME>",
                           "<GSTOVRDNNATURE>" + nature + "</GSTOVRDNNATURE>",
                           "<GSTOVRDNINELIGIBLEITC>&#4; Not Applicable</GSTOVRDNINELIGIBLEITC>",
                           "<GSTOVRDNISREVCHARGEAPPL>&#4; Not Applicable</GSTOVRDNISREVCHARGEAPPL>",
                           "<GSTOVRDNASSESSABLEVALUE>-" + net + "</GSTOVRDNASSESSABLEVALUE>",
                           "<ISDEEMEDPOSITIVE>Yes</ISDEEMEDPOSITIVE>",
                           "<LEDGERFROMITEM>No</LEDGERFROMITEM>",
                           "<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>",
                           "<ISPARTYLEDGER>No</ISPARTYLEDGER>",
                           "<AMOUNT>-" + gross + "</AMOUNT>",
                           "</ACCOUNTINGALLOCATIONS.LIST>",
                           "</ALLINVENTORYENTRIES.LIST>",
                       });
    return lines;
}

// Two returned lines: gross 90.5, discounts 3.5, taxes 13.86, party credit 100.86.
TEST(CreditNoteVoucher, CompleteSalesReturnInCallingOrder) {
    HeadArgs head;
    std::string request =
        AssembleReturn(head, 100.86,
                       {{"P100_7", 4, 12.5, 50, "GST Sales 18%", "Sales Taxable", 47},
                        {"P300_9", 2, 20.25, 40.5, "GST Sales 12%", "Sales Taxable", 40}},
                       {{"Scheme Discount", 2}, {"Special Discount", 0.5}, {"Cash Discount", 1}},
                       SixteenTaxes(2.43, 2.43, 4.5, 4.5));

    Lines expected;
    AppendLines(expected, kHead);
    AppendLines(expected, PartyEntry("LEDGERENTRIES.LIST", "City Mart_42", "SI-0042", "100.86"));
    AppendLines(expected, InventoryEntry("P100_7", "4", "12.5", "50", "GST Sales 18%",
                                         "Sales Taxable", "47"));
    AppendLines(expected, InventoryEntry("P300_9", "2", "20.25", "40.5", "GST Sales 12%",
                                         "Sales Taxable", "40"));
    AppendLines(expected, LedgerEntry("LEDGERENTRIES.LIST", "Scheme Discount", "2"));
    AppendLines(expected, LedgerEntry("LEDGERENTRIES.LIST", "Special Discount", "0.5"));
    AppendLines(expected, LedgerEntry("LEDGERENTRIES.LIST", "Cash Discount", "1"));
    AppendLines(expected, LedgerEntry("LEDGERENTRIES.LIST", "CGST 6%", "-2.43"));
    AppendLines(expected, LedgerEntry("LEDGERENTRIES.LIST", "SGST 6%", "-2.43"));
    AppendLines(expected, LedgerEntry("LEDGERENTRIES.LIST", "CGST 9%", "-4.5"));
    AppendLines(expected, LedgerEntry("LEDGERENTRIES.LIST", "SGST 9%", "-4.5"));

    EXPECT_EQ(request, Crlf(kEnvelopeTop) + JoinLines(expected) + Crlf(kEnvelopeBottom));

    pugi::xml_document doc;
    ASSERT_TRUE(ParsesAsXml(request, doc));
    EXPECT_NEAR(VoucherAmountSum(VoucherNode(doc)), 0, 1e-9);
}

// The accounts-only voucher of a retailer credit note, with a narration.
TEST(CreditNoteVoucher, CompleteRetailerCreditNoteInCallingOrder) {
    HeadArgs head;
    head.type = "KVZ Credit Note";
    head.date = "20240201";
    head.party = "Sri Balaji Stores_17";
    head.number = "CN-0003";
    head.reference = "SI-0042";
    head.remarks = "Rate difference & display";
    head.state = "";
    head.gstin = "";
    head.add1 = "7 Car Street";
    head.add2 = "Madurai";
    head.add3 = "";
    head.add4 = "";
    head.refDate = "20240115";

    zentrail::Voucher v{.head = head.Value()};
    v.entries.push_back(CreditedPartyEntry(EntryList::AllLedger, head.party, head.reference, 250));
    v.entries.push_back(CreditNoteLedgerEntry(EntryList::AllLedger, "Rate Difference", 250, true));
    const std::string request = WrittenRequest(v);

    const std::string key =
        "6178b2bd-1d64-4c89-9c2a-20240201-KVZ Credit Note-Sri Balaji Stores_17-CN-0003-SI-0042";
    Lines expected;
    AppendLines(expected, {
                              "<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">",
                              "<VOUCHER REMOTEID=\"" + key +
                                  "\" VCHTYPE=\"KVZ Credit Note\" ACTION=\"Create\">",
                              "<DATE>20240201</DATE>",
                              "<GUID>" + key + "</GUID>",
                              "<NARRATION>Rate difference &amp; display</NARRATION>",
                              "<VOUCHERTYPENAME>KVZ Credit Note</VOUCHERTYPENAME>",
                              "<ISOPTIONAL>No</ISOPTIONAL>",
                              "<USEFORGAINLOSS>No</USEFORGAINLOSS>",
                              "<USEFORCOMPOUND>No</USEFORCOMPOUND>",
                              "<EFFECTIVEDATE>20240201</EFFECTIVEDATE>",
                              "<ISCANCELLED>No</ISCANCELLED>",
                              "<USETRACKINGNUMBER>No</USETRACKINGNUMBER>",
                              "<ISPOSTDATED>No</ISPOSTDATED>",
                              "<ISINVOICE>Yes</ISINVOICE>",
                              "<DIFFACTUALQTY>No</DIFFACTUALQTY>",
                              "<VOUCHERNUMBER>CN-0003</VOUCHERNUMBER>",
                              "<REFERENCE>SI-0042</REFERENCE>",
                              "<REFERENCEDATE>20240115</REFERENCEDATE>",
                              "<BASICBUYERNAME></BASICBUYERNAME>",
                              "<PARTYNAME>Sri Balaji Stores_17</PARTYNAME>",
                              "<BASEPARTYNAME>Sri Balaji Stores_17</BASEPARTYNAME>",
                              "<PARTYLEDGERNAME>Sri Balaji Stores_17</PARTYLEDGERNAME>",
                              "<STATENAME></STATENAME>",
                              "<GSTNATUREOFRETURN>01-Sales Return</GSTNATUREOFRETURN>",
                              "<PLACEOFSUPPLY></PLACEOFSUPPLY>",
                              "<ISGSTOVERRIDDEN>Yes</ISGSTOVERRIDDEN>",
                              "<GSTNOTEXPORTED>No</GSTNOTEXPORTED>",
                              "<BASICBUYERADDRESS.LIST TYPE=\"String\">",
                              "<BASICBUYERADDRESS>7 Car Street</BASICBUYERADDRESS>",
                              "<BASICBUYERADDRESS>Madurai</BASICBUYERADDRESS>",
                              "<BASICBUYERADDRESS></BASICBUYERADDRESS>",
                              "<BASICBUYERADDRESS></BASICBUYERADDRESS>",
                              "<BASICBUYERADDRESS></BASICBUYERADDRESS>",
                              "</BASICBUYERADDRESS.LIST><NARRATION>Rate difference &amp; display"
                              "</NARRATION>",
                              "<ALTERID></ALTERID>",
                          });
    AppendLines(expected,
                PartyEntry("ALLLEDGERENTRIES.LIST", "Sri Balaji Stores_17", "SI-0042", "250"));
    AppendLines(expected, LedgerEntry("ALLLEDGERENTRIES.LIST", "Rate Difference", "-250"));

    EXPECT_EQ(request, Crlf(kEnvelopeTop) + JoinLines(expected) + Crlf(kEnvelopeBottom));

    pugi::xml_document doc;
    ASSERT_TRUE(ParsesAsXml(request, doc));
    EXPECT_NEAR(VoucherAmountSum(VoucherNode(doc)), 0, 1e-9);
}

TEST(CreditNoteVoucherHead, RemarksFollowTheAddressListOnTheSameLine) {
    HeadArgs args;
    args.remarks = " Damaged <3> cartons ";
    Lines expected = kHead;
    ReplaceLine(expected, "<NARRATION></NARRATION>",
                "<NARRATION>Damaged &lt;3&gt; cartons</NARRATION>");
    ReplaceLine(expected, "</BASICBUYERADDRESS.LIST><ALTERID></ALTERID>",
                "</BASICBUYERADDRESS.LIST><NARRATION>Damaged &lt;3&gt; cartons</NARRATION>");
    expected.push_back("<ALTERID></ALTERID>");
    std::string head = args.Head();
    EXPECT_EQ(head, JoinLines(expected));

    // Still well formed once closed.
    pugi::xml_document doc;
    EXPECT_TRUE(ParsesAsXml(head + "</VOUCHER>\r\n</TALLYMESSAGE>\r\n", doc));
}

TEST(CreditNoteVoucherHead, EscapesEveryText) {
    HeadArgs args;
    args.party = "Kumar & Sons";
    args.number = "SR<7>";
    args.reference = "SI'42";
    args.state = "Jammu & Kashmir";
    args.add4 = args.state;
    args.add1 = "  Shop 3 & 4  ";
    std::string head = args.Head();
    EXPECT_NE(head.find("\" VCHTYPE=\"Credit Note\" ACTION=\"Create\">\r\n"), std::string::npos);
    EXPECT_NE(head.find("<GUID>6178b2bd-1d64-4c89-9c2a-20240120-Credit Note-Kumar &amp; Sons-"
                        "SR&lt;7&gt;-SI&apos;42</GUID>\r\n"),
              std::string::npos);
    EXPECT_NE(head.find("<STATENAME>Jammu &amp; Kashmir</STATENAME>\r\n"), std::string::npos);
    EXPECT_NE(head.find("<PLACEOFSUPPLY>Jammu &amp; Kashmir</PLACEOFSUPPLY>\r\n"),
              std::string::npos);
    EXPECT_NE(head.find("<BASICBUYERADDRESS>Jammu &amp; Kashmir</BASICBUYERADDRESS>\r\n"),
              std::string::npos);
    EXPECT_NE(head.find("<BASICBUYERADDRESS>Shop 3 &amp; 4</BASICBUYERADDRESS>\r\n"),
              std::string::npos);
}

TEST(CreditNoteVoucherEntries, LedgerEntriesAndZeroAmounts) {
    auto entry = [](EntryList list, const char* ledger, double amount, bool debit) {
        return WrittenEntry(CreditNoteLedgerEntry(list, ledger, amount, debit));
    };
    EXPECT_EQ(entry(EntryList::Ledger, "CGST 9%", 0, true), "");
    EXPECT_EQ(entry(EntryList::Ledger, "CGST 9%", 0, false), "");
    EXPECT_EQ(entry(EntryList::AllLedger, "CGST 9%", 0, true), "");

    EXPECT_EQ(entry(EntryList::Ledger, "CGST 9%", 12.5, true),
              JoinLines(LedgerEntry("LEDGERENTRIES.LIST", "CGST 9%", "-12.5")));
    EXPECT_EQ(entry(EntryList::AllLedger, "CGST 9%", 12.5, true),
              JoinLines(LedgerEntry("ALLLEDGERENTRIES.LIST", "CGST 9%", "-12.5")));
    EXPECT_EQ(entry(EntryList::Ledger, "CGST 9%", 12.5, false),
              JoinLines(LedgerEntry("LEDGERENTRIES.LIST", "CGST 9%", "12.5")));
    // The minus goes in front of the number's text, never negating it.
    EXPECT_EQ(entry(EntryList::Ledger, "CGST 9%", -3, true),
              JoinLines(LedgerEntry("LEDGERENTRIES.LIST", "CGST 9%", "--3")));
    EXPECT_EQ(entry(EntryList::AllLedger, "Breakage & Leakage", 40, true),
              JoinLines(LedgerEntry("ALLLEDGERENTRIES.LIST", "Breakage &amp; Leakage", "-40")));
}

TEST(CreditNoteVoucherEntries, PartyEntryWrittenAlsoForZero) {
    EXPECT_EQ(WrittenEntry(CreditedPartyEntry(EntryList::Ledger, "Kumar & Sons", "SI&7", 0)),
              JoinLines(PartyEntry("LEDGERENTRIES.LIST", "Kumar &amp; Sons", "SI&amp;7", "0")));
    EXPECT_EQ(
        WrittenEntry(CreditedPartyEntry(EntryList::AllLedger, "Kumar & Sons", "SI&7", 99.9)),
        JoinLines(PartyEntry("ALLLEDGERENTRIES.LIST", "Kumar &amp; Sons", "SI&amp;7", "99.9")));
}

// The allocation of a returned line inside its inventory entry: from its opening to its end.
std::string AllocationOf(const std::string& entry) {
    const size_t open = entry.find("<ACCOUNTINGALLOCATIONS.LIST>");
    const std::string close = "</ACCOUNTINGALLOCATIONS.LIST>\r\n";
    const size_t end = entry.find(close, open);
    if (open == std::string::npos || end == std::string::npos) return {};
    return entry.substr(open, end + close.size() - open);
}

const VoucherHead kReturnHead{.kind = VoucherKind::CreditNote};

TEST(CreditNoteVoucherInventory, AccountAllocationWithoutTaxTypeWithCostCentre) {
    InventoryLine line{.item = "P100_7",
                       .allocation = {.ledger = "GST Sales 0%",
                                      .amount = 80.25,
                                      .assessable = 75,
                                      .costCentre = "North Zone"}};
    EXPECT_EQ(AllocationOf(WrittenEntry(line, kReturnHead)),
              JoinLines({
                  "<ACCOUNTINGALLOCATIONS.LIST>",
                  "<TAXCLASSIFICATIONNAME></TAXCLASSIFICATIONNAME>",
                  "<LEDGERNAME>GST Sales 0%</LEDGERNAME>",
                  "<ISDEEMEDPOSITIVE>Yes</ISDEEMEDPOSITIVE>",
                  "<LEDGERFROMITEM>No</LEDGERFROMITEM>",
                  "<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>",
                  "<ISPARTYLEDGER>No</ISPARTYLEDGER>",
                  "<AMOUNT>-80.25</AMOUNT>",
                  "<CATEGORYALLOCATIONS.LIST>",
                  "<CATEGORY>Primary Cost Category</CATEGORY>",
                  "<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>",
                  "<COSTCENTREALLOCATIONS.LIST>",
                  "<NAME>North Zone</NAME>",
                  "<AMOUNT>-80.25</AMOUNT>",
                  "</COSTCENTREALLOCATIONS.LIST>",
                  "</CATEGORYALLOCATIONS.LIST>",
                  "</ACCOUNTINGALLOCATIONS.LIST>",
              }));
}

const Lines kPlainItem = {
    "<STOCKITEMNAME>P100_7</STOCKITEMNAME>",
    "<ISDEEMEDPOSITIVE>Yes</ISDEEMEDPOSITIVE>",
    "<ISAUTONEGATE>No</ISAUTONEGATE>",
    "<RATE>12.5/PC</RATE>",
    "<AMOUNT>-50</AMOUNT>",
    "<ACTUALQTY> 4 PC</ACTUALQTY>",
    "<BILLEDQTY> 4 PC</BILLEDQTY>",
};

// The entry's lines up to its batch allocation.
std::string StockPartOf(const std::string& entry) {
    return entry.substr(0, entry.find("<BATCHALLOCATIONS.LIST>"));
}

TEST(CreditNoteVoucherInventory, RemarksOnlyWhenTheFirstIsSet) {
    InventoryLine line{.item = "P100_7", .rate = 12.5, .amount = 50, .quantity = 4, .unit = "PC"};
    Lines plain = {"<ALLINVENTORYENTRIES.LIST>"};
    AppendLines(plain, kPlainItem);
    // An empty first remark suppresses the later ones.
    line.remarks = {"", "second", "", "", "", "sixth"};
    EXPECT_EQ(StockPartOf(WrittenEntry(line, kReturnHead)), JoinLines(plain));

    Lines withRemarks = {
        "<ALLINVENTORYENTRIES.LIST>",
        "<BASICUSERDESCRIPTION.LIST>",
        "<BASICUSERDESCRIPTION>Seal &amp; tag</BASICUSERDESCRIPTION>",
        "<BASICUSERDESCRIPTION>Lot &quot;B&quot;</BASICUSERDESCRIPTION>",
        "</BASICUSERDESCRIPTION.LIST>",
    };
    AppendLines(withRemarks, kPlainItem);
    line.remarks = {"Seal & tag", "", "", "Lot \"B\"", "", ""};
    EXPECT_EQ(StockPartOf(WrittenEntry(line, kReturnHead)), JoinLines(withRemarks));
}

}  // namespace
}  // namespace zentrail
