#pragma once

// Pieces the voucher writer shares: the line writer, the debit sign and the voucher key.

#include <string>
#include <string_view>

#include "tally/number_text.h"
#include "tally/xml_lines.h"

namespace zentrail {

// A debit as Tally reads it: "-" in front of the number's text, so a negative debit reads "--".
inline std::string DebitText(double amount) { return "-" + NumberText(amount); }

// Remote id and GUID of a voucher. The same document always gets the same key, so that a
// document sent twice (or cancelled later) meets its earlier voucher in Tally.
inline std::string VoucherKey(std::string_view date, std::string_view type, std::string_view party,
                              std::string_view number, std::string_view reference) {
    std::string key = "6178b2bd-1d64-4c89-9c2a-";
    for (std::string_view piece : {date, std::string_view("-"), type, std::string_view("-"), party,
                                   std::string_view("-"), number, std::string_view("-"), reference})
        key += piece;
    return key;
}

}  // namespace zentrail
