#pragma once

#include <string>

#include "screens/transfer_screen.h"

namespace zentrail {

class TallyMaster;
class TallyPurchTrn;
class TallySaleTrn;

// Inter-depot transfers: lists the stock transfers of a range and sends a transfer in as a
// purchase voucher and a transfer out as a sales voucher, after the fixed masters and the
// depots' ledgers.
class frmT_IDT : public TransferScreen {
public:
    explicit frmT_IDT(ScreenContext context);

    // The request with the stock group, purchase, sales, tax, discount and rounding ledgers and
    // the two voucher types of the transfers.
    static std::string FixedMastersPayload(TallyMaster& master);

protected:
    std::string ColumnQuery() const override;
    std::string HeaderQuery() const override;
    void ExportSteps() override;

private:
    struct Transfer;
    void SendDepotLedgers(TallyMaster& master);
    void SendTransfers(TallyPurchTrn& purchase, TallySaleTrn& sale);
    std::string TransferIn(TallyPurchTrn& purchase, Transfer& transfer);
    std::string TransferOut(TallySaleTrn& sale, Transfer& transfer);

    // The nature of the last taxed line of a transfer in; it carries over to later untaxed
    // lines, also of later transfers and runs.
    std::string inNature_;
};

}  // namespace zentrail
