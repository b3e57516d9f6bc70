#pragma once

#include "screens/transfer_screen.h"

namespace zentrail {

// Retailer credit notes: lists the credit notes adjusted against invoices in a range and sends
// each note once as a credit note voucher against its reason's ledger, after the voucher type,
// the customers' ledgers and the reason ledgers.
class RetailerCreditNoteScreen : public TransferScreen {
public:
    explicit RetailerCreditNoteScreen(ScreenContext context)
        : TransferScreen(context, TheDefinition()) {}
    static const ScreenDefinition& TheDefinition();
};

}  // namespace zentrail
