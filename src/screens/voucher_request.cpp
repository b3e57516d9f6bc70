#include "screens/voucher_request.h"

#include "screens/screen_definition.h"
#include "tally/vouchers/voucher_head_writer.h"
#include "tally/vouchers/voucher_writer.h"

namespace zentrail {

void SendVoucher(const ScreenContext& context, Voucher voucher, BuiltDocument& built) {
    built.madeKey = VoucherRemoteId(voucher.head);
    voucher.head.remoteId = built.keptKey;
    built.request = ImportRequest(context, WriteVoucher(voucher));
    built.key = built.keptKey.empty() ? built.madeKey : built.keptKey;
}

}  // namespace zentrail
