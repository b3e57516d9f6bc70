#pragma once

#include "screens/transfer_screen.h"

namespace zentrail {

class TallyMaster;

// The item master: lists the products that carry an HSN code and creates them in Tally as
// stock items with the dated GST rates they were sold at, after the stock group and units.
class frmT_Item : public TransferScreen {
public:
    explicit frmT_Item(ScreenContext context);

protected:
    std::string ColumnQuery() const override;
    std::string HeaderQuery() const override;
    void ExportSteps() override;

private:
    void SendItems(TallyMaster& master);
    // Appends one block per row of the filtered set to strGSTSetup, dated `firstDate` for the
    // first and "20171115" for the others.
    void AddRateBlocks(TallyMaster& master, Recordset& rates, const std::string& hsn);
    void AddZeroRateBlocks(TallyMaster& master, const std::string& productId,
                           const std::string& hsn);
};

}  // namespace zentrail
