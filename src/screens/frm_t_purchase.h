#pragma once

#include <string>

#include "screens/transfer_screen.h"

namespace zentrail {

class TallyMaster;
class TallyPurchTrn;
class PurchaseTotals;

// Purchase receipts: lists the suppliers' receipts of a range and sends them as purchase
// vouchers, after the fixed masters and the suppliers' ledgers.
class frmT_Purchase : public TransferScreen {
public:
    explicit frmT_Purchase(ScreenContext context);

    // The request with the stock group, purchase, tax, discount and rounding ledgers and the
    // voucher type that every purchase voucher needs.
    static std::string FixedMastersPayload(TallyMaster& master);

protected:
    std::string ColumnQuery() const override;
    std::string HeaderQuery() const override;
    void ExportSteps() override;

private:
    struct Receipt;
    void SendSupplierLedgers(TallyMaster& master);
    void SendReceipts(TallyPurchTrn& purchase);
    Receipt ReadReceipt(size_t row) const;
    // The stock lines of the receipt, which add to `totals`, and its claim-scheme goods.
    std::string StockLines(TallyPurchTrn& purchase, const Receipt& receipt, PurchaseTotals& totals);
    std::string ClaimSchemeLines(TallyPurchTrn& purchase, const Receipt& receipt);

    // The nature of the last stock line, which the claim-scheme goods carry; it outlives the
    // receipt and the run.
    std::string gstNature_;
};

}  // namespace zentrail
