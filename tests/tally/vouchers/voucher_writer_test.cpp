#include "tally/vouchers/voucher_writer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "tally/vouchers/voucher.h"
#include "tally/vouchers/voucher_documents.h"

namespace zentrail {
namespace {

using voucher_documents::Document;
using voucher_documents::Screen;
using voucher_documents::Screens;
using voucher_documents::StockLine;

// Texts handed out to the document's text fields in turn; a set shorter than the fields
// starts again, shifted, so that neighbouring fields differ.
struct TextSet {
    const char* name;
    std::vector<std::string> texts;
};

const std::vector<TextSet> kTextSets = {
    {"Ordinary", {"KVZ Sales",       "20240405",        "ABC Traders_12",
                  "SI-0042",         "KFB/7",           "20240401",
                  "Paid in full",    "Ravi Kumar",      "Tamil Nadu",
                  "33ABCDE1234F1Z5", "12 Main Road",    "Shop 3",
                  "Chennai",         "SI-0041",         "State Bank",
                  "000123",          "20240410",        "Visibility Claim",
                  "Round Off",       "AB12_11",         "PC",
                  "Main Location",   "Primary Batch",   "GST Sales 18%",
                  "Sales Taxable",   "Scheme Discount", "Special Discount",
                  "CGST 9%",         "SGST 9%",         "CD34_12"}},
    {"MarkupCharacters",
     {"A & B", "<tag>", "\"quoted\"", "O'Brien & Sons", "x > y", "a<b>c", "Tom & Jerry's \"Shop\"",
      "&", "<", ">", "'", "\"", "&&&", "R&D <Dept>"}},
    {"AlreadyEscaped",
     {"A &amp; B", "&lt;tag&gt;", "&quot;q&quot;", "O&apos;Brien", "&#38;", "&#x26;", "&#0;",
      "&#xD800;", "&amp;amp;", "&amp", "& amp;", "&#65;BC", "&#;", "&#x;", "&lt"}},
    {"ControlCharacters",
     {std::string("nul\0byte", 8), "bell\x07", "tab\there", "line\r\nbreak", "del\x7f",
      "\x01\x02\x03\x04\x05\x06\x07\x08\x0b\x0c", "\x1f start", "end \x1b", "\t", "\r\n"}},
    {"NonAscii",
     {"Ünïcödé Traders", "₹ 1,000", "日本語", "Café & Crème", "\xff\xfe broken", "\xc3",
      "\xed\xa0\x80 surrogate", "\xef\xbf\xbf", "emoji \xf0\x9f\x98\x80", "Ωmega"}},
    {"EmptyAndBlank", {"", "   ", " padded & ", "", " ", "  <  ", "", "x"}},
};

struct AmountSet {
    const char* name;
    double party, service, igst, roundOff;
    std::vector<double> line;     // quantity, rate, gross, discount, taxable of each line
    std::vector<double> ledgers;  // two discounts, two taxes
};

const std::vector<AmountSet> kAmountSets = {
    {"Ordinary",
     1535,
     1000,
     0,
     0.38,
     {10, 100.05, 1000.5, 100, 900.5, 5, 20, 100, 0, 100},
     {12.5, 0, 81, 11.25}},
    {"Interstate",
     1180,
     1000,
     180,
     -0.4,
     {3, 33.333, 99.999, 0.001, 99.998, 1, 0.5, 0.5, 0, 0.5},
     {0, 7, 180, 0}},
    {"Zero", 0, 0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0}},
    {"Negative",
     -1535,
     -1000,
     -5,
     -0.5,
     {-10, 100, -1000, -100, -900, 2, -3.5, -7, 1, -8},
     {-12.5, -3, -81, -0.01}},
};

Document MakeDocument(const TextSet& set, const AmountSet& a, bool datedByReader) {
    size_t next = 0;
    auto text = [&]() {
        const size_t n = set.texts.size();
        const size_t i = next++;
        return set.texts[(i + i / n) % n];
    };
    Document d;
    d.type = text();
    d.date = text();
    d.party = text();
    d.number = text();
    d.reference = text();
    d.referenceDate = text();
    d.remarks = text();
    d.buyer = text();
    d.state = text();
    d.gstin = text();
    d.add1 = text();
    d.add2 = text();
    d.add3 = text();
    d.bill = text();
    d.bank = text();
    d.chequeNumber = text();
    d.chequeDate = text();
    d.reason = text();
    d.roundOffLedger = text();
    // Purchase and receipt heads read their date; a text that is no date is its own case.
    if (datedByReader) d.date = "20240405";
    d.cancel = set.texts.size() % 2 == 1;
    d.partyAmount = a.party;
    d.service = a.service;
    d.igst = a.igst;
    d.roundOff = a.roundOff;
    for (size_t i = 0; i + 5 <= a.line.size(); i += 5) {
        StockLine line{.item = text(),
                       .unit = text(),
                       .godown = text(),
                       .batch = text(),
                       .ledger = text(),
                       .nature = text()};
        line.quantity = a.line[i];
        line.rate = a.line[i + 1];
        line.gross = a.line[i + 2];
        line.discount = a.line[i + 3];
        line.taxable = a.line[i + 4];
        d.lines.push_back(line);
    }
    d.discounts = {{text(), a.ledgers[0]}, {text(), a.ledgers[1]}};
    d.taxes = {{text(), a.ledgers[2]}, {text(), a.ledgers[3]}};
    return d;
}

using Case = std::tuple<size_t, size_t, size_t>;  // screen, text set, amount set

class VoucherWriterMatchesBuilders : public ::testing::TestWithParam<Case> {};

TEST_P(VoucherWriterMatchesBuilders, ByteForByte) {
    const auto [screenIndex, textIndex, amountIndex] = GetParam();
    const Screen& screen = Screens()[screenIndex];
    const Document d =
        MakeDocument(kTextSets[textIndex], kAmountSets[amountIndex], screen.datedByReader);
    const std::string expected = screen.builders(d);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(screen.values(d), expected);
}

std::vector<size_t> Indexes(size_t count) {
    std::vector<size_t> indexes(count);
    for (size_t i = 0; i < count; ++i) indexes[i] = i;
    return indexes;
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return std::string(Screens()[std::get<0>(info.param)].name) + "_" +
           kTextSets[std::get<1>(info.param)].name + "_" +
           kAmountSets[std::get<2>(info.param)].name;
}

INSTANTIATE_TEST_SUITE_P(EveryScreen, VoucherWriterMatchesBuilders,
                         ::testing::Combine(::testing::ValuesIn(Indexes(Screens().size())),
                                            ::testing::ValuesIn(Indexes(kTextSets.size())),
                                            ::testing::ValuesIn(Indexes(kAmountSets.size()))),
                         CaseName);

// A purchase or receipt date that is no date stops both the same way.
TEST(VoucherWriterDates, ADateThatIsNoDateThrowsLikeTheBuilders) {
    for (const Screen& screen : Screens()) {
        if (!screen.datedByReader) continue;
        SCOPED_TRACE(screen.name);
        for (const char* date : {"", "not a date", "20240231", "A & B"}) {
            SCOPED_TRACE(date);
            Document d = MakeDocument(kTextSets[0], kAmountSets[0], true);
            d.date = date;
            EXPECT_THROW(screen.builders(d), std::invalid_argument);
            EXPECT_THROW(screen.values(d), std::invalid_argument);
        }
    }
}

}  // namespace
}  // namespace zentrail
