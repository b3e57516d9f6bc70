#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <stdexcept>
#include <string>

#include "support/tally_xml_check.h"
#include "tally/vouchers/expected_text.h"
#include "tally/vouchers/tally_receipt_trn.h"

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

// One grid row of the receipt screen, as the export reads it.
struct ReceiptRow {
    std::string date = "20240305";
    std::string party = "Mehta Stores_1042";
    std::string number = "RC-0009/1";
    std::string invoice = "SI/2024/0107";
    double amount = 60;
    std::string bank = "HDFC Bank";  // empty: cash
    std::string cheque = "004512";
    std::string chequeDate = "20240304";
    std::string customerBank = "State Bank of India";
};

class ReceiptTrnTest : public ::testing::Test {
protected:
    // The receipt export's calling order for one grid row.
    std::string Voucher(ReceiptRow row) {
        std::string ledger = row.bank.empty() ? "Cash A/c" : row.bank;
        std::string cheque = row.bank.empty() ? "" : row.cheque;
        std::string chequeDate = row.bank.empty() ? "" : row.chequeDate;
        std::string customerBank = row.bank.empty() ? "" : row.customerBank;
        std::string narration = "Cheque Number - " + cheque;
        trn.strReceipt_Bil_Alloc = "";
        trn.strReceipt_Bil_Alloc = trn.strReceipt_BillAlloc(row.invoice, row.amount);
        std::string report = "Vouchers";
        std::string vchType = "KVZ Receipt";
        std::string request = trn.strTopMaster(report, "Zentrail Demo & Co");
        request += trn.strReceipt_Head(vchType, row.date, row.party, row.number, row.number,
                                       narration, "R", false);
        request += trn.strReceipt_Party(row.party, row.amount);
        request += trn.strReceipt_Dr(ledger, row.amount, row.date, chequeDate, customerBank, cheque,
                                     "", row.number);
        request += "</VOUCHER>\r\n</TALLYMESSAGE>\r\n";
        request += trn.strBottom();
        return request;
    }

    std::string Head(std::string vchType, std::string date, std::string optFlag = "R",
                     bool cancel = false, std::string party = "P", std::string remarks = "") {
        return trn.strReceipt_Head(vchType, date, party, "N1", "N1", remarks, optFlag, cancel);
    }

    static pugi::xml_node VoucherOf(const pugi::xml_document& doc) {
        return doc.select_node("//VOUCHER").node();
    }

    TallyReceiptTrn trn;
};

// The head of the default row's voucher, with the narration the export makes of its cheque.
Lines ExpectedHead(const std::string& narration) {
    const std::string key =
        "6178b2bd-1d64-4c89-9c2a-20240305-KVZ Receipt-Mehta Stores_1042-RC-0009/1-RC-0009/1";
    return {
        "<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">",
        "<VOUCHER REMOTEID=\"" + key + "\" VCHTYPE=\"KVZ Receipt\" ACTION=\"Create\">",
        "<DATE>20240305</DATE>",
        "<GUID>" + key + "</GUID>",
        "<NARRATION>" + narration + "</NARRATION>",
        "<VOUCHERTYPENAME>KVZ Receipt</VOUCHERTYPENAME>",
        "<ISOPTIONAL>No</ISOPTIONAL>",
        "<USEFORGAINLOSS>No</USEFORGAINLOSS>",
        "<USEFORCOMPOUND>No</USEFORCOMPOUND>",
        "<EFFECTIVEDATE>20240305</EFFECTIVEDATE>",
        "<ISCANCELLED>No</ISCANCELLED>",
        "<USETRACKINGNUMBER>No</USETRACKINGNUMBER>",
        "<ISPOSTDATED>No</ISPOSTDATED>",
        "<ISINVOICE>No</ISINVOICE>",
        "<DIFFACTUALQTY>No</DIFFACTUALQTY>",
        "<VOUCHERNUMBER>RC-0009/1</VOUCHERNUMBER>",
        "<REFERENCE>RC-0009/1</REFERENCE>",
        "<PARTYLEDGERNAME>Mehta Stores_1042</PARTYLEDGERNAME>",
        "<NARRATION>" + narration + "</NARRATION>",
        "<ALTERID></ALTERID>",
    };
}

// The default row's customer credited against one invoice.
Lines ExpectedPartyEntry(const std::string& invoice, const std::string& amount) {
    return {
        "<ALLLEDGERENTRIES.LIST>",
        "<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>",
        "<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>",
        "<LEDGERFROMITEM>No</LEDGERFROMITEM>",
        "<LEDGERNAME>Mehta Stores_1042</LEDGERNAME>",
        "<AMOUNT>" + amount + "</AMOUNT>",
        "<BILLALLOCATIONS.LIST>",
        "<NAME>" + invoice + "</NAME>",
        "<BILLTYPE>Agst Ref</BILLTYPE>",
        "<BILLCREDITPERIOD/>",
        "<AMOUNT>" + amount + "</AMOUNT>",
        "</BILLALLOCATIONS.LIST>",
        "</ALLLEDGERENTRIES.LIST>",
    };
}

// The bank or cash debit with the allocations given.
Lines ExpectedDebitEntry(const std::string& ledger, const std::string& amount,
                         const Lines& allocations = {}) {
    Lines lines = {
        "<ALLLEDGERENTRIES.LIST>",
        "<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>",
        "<ISDEEMEDPOSITIVE>Yes</ISDEEMEDPOSITIVE>",
        "<LEDGERFROMITEM>No</LEDGERFROMITEM>",
        "<LEDGERNAME>" + ledger + "</LEDGERNAME>",
        "<ISPARTYLEDGER>No</ISPARTYLEDGER>",
        "<AMOUNT>" + amount + "</AMOUNT>",
    };
    AppendLines(lines, allocations);
    lines.push_back("</ALLLEDGERENTRIES.LIST>");
    return lines;
}

TEST_F(ReceiptTrnTest, CompleteChequeVoucher) {
    const std::string request = Voucher(ReceiptRow{});
    Lines expected = ExpectedHead("Cheque Number - 004512");
    AppendLines(expected, ExpectedPartyEntry("SI/2024/0107", "60"));
    AppendLines(expected,
                ExpectedDebitEntry("HDFC Bank", "-60",
                                   {
                                       "<BANKALLOCATIONS.LIST>",
                                       "<DATE>20240305</DATE>",
                                       "<INSTRUMENTDATE>20240304</INSTRUMENTDATE>",
                                       "<NAME>RC-0009/1</NAME>",
                                       "<CHEQUECROSSCOMMENT>A/c Payee</CHEQUECROSSCOMMENT>",
                                       "<TRANSACTIONTYPE>Cheque</TRANSACTIONTYPE>",
                                       "<BANKNAME>State Bank of India</BANKNAME>",
                                       "<PAYMENTFAVOURING></PAYMENTFAVOURING>",
                                       "<STATUS>No</STATUS>",
                                       "<INSTRUMENTNUMBER>004512</INSTRUMENTNUMBER>",
                                       "<PAYMENTMODE>Transacted</PAYMENTMODE>",
                                       "<CHEQUEPRINTED> 1</CHEQUEPRINTED>",
                                       "<AMOUNT>-60</AMOUNT>",
                                       "</BANKALLOCATIONS.LIST>",
                                   }));
    EXPECT_EQ(request, Crlf(kEnvelopeTop) + JoinLines(expected) + Crlf(kEnvelopeBottom));

    pugi::xml_document doc;
    ASSERT_TRUE(ParsesAsXml(request, doc));
    EXPECT_NEAR(VoucherAmountSum(VoucherOf(doc)), 0, 1e-9);
}

TEST_F(ReceiptTrnTest, CompleteCashVoucher) {
    ReceiptRow row;
    row.bank = "";
    row.amount = 40;
    row.invoice = "SI/2024/0108";
    const std::string request = Voucher(row);
    Lines expected = ExpectedHead("Cheque Number -");
    AppendLines(expected, ExpectedPartyEntry("SI/2024/0108", "40"));
    AppendLines(expected, ExpectedDebitEntry("Cash A/c", "-40"));
    EXPECT_EQ(request, Crlf(kEnvelopeTop) + JoinLines(expected) + Crlf(kEnvelopeBottom));

    pugi::xml_document doc;
    ASSERT_TRUE(ParsesAsXml(request, doc));
    EXPECT_NEAR(VoucherAmountSum(VoucherOf(doc)), 0, 1e-9);
}

// A receipt line of amount 0 still posts the party entry, without bill and debit.
TEST_F(ReceiptTrnTest, ZeroAmountKeepsOnlyThePartyEntry) {
    ReceiptRow row;
    row.amount = 0;
    const std::string request = Voucher(row);
    EXPECT_EQ(trn.strReceipt_Bil_Alloc, "");
    EXPECT_NE(request.find(Crlf(R"(<LEDGERNAME>Mehta Stores_1042</LEDGERNAME>
<AMOUNT>0</AMOUNT>
</ALLLEDGERENTRIES.LIST>
</VOUCHER>
)")),
              std::string::npos)
        << request;
    EXPECT_EQ(Count(request, "<ALLLEDGERENTRIES.LIST>"), 1u);
    pugi::xml_document doc;
    ASSERT_TRUE(ParsesAsXml(request, doc));
    EXPECT_EQ(VoucherAmountSum(VoucherOf(doc)), 0);
}

// A negative receipt line (a reversal) keeps both entries balanced: "--" reads as a credit.
TEST_F(ReceiptTrnTest, NegativeAmountBalances) {
    ReceiptRow row;
    row.amount = -60;
    const std::string request = Voucher(row);
    EXPECT_EQ(Count(request, "<AMOUNT>--60</AMOUNT>\r\n"), 2u) << request;
    EXPECT_EQ(Count(request, "<BILLALLOCATIONS.LIST>"), 0u);
    pugi::xml_document doc;
    ASSERT_TRUE(ParsesAsXml(request, doc));
    EXPECT_NEAR(VoucherAmountSum(VoucherOf(doc)), 0, 1e-9);
}

TEST_F(ReceiptTrnTest, DateWrittenAsYearMonthDay) {
    for (const char* date : {"20240305", "2024-03-05", "2024-03-05 00:00:00", "05/03/2024",
                             "5-3-2024", "05/03/2024 11:30:00 AM"}) {
        const std::string head = Head("KVZ Receipt", date);
        EXPECT_NE(head.find("<DATE>20240305</DATE>\r\n"), std::string::npos) << date;
        EXPECT_NE(head.find("<EFFECTIVEDATE>20240305</EFFECTIVEDATE>\r\n"), std::string::npos);
        EXPECT_NE(head.find("<GUID>6178b2bd-1d64-4c89-9c2a-20240305-KVZ Receipt-P-N1-N1</GUID>"),
                  std::string::npos)
            << date;
    }
    for (const char* date : {"", "2024-02-30", "03/15/2024"})
        EXPECT_THROW(Head("KVZ Receipt", date), std::invalid_argument) << date;
}

TEST_F(ReceiptTrnTest, OptionalUnlessFlagIsR) {
    const std::pair<const char*, const char*> cases[] = {{"R", "<ISOPTIONAL>No</ISOPTIONAL>"},
                                                         {"", "<ISOPTIONAL>Yes</ISOPTIONAL>"},
                                                         {"r", "<ISOPTIONAL>Yes</ISOPTIONAL>"},
                                                         {"RR", "<ISOPTIONAL>Yes</ISOPTIONAL>"}};
    for (auto [flag, line] : cases) {
        const std::string head = Head("KVZ Receipt", "20240305", flag);
        EXPECT_NE(head.find(std::string(line) + "\r\n"), std::string::npos) << flag;
        EXPECT_EQ(Count(head, "<ISOPTIONAL>"), 1u);
    }
}

TEST_F(ReceiptTrnTest, CancelKeepsTheKey) {
    const std::string created = Head("KVZ Receipt", "20240305");
    const std::string cancelled = Head("KVZ Receipt", "20240305", "R", true);
    const std::string key = "6178b2bd-1d64-4c89-9c2a-20240305-KVZ Receipt-P-N1-N1";
    EXPECT_NE(created.find("<VOUCHER REMOTEID=\"" + key +
                           "\" VCHTYPE=\"KVZ Receipt\" ACTION=\"Create\">\r\n"),
              std::string::npos);
    EXPECT_NE(cancelled.find("<VOUCHER REMOTEID=\"" + key +
                             "\" VCHTYPE=\"KVZ Receipt\" ACTION=\"Cancel\">\r\n"),
              std::string::npos);
    EXPECT_NE(created.find("<ISCANCELLED>No</ISCANCELLED>\r\n"), std::string::npos);
    EXPECT_NE(cancelled.find("<ISCANCELLED>Yes</ISCANCELLED>\r\n"), std::string::npos);
    // Nothing else differs.
    std::string expected = created;
    expected.replace(expected.find("ACTION=\"Create\""), 15, "ACTION=\"Cancel\"");
    expected.replace(expected.find("<ISCANCELLED>No"), 15, "<ISCANCELLED>Yes");
    EXPECT_EQ(cancelled, expected);
}

TEST_F(ReceiptTrnTest, EmptyVoucherTypeBecomesReceipt) {
    std::string vchType, party = "P", remarks;
    const std::string head =
        trn.strReceipt_Head(vchType, "20240305", party, "N1", "N1", remarks, "R", false);
    EXPECT_EQ(vchType, "Receipt");
    EXPECT_NE(head.find("REMOTEID=\"6178b2bd-1d64-4c89-9c2a-20240305-Receipt-P-N1-N1\" "
                        "VCHTYPE=\"Receipt\""),
              std::string::npos);
    EXPECT_NE(head.find("<VOUCHERTYPENAME>Receipt</VOUCHERTYPENAME>"), std::string::npos);
}

TEST_F(ReceiptTrnTest, NarrationOnceWhenEmptyTwiceOtherwise) {
    std::string head = Head("KVZ Receipt", "20240305", "R", false, "P", "");
    EXPECT_EQ(Count(head, "<NARRATION>"), 1u);
    EXPECT_NE(head.find("</GUID>\r\n<NARRATION></NARRATION>\r\n"), std::string::npos);
    EXPECT_NE(head.find("<PARTYLEDGERNAME>P</PARTYLEDGERNAME>\r\n<ALTERID>"), std::string::npos);

    head = Head("KVZ Receipt", "20240305", "R", false, "P", "Paid <late> & short");
    EXPECT_EQ(Count(head, "<NARRATION>Paid &lt;late&gt; &amp; short</NARRATION>\r\n"), 2u) << head;
}

TEST_F(ReceiptTrnTest, ApostropheInPartyEscapedEverywhere) {
    std::string vchType = "KVZ Receipt", party = "D'Souza & Sons", remarks;
    std::string request =
        trn.strReceipt_Head(vchType, "20240305", party, "N1", "N1", remarks, "R", false);
    EXPECT_EQ(party, "D&apos;Souza &amp; Sons");
    request += trn.strReceipt_Party(party, 10);
    EXPECT_NE(request.find("<PARTYLEDGERNAME>D&apos;Souza &amp; Sons</PARTYLEDGERNAME>"),
              std::string::npos);
    EXPECT_NE(request.find("-KVZ Receipt-D&apos;Souza &amp; Sons-N1-N1\""), std::string::npos);
    EXPECT_NE(request.find("<LEDGERNAME>D&apos;Souza &amp; Sons</LEDGERNAME>"), std::string::npos);
    // The screen may as well hand the party entry the name it read.
    EXPECT_EQ(trn.strReceipt_Party("D'Souza & Sons", 10), trn.strReceipt_Party(party, 10));
}

TEST_F(ReceiptTrnTest, BillAllocationOnlyForPositiveAmounts) {
    EXPECT_EQ(trn.strReceipt_BillAlloc("SI/1", 0), "");
    EXPECT_EQ(trn.strReceipt_BillAlloc("SI/1", -5), "");
    EXPECT_EQ(trn.strReceipt_BillAlloc("SI/1", 12.25), Crlf(R"(<BILLALLOCATIONS.LIST>
<NAME>SI/1</NAME>
<BILLTYPE>Agst Ref</BILLTYPE>
<BILLCREDITPERIOD/>
<AMOUNT>12.25</AMOUNT>
</BILLALLOCATIONS.LIST>
)"));
}

// The property is the caller's to reset: a text left set goes into the next party entry too.
TEST_F(ReceiptTrnTest, BillAllocationLeftSetIsRepeated) {
    trn.strReceipt_Bil_Alloc = trn.strReceipt_BillAlloc("SI/1", 60);
    const std::string first = trn.strReceipt_Party("P", 60);
    const std::string second = trn.strReceipt_Party("P", 40);
    EXPECT_EQ(Count(first, "<NAME>SI/1</NAME>"), 1u);
    EXPECT_EQ(Count(second, "<NAME>SI/1</NAME>"), 1u);
    EXPECT_NE(second.find(trn.strReceipt_Bil_Alloc + "</ALLLEDGERENTRIES.LIST>\r\n"),
              std::string::npos);
    trn.strReceipt_Bil_Alloc = "";
    EXPECT_EQ(trn.strReceipt_Party("P", 40).find("BILLALLOCATIONS"), std::string::npos);
}

TEST_F(ReceiptTrnTest, DebitEntryWithAndWithoutChequeAndCostCentre) {
    const Lines bank = {
        "<BANKALLOCATIONS.LIST>",
        "<DATE>20240305</DATE>",
        "<INSTRUMENTDATE>20240301</INSTRUMENTDATE>",
        "<NAME>RC-1</NAME>",
        "<CHEQUECROSSCOMMENT>A/c Payee</CHEQUECROSSCOMMENT>",
        "<TRANSACTIONTYPE>Cheque</TRANSACTIONTYPE>",
        "<BANKNAME>Jammu &amp; Kashmir Bank</BANKNAME>",
        "<PAYMENTFAVOURING></PAYMENTFAVOURING>",
        "<STATUS>No</STATUS>",
        "<INSTRUMENTNUMBER>000123</INSTRUMENTNUMBER>",
        "<PAYMENTMODE>Transacted</PAYMENTMODE>",
        "<CHEQUEPRINTED> 1</CHEQUEPRINTED>",
        "<AMOUNT>-75.5</AMOUNT>",
        "</BANKALLOCATIONS.LIST>",
    };
    const Lines cost = {
        "<CATEGORYALLOCATIONS.LIST>",
        "<CATEGORY>Primary Cost Category</CATEGORY>",
        "<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>",
        "<COSTCENTREALLOCATIONS.LIST>",
        "<NAME>North Zone</NAME>",
        "<AMOUNT>-75.5</AMOUNT>",
        "</COSTCENTREALLOCATIONS.LIST>",
        "</CATEGORYALLOCATIONS.LIST>",
    };
    Lines bankAndCost = bank;
    AppendLines(bankAndCost, cost);
    auto entry = [](const Lines& allocations) {
        return JoinLines(ExpectedDebitEntry("J&amp;K Bank", "-75.5", allocations));
    };
    struct Case {
        const char* cheque;
        const char* costCentre;
        std::string expected;
    };
    const Case cases[] = {
        {"000123", "North Zone", entry(bankAndCost)},
        {"000123", "", entry(bank)},
        {"", "North Zone", entry(cost)},
        {"", "", entry({})},
    };
    for (const Case& c : cases) {
        std::string ledger = "J&K Bank";
        EXPECT_EQ(trn.strReceipt_Dr(ledger, 75.5, "20240305", "20240301", "Jammu & Kashmir Bank",
                                    c.cheque, c.costCentre, "RC-1"),
                  c.expected)
            << "cheque '" << c.cheque << "', cost centre '" << c.costCentre << "'";
        EXPECT_EQ(ledger, "J&amp;K Bank");
    }
    std::string ledger = "J&K Bank";
    EXPECT_EQ(trn.strReceipt_Dr(ledger, 0, "", "", "", "000123", "North Zone", ""), "");
    EXPECT_EQ(ledger, "J&K Bank") << "a dropped entry leaves its ledger alone";
}

// Texts straight from the source database: the request stays XML and the party entry names
// the ledger of the head, the bill the invoice's own number.
TEST_F(ReceiptTrnTest, HostileTextsKeepTheVoucherWhole) {
    struct Case {
        const char* party;
        const char* number;
        const char* invoice;
        const char* bank;
        const char* partyRead;
        const char* numberRead;
        const char* invoiceRead;
    };
    const Case cases[] = {
        {"A & B Traders", "RC&1", "SI<1>", "Jammu & Kashmir Bank", "A & B Traders", "RC&1",
         "SI<1>"},
        {"O'Neil \"Best\" <Shop>", "<7>", "SI&amp;2", "<Bank>", "O'Neil \"Best\" <Shop>", "<7>",
         "SI&2"},
        {"R&amp;D Stores <East>", "'9'", "\"3\"", "B'nk", "R&D Stores <East>", "'9'", "\"3\""},
        {"  Padded & Co  ", "  5  ", "  SI/5  ", " Bank ", "Padded & Co", "5", "SI/5"},
        {"Tom &amp Jerry", "N&#x26;1", "]]>", "&#38;", "Tom &amp Jerry", "N&1", "]]>"},
    };
    for (const Case& c : cases) {
        ReceiptRow row;
        row.party = c.party;
        row.number = c.number;
        row.invoice = c.invoice;
        row.bank = c.bank;
        row.customerBank = c.bank;
        row.cheque = c.number;
        row.chequeDate = c.number;
        const std::string request = Voucher(row);
        pugi::xml_document doc;
        ASSERT_TRUE(ParsesAsXml(request, doc)) << c.party;
        pugi::xml_node voucher = VoucherOf(doc);
        const std::string headParty = voucher.child_value("PARTYLEDGERNAME");
        EXPECT_EQ(headParty, c.partyRead);
        pugi::xml_node partyEntry =
            voucher.select_node("ALLLEDGERENTRIES.LIST[ISDEEMEDPOSITIVE='No']").node();
        EXPECT_EQ(partyEntry.child_value("LEDGERNAME"), headParty);
        EXPECT_STREQ(voucher.child_value("VOUCHERNUMBER"), c.numberRead);
        EXPECT_STREQ(voucher.child_value("REFERENCE"), c.numberRead);
        EXPECT_STREQ(partyEntry.child("BILLALLOCATIONS.LIST").child_value("NAME"), c.invoiceRead);
        EXPECT_EQ(std::string(voucher.attribute("REMOTEID").value()), voucher.child_value("GUID"));
        EXPECT_NEAR(VoucherAmountSum(voucher), 0, 1e-9) << c.party;
    }
}

}  // namespace
}  // namespace zentrail
