#pragma once

#include "screens/transfer_screen.h"

namespace zentrail {

class TallyMaster;
class TallyCreditNoteTrn;
class DocumentTotals;

// Sales returns: lists the returns of a range and sends each as a credit note with its stock
// lines, after the fixed masters and the customers' ledgers.
class frmT_CreditNote : public TransferScreen {
public:
    explicit frmT_CreditNote(ScreenContext context);

    // The request with the stock group, sales, tax, discount and rounding ledgers and the
    // voucher type that every return needs.
    static std::string FixedMastersPayload(TallyMaster& master);

protected:
    std::string ColumnQuery() const override;
    std::string HeaderQuery() const override;
    void ExportSteps() override;

private:
    struct Return;
    void SendReturns(TallyCreditNoteTrn& note);
    Return ReadReturn(size_t row);
    // The inventory entries of the return's stock lines, which add to `totals`.
    std::string InventoryEntries(TallyCreditNoteTrn& note, const Return& ret,
                                 DocumentTotals& totals);
    std::string ComposeVoucher(TallyCreditNoteTrn& note, Return& ret, const std::string& inventory,
                               const DocumentTotals& totals, double partyAmount);
};

}  // namespace zentrail
