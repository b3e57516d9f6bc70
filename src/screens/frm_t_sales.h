#pragma once

#include "screens/transfer_screen.h"

namespace zentrail {

class TallyMaster;
class TallySaleTrn;
class DocumentTotals;
struct Payable;

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
    struct Invoice;
    struct InvoiceLines;
    // Runs on the building thread: reads only the grid, the settings and `source`.
    void ReadInvoiceLines(InvoiceLines& source) const;
    BuiltDocument BuildInvoice(TallySaleTrn& sale, InvoiceLines& source, size_t row) const;
    Invoice ReadInvoice(size_t row) const;
    // The inventory entries of the invoice's stock lines and free products; the stock lines
    // add to `totals`.
    std::string InventoryEntries(TallySaleTrn& sale, InvoiceLines& source, const Invoice& invoice,
                                 DocumentTotals& totals) const;
    std::string ComposeVoucher(TallySaleTrn& sale, Invoice& invoice, const std::string& inventory,
                               const DocumentTotals& totals, const Payable& payable) const;
};

}  // namespace zentrail
