#pragma once

#include <string>

#include "tally/vouchers/voucher.h"

namespace zentrail {

// The voucher's opening, from TALLYMESSAGE to ALTERID, in the shape of its kind.
void AppendVoucherHead(std::string& out, const VoucherHead& head);

}  // namespace zentrail
