#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/tally_xml_check.h"
#include "tally/vouchers/credit_note_voucher_fixture.h"
#include "tally/vouchers/expected_text.h"
#include "tally/vouchers/tally_credit_note_trn.h"

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
TEST(TallyCreditNoteTrnVoucher, CompleteSalesReturnInCallingOrder) {
    TallyCreditNoteTrn note;
    HeadArgs head;
    std::string request =
        AssembleReturn(note, head, 100.86,
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
    EXPECT_NEAR(VoucherAmountSum(Voucher(doc)), 0, 1e-9);
}

// The accounts-only voucher of a retailer credit note, with a narration.
TEST(TallyCreditNoteTrnVoucher, CompleteRetailerCreditNoteInCallingOrder) {
    TallyCreditNoteTrn note;
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
    std::string reason = "Rate Difference";

    std::string report = "Vouchers";
    std::string request = note.strTopMaster(report, "Zentrail Demo & Co");
    request += head.Head(note);
    request += note.strCNote_Party_Vch(head.party, head.reference, 250);
    request += note.strCreditNote_Dr_Vch(reason, 250);
    request += "</VOUCHER>\r\n</TALLYMESSAGE>\r\n";
    request += note.strBottom();

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
    EXPECT_NEAR(VoucherAmountSum(Voucher(doc)), 0, 1e-9);
    EXPECT_EQ(head.remarks, "Rate difference &amp; display");
}

TEST(TallyCreditNoteTrnHead, RemarksFollowTheAddressListOnTheSameLine) {
    TallyCreditNoteTrn note;
    HeadArgs args;
    args.remarks = " Damaged <3> cartons ";
    Lines expected = kHead;
    ReplaceLine(expected, "<NARRATION></NARRATION>",
                "<NARRATION>Damaged &lt;3&gt; cartons</NARRATION>");
    ReplaceLine(expected, "</BASICBUYERADDRESS.LIST><ALTERID></ALTERID>",
                "</BASICBUYERADDRESS.LIST><NARRATION>Damaged &lt;3&gt; cartons</NARRATION>");
    expected.push_back("<ALTERID></ALTERID>");
    std::string head = args.Head(note);
    EXPECT_EQ(head, JoinLines(expected));

    // Still well formed once closed.
    pugi::xml_document doc;
    EXPECT_TRUE(ParsesAsXml(head + "</VOUCHER>\r\n</TALLYMESSAGE>\r\n", doc));
}

TEST(TallyCreditNoteTrnHead, EscapesInPlaceAndKeepsByValueArguments) {
    TallyCreditNoteTrn note;
    HeadArgs args;
    args.party = "Kumar & Sons";
    args.number = "SR<7>";
    args.reference = "SI'42";
    args.state = "Jammu & Kashmir";
    args.add4 = args.state;
    args.add1 = "  Shop 3 & 4  ";
    std::string head = args.Head(note);
    EXPECT_EQ(args.party, "Kumar &amp; Sons");
    EXPECT_EQ(args.number, "SR&lt;7&gt;");
    EXPECT_EQ(args.reference, "SI&apos;42");
    EXPECT_EQ(args.state, "Jammu & Kashmir");
    EXPECT_EQ(args.add4, "Jammu &amp; Kashmir");
    EXPECT_EQ(args.add1, "Shop 3 &amp; 4");
    EXPECT_NE(head.find("\" VCHTYPE=\"Credit Note\" ACTION=\"Create\">\r\n"), std::string::npos);
    EXPECT_NE(head.find("<GUID>6178b2bd-1d64-4c89-9c2a-20240120-Credit Note-Kumar &amp; Sons-"
                        "SR&lt;7&gt;-SI&apos;42</GUID>\r\n"),
              std::string::npos);
    EXPECT_NE(head.find("<STATENAME>Jammu &amp; Kashmir</STATENAME>\r\n"), std::string::npos);
    EXPECT_NE(head.find("<PLACEOFSUPPLY>Jammu &amp; Kashmir</PLACEOFSUPPLY>\r\n"),
              std::string::npos);
    EXPECT_NE(head.find("<BASICBUYERADDRESS>Jammu &amp; Kashmir</BASICBUYERADDRESS>\r\n"),
              std::string::npos);
}

TEST(TallyCreditNoteTrnEntries, LedgerEntriesAndZeroAmounts) {
    TallyCreditNoteTrn note;
    std::string ledger = "CGST 9%";
    EXPECT_EQ(note.strCreditNote_Dr(ledger, 0), "");
    EXPECT_EQ(note.strCreditNote_Dr_Sch(ledger, 0), "");
    EXPECT_EQ(note.strCreditNote_Dr_Vch(ledger, 0), "");

    EXPECT_EQ(note.strCreditNote_Dr(ledger, 12.5),
              JoinLines(LedgerEntry("LEDGERENTRIES.LIST", "CGST 9%", "-12.5")));
    EXPECT_EQ(note.strCreditNote_Dr_Vch(ledger, 12.5),
              JoinLines(LedgerEntry("ALLLEDGERENTRIES.LIST", "CGST 9%", "-12.5")));
    EXPECT_EQ(note.strCreditNote_Dr_Sch(ledger, 12.5),
              JoinLines(LedgerEntry("LEDGERENTRIES.LIST", "CGST 9%", "12.5")));
    // The minus goes in front of the number's text, never negating it.
    EXPECT_EQ(note.strCreditNote_Dr(ledger, -3),
              JoinLines(LedgerEntry("LEDGERENTRIES.LIST", "CGST 9%", "--3")));

    std::string reason = "Breakage & Leakage";
    EXPECT_EQ(note.strCreditNote_Dr_Vch(reason, 40),
              JoinLines(LedgerEntry("ALLLEDGERENTRIES.LIST", "Breakage &amp; Leakage", "-40")));
    EXPECT_EQ(reason, "Breakage &amp; Leakage");
}

TEST(TallyCreditNoteTrnEntries, PartyEntryWrittenAlsoForZeroAndKeepsArguments) {
    TallyCreditNoteTrn note;
    const std::string party = "Kumar & Sons";
    const std::string bill = "SI&7";
    EXPECT_EQ(note.strCreditNote_Party(party, bill, 0),
              JoinLines(PartyEntry("LEDGERENTRIES.LIST", "Kumar &amp; Sons", "SI&amp;7", "0")));
    EXPECT_EQ(
        note.strCNote_Party_Vch(party, bill, 99.9),
        JoinLines(PartyEntry("ALLLEDGERENTRIES.LIST", "Kumar &amp; Sons", "SI&amp;7", "99.9")));
}

TEST(TallyCreditNoteTrnInventory, AccountAllocationWithoutTaxTypeWithCostCentre) {
    TallyCreditNoteTrn note;
    EXPECT_EQ(note.strAccountAlloc(80.25, "GST Sales 0%", "", "North Zone", "", 75),
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

TEST(TallyCreditNoteTrnInventory, EntryWithoutAllocationsAndRemarks) {
    TallyCreditNoteTrn note;
    Lines plain = {"<ALLINVENTORYENTRIES.LIST>"};
    AppendLines(plain, kPlainItem);
    plain.push_back("</ALLINVENTORYENTRIES.LIST>");
    // An empty first remark suppresses the later ones.
    EXPECT_EQ(note.strInvent_Crd("P100_7", 50, 4, "PC", 12.5, "Main Location", "Primary Batch", "",
                                 "second", "", "", "", "sixth"),
              JoinLines(plain));

    Lines withRemarks = {
        "<ALLINVENTORYENTRIES.LIST>",
        "<BASICUSERDESCRIPTION.LIST>",
        "<BASICUSERDESCRIPTION>Seal &amp; tag</BASICUSERDESCRIPTION>",
        "<BASICUSERDESCRIPTION>Lot &quot;B&quot;</BASICUSERDESCRIPTION>",
        "</BASICUSERDESCRIPTION.LIST>",
    };
    AppendLines(withRemarks, kPlainItem);
    withRemarks.push_back("</ALLINVENTORYENTRIES.LIST>");
    EXPECT_EQ(note.strInvent_Crd("P100_7", 50, 4, "PC", 12.5, "", "", "Seal & tag", "", "",
                                 "Lot \"B\"", "", ""),
              JoinLines(withRemarks));
}

}  // namespace
}  // namespace zentrail
