#pragma once

#include <string>
#include <string_view>

namespace zentrail {

// Party ledger name of a customer: the trimmed name, then "_" and the id when ledger ids are on.
// Masters and vouchers must form it the same way, or Tally cannot match them.
std::string CustomerLedgerName(std::string_view rtrName, std::string_view rtrId, bool blnLedgerId);

// State names as Tally spells them ("Pondicherry" is sent as "Puducherry" ...).
std::string CorrectStateName(std::string_view stateName);

}  // namespace zentrail
