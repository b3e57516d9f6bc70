#pragma once

#include <array>
#include <map>

#include "screens/transfer_screen.h"

namespace zentrail {

class TallyMaster;
class TallySaleTrn;

// Sales invoices: lists the invoices of a range and sends them as sales vouchers, after the
// fixed masters and the customers' ledgers.
class frmT_Sales : public TransferScreen {
public:
    explicit frmT_Sales(ScreenContext context);

    // The request with the stock group, sales, tax, discount and rounding ledgers and the
    // voucher type that every sales voucher needs.
    static std::string FixedMastersPayload(TallyMaster& master);

protected:
    std::string ColumnQuery() const override;
    std::string HeaderQuery() const override;
    void ExportSteps() override;

private:
    struct InvoiceTotals;
    void SendPartyMasters(TallyMaster& master);
    void SendInvoices(TallySaleTrn& sale);
    std::string BuildVoucher(TallySaleTrn& sale, size_t row);
};

}  // namespace zentrail
