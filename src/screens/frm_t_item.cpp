#include "screens/frm_t_item.h"

#include "screens/gst_bands.h"
#include "screens/queries/item_queries.h"
#include "screens/screen_registry.h"
#include "shell/recordset.h"
#include "tally/masters/tally_master.h"
#include "tally/number_text.h"

namespace zentrail {

namespace {
constexpr const char* kFirstRateDate = "20170701";
constexpr const char* kLaterRateDate = "20171115";
constexpr const char* kZeroRateDate = "20180727";
}  // namespace

frmT_Item::frmT_Item(ScreenContext context) : TransferScreen(context, ScreenDesign("item")) {}

std::string frmT_Item::ColumnQuery() const { return ItemColumnQuery(); }

std::string frmT_Item::HeaderQuery() const { return ItemListQuery(); }

void frmT_Item::ExportSteps() {
    TallyMaster master;
    ssdbgItem.currentRow = 0;
    std::string group = "KVZ Products", parent;
    SendMaster(Envelope(master, master.strItemGroup(group, parent)), "KVZ Products");
    RunMasterStep(
        "Creating Units", ItemUnitQuery(), master,
        [](Recordset& rs) { return rs.Fields("UomDescription").Value(); },
        [&master](Recordset& rs) {
            std::string unit = rs.Fields("UomDescription").Value();
            return master.strNewUnit(unit);
        });
    SendItems(master);
}

void frmT_Item::AddRateBlocks(TallyMaster& master, Recordset& rates, const std::string& hsn) {
    std::string date = kFirstRateDate;
    for (; !rates.Eof(); rates.MoveNext()) {
        double r = ItemCentralRate(ReadNumber(rates.Fields("TaxPerc").text));
        double central = r, state = r, integrated = 2 * r;
        master.strGSTSetup += master.strItemGSTRate(central, state, integrated, hsn, date);
        date = kLaterRateDate;
    }
}

void frmT_Item::AddZeroRateBlocks(TallyMaster& master, const std::string& productId,
                                  const std::string& hsn) {
    Recordset& zero = Context().db.rsThird;
    zero.Filter("");
    zero.Filter("[PrdId] = " + productId);
    for (; !zero.Eof(); zero.MoveNext()) {
        double central = 0, state = 0, integrated = 0;
        master.strGSTSetup += master.strItemGSTRate(central, state, integrated, hsn, kZeroRateDate);
    }
}

void frmT_Item::SendItems(TallyMaster& master) {
    SourceDatabase& db = Context().db;
    db.strSQL = ItemSalesRateQuery();
    db.OpenRsMain(db.strSQL);
    db.strSQL = ItemReturnRateQuery();
    db.OpenRsSecond(db.strSQL);
    db.strSQL = ItemZeroRateSalesQuery();
    db.OpenRsThird(db.strSQL);

    WalkGrid(false, [&](size_t row) {
        auto cell = [&](const char* field) { return ssdbgItem.Cell(row, field); };
        ShowItem(cell("PrdName"));
        std::string productId = cell("PrdId");
        if (!(ReadNumber(productId) > 0)) {
            SkipDocument({.number = cell("PrdName")}, "no product id");
            return;
        }
        std::string itemName = cell("PrdName") + "_" + cell("PrdCCode");
        std::string itemCode = cell("PrdCCode") + "_" + productId;
        std::string hsn = cell("HSNCODE");

        db.rsMain.Filter("");
        db.rsMain.Filter("[PrdId] = " + productId);
        master.strGSTSetup.clear();
        if (!db.rsMain.Eof()) {
            AddRateBlocks(master, db.rsMain, hsn);
            AddZeroRateBlocks(master, productId, hsn);
        } else {
            db.rsSecond.Filter("");
            db.rsSecond.Filter("[PrdId] = " + productId);
            master.strGSTSetup.clear();
            if (!db.rsSecond.Eof())
                AddRateBlocks(master, db.rsSecond, hsn);
            else
                AddZeroRateBlocks(master, productId, hsn);
        }
        std::string alias1, alias2;
        std::string request = Envelope(
            master, master.strItemCreate(itemName, itemCode, "PC", "KVZ Products", alias1, alias2));
        SendMasterDocument(request, {.number = itemName}, static_cast<long>(row) + 1);
    });
}

}  // namespace zentrail
