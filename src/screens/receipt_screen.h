#pragma once

#include <string>

#include "screens/transfer_screen.h"

namespace zentrail {

class TallyMaster;

// Customer receipts: lists the invoices settled by the receipts of a range and sends one
// receipt voucher per settled invoice, after the cash ledger, the voucher type, the customers'
// ledgers and the bank ledgers.
class ReceiptScreen : public TransferScreen {
public:
    explicit ReceiptScreen(ScreenContext context) : TransferScreen(context, TheDefinition()) {}
    static const ScreenDefinition& TheDefinition();

    // The cash ledger and the voucher type that every receipt needs.
    static std::string FixedMastersPayload(TallyMaster& master);
};

}  // namespace zentrail
