#pragma once

#include <string>

#include "tally/vouchers/voucher.h"

namespace zentrail {

// The voucher's TALLYMESSAGE, closing tags included, ready to go between the envelope's
// opening and closing. Every text is escaped once, where it is written. Throws
// std::invalid_argument when a purchase or receipt date is no date.
std::string WriteVoucher(const Voucher& voucher);

}  // namespace zentrail
