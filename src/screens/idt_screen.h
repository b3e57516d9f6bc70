#pragma once

#include <string>

#include "screens/transfer_screen.h"

namespace zentrail {

class TallyMaster;

// Inter-depot transfers: lists the transfers of a range and sends a transfer out as a sales
// voucher and a transfer in as a purchase voucher, after the fixed masters and the depots'
// ledgers.
class IdtScreen : public TransferScreen {
public:
    explicit IdtScreen(ScreenContext context) : TransferScreen(context, TheDefinition()) {}
    static const ScreenDefinition& TheDefinition();

    // The stock group, goods, tax, discount and rounding ledgers and both voucher types.
    static std::string FixedMastersPayload(TallyMaster& master);
};

}  // namespace zentrail
