#pragma once

// Documents for the writer's hostile-text table: every screen's voucher made from sets of
// texts and sets of amounts.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "tally/vouchers/voucher_documents.h"

namespace zentrail::voucher_documents {

// Texts handed out to the document's text fields in turn; a set shorter than the fields
// starts again, shifted, so that neighbouring fields differ.
struct TextSet {
    const char* name;
    std::vector<std::string> texts;
};

struct AmountSet {
    const char* name;
    double party, service, igst, roundOff;
    std::vector<double> line;     // quantity, rate, gross, discount, taxable of each line
    std::vector<double> ledgers;  // two discounts, two taxes
};

const std::vector<TextSet>& TextSets();
const std::vector<AmountSet>& AmountSets();

// A purchase or receipt head reads its date: with datedByReader the date is a real one.
Document MakeDocument(const TextSet& set, const AmountSet& amounts, bool datedByReader);

// The cases stored for every screen, as indexes into TextSets() and AmountSets(): each set of
// texts with the first set of amounts, and each further set of amounts with the first texts.
std::vector<std::pair<size_t, size_t>> StoredCases();

// The name of a case, as its expected voucher is filed under.
std::string CaseName(const TextSet& set, const AmountSet& amounts);

}  // namespace zentrail::voucher_documents
