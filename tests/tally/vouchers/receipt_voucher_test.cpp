#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <stdexcept>
#include <string>
#include <utility>

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

// The receipt screen's voucher for one grid row.
std::string RequestOf(const ReceiptRow& row) {
    const bool cash = row.bank.empty();
    const std::string cheque = cash ? "" : row.cheque;
    Voucher v{.head = {.kind = VoucherKind::Receipt,
                       .type = "KVZ Receipt",
                       .date = row.date,
                       .party = row.party,
                       .number = row.number,
                       .reference = row.number,
                       .remarks = "Cheque Number - " + cheque}};
    v.entries.push_back(ReceiptPartyEntry(row.party, row.amount, row.invoice, row.amount));
    v.entries.push_back(ReceiptDebitEntry(cash ? "Cash A/c" : row.bank, row.amount,
                                          {.date = row.date,
                                           .instrumentDate = cash ? "" : row.chequeDate,
                                           .name = row.number,
                                           .bankName = cash ? "" : row.customerBank,
                                           .chequeNumber = cheque},
                                          ""));
    return WrittenRequest(v);
}

VoucherHead Head(std::string date, bool optional = false, bool cancel = false,
                 std::string party = "P", std::string remarks = "") {
    return {.kind = VoucherKind::Receipt,
            .type = "KVZ Receipt",
            .date = std::move(date),
            .party = std::move(party),
            .number = "N1",
            .reference = "N1",
            .remarks = std::move(remarks),
            .cancel = cancel,
            .optional = optional};
}

pugi::xml_node VoucherOf(const pugi::xml_document& doc) {
    return doc.select_node("//VOUCHER").node();
}

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

TEST(ReceiptVoucher, CompleteChequeVoucher) {
    const std::string request = RequestOf(ReceiptRow{});
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

TEST(ReceiptVoucher, CompleteCashVoucher) {
    ReceiptRow row;
    row.bank = "";
    row.amount = 40;
    row.invoice = "SI/2024/0108";
    const std::string request = RequestOf(row);
    Lines expected = ExpectedHead("Cheque Number -");
    AppendLines(expected, ExpectedPartyEntry("SI/2024/0108", "40"));
    AppendLines(expected, ExpectedDebitEntry("Cash A/c", "-40"));
    EXPECT_EQ(request, Crlf(kEnvelopeTop) + JoinLines(expected) + Crlf(kEnvelopeBottom));

    pugi::xml_document doc;
    ASSERT_TRUE(ParsesAsXml(request, doc));
    EXPECT_NEAR(VoucherAmountSum(VoucherOf(doc)), 0, 1e-9);
}

// A receipt line of amount 0 still posts the party entry, without bill and debit.
TEST(ReceiptVoucher, ZeroAmountKeepsOnlyThePartyEntry) {
    ReceiptRow row;
    row.amount = 0;
    const std::string request = RequestOf(row);
    EXPECT_EQ(Count(request, "<BILLALLOCATIONS.LIST>"), 0u);
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
TEST(ReceiptVoucher, NegativeAmountBalances) {
    ReceiptRow row;
    row.amount = -60;
    const std::string request = RequestOf(row);
    EXPECT_EQ(Count(request, "<AMOUNT>--60</AMOUNT>\r\n"), 2u) << request;
    EXPECT_EQ(Count(request, "<BILLALLOCATIONS.LIST>"), 0u);
    pugi::xml_document doc;
    ASSERT_TRUE(ParsesAsXml(request, doc));
    EXPECT_NEAR(VoucherAmountSum(VoucherOf(doc)), 0, 1e-9);
}

TEST(ReceiptVoucher, DateWrittenAsYearMonthDay) {
    for (const char* date : {"20240305", "2024-03-05", "2024-03-05 00:00:00", "05/03/2024",
                             "5-3-2024", "05/03/2024 11:30:00 AM"}) {
        const std::string head = WrittenHead(Head(date));
        EXPECT_NE(head.find("<DATE>20240305</DATE>\r\n"), std::string::npos) << date;
        EXPECT_NE(head.find("<EFFECTIVEDATE>20240305</EFFECTIVEDATE>\r\n"), std::string::npos);
        EXPECT_NE(head.find("<GUID>6178b2bd-1d64-4c89-9c2a-20240305-KVZ Receipt-P-N1-N1</GUID>"),
                  std::string::npos)
            << date;
    }
    for (const char* date : {"", "2024-02-30", "03/15/2024"})
        EXPECT_THROW(WrittenHead(Head(date)), std::invalid_argument) << date;
}

TEST(ReceiptVoucher, OptionalOnlyWhenAsked) {
    for (bool optional : {false, true}) {
        const std::string head = WrittenHead(Head("20240305", optional));
        EXPECT_NE(head.find(optional ? "<ISOPTIONAL>Yes</ISOPTIONAL>\r\n"
                                     : "<ISOPTIONAL>No</ISOPTIONAL>\r\n"),
                  std::string::npos)
            << optional;
        EXPECT_EQ(Count(head, "<ISOPTIONAL>"), 1u);
    }
}

TEST(ReceiptVoucher, CancelKeepsTheKey) {
    const std::string created = WrittenHead(Head("20240305"));
    const std::string cancelled = WrittenHead(Head("20240305", false, true));
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

TEST(ReceiptVoucher, EmptyVoucherTypeBecomesReceipt) {
    VoucherHead untyped = Head("20240305");
    untyped.type.clear();
    const std::string head = WrittenHead(untyped);
    EXPECT_NE(head.find("REMOTEID=\"6178b2bd-1d64-4c89-9c2a-20240305-Receipt-P-N1-N1\" "
                        "VCHTYPE=\"Receipt\""),
              std::string::npos);
    EXPECT_NE(head.find("<VOUCHERTYPENAME>Receipt</VOUCHERTYPENAME>"), std::string::npos);
}

TEST(ReceiptVoucher, NarrationOnceWhenEmptyTwiceOtherwise) {
    std::string head = WrittenHead(Head("20240305", false, false, "P", ""));
    EXPECT_EQ(Count(head, "<NARRATION>"), 1u);
    EXPECT_NE(head.find("</GUID>\r\n<NARRATION></NARRATION>\r\n"), std::string::npos);
    EXPECT_NE(head.find("<PARTYLEDGERNAME>P</PARTYLEDGERNAME>\r\n<ALTERID>"), std::string::npos);

    head = WrittenHead(Head("20240305", false, false, "P", "Paid <late> & short"));
    EXPECT_EQ(Count(head, "<NARRATION>Paid &lt;late&gt; &amp; short</NARRATION>\r\n"), 2u) << head;
}

TEST(ReceiptVoucher, ApostropheInPartyEscapedEverywhere) {
    const std::string party = "D'Souza & Sons";
    const std::string request = WriteVoucher({.head = Head("20240305", false, false, party),
                                              .entries = {ReceiptPartyEntry(party, 10, "", 0)}});
    EXPECT_NE(request.find("<PARTYLEDGERNAME>D&apos;Souza &amp; Sons</PARTYLEDGERNAME>"),
              std::string::npos);
    EXPECT_NE(request.find("-KVZ Receipt-D&apos;Souza &amp; Sons-N1-N1\""), std::string::npos);
    EXPECT_NE(request.find("<LEDGERNAME>D&apos;Souza &amp; Sons</LEDGERNAME>"), std::string::npos);
    // A name already escaped is not escaped again.
    EXPECT_EQ(WrittenEntry(ReceiptPartyEntry("D&apos;Souza &amp; Sons", 10, "", 0)),
              WrittenEntry(ReceiptPartyEntry(party, 10, "", 0)));
}

TEST(ReceiptVoucher, BillAllocationOnlyForPositiveAmounts) {
    const std::string party = "<LEDGERNAME>P</LEDGERNAME>\r\n";
    for (double amount : {0.0, -5.0}) {
        const std::string entry = WrittenEntry(ReceiptPartyEntry("P", 60, "SI/1", amount));
        EXPECT_EQ(entry.find("BILLALLOCATIONS"), std::string::npos) << amount;
        EXPECT_NE(entry.find(party), std::string::npos);
    }
    EXPECT_NE(WrittenEntry(ReceiptPartyEntry("P", 12.25, "SI/1", 12.25))
                  .find(Crlf(R"(<AMOUNT>12.25</AMOUNT>
<BILLALLOCATIONS.LIST>
<NAME>SI/1</NAME>
<BILLTYPE>Agst Ref</BILLTYPE>
<BILLCREDITPERIOD/>
<AMOUNT>12.25</AMOUNT>
</BILLALLOCATIONS.LIST>
</ALLLEDGERENTRIES.LIST>
)")),
              std::string::npos);
}

TEST(ReceiptVoucher, DebitEntryWithAndWithoutChequeAndCostCentre) {
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
    const BankAllocation cheque{.date = "20240305",
                                .instrumentDate = "20240301",
                                .name = "RC-1",
                                .bankName = "Jammu & Kashmir Bank"};
    for (const Case& c : cases) {
        BankAllocation withNumber = cheque;
        withNumber.chequeNumber = c.cheque;
        EXPECT_EQ(WrittenEntry(ReceiptDebitEntry("J&K Bank", 75.5, withNumber, c.costCentre)),
                  c.expected)
            << "cheque '" << c.cheque << "', cost centre '" << c.costCentre << "'";
    }
    BankAllocation withNumber = cheque;
    withNumber.chequeNumber = "000123";
    EXPECT_EQ(WrittenEntry(ReceiptDebitEntry("J&K Bank", 0, withNumber, "North Zone")), "");
}

// Texts straight from the source database: the request stays XML and the party entry names
// the ledger of the head, the bill the invoice's own number.
TEST(ReceiptVoucher, HostileTextsKeepTheVoucherWhole) {
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
        const std::string request = RequestOf(row);
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
