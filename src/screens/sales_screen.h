#pragma once

#include "screens/transfer_screen.h"

namespace zentrail {

class TallyMaster;

// Sales invoices: lists the invoices of a range and sends them as sales vouchers, after the
// fixed masters and the customers' ledgers.
class SalesScreen : public TransferScreen {
public:
    explicit SalesScreen(ScreenContext context) : TransferScreen(context, TheDefinition()) {}
    static const ScreenDefinition& TheDefinition();

    // The request with the stock group, sales, tax, discount and rounding ledgers and the
    // voucher type that every sales voucher needs.
    static std::string FixedMastersPayload(TallyMaster& master);
};

}  // namespace zentrail
