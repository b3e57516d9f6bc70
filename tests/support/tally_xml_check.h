#pragma once

// Checks shared by the builder and screen tests: XML well-formedness and Tally's sign rule.

#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "common/utf8_text.h"
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

// What pugixml lets through but a strict XML 1.0 parser refuses: bytes that are not UTF-8,
// characters XML forbids, references to them, "&" that begins no reference and "]]>" in text.
// Tally's own "&#4;" marker is the one reference to a forbidden character allowed.
inline ::testing::AssertionResult StrictXmlCharacters(std::string_view text) {
    const auto fail = [&](size_t at, std::string_view why) {
        return ::testing::AssertionFailure()
               << why << " at offset " << at << ": ..." << text.substr(at, 40) << "...";
    };
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t at = pos;
        const char32_t c = DecodeUtf8(text, pos);
        if (c == kInvalidUtf8) return fail(at, "not UTF-8");
        if (!IsXmlChar(c)) return fail(at, "character XML forbids");
        if (c == ']' && text.substr(at).starts_with("]]>")) return fail(at, "\"]]>\" in text");
        if (c != '&') continue;
        const std::string_view rest = text.substr(at);
        bool named = false;
        for (std::string_view entity : {"&amp;", "&apos;", "&quot;", "&lt;", "&gt;"})
            named = named || rest.starts_with(entity);
        if (named || rest.starts_with("&#4;")) continue;
        if (!rest.starts_with("&#")) return fail(at, "\"&\" that begins no reference");
        const bool hex = rest.size() > 2 && rest[2] == 'x';
        const size_t digits = hex ? 3 : 2;
        const size_t end = rest.find(';');
        if (end == std::string_view::npos || end == digits) return fail(at, "broken reference");
        unsigned long long value = 0;
        for (size_t i = digits; i < end; ++i) {
            const char d = rest[i];
            const bool digit = d >= '0' && d <= '9';
            const bool hexDigit = hex && ((d >= 'a' && d <= 'f') || (d >= 'A' && d <= 'F'));
            if (!digit && !hexDigit) return fail(at, "broken reference");
            value = value * (hex ? 16 : 10) + (digit ? d - '0' : (d | 0x20) - 'a' + 10);
            if (value > 0x10FFFF) return fail(at, "reference beyond Unicode");
        }
        if (!IsXmlChar(static_cast<char32_t>(value))) return fail(at, "reference XML forbids");
    }
    return ::testing::AssertionSuccess();
}

// Parses a fragment or whole request under the rules of strict XML 1.0; fails the calling test
// with the reason.
inline ::testing::AssertionResult ParsesAsXml(const std::string& text, pugi::xml_document& doc) {
    if (::testing::AssertionResult strict = StrictXmlCharacters(text); !strict) return strict;
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
    for (const char* path :
         {".//LEDGERENTRIES.LIST/AMOUNT", ".//ALLLEDGERENTRIES.LIST/AMOUNT",
          ".//ALLINVENTORYENTRIES.LIST/AMOUNT", ".//INVENTORYENTRIES.LIST/AMOUNT"}) {
        for (pugi::xpath_node hit : voucher.select_nodes(path)) {
            // Only amounts directly in an entry count, not those of its allocations.
            sum += TallyAmount(hit.node().child_value());
        }
    }
    return sum;
}

}  // namespace zentrail::testing
