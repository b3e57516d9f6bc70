#pragma once

#include "screens/transfer_screen.h"

namespace zentrail {

class TallyCreditNoteTrn;

// Retailer credit notes: money credited to a customer for a reason, without goods. Each note
// becomes one accounts-only "KVZ Credit Note" voucher that credits the customer and debits the
// reason's ledger, after the voucher type, the customers' and the reasons' ledgers.
class frmT_CNote : public TransferScreen {
public:
    explicit frmT_CNote(ScreenContext context);

protected:
    std::string ColumnQuery() const override;
    std::string HeaderQuery() const override;
    void ExportSteps() override;

private:
    void SendNotes(TallyCreditNoteTrn& note);
};

}  // namespace zentrail
