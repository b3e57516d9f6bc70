#pragma once

#include <string>

#include "screens/transfer_screen.h"

namespace zentrail {

class TallyMaster;

// Sales returns: lists the returns of a range and sends them as credit notes, after the fixed
// masters and the customers' ledgers.
class SalesReturnScreen : public TransferScreen {
public:
    explicit SalesReturnScreen(ScreenContext context) : TransferScreen(context, TheDefinition()) {}
    static const ScreenDefinition& TheDefinition();

    // The request with the stock group, sales, tax, discount and rounding ledgers and the
    // credit note voucher type.
    static std::string FixedMastersPayload(TallyMaster& master);
};

}  // namespace zentrail
