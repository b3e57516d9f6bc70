#include "screens/voucher_request.h"

#include "screens/screen_definition.h"
#include "tally/vouchers/voucher_head_writer.h"
#include "tally/vouchers/voucher_writer.h"

namespace zentrail {

void SendVoucher(const ScreenContext& context, const Voucher& voucher, BuiltDocument& built) {
    built.request = ImportRequest(context, WriteVoucher(voucher));
    built.key = VoucherRemoteId(voucher.head);
}

}  // namespace zentrail
