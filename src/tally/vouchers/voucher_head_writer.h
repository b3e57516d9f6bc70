#pragma once

#include <string>

#include "tally/vouchers/voucher.h"

namespace zentrail {

// The voucher's opening, from TALLYMESSAGE to ALTERID, in the shape of its kind.
void AppendVoucherHead(std::string& out, const VoucherHead& head);

// The key the head is written with as REMOTEID and GUID: the same document always gets the
// same key, so that a document sent twice meets its earlier voucher. Throws as WriteVoucher
// does when a purchase or receipt date is no date.
std::string VoucherRemoteId(const VoucherHead& head);

}  // namespace zentrail
