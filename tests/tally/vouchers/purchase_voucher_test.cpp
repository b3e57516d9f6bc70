#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/tally_xml_check.h"
#include "tally/vouchers/expected_text.h"
#include "tally/vouchers/voucher_entries.h"
#include "tally/vouchers/written_voucher.h"

namespace zentrail {
namespace {

using testing::AppendLines;
using testing::Count;
using testing::Crlf;
using testing::JoinLines;
using testing::kEnvelopeBottom;
using testing::kEnvelopeTop;
using testing::Lines;
using testing::ParsesAsXml;
using testing::VoucherAmountSum;
using testing::WrittenEntry;
using testing::WrittenHead;
using testing::WrittenRequest;

// A purchase head of supplier invoice INV-1 dated as the voucher, in Karnataka.
VoucherHead Head(std::string date, std::string party, std::string number = "PR/1",
                 std::string remarks = "", std::string gstin = "29ABCDE1234F1Z5") {
    return {.kind = VoucherKind::Purchase,
            .type = "KVZ Purchase",
            .date = date,
            .party = std::move(party),
            .number = std::move(number),
            .reference = "INV-1",
            .remarks = std::move(remarks),
            .state = "Karnataka",
            .gstin = std::move(gstin),
            .referenceDate = date};
}

// A purchased stock line in Main Location, Primary Batch, counted in pieces.
InventoryLine PurchasedLine(std::string item, double amount, double quantity, double rate,
                            std::string ledger, std::string nature, double assessable) {
    return {.item = std::move(item),
            .rate = rate,
            .amount = amount,
            .quantity = quantity,
            .unit = "PC",
            .batch = {.godown = "Main Location",
                      .batch = "Primary Batch",
                      .amount = amount,
                      .quantity = quantity,
                      .unit = "PC"},
            .allocation = {.ledger = std::move(ledger),
                           .gstNature = std::move(nature),
                           .amount = amount,
                           .assessable = assessable}};
}

const VoucherHead kPurchaseHead{.kind = VoucherKind::Purchase, .date = "20240131"};

// The varying texts of a head without GRN and order numbers.
struct HeadText {
    std::string key;
    std::string type;
    std::string date;
    std::string number;
    std::string reference;
    std::string party;
    std::string referenceDate;
    std::string state;
    std::string gstin;
};

Lines ExpectedHead(const HeadText& h) {
    return {
        "<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">",
        "<VOUCHER REMOTEID=\"" + h.key + "\" VCHTYPE=\"" + h.type + "\" ACTION=\"Create\">",
        "<DATE>" + h.date + "</DATE>",
        "<GUID>" + h.key + "</GUID>",
        "<NARRATION></NARRATION>",
        "<VOUCHERTYPENAME>" + h.type + "</VOUCHERTYPENAME>",
        "<ISOPTIONAL>No</ISOPTIONAL>",
        "<USEFORGAINLOSS>No</USEFORGAINLOSS>",
        "<USEFORCOMPOUND>No</USEFORCOMPOUND>",
        "<EFFECTIVEDATE>" + h.date + "</EFFECTIVEDATE>",
        "<ISCANCELLED>No</ISCANCELLED>",
        "<USETRACKINGNUMBER>No</USETRACKINGNUMBER>",
        "<ISPOSTDATED>No</ISPOSTDATED>",
        "<ISINVOICE>Yes</ISINVOICE>",
        "<DIFFACTUALQTY>No</DIFFACTUALQTY>",
        "<VOUCHERNUMBER>" + h.number + "</VOUCHERNUMBER>",
        "<REFERENCE>" + h.reference + "</REFERENCE>",
        "<PARTYLEDGERNAME>" + h.party + "</PARTYLEDGERNAME>",
        "<UDF:REFERENCEDATE.LIST DESC=\"`ReferenceDate`\" ISLIST=\"YES\" TYPE=\"Date\">",
        "<UDF:REFERENCEDATE DESC=\"`ReferenceDate`\">" + h.referenceDate + "</UDF:REFERENCEDATE>",
        "</UDF:REFERENCEDATE.LIST>",
        "<REFERENCEDATE>" + h.referenceDate + "</REFERENCEDATE>",
        "<INVOICEDELNOTES.LIST>",
        "<BASICSHIPDELIVERYNOTE></BASICSHIPDELIVERYNOTE>",
        "</INVOICEDELNOTES.LIST>",
        "<INVOICEORDERLIST.LIST>",
        "<BASICORDERDATE>" + h.date + "</BASICORDERDATE>",
        "<BASICPURCHASEORDERNO></BASICPURCHASEORDERNO>",
        "</INVOICEORDERLIST.LIST>",
        "<INVOICEORDERLIST.LIST>",
        "<BASICORDERDATE>" + h.date + "</BASICORDERDATE>",
        "<BASICPURCHASEORDERNO></BASICPURCHASEORDERNO>",
        "</INVOICEORDERLIST.LIST>",
        "<STATENAME>" + h.state + "</STATENAME>",
        "<PARTYGSTIN>" + h.gstin + "</PARTYGSTIN>",
        "<ISGSTOVERRIDDEN>Yes</ISGSTOVERRIDDEN>",
        "<GSTNOTEXPORTED>No</GSTNOTEXPORTED>",
        "<ALTERID></ALTERID>",
    };
}

// The supplier's credit with a new bill over the whole amount.
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

// A debit of a stock voucher, with its tax rate and class.
Lines StockDebitEntry(const std::string& ledger, const std::string& amount,
                      const std::string& rate = "0", const std::string& taxClass = "") {
    return {
        "<LEDGERENTRIES.LIST>",
        "<BASICRATEOFINVOICETAX.LIST TYPE=\"Number\">",
        "<BASICRATEOFINVOICETAX> " + rate + "</BASICRATEOFINVOICETAX>",
        "</BASICRATEOFINVOICETAX.LIST>",
        "<TAXCLASSIFICATIONNAME>" + taxClass + "</TAXCLASSIFICATIONNAME>",
        "<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>",
        "<ISDEEMEDPOSITIVE>Yes</ISDEEMEDPOSITIVE>",
        "<LEDGERFROMITEM>No</LEDGERFROMITEM>",
        "<LEDGERNAME>" + ledger + "</LEDGERNAME>",
        "<ISPARTYLEDGER>No</ISPARTYLEDGER>",
        "<AMOUNT>" + amount + "</AMOUNT>",
        "</LEDGERENTRIES.LIST>",
    };
}

// An entry without tax lines, a debit (deemed positive) or a credit; `extra` goes before the
// closing tag.
Lines LedgerEntry(const std::string& list, bool debit, const std::string& ledger,
                  const std::string& amount, const Lines& extra = {}) {
    Lines lines = {
        "<" + list + ">",
        "<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>",
        std::string("<ISDEEMEDPOSITIVE>") + (debit ? "Yes" : "No") + "</ISDEEMEDPOSITIVE>",
        "<LEDGERFROMITEM>No</LEDGERFROMITEM>",
        "<LEDGERNAME>" + ledger + "</LEDGERNAME>",
        "<ISPARTYLEDGER>No</ISPARTYLEDGER>",
        "<AMOUNT>" + amount + "</AMOUNT>",
    };
    AppendLines(lines, extra);
    lines.push_back("</" + list + ">");
    return lines;
}

Lines GstOverride(const std::string& nature, const std::string& assessable) {
    return {
        "<GSTOVRDNNATURE>" + nature + "</GSTOVRDNNATURE>",
        "<GSTOVRDNINELIGIBLEITC>&#4; Not Applicable</GSTOVRDNINELIGIBLEITC>",
        "<GSTOVRDNISREVCHARGEAPPL>&#4; Not Applicable</GSTOVRDNISREVCHARGEAPPL>",
        "<GSTOVRDNASSESSABLEVALUE>" + assessable + "</GSTOVRDNASSESSABLEVALUE>",
    };
}

// One stock line in Main Location, Primary Batch, of nature "Purchase Taxable": rate, amount,
// quantity and assessable value as written.
Lines StockLine(const std::string& item, const std::string& rate, const std::string& amount,
                const std::string& qty, const std::string& ledger, const std::string& assessable) {
    Lines lines = {
        "<ALLINVENTORYENTRIES.LIST>",
        "<STOCKITEMNAME>" + item + "</STOCKITEMNAME>",
        "<ISDEEMEDPOSITIVE>Yes</ISDEEMEDPOSITIVE>",
        "<ISAUTONEGATE>No</ISAUTONEGATE>",
        "<RATE>" + rate + " /PC</RATE>",
        "<AMOUNT>" + amount + "</AMOUNT>",
        "<ACTUALQTY> " + qty + " PC</ACTUALQTY>",
        "<BILLEDQTY> " + qty + " PC</BILLEDQTY>",
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
        "<ACCOUNTINGALLOCATIONS.LIST>",
        "<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>",
        "<ISDEEMEDPOSITIVE>Yes</ISDEEMEDPOSITIVE>",
        "<LEDGERFROMITEM>No</LEDGERFROMITEM>",
        "<LEDGERNAME>" + ledger + "</LEDGERNAME>",
    };
    AppendLines(lines, GstOverride("Purchase Taxable", assessable));
    AppendLines(lines, {
                           "<ISPARTYLEDGER>No</ISPARTYLEDGER>",
                           "<AMOUNT>" + amount + "</AMOUNT>",
                           "</ACCOUNTINGALLOCATIONS.LIST>",
                           "</ALLINVENTORYENTRIES.LIST>",
                       });
    return lines;
}

// A purchase receipt as the purchase export posts it: one taxed stock line at 18% with a
// scheme discount, one claim-scheme line, the round-off as a debit.
TEST(PurchaseVoucher, CompleteStockVoucher) {
    const std::string party = "Sharma & Sons";
    Voucher v{.head = {.kind = VoucherKind::Purchase,
                       .type = "KVZ Purchase",
                       .date = "20240131",
                       .party = party,
                       .number = "PR/0042",
                       .reference = "INV-778",
                       .state = "Karnataka",
                       .gstin = "29ABCDE1234F1Z5",
                       .referenceDate = "20240131"}};
    v.entries.push_back(CreditedPartyEntry(EntryList::Ledger, party, "PR/0042", 1168));
    const std::pair<const char*, double> discounts[] = {
        {"Scheme Discount Purch", 12.5}, {"Special Discount Purch", 0}, {"Cash Discount Purch", 0}};
    for (auto [name, total] : discounts)
        v.entries.push_back(PurchaseDebitEntry(name, total * -1, "", 0));
    const std::pair<const char*, double> taxes[] = {
        {"CGST 2.5%", 0}, {"SGST 2.5%", 0}, {"IGST 5%", 0},  {"UTGST 2.5%", 0},
        {"CGST 6%", 0},   {"SGST 6%", 0},   {"IGST 12%", 0}, {"UTGST 6%", 0},
        {"CGST 9%", 90},  {"SGST 9%", 90},  {"IGST 18%", 0}, {"UTGST 9%", 0},
        {"CGST 14%", 0},  {"SGST 14%", 0},  {"IGST 28%", 0}, {"UTGST 14%", 0}};
    for (auto [name, total] : taxes) v.entries.push_back(PurchaseDebitEntry(name, total, "", 0));
    v.entries.push_back(
        PurchasedLine("AB12_345", 1000, 10, 100, "GST Purchase 18%", "Purchase Taxable", 987.5));
    v.entries.push_back(PurchasedLine("CS01_7", 0, 2, 0, "GST Purchase 0%", "Purchase Taxable", 0));
    v.entries.push_back(PurchaseDebitEntry("Round Off", 0.5, "", 0));
    const std::string request = WrittenRequest(v);

    Lines expected = ExpectedHead({
        .key = "6178b2bd-1d64-4c89-9c2a-20240131-KVZ Purchase-Sharma &amp; Sons-PR/0042-INV-778",
        .type = "KVZ Purchase",
        .date = "20240131",
        .number = "PR/0042",
        .reference = "INV-778",
        .party = "Sharma &amp; Sons",
        .referenceDate = "20240131",
        .state = "Karnataka",
        .gstin = "29ABCDE1234F1Z5",
    });
    AppendLines(expected, PartyEntry("LEDGERENTRIES.LIST", "Sharma &amp; Sons", "PR/0042", "1168"));
    AppendLines(expected, StockDebitEntry("Scheme Discount Purch", "--12.5"));
    AppendLines(expected, StockDebitEntry("CGST 9%", "-90"));
    AppendLines(expected, StockDebitEntry("SGST 9%", "-90"));
    AppendLines(expected,
                StockLine("AB12_345", "100", "-1000", "10", "GST Purchase 18%", "-987.5"));
    AppendLines(expected, StockLine("CS01_7", "0", "-0", "2", "GST Purchase 0%", "-0"));
    AppendLines(expected, StockDebitEntry("Round Off", "-0.5"));
    EXPECT_EQ(request, Crlf(kEnvelopeTop) + JoinLines(expected) + Crlf(kEnvelopeBottom));

    pugi::xml_document doc;
    ASSERT_TRUE(ParsesAsXml(request, doc));
    EXPECT_NEAR(VoucherAmountSum(doc.select_node("//VOUCHER").node()), 0, 1e-9);
}

// A purchased service as the service transfer posts it: interstate, so the service line
// carries the override block with the interstate nature; a negative round-off as a credit.
TEST(PurchaseVoucher, CompleteServiceVoucher) {
    const std::string gstin = "34AAAAA0000A1Z5";
    const double service = 1000.4, igst = 180.07;
    Voucher v{.head = {.kind = VoucherKind::Purchase,
                       .type = "KVZ Service Purchase",
                       .date = "2024-03-05 00:00:00",
                       .party = "Mehta Stores_1042",
                       .number = "SRV/9",
                       .reference = "SRV/9",
                       .state = "Puducherry",
                       .gstin = gstin}};
    v.entries.push_back(
        CreditedPartyEntry(EntryList::AllLedger, "Mehta Stores_1042", "SRV/9", 1180));
    v.entries.push_back(PurchaseServiceDebitEntry("Visibility Claim Purchase", service,
                                                  PurchaseServiceNature(gstin, igst)));
    const std::pair<const char*, double> taxes[] = {
        {"CGST 9%", 0}, {"SGST 9%", 0}, {"IGST 18%", igst}, {"UTGST 9%", 0}};
    for (auto [name, amount] : taxes)
        v.entries.push_back(PurchaseServiceDebitEntry(name, amount, PurchaseServiceNature("", 0)));
    v.entries.push_back(PurchaseCreditEntry(EntryList::AllLedger, "Round Off", 0.47));
    const std::string request = WrittenRequest(v);

    Lines expected = ExpectedHead({
        .key =
            "6178b2bd-1d64-4c89-9c2a-20240305-KVZ Service Purchase-Mehta Stores_1042-SRV/9-SRV/9",
        .type = "KVZ Service Purchase",
        .date = "20240305",
        .number = "SRV/9",
        .reference = "SRV/9",
        .party = "Mehta Stores_1042",
        .referenceDate = "",
        .state = "Puducherry",
        .gstin = "34AAAAA0000A1Z5",
    });
    AppendLines(expected,
                PartyEntry("ALLLEDGERENTRIES.LIST", "Mehta Stores_1042", "SRV/9", "1180"));
    AppendLines(expected,
                LedgerEntry("ALLLEDGERENTRIES.LIST", true, "Visibility Claim Purchase", "-1000.4",
                            GstOverride("Interstate Purchase Taxable", "-1000.4")));
    AppendLines(expected, LedgerEntry("ALLLEDGERENTRIES.LIST", true, "IGST 18%", "-180.07"));
    AppendLines(expected, LedgerEntry("ALLLEDGERENTRIES.LIST", false, "Round Off", "0.47"));
    EXPECT_EQ(request, Crlf(kEnvelopeTop) + JoinLines(expected) + Crlf(kEnvelopeBottom));

    pugi::xml_document doc;
    ASSERT_TRUE(ParsesAsXml(request, doc));
    EXPECT_NEAR(VoucherAmountSum(doc.select_node("//VOUCHER").node()), 0, 1e-9);
}

TEST(PurchaseVoucher, EmptyVoucherTypeBecomesPurchase) {
    std::string head = WrittenHead({.kind = VoucherKind::Purchase,
                                    .date = "20240131",
                                    .party = "P",
                                    .number = "1",
                                    .reference = "R"});
    const std::string key = "6178b2bd-1d64-4c89-9c2a-20240131-Purchase-P-1-R";
    EXPECT_NE(
        head.find("<VOUCHER REMOTEID=\"" + key + "\" VCHTYPE=\"Purchase\" ACTION=\"Create\">\r\n"),
        std::string::npos)
        << head;
    EXPECT_NE(head.find("<GUID>" + key + "</GUID>\r\n"), std::string::npos);
    EXPECT_NE(head.find("<VOUCHERTYPENAME>Purchase</VOUCHERTYPENAME>\r\n"), std::string::npos);
}

TEST(PurchaseVoucher, VoucherDateFormsGiveOneKey) {
    for (const char* date :
         {"20240131", "2024-01-31", "2024-01-31 00:00:00.000", "31/01/2024", "31-01-2024"}) {
        std::string head = WrittenHead(Head(date, "P"));
        EXPECT_NE(head.find("<DATE>20240131</DATE>\r\n"), std::string::npos) << date;
        EXPECT_NE(head.find("<EFFECTIVEDATE>20240131</EFFECTIVEDATE>\r\n"), std::string::npos);
        EXPECT_NE(head.find("REMOTEID=\"6178b2bd-1d64-4c89-9c2a-20240131-KVZ Purchase-P-PR/1-"
                            "INV-1\""),
                  std::string::npos)
            << date;
    }
}

TEST(PurchaseVoucher, VoucherDateThatIsNoDateIsRefused) {
    for (const char* date : {"", "N/A", "31/02/2024"})
        EXPECT_THROW(WrittenHead(Head(date, "P")), std::invalid_argument) << date;
}

TEST(PurchaseVoucher, SupplierInvoiceDateConvertedOnlyWhenADate) {
    struct Case {
        const char* given;
        const char* written;  // REFERENCEDATE text
    };
    const Case cases[] = {
        {"31/12/2023", "20231231"},
        {"2023-12-31 00:00:00", "20231231"},
        {"20231231", "20231231"},
        {"N/A", "N/A"},
        {"", ""},
        {"<none>", "&lt;none&gt;"},
    };
    for (const Case& c : cases) {
        VoucherHead head = Head("20240131", "P");
        head.referenceDate = c.given;
        const std::string text = WrittenHead(head);
        const std::string written = c.written;
        EXPECT_NE(text.find("<UDF:REFERENCEDATE DESC=\"`ReferenceDate`\">" + written +
                            "</UDF:REFERENCEDATE>\r\n"),
                  std::string::npos)
            << c.given;
        EXPECT_NE(text.find("<REFERENCEDATE>" + written + "</REFERENCEDATE>\r\n"),
                  std::string::npos)
            << c.given;
    }
}

TEST(PurchaseVoucher, GstinWrittenFromTenCharacters) {
    const std::pair<const char*, bool> cases[] = {
        {"", false}, {"29ABCDE12", false}, {"29ABCDE123", true}, {"29ABCDE1234F1Z5", true}};
    for (auto [gstin, written] : cases) {
        std::string head = WrittenHead(Head("20240131", "P", "1", "", gstin));
        const std::string line = std::string("<PARTYGSTIN>") + gstin + "</PARTYGSTIN>\r\n";
        EXPECT_EQ(
            head.find("<STATENAME>Karnataka</STATENAME>\r\n" + (written ? line : std::string()) +
                      "<ISGSTOVERRIDDEN>Yes</ISGSTOVERRIDDEN>\r\n") != std::string::npos,
            true)
            << gstin;
        EXPECT_EQ(Count(head, "<PARTYGSTIN>"), written ? 1u : 0u) << gstin;
    }
}

// A CHAR column pads the GSTIN with blanks: what counts is the trimmed text, and a padded
// empty or short GSTIN writes no line (an empty PARTYGSTIN would register a blank GSTIN).
TEST(PurchaseVoucher, GstinCountedWithoutItsPaddingBlanks) {
    const std::pair<const char*, const char*> cases[] = {
        {"               ", nullptr},
        {"   29ABCDE12   ", nullptr},
        {"29ABCDE12 ", nullptr},
        {"  29ABCDE123  ", "<PARTYGSTIN>29ABCDE123</PARTYGSTIN>\r\n"},
        {"29ABCDE1234F1Z5     ", "<PARTYGSTIN>29ABCDE1234F1Z5</PARTYGSTIN>\r\n"},
    };
    for (auto [gstin, line] : cases) {
        std::string head = WrittenHead(Head("20240131", "P", "1", "", gstin));
        EXPECT_NE(head.find(std::string("<STATENAME>Karnataka</STATENAME>\r\n") +
                            (line ? line : "") + "<ISGSTOVERRIDDEN>Yes</ISGSTOVERRIDDEN>\r\n"),
                  std::string::npos)
            << '"' << gstin << '"';
        EXPECT_EQ(Count(head, "<PARTYGSTIN>"), line ? 1u : 0u) << '"' << gstin << '"';
    }
}

TEST(PurchaseVoucher, NarrationOnceWhenEmptyTwiceOtherwise) {
    std::string head = WrittenHead(Head("20240131", "P", "1", ""));
    EXPECT_EQ(Count(head, "<NARRATION>"), 1u);
    EXPECT_NE(head.find("</GUID>\r\n<NARRATION></NARRATION>\r\n<VOUCHERTYPENAME>"),
              std::string::npos);

    head = WrittenHead(Head("20240131", "P", "1", "Goods received"));
    EXPECT_EQ(Count(head, "<NARRATION>Goods received</NARRATION>\r\n"), 2u);
    EXPECT_NE(head.find("<GSTNOTEXPORTED>No</GSTNOTEXPORTED>\r\n<NARRATION>Goods received</"
                        "NARRATION>\r\n<ALTERID></ALTERID>\r\n"),
              std::string::npos);
}

// Both narrations carry the escaped text once: escaping it a second time would show the
// operator "&lt;" in Tally instead of "<".
TEST(PurchaseVoucher, NarrationEscapedOnceInBothLines) {
    std::string head = WrittenHead(Head("20240131", "P", "1", "Short by <2> cases"));
    EXPECT_EQ(Count(head, "<NARRATION>Short by &lt;2&gt; cases</NARRATION>\r\n"), 2u) << head;
    pugi::xml_document doc;
    ASSERT_TRUE(ParsesAsXml(head + "</VOUCHER></TALLYMESSAGE>", doc));
    for (pugi::xpath_node narration : doc.select_nodes("//NARRATION"))
        EXPECT_STREQ(narration.node().child_value(), "Short by <2> cases");
}

TEST(PurchaseVoucher, HeadEscapesOnlyOnce) {
    VoucherHead head{.kind = VoucherKind::Purchase,
                     .type = " KVZ <Purchase> ",
                     .date = "20240131",
                     .party = " A & B ",
                     .number = "A&B",
                     .reference = "R'1",
                     .remarks = "x",
                     .state = "J&K",
                     .deliveryNote = "G&1",
                     .orders = {"P<1", "P>2"}};
    const std::string first = WrittenHead(head);
    EXPECT_NE(first.find("-KVZ &lt;Purchase&gt;-A &amp; B-A&amp;B-R&apos;1\""), std::string::npos)
        << first;
    EXPECT_NE(first.find("<BASICSHIPDELIVERYNOTE>G&amp;1</BASICSHIPDELIVERYNOTE>"),
              std::string::npos);
    EXPECT_NE(first.find("<BASICPURCHASEORDERNO>P&lt;1</BASICPURCHASEORDERNO>"), std::string::npos);
    EXPECT_NE(first.find("<BASICPURCHASEORDERNO>P&gt;2</BASICPURCHASEORDERNO>"), std::string::npos);
    EXPECT_NE(first.find("<STATENAME>J&amp;K</STATENAME>"), std::string::npos);
    // Texts already escaped (as a resend may hold them) give the same head.
    head.type = "KVZ &lt;Purchase&gt;";
    head.party = "A &amp; B";
    head.number = "A&amp;B";
    head.reference = "R&apos;1";
    head.state = "J&amp;K";
    head.deliveryNote = "G&amp;1";
    head.orders = {"P&lt;1", "P&gt;2"};
    EXPECT_EQ(WrittenHead(head), first);
}

TEST(PurchaseVoucher, DebitEntries) {
    EXPECT_EQ(WrittenEntry(PurchaseDebitEntry("CGST & 9%", 0, "", 0)), "");
    EXPECT_EQ(WrittenEntry(PurchaseDebitEntry("CGST & 9%", -0.0, "", 0)), "");
    EXPECT_EQ(WrittenEntry(PurchaseDebitEntry("CGST & 9%", 45.5, "Class A", 18)),
              JoinLines(StockDebitEntry("CGST &amp; 9%", "-45.5", "18", "Class A")));
    EXPECT_NE(WrittenEntry(PurchaseDebitEntry("Scheme Discount Purch", -12.5, "", 0))
                  .find("<AMOUNT>--12.5</AMOUNT>\r\n"),
              std::string::npos);
}

TEST(PurchaseVoucher, ServiceDebitOverrideBlock) {
    auto entry = [](const Lines& overrideBlock) {
        return JoinLines(LedgerEntry("ALLLEDGERENTRIES.LIST", true, "Visibility Claim Purchase",
                                     "-1000", overrideBlock));
    };
    auto written = [](double amount, const char* gstin, double igst) {
        return WrittenEntry(PurchaseServiceDebitEntry("Visibility Claim Purchase", amount,
                                                      PurchaseServiceNature(gstin, igst)));
    };
    EXPECT_EQ(written(1000, "33ABCDE1234F1Z5", 0), entry(GstOverride("Purchase Taxable", "-1000")));
    EXPECT_EQ(written(1000, "33ABCDE1234F1Z5", 180),
              entry(GstOverride("Interstate Purchase Taxable", "-1000")));
    EXPECT_EQ(written(1000, "", 0), entry({}));
    EXPECT_EQ(written(1000, "", 180), entry({}));
    EXPECT_EQ(written(0, "33ABCDE1234F1Z5", 0), "");
    EXPECT_NE(WrittenEntry(PurchaseServiceDebitEntry("Round Off", -0.5, ""))
                  .find("<AMOUNT>--0.5</AMOUNT>"),
              std::string::npos);
}

TEST(PurchaseVoucher, CreditEntries) {
    EXPECT_EQ(WrittenEntry(PurchaseCreditEntry(EntryList::Ledger, "Round Off", 0)), "");
    EXPECT_EQ(WrittenEntry(PurchaseCreditEntry(EntryList::AllLedger, "Round Off", 0)), "");
    EXPECT_EQ(WrittenEntry(PurchaseCreditEntry(EntryList::Ledger, "Round Off", 0.5)),
              JoinLines(LedgerEntry("LEDGERENTRIES.LIST", false, "Round Off", "0.5")));
    EXPECT_EQ(WrittenEntry(PurchaseCreditEntry(EntryList::AllLedger, "Round Off", 0.5)),
              JoinLines(LedgerEntry("ALLLEDGERENTRIES.LIST", false, "Round Off", "0.5")));
    const std::string odd =
        WrittenEntry(PurchaseCreditEntry(EntryList::Ledger, "Odd & Even", -3.25));
    EXPECT_NE(odd.find("<AMOUNT>-3.25</AMOUNT>"), std::string::npos);
    EXPECT_NE(odd.find("<LEDGERNAME>Odd &amp; Even</LEDGERNAME>"), std::string::npos);
}

TEST(PurchaseVoucher, PartyEntryWrittenAtZero) {
    const std::string entry =
        WrittenEntry(CreditedPartyEntry(EntryList::Ledger, "Supplier", "PR/7", 0));
    EXPECT_EQ(Count(entry, "<AMOUNT>0</AMOUNT>\r\n"), 2u);
    EXPECT_NE(entry.find("<NAME>PR/7</NAME>"), std::string::npos);
}

TEST(PurchaseVoucher, StockLineWithoutNature) {
    const std::string line = WrittenEntry(
        PurchasedLine("AB12_345", 125, 10, 12.5, "GST Purchase 0%", "", 125), kPurchaseHead);
    EXPECT_EQ(line.find("GSTOVRDN"), std::string::npos);
    EXPECT_NE(line.find("<RATE>12.5 /PC</RATE>\r\n"), std::string::npos);
    EXPECT_EQ(Count(line, "<ACTUALQTY> 10 PC</ACTUALQTY>\r\n"), 2u);
    EXPECT_EQ(Count(line, "<BILLEDQTY> 10 PC</BILLEDQTY>\r\n"), 2u);
    EXPECT_EQ(Count(line, "<AMOUNT>-125</AMOUNT>\r\n"), 3u);
    EXPECT_NE(line.find("<LEDGERNAME>GST Purchase 0%</LEDGERNAME>\r\n<ISPARTYLEDGER>No"),
              std::string::npos);
}

// Names and numbers straight from the source database: whatever they hold, the request
// stays XML and the party entry names the same ledger as the head.
TEST(PurchaseVoucher, HostileTextsKeepTheVoucherWhole) {
    struct Case {
        const char* party;
        const char* item;
        const char* number;
        const char* partyRead;  // what Tally reads from the request
        const char* itemRead;
        const char* numberRead;
    };
    const Case cases[] = {
        {"A & B Traders", "AB<12>_3", "PR&1", "A & B Traders", "AB<12>_3", "PR&1"},
        {"O'Neil \"Best\" <Shop>", "\"Q\"&'A'_9", "<PR-2>", "O'Neil \"Best\" <Shop>", "\"Q\"&'A'_9",
         "<PR-2>"},
        {"R&amp;D Supplies <North>", "X&amp;Y_1", "'3'", "R&D Supplies <North>", "X&Y_1", "'3'"},
        {"  Padded & Co  ", "  Item_2  ", "  7  ", "Padded & Co", "Item_2", "7"},
        {"Tom &amp Jerry", "A&#38;B_5", "N&#x26;1", "Tom &amp Jerry", "A&B_5", "N&1"},
        {"]]> &lt;", "]]>_1", "a\"b", "]]> <", "]]>_1", "a\"b"},
    };
    for (const Case& c : cases) {
        Voucher v{.head = {.kind = VoucherKind::Purchase,
                           .type = "KVZ Purchase",
                           .date = "20240131",
                           .party = c.party,
                           .number = c.number,
                           .reference = c.number,
                           .remarks = c.party,
                           .state = c.party,
                           .gstin = c.number,
                           .referenceDate = c.number,
                           .deliveryNote = c.number,
                           .orders = {c.number, c.number}}};
        v.entries.push_back(CreditedPartyEntry(EntryList::Ledger, c.party, c.number, 118));
        v.entries.push_back(PurchaseDebitEntry(c.party, 18, c.party, 0));
        InventoryLine line = PurchasedLine(c.item, 100, 1, 100, c.party, c.party, 100);
        line.batch.godown = c.party;
        line.batch.batch = c.number;
        v.entries.push_back(line);
        const std::string request = WrittenRequest(v);

        pugi::xml_document doc;
        ASSERT_TRUE(ParsesAsXml(request, doc)) << c.party;
        pugi::xml_node voucher = doc.select_node("//VOUCHER").node();
        const std::string headParty = voucher.child_value("PARTYLEDGERNAME");
        EXPECT_EQ(headParty, c.partyRead);
        pugi::xml_node partyEntry =
            voucher.select_node("LEDGERENTRIES.LIST[ISPARTYLEDGER='Yes']").node();
        EXPECT_EQ(partyEntry.child_value("LEDGERNAME"), headParty);
        EXPECT_STREQ(voucher.child_value("VOUCHERNUMBER"), c.numberRead);
        EXPECT_STREQ(partyEntry.child("BILLALLOCATIONS.LIST").child_value("NAME"), c.numberRead);
        EXPECT_EQ(std::string(voucher.attribute("REMOTEID").value()), voucher.child_value("GUID"));
        EXPECT_NE(std::string(voucher.child_value("GUID")).find(headParty), std::string::npos);
        EXPECT_STREQ(
            voucher.select_node("ALLINVENTORYENTRIES.LIST/STOCKITEMNAME").node().child_value(),
            c.itemRead);
        EXPECT_NEAR(VoucherAmountSum(voucher), 0, 1e-9) << c.party;
    }
}

}  // namespace
}  // namespace zentrail
