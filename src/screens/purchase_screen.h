#pragma once

#include <string>

#include "screens/transfer_screen.h"

namespace zentrail {

class TallyMaster;

// Purchase receipts: lists the suppliers' receipts of a range and sends them as purchase
// vouchers, after the fixed masters and the suppliers' ledgers.
class PurchaseScreen : public TransferScreen {
public:
    explicit PurchaseScreen(ScreenContext context) : TransferScreen(context, TheDefinition()) {}
    static const ScreenDefinition& TheDefinition();

    // The request with the stock group, purchase, tax, discount and rounding ledgers and the
    // voucher type that every purchase voucher needs.
    static std::string FixedMastersPayload(TallyMaster& master);
};

}  // namespace zentrail
