#pragma once

#include "screens/document_pipeline.h"
#include "screens/screen_context.h"
#include "tally/vouchers/voucher.h"

namespace zentrail {

// Makes `built` send `voucher`: its import request, and the key Tally will file it under,
// which is the one kept for the document when it has one.
void SendVoucher(const ScreenContext& context, Voucher voucher, BuiltDocument& built);

}  // namespace zentrail
