#pragma once

#include "screens/transfer_screen.h"

namespace zentrail {

class TallyMaster;
class TallyReceiptTrn;

// Customer receipts: lists the invoices settled by the receipts of a range and sends one
// receipt voucher per settled invoice, after the cash ledger, the voucher type, the customers'
// ledgers and the bank ledgers.
class frmT_Receipt : public TransferScreen {
public:
    explicit frmT_Receipt(ScreenContext context);

    // The cash ledger and the voucher type that every receipt needs.
    static std::string FixedMastersPayload(TallyMaster& master);

protected:
    std::string ColumnQuery() const override;
    std::string HeaderQuery() const override;
    void ExportSteps() override;

private:
    void SendBankLedgers(TallyMaster& master);
    void SendReceipts(TallyReceiptTrn& receipt);
    std::string ComposeVoucher(TallyReceiptTrn& receipt, size_t row, const std::string& party,
                               double amount);
};

}  // namespace zentrail
