#pragma once

#include <string>
#include <string_view>

namespace zentrail {

// Party ledger name of a customer: the trimmed name, then "_" and the id when ledger ids are on.
// Masters and vouchers must form it the same way, or Tally cannot match them.
std::string CustomerLedgerName(std::string_view rtrName, std::string_view rtrId, bool blnLedgerId);

// State names as Tally spells them ("Pondicherry" is sent as "Puducherry" ...).
std::string CorrectStateName(std::string_view stateName);

// The GST rate band of a line's tax percentage: 5, 12, 18, 28, or 0 for any other value.
int RateBand(double taxPercent);

// Ledger names of a band, e.g. "GST Sales 18%", "CGST 9%", "IGST 18%".
struct BandLedgers {
    std::string sales;
    std::string cgst;
    std::string sgst;
    std::string igst;
    std::string utgst;
};
BandLedgers SalesBandLedgers(int band);

}  // namespace zentrail
