#include "tally/vouchers/voucher_cases.h"

namespace zentrail::voucher_documents {

const std::vector<TextSet>& TextSets() {
    static const std::vector<TextSet> sets = {
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
         {"A & B", "<tag>", "\"quoted\"", "O'Brien & Sons", "x > y", "a<b>c",
          "Tom & Jerry's \"Shop\"", "&", "<", ">", "'", "\"", "&&&", "R&D <Dept>"}},
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
    return sets;
}

const std::vector<AmountSet>& AmountSets() {
    static const std::vector<AmountSet> sets = {
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
    return sets;
}

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

std::vector<std::pair<size_t, size_t>> StoredCases() {
    std::vector<std::pair<size_t, size_t>> cases;
    for (size_t text = 0; text < TextSets().size(); ++text) cases.emplace_back(text, 0);
    for (size_t amounts = 1; amounts < AmountSets().size(); ++amounts)
        cases.emplace_back(0, amounts);
    return cases;
}

std::string CaseName(const TextSet& set, const AmountSet& amounts) {
    return std::string(set.name) + "_" + amounts.name;
}

}  // namespace zentrail::voucher_documents
