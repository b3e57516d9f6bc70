#pragma once

#include "screens/document_pipeline.h"
#include "screens/screen_context.h"
#include "tally/vouchers/voucher.h"

namespace zentrail {

// Makes `built` send `voucher`: its import request, and the key Tally will file it under.
void SendVoucher(const ScreenContext& context, const Voucher& voucher, BuiltDocument& built);

}  // namespace zentrail
