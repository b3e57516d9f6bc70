#pragma once

#include "screens/transfer_screen.h"

namespace zentrail {

class TallyMaster;
class TallyPurchTrn;
class TallySaleTrn;
struct ServiceInvoice;

// Service invoices: services bought from retailers become purchase vouchers, services sold to
// suppliers sales vouchers, both against a service ledger and without stock; the service and
// tax ledgers, the voucher types and the parties are created first.
class frmT_Service : public TransferScreen {
public:
    explicit frmT_Service(ScreenContext context);

    // The one request of service, tax and rounding ledgers and the two voucher types.
    static std::string FixedMastersPayload(TallyMaster& master);

protected:
    std::string ColumnQuery() const override;
    std::string HeaderQuery() const override;
    void ExportSteps() override;

private:
    void SendParties(TallyMaster& master);
    void SendInvoices(TallySaleTrn& sale, TallyPurchTrn& purchase);
    ServiceInvoice ReadInvoice(size_t row);
};

}  // namespace zentrail
