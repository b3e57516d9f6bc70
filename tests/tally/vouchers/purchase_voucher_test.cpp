#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/tally_xml_check.h"
#include "tally/vouchers/expected_text.h"
#include "tally/vouchers/tally_purch_trn.h"

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

class PurchTrnTest : public ::testing::Test {
protected:
    std::string Top() {
        std::string report = "Vouchers";
        return trn.strTopMaster(report, "Zentrail Demo & Co");
    }
    std::string Close() { return "</VOUCHER>\r\n</TALLYMESSAGE>\r\n" + trn.strBottom(); }

    // A head with every text argument held in a variable, as the screens call it.
    std::string Head(std::string vchType, std::string date, std::string party,
                     std::string vchNo = "PR/1", std::string remarks = "",
                     std::string gstin = "29ABCDE1234F1Z5") {
        std::string refNo = "INV-1";
        std::string suppDate = date;
        return trn.strPurchase_Head(vchType, date, party, vchNo, refNo, remarks, suppDate, "", "",
                                    "", "Karnataka", gstin);
    }

    TallyPurchTrn trn;
};

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
TEST_F(PurchTrnTest, CompleteStockVoucher) {
    std::string vchType = "KVZ Purchase";
    std::string invDate = "20240131";
    std::string party = "Sharma & Sons";
    std::string vchNo = "PR/0042";
    std::string refNo = "INV-778";
    std::string remarks;
    std::string suppDate = invDate;

    std::string request = Top();
    request += trn.strPurchase_Head(vchType, invDate, party, vchNo, refNo, remarks, suppDate, "",
                                    "", "", "Karnataka", "29ABCDE1234F1Z5");
    request += trn.strPurchase_Party(party, vchNo, 1168);
    const std::pair<const char*, double> discounts[] = {
        {"Scheme Discount Purch", 12.5}, {"Special Discount Purch", 0}, {"Cash Discount Purch", 0}};
    for (auto [name, total] : discounts) {
        std::string ledger = name;
        request += trn.strPurchase_Dr(ledger, total * -1, "", 0);
    }
    const std::pair<const char*, double> taxes[] = {
        {"CGST 2.5%", 0}, {"SGST 2.5%", 0}, {"IGST 5%", 0},  {"UTGST 2.5%", 0},
        {"CGST 6%", 0},   {"SGST 6%", 0},   {"IGST 12%", 0}, {"UTGST 6%", 0},
        {"CGST 9%", 90},  {"SGST 9%", 90},  {"IGST 18%", 0}, {"UTGST 9%", 0},
        {"CGST 14%", 0},  {"SGST 14%", 0},  {"IGST 28%", 0}, {"UTGST 14%", 0}};
    for (auto [name, total] : taxes) {
        std::string ledger = name;
        request += trn.strPurchase_Dr(ledger, total, "", 0);
    }
    request +=
        trn.strInvent_Purchase("AB12_345", 1000, 10, "PC", 100, "Main Location", "Primary Batch",
                               "GST Purchase 18%", "Purchase Taxable", 987.5);
    request += trn.strInvent_Purchase("CS01_7", 0, 2, "PC", 0, "Main Location", "Primary Batch",
                                      "GST Purchase 0%", "Purchase Taxable", 0);
    std::string roundOff = "Round Off";
    request += trn.strPurchase_Dr(roundOff, 0.5, "", 0);
    request += Close();

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

    // The screen keeps using the escaped texts for the rest of the receipt.
    EXPECT_EQ(party, "Sharma &amp; Sons");
    EXPECT_EQ(suppDate, "20240131");

    pugi::xml_document doc;
    ASSERT_TRUE(ParsesAsXml(request, doc));
    EXPECT_NEAR(VoucherAmountSum(doc.select_node("//VOUCHER").node()), 0, 1e-9);
}

// A purchased service as the service transfer posts it: interstate, so the service line
// carries the override block with the interstate nature; a negative round-off as a credit.
TEST_F(PurchTrnTest, CompleteServiceVoucher) {
    std::string vchType = "KVZ Service Purchase";
    std::string date = "2024-03-05 00:00:00";
    std::string party = "Mehta Stores_1042";
    std::string number = "SRV/9";
    std::string reference = number;
    std::string remarks;
    std::string suppDate;
    const std::string gstin = "34AAAAA0000A1Z5";
    const double service = 1000.4, igst = 180.07;

    std::string request = Top();
    request += trn.strPurchase_Head(vchType, date, party, number, reference, remarks, suppDate, "",
                                    "", "", "Puducherry", gstin);
    request += trn.strPurchase_Party_All(party, number, 1180);
    std::string serviceLedger = "Visibility Claim Purchase";
    request += trn.strPurchase_Dr_All(serviceLedger, service, gstin, igst);
    const std::pair<const char*, double> taxes[] = {
        {"CGST 9%", 0}, {"SGST 9%", 0}, {"IGST 18%", igst}, {"UTGST 9%", 0}};
    for (auto [name, amount] : taxes) {
        std::string ledger = name;
        request += trn.strPurchase_Dr_All(ledger, amount, "", 0);
    }
    std::string roundOff = "Round Off";
    request += trn.strPurchase_Cr_All(roundOff, 0.47);
    request += Close();

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

TEST_F(PurchTrnTest, EmptyVoucherTypeBecomesPurchase) {
    std::string vchType, date = "20240131", party = "P", vchNo = "1", refNo = "R", remarks,
                         suppDate;
    std::string head = trn.strPurchase_Head(vchType, date, party, vchNo, refNo, remarks, suppDate,
                                            "", "", "", "", "");
    EXPECT_EQ(vchType, "Purchase");
    const std::string key = "6178b2bd-1d64-4c89-9c2a-20240131-Purchase-P-1-R";
    EXPECT_NE(
        head.find("<VOUCHER REMOTEID=\"" + key + "\" VCHTYPE=\"Purchase\" ACTION=\"Create\">\r\n"),
        std::string::npos)
        << head;
    EXPECT_NE(head.find("<GUID>" + key + "</GUID>\r\n"), std::string::npos);
    EXPECT_NE(head.find("<VOUCHERTYPENAME>Purchase</VOUCHERTYPENAME>\r\n"), std::string::npos);
}

TEST_F(PurchTrnTest, VoucherDateFormsGiveOneKey) {
    for (const char* date :
         {"20240131", "2024-01-31", "2024-01-31 00:00:00.000", "31/01/2024", "31-01-2024"}) {
        std::string head = Head("KVZ Purchase", date, "P");
        EXPECT_NE(head.find("<DATE>20240131</DATE>\r\n"), std::string::npos) << date;
        EXPECT_NE(head.find("<EFFECTIVEDATE>20240131</EFFECTIVEDATE>\r\n"), std::string::npos);
        EXPECT_NE(head.find("REMOTEID=\"6178b2bd-1d64-4c89-9c2a-20240131-KVZ Purchase-P-PR/1-"
                            "INV-1\""),
                  std::string::npos)
            << date;
    }
}

TEST_F(PurchTrnTest, VoucherDateThatIsNoDateIsRefused) {
    for (const char* date : {"", "N/A", "31/02/2024"})
        EXPECT_THROW(Head("KVZ Purchase", date, "P"), std::invalid_argument) << date;
}

TEST_F(PurchTrnTest, SupplierInvoiceDateConvertedOnlyWhenADate) {
    struct Case {
        const char* given;
        const char* held;     // the caller's variable afterwards
        const char* written;  // REFERENCEDATE text
    };
    const Case cases[] = {
        {"31/12/2023", "20231231", "20231231"},
        {"2023-12-31 00:00:00", "20231231", "20231231"},
        {"20231231", "20231231", "20231231"},
        {"N/A", "N/A", "N/A"},
        {"", "", ""},
        {"<none>", "<none>", "&lt;none&gt;"},
    };
    for (const Case& c : cases) {
        std::string vchType = "KVZ Purchase", date = "20240131", party = "P", vchNo = "1",
                    refNo = "R", remarks, suppDate = c.given;
        std::string head = trn.strPurchase_Head(vchType, date, party, vchNo, refNo, remarks,
                                                suppDate, "", "", "", "", "");
        EXPECT_EQ(suppDate, c.held) << c.given;
        const std::string written = c.written;
        EXPECT_NE(head.find("<UDF:REFERENCEDATE DESC=\"`ReferenceDate`\">" + written +
                            "</UDF:REFERENCEDATE>\r\n"),
                  std::string::npos)
            << c.given;
        EXPECT_NE(head.find("<REFERENCEDATE>" + written + "</REFERENCEDATE>\r\n"),
                  std::string::npos)
            << c.given;
    }
}

TEST_F(PurchTrnTest, GstinWrittenFromTenCharacters) {
    const std::pair<const char*, bool> cases[] = {
        {"", false}, {"29ABCDE12", false}, {"29ABCDE123", true}, {"29ABCDE1234F1Z5", true}};
    for (auto [gstin, written] : cases) {
        std::string head = Head("KVZ Purchase", "20240131", "P", "1", "", gstin);
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
TEST_F(PurchTrnTest, GstinCountedWithoutItsPaddingBlanks) {
    const std::pair<const char*, const char*> cases[] = {
        {"               ", nullptr},
        {"   29ABCDE12   ", nullptr},
        {"29ABCDE12 ", nullptr},
        {"  29ABCDE123  ", "<PARTYGSTIN>29ABCDE123</PARTYGSTIN>\r\n"},
        {"29ABCDE1234F1Z5     ", "<PARTYGSTIN>29ABCDE1234F1Z5</PARTYGSTIN>\r\n"},
    };
    for (auto [gstin, line] : cases) {
        std::string head = Head("KVZ Purchase", "20240131", "P", "1", "", gstin);
        EXPECT_NE(head.find(std::string("<STATENAME>Karnataka</STATENAME>\r\n") +
                            (line ? line : "") + "<ISGSTOVERRIDDEN>Yes</ISGSTOVERRIDDEN>\r\n"),
                  std::string::npos)
            << '"' << gstin << '"';
        EXPECT_EQ(Count(head, "<PARTYGSTIN>"), line ? 1u : 0u) << '"' << gstin << '"';
    }
}

TEST_F(PurchTrnTest, NarrationOnceWhenEmptyTwiceOtherwise) {
    std::string head = Head("KVZ Purchase", "20240131", "P", "1", "");
    EXPECT_EQ(Count(head, "<NARRATION>"), 1u);
    EXPECT_NE(head.find("</GUID>\r\n<NARRATION></NARRATION>\r\n<VOUCHERTYPENAME>"),
              std::string::npos);

    head = Head("KVZ Purchase", "20240131", "P", "1", "Goods received");
    EXPECT_EQ(Count(head, "<NARRATION>Goods received</NARRATION>\r\n"), 2u);
    EXPECT_NE(head.find("<GSTNOTEXPORTED>No</GSTNOTEXPORTED>\r\n<NARRATION>Goods received</"
                        "NARRATION>\r\n<ALTERID></ALTERID>\r\n"),
              std::string::npos);
}

// Both narrations carry the escaped text once: escaping it a second time would show the
// operator "&lt;" in Tally instead of "<".
TEST_F(PurchTrnTest, NarrationEscapedOnceInBothLines) {
    std::string vchType = "KVZ Purchase", date = "20240131", party = "P", vchNo = "1", refNo = "R",
                remarks = "Short by <2> cases", suppDate;
    std::string head = trn.strPurchase_Head(vchType, date, party, vchNo, refNo, remarks, suppDate,
                                            "", "", "", "", "");
    EXPECT_EQ(remarks, "Short by &lt;2&gt; cases");
    EXPECT_EQ(Count(head, "<NARRATION>Short by &lt;2&gt; cases</NARRATION>\r\n"), 2u) << head;
    pugi::xml_document doc;
    ASSERT_TRUE(ParsesAsXml(head + "</VOUCHER></TALLYMESSAGE>", doc));
    for (pugi::xpath_node narration : doc.select_nodes("//NARRATION"))
        EXPECT_STREQ(narration.node().child_value(), "Short by <2> cases");
}

TEST_F(PurchTrnTest, HeadEscapesInPlaceAndOnlyOnce) {
    std::string vchType = " KVZ <Purchase> ", date = "20240131", party = " A & B ", vchNo = "A&B",
                refNo = "R'1", remarks = "x", suppDate;
    const std::string first = trn.strPurchase_Head(vchType, date, party, vchNo, refNo, remarks,
                                                   suppDate, "G&1", "P<1", "P>2", "J&K", "");
    EXPECT_EQ(vchType, "KVZ &lt;Purchase&gt;");
    EXPECT_EQ(party, "A &amp; B");
    EXPECT_EQ(vchNo, "A&amp;B");
    EXPECT_EQ(refNo, "R&apos;1");
    EXPECT_NE(first.find("<BASICSHIPDELIVERYNOTE>G&amp;1</BASICSHIPDELIVERYNOTE>"),
              std::string::npos);
    EXPECT_NE(first.find("<BASICPURCHASEORDERNO>P&lt;1</BASICPURCHASEORDERNO>"), std::string::npos);
    EXPECT_NE(first.find("<BASICPURCHASEORDERNO>P&gt;2</BASICPURCHASEORDERNO>"), std::string::npos);
    EXPECT_NE(first.find("<STATENAME>J&amp;K</STATENAME>"), std::string::npos);
    // The escaped variables passed again (as the screen does for a resend) give the same text.
    const std::string second = trn.strPurchase_Head(vchType, date, party, vchNo, refNo, remarks,
                                                    suppDate, "G&1", "P<1", "P>2", "J&K", "");
    EXPECT_EQ(second, first);
    EXPECT_EQ(vchNo, "A&amp;B");
}

TEST_F(PurchTrnTest, DebitEntries) {
    std::string ledger = "CGST & 9%";
    EXPECT_EQ(trn.strPurchase_Dr(ledger, 0, "", 0), "");
    EXPECT_EQ(trn.strPurchase_Dr(ledger, -0.0, "", 0), "");
    EXPECT_EQ(ledger, "CGST & 9%") << "a dropped entry leaves its ledger alone";

    EXPECT_EQ(trn.strPurchase_Dr(ledger, 45.5, "Class A", 18),
              JoinLines(StockDebitEntry("CGST &amp; 9%", "-45.5", "18", "Class A")));
    EXPECT_EQ(ledger, "CGST &amp; 9%");

    std::string discount = "Scheme Discount Purch";
    EXPECT_NE(trn.strPurchase_Dr(discount, -12.5, "", 0).find("<AMOUNT>--12.5</AMOUNT>\r\n"),
              std::string::npos);
}

TEST_F(PurchTrnTest, ServiceDebitOverrideBlock) {
    std::string ledger = "Visibility Claim Purchase";
    auto entry = [](const Lines& overrideBlock) {
        return JoinLines(LedgerEntry("ALLLEDGERENTRIES.LIST", true, "Visibility Claim Purchase",
                                     "-1000", overrideBlock));
    };
    EXPECT_EQ(trn.strPurchase_Dr_All(ledger, 1000, "33ABCDE1234F1Z5", 0),
              entry(GstOverride("Purchase Taxable", "-1000")));
    EXPECT_EQ(trn.strPurchase_Dr_All(ledger, 1000, "33ABCDE1234F1Z5", 180),
              entry(GstOverride("Interstate Purchase Taxable", "-1000")));
    EXPECT_EQ(trn.strPurchase_Dr_All(ledger, 1000, "", 0), entry({}));
    EXPECT_EQ(trn.strPurchase_Dr_All(ledger, 1000, "", 180), entry({}));
    EXPECT_EQ(trn.strPurchase_Dr_All(ledger, 0, "33ABCDE1234F1Z5", 0), "");
    std::string rounding = "Round Off";
    EXPECT_NE(trn.strPurchase_Dr_All(rounding, -0.5, "", 0).find("<AMOUNT>--0.5</AMOUNT>"),
              std::string::npos);
}

TEST_F(PurchTrnTest, CreditEntries) {
    std::string ledger = "Round Off";
    EXPECT_EQ(trn.strPurchase_Cr(ledger, 0), "");
    EXPECT_EQ(trn.strPurchase_Cr_All(ledger, 0), "");
    EXPECT_EQ(trn.strPurchase_Cr(ledger, 0.5),
              JoinLines(LedgerEntry("LEDGERENTRIES.LIST", false, "Round Off", "0.5")));
    EXPECT_EQ(trn.strPurchase_Cr_All(ledger, 0.5),
              JoinLines(LedgerEntry("ALLLEDGERENTRIES.LIST", false, "Round Off", "0.5")));
    std::string odd = "Odd & Even";
    EXPECT_NE(trn.strPurchase_Cr(odd, -3.25).find("<AMOUNT>-3.25</AMOUNT>"), std::string::npos);
    EXPECT_EQ(odd, "Odd &amp; Even");
}

TEST_F(PurchTrnTest, PartyEntryWrittenAtZero) {
    const std::string entry = trn.strPurchase_Party("Supplier", "PR/7", 0);
    EXPECT_EQ(Count(entry, "<AMOUNT>0</AMOUNT>\r\n"), 2u);
    EXPECT_NE(entry.find("<NAME>PR/7</NAME>"), std::string::npos);
    std::string name = "A & B";
    trn.strPurchase_Party(name, "1", 5);
    EXPECT_EQ(name, "A & B") << "the party code is taken by value";
}

TEST_F(PurchTrnTest, StockLineWithoutNature) {
    const std::string line =
        trn.strInvent_Purchase("AB12_345", 125, 10, "PC", 12.5, "Main Location", "Primary Batch",
                               "GST Purchase 0%", "", 125);
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
TEST_F(PurchTrnTest, HostileTextsKeepTheVoucherWhole) {
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
        std::string vchType = "KVZ Purchase", date = "20240131", party = c.party, vchNo = c.number,
                    refNo = c.number, remarks = c.party, suppDate = c.number;
        std::string request = Top();
        request += trn.strPurchase_Head(vchType, date, party, vchNo, refNo, remarks, suppDate,
                                        c.number, c.number, c.number, c.party, c.number);
        request += trn.strPurchase_Party(party, vchNo, 118);
        std::string tax = c.party;
        request += trn.strPurchase_Dr(tax, 18, c.party, 0);
        request += trn.strInvent_Purchase(c.item, 100, 1, "PC", 100, c.party, c.number, c.party,
                                          c.party, 100);
        request += Close();

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
