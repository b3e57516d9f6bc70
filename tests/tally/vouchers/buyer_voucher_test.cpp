// What the sales and the credit-note vouchers have in common, tested once over both: the
// voucher head and its key, the GSTIN rule, the batch allocation and hostile names. Each
// voucher's own file tests what only it writes.

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/tally_xml_check.h"
#include "tally/vouchers/credit_note_voucher_fixture.h"
#include "tally/vouchers/expected_text.h"
#include "tally/vouchers/sale_voucher_fixture.h"
#include "tally/vouchers/voucher_entries.h"
#include "tally/vouchers/written_voucher.h"

namespace zentrail {
namespace {

using testing::AppendLines;
using testing::JoinLines;
using testing::Lines;
using testing::ParsesAsXml;
using testing::RemoveLine;
using testing::ReplaceLine;
using testing::VoucherAmountSum;
using testing::WrittenEntry;

// The sales voucher: stock goes out (not deemed positive), amounts as written.
struct SaleVoucher {
    using Args = sale_fixture::HeadArgs;
    static constexpr VoucherKind kKind = VoucherKind::Sales;
    static const Lines& Head() { return sale_fixture::kHead; }
    static constexpr const char* kGstinLine = "<PARTYGSTIN>33ABCDE1234F1Z5</PARTYGSTIN>";
    static constexpr const char* kFixtureType = "KVZ Sales";
    static constexpr const char* kDefaultType = "Sales";
    static constexpr const char* kFixtureReference = "SI-0042";
    static constexpr const char* kDefaultTypeVoucherLine =
        "<VOUCHER REMOTEID=\"6178b2bd-1d64-4c89-9c2a-20240115-Sales-ABC Traders_12-"
        "SI-0042-SI-0042\" VCHTYPE=\"Sales\" ACTION=\"Create\">";
    static constexpr const char* kDefaultTypeGuidLine =
        "<GUID>6178b2bd-1d64-4c89-9c2a-20240115-Sales-ABC Traders_12-SI-0042-SI-0042</GUID>";
    static constexpr const char* kCancelVoucherLine =
        "<VOUCHER REMOTEID=\"6178b2bd-1d64-4c89-9c2a-20240115-KVZ Sales-ABC Traders_12-"
        "SI-0042-SI-0042\" VCHTYPE=\"KVZ Sales\" ACTION=\"Cancel\">";
    static constexpr const char* kStockDeemedPositive = "No";
    static constexpr const char* kSign = "";

    // One taxed line of 100 at 18 %: the party owes 118.
    static std::string OneLineRequest(const Args& head, const std::string& item) {
        return sale_fixture::AssembleInvoice(
            head, 118, {{item, 4, 25, 100, "GST Sales 18%", "Sales Taxable", 100}}, {},
            sale_fixture::SixteenTaxes(0, 0, 9, 9), 0);
    }
    // The party entry of the voucher number.
    static std::string Party(const std::string& party, const std::string& number) {
        return WrittenEntry(SalesPartyEntry(EntryList::Ledger, party, number, 118));
    }
};

// The credit note of a sales return: stock comes back (deemed positive), amounts negated.
struct CreditNoteVoucher {
    using Args = credit_note_fixture::HeadArgs;
    static constexpr VoucherKind kKind = VoucherKind::CreditNote;
    static const Lines& Head() { return credit_note_fixture::kHead; }
    static constexpr const char* kGstinLine = "<PARTYGSTIN>34ABCDE1234F1Z5</PARTYGSTIN>";
    static constexpr const char* kFixtureType = "Credit Note";
    static constexpr const char* kDefaultType = "Credit Note";
    static constexpr const char* kFixtureReference = "SI-0042";
    static constexpr const char* kDefaultTypeVoucherLine =
        "<VOUCHER REMOTEID=\"6178b2bd-1d64-4c89-9c2a-20240120-Credit Note-City Mart_42-"
        "SR-0007-SR-0007\" VCHTYPE=\"Credit Note\" ACTION=\"Create\">";
    static constexpr const char* kDefaultTypeGuidLine =
        "<GUID>6178b2bd-1d64-4c89-9c2a-20240120-Credit Note-City Mart_42-SR-0007-"
        "SR-0007</GUID>";
    static constexpr const char* kCancelVoucherLine =
        "<VOUCHER REMOTEID=\"6178b2bd-1d64-4c89-9c2a-20240120-Credit Note-City Mart_42-"
        "SR-0007-SI-0042\" VCHTYPE=\"Credit Note\" ACTION=\"Cancel\">";
    static constexpr const char* kStockDeemedPositive = "Yes";
    static constexpr const char* kSign = "-";

    // One returned line of 100 at 9 % (4.5 + 4.5): the party gets 109 back.
    static std::string OneLineRequest(const Args& head, const std::string& item) {
        return credit_note_fixture::AssembleReturn(
            head, 109, {{item, 4, 25, 100, "GST Sales 18%", "Sales Taxable", 100}},
            {{"Scheme Discount", 0}, {"Special Discount", 0}, {"Cash Discount", 0}},
            credit_note_fixture::SixteenTaxes(0, 0, 4.5, 4.5));
    }
    static std::string Party(const std::string& party, const std::string& number) {
        return WrittenEntry(CreditedPartyEntry(EntryList::Ledger, party, number, 109));
    }
};

template <typename Voucher>
class BuyerVoucher : public ::testing::Test {};

using BothVouchers = ::testing::Types<SaleVoucher, CreditNoteVoucher>;
TYPED_TEST_SUITE(BuyerVoucher, BothVouchers);

TYPED_TEST(BuyerVoucher, BaseHeadIsExact) {
    typename TypeParam::Args args;
    EXPECT_EQ(args.Head(), JoinLines(TypeParam::Head()));
}

// The key names the default type too.
TYPED_TEST(BuyerVoucher, EmptyVoucherTypeBecomesTheDefault) {
    typename TypeParam::Args args;
    args.type = "";
    args.reference = args.number;
    const Lines& head = TypeParam::Head();
    Lines expected = head;
    ReplaceLine(expected, head[1], TypeParam::kDefaultTypeVoucherLine);
    ReplaceLine(expected, head[3], TypeParam::kDefaultTypeGuidLine);
    ReplaceLine(expected,
                std::string("<VOUCHERTYPENAME>") + TypeParam::kFixtureType + "</VOUCHERTYPENAME>",
                std::string("<VOUCHERTYPENAME>") + TypeParam::kDefaultType + "</VOUCHERTYPENAME>");
    ReplaceLine(expected,
                std::string("<REFERENCE>") + TypeParam::kFixtureReference + "</REFERENCE>",
                "<REFERENCE>" + args.number + "</REFERENCE>");
    EXPECT_EQ(args.Head(), JoinLines(expected));
}

// A cancellation keeps the key of the created voucher, so that Tally finds it.
TYPED_TEST(BuyerVoucher, CancelKeepsTheKeyOfTheCreatedVoucher) {
    typename TypeParam::Args args;
    args.cancel = true;
    Lines expected = TypeParam::Head();
    ReplaceLine(expected, TypeParam::Head()[1], TypeParam::kCancelVoucherLine);
    ReplaceLine(expected, "<ISCANCELLED>No</ISCANCELLED>", "<ISCANCELLED>Yes</ISCANCELLED>");
    EXPECT_EQ(args.Head(), JoinLines(expected));
}

TYPED_TEST(BuyerVoucher, GstinLineOnlyForTenCharactersOrMore) {
    struct Case {
        const char* gstin;
        const char* line;  // nullptr: no PARTYGSTIN line
    };
    const Case cases[] = {
        {"33ABCDE12", nullptr},
        {"33ABCDE123", "<PARTYGSTIN>33ABCDE123</PARTYGSTIN>"},
        {"33ABCDE1234F1Z5", "<PARTYGSTIN>33ABCDE1234F1Z5</PARTYGSTIN>"},
        {"", nullptr},
        // A blank-padded CHAR column holds no GSTIN; padding does not make a short one count.
        {"               ", nullptr},
        {"   33ABCDE12   ", nullptr},
        {"33ABCDE1234F1Z5   ", "<PARTYGSTIN>33ABCDE1234F1Z5</PARTYGSTIN>"},
        // Characters count, not bytes: five two-byte letters are not ten characters.
        {"\xc3\x89\xc3\x89\xc3\x89\xc3\x89\xc3\x89", nullptr},
        {"\xc3\x89\xc3\x89\xc3\x89\xc3\x89\xc3\x89"
         "12345",
         "<PARTYGSTIN>\xc3\x89\xc3\x89\xc3\x89\xc3\x89\xc3\x89"
         "12345</PARTYGSTIN>"},
    };
    for (const Case& c : cases) {
        typename TypeParam::Args args;
        args.gstin = c.gstin;
        Lines expected = TypeParam::Head();
        if (c.line)
            ReplaceLine(expected, TypeParam::kGstinLine, c.line);
        else
            RemoveLine(expected, TypeParam::kGstinLine);
        EXPECT_EQ(args.Head(), JoinLines(expected)) << "GSTIN '" << c.gstin << "'";
    }
}

// The batch block of a stock line whose batch is worth quantity times rate, with the voucher's
// sign; not rounded.
template <typename Voucher>
std::string BatchOf(double quantity, double rate, std::string godown, std::string batch,
                    std::string orderNo, std::string dueDate, std::string tracking) {
    const InventoryLine line{.item = "P100_7",
                             .batch = {.godown = std::move(godown),
                                       .batch = std::move(batch),
                                       .orderNo = std::move(orderNo),
                                       .tracking = std::move(tracking),
                                       .dueDate = std::move(dueDate),
                                       .amount = quantity * rate,
                                       .quantity = quantity,
                                       .unit = "PC"}};
    const std::string entry = WrittenEntry(line, {.kind = Voucher::kKind});
    const std::string close = "</BATCHALLOCATIONS.LIST>\r\n";
    const size_t open = entry.find("<BATCHALLOCATIONS.LIST>");
    const size_t end = entry.find(close, open);
    if (open == std::string::npos || end == std::string::npos) return {};
    return entry.substr(open, end + close.size() - open);
}

TYPED_TEST(BuyerVoucher, BatchAllocationAmountIsTheUnroundedProduct) {
    const std::string sign = TypeParam::kSign;
    EXPECT_EQ(
        BatchOf<TypeParam>(3, 12.5, "Main Location", "Primary Batch", "ORD-9", "20240110", "TRK-1"),
        JoinLines({
            "<BATCHALLOCATIONS.LIST>",
            "<GODOWNNAME>Main Location</GODOWNNAME>",
            "<BATCHNAME>Primary Batch</BATCHNAME>",
            "<ORDERNO>ORD-9</ORDERNO>",
            "<TRACKINGNUMBER>TRK-1</TRACKINGNUMBER>",
            "<MFDON></MFDON>",
            "<EXPIRYPERIOD/>",
            "<AMOUNT>" + sign + "37.5</AMOUNT>",
            "<ACTUALQTY> 3 PC</ACTUALQTY>",
            "<BILLEDQTY> 3 PC</BILLEDQTY>",
            "<ORDERDUEDATE>20240110</ORDERDUEDATE>",
            "</BATCHALLOCATIONS.LIST>",
        }));
    EXPECT_EQ(BatchOf<TypeParam>(3, 10.1, "Main Location", "Primary Batch", "", "", ""),
              JoinLines({
                  "<BATCHALLOCATIONS.LIST>",
                  "<GODOWNNAME>Main Location</GODOWNNAME>",
                  "<BATCHNAME>Primary Batch</BATCHNAME>",
                  "<ORDERNO></ORDERNO>",
                  "<TRACKINGNUMBER></TRACKINGNUMBER>",
                  "<MFDON></MFDON>",
                  "<EXPIRYPERIOD/>",
                  "<AMOUNT>" + sign + "30.3</AMOUNT>",
                  "<ACTUALQTY> 3 PC</ACTUALQTY>",
                  "<BILLEDQTY> 3 PC</BILLEDQTY>",
                  "<ORDERDUEDATE></ORDERDUEDATE>",
                  "</BATCHALLOCATIONS.LIST>",
              }));
    // Not rounded to two decimals.
    EXPECT_NE(BatchOf<TypeParam>(3, 0.335, "G", "B", "", "", "")
                  .find("<AMOUNT>" + sign + "1.005</AMOUNT>"),
              std::string::npos);
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

TYPED_TEST(BuyerVoucher, PartyItemAndNumberSurviveParsing) {
    for (const HostileCase& c : kHostile) {
        SCOPED_TRACE(c.party);
        typename TypeParam::Args head;
        head.party = c.party;
        head.number = c.number;
        head.reference = c.number;  // a return without invoice refers to itself
        std::string request = TypeParam::OneLineRequest(head, c.item);

        pugi::xml_document doc;
        ASSERT_TRUE(ParsesAsXml(request, doc));
        pugi::xml_node voucher = doc.select_node("//VOUCHER").node();
        std::string partyLedger = voucher.child_value("PARTYLEDGERNAME");
        EXPECT_EQ(partyLedger, c.partyRead);
        EXPECT_EQ(std::string(voucher.child("LEDGERENTRIES.LIST").child_value("LEDGERNAME")),
                  partyLedger);
        EXPECT_EQ(std::string(voucher.child_value("PARTYNAME")), partyLedger);
        EXPECT_EQ(std::string(voucher.child_value("BASEPARTYNAME")), partyLedger);
        EXPECT_EQ(
            std::string(voucher.child("ALLINVENTORYENTRIES.LIST").child_value("STOCKITEMNAME")),
            c.itemRead);
        std::string number = voucher.child_value("VOUCHERNUMBER");
        EXPECT_EQ(number, c.numberRead);
        EXPECT_EQ(std::string(voucher.child_value("REFERENCE")), number);
        EXPECT_EQ(std::string(voucher.child("LEDGERENTRIES.LIST")
                                  .child("BILLALLOCATIONS.LIST")
                                  .child_value("NAME")),
                  number);
        EXPECT_NEAR(VoucherAmountSum(voucher), 0, 1e-9);

        // The party entry made from the raw names is the one in the voucher, byte for byte.
        EXPECT_NE(request.find(TypeParam::Party(c.party, c.number)), std::string::npos);
    }
}

}  // namespace
}  // namespace zentrail
