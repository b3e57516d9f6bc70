#pragma once

#include <string>

#include "screens/transfer_screen.h"

namespace zentrail {

class TallyMaster;

// Service invoices: lists the visibility-claim invoices of a range and sends each as a sales
// or purchase voucher by its kind, after the service ledgers, tax ledgers, voucher types and
// the parties' ledgers.
class ServiceScreen : public TransferScreen {
public:
    explicit ServiceScreen(ScreenContext context) : TransferScreen(context, TheDefinition()) {}
    static const ScreenDefinition& TheDefinition();

    // The service and tax ledgers, "Round Off" and both voucher types.
    static std::string FixedMastersPayload(TallyMaster& master);
};

}  // namespace zentrail
