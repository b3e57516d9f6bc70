#pragma once

// Checks shared by the builder and screen tests: XML well-formedness and Tally's sign rule.

#include <pugixml.hpp>

#include <string>
#include <string_view>

#include "tally/number_text.h"

namespace zentrail::testing {

// Reads an amount with Tally's sign convention: every leading "-" flips the sign
// ("-5" is a debit of 5, "--5" reads as 5).
inline double TallyAmount(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    double sign = 1;
    while (i < text.size() && text[i] == '-') {
        sign = -sign;
        ++i;
    }
    return sign * ReadNumber(text.substr(i));
}

// Parses a fragment or whole request; fails the calling test with the parser's message.
inline ::testing::AssertionResult ParsesAsXml(const std::string& text, pugi::xml_document& doc) {
    std::string wrapped = "<ROOT>" + text + "</ROOT>";
    pugi::xml_parse_result result = doc.load_string(wrapped.c_str());
    if (result) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << result.description() << " at offset " << result.offset << " in:\n"
           << text;
}

// Sum of the signed amounts of a voucher's ledger entries and inventory lines; a balanced
// voucher gives 0.
inline double VoucherAmountSum(const pugi::xml_node& voucher) {
    double sum = 0;
    for (const char* path : {".//LEDGERENTRIES.LIST/AMOUNT", ".//ALLLEDGERENTRIES.LIST/AMOUNT",
                             ".//ALLINVENTORYENTRIES.LIST/AMOUNT",
                             ".//INVENTORYENTRIES.LIST/AMOUNT"}) {
        for (pugi::xpath_node hit : voucher.select_nodes(path)) {
            // Only amounts directly in an entry count, not those of its allocations.
            sum += TallyAmount(hit.node().child_value());
        }
    }
    return sum;
}

}  // namespace zentrail::testing
