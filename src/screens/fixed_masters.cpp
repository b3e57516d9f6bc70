#include "screens/fixed_masters.h"

#include <array>

#include "screens/gst_bands.h"
#include "tally/masters/tally_master.h"

namespace zentrail {

std::string StockGroupMaster(TallyMaster& master) {
    std::string group = "KVZ Products";
    std::string parent;
    return master.strItemGroup(group, parent);
}

std::string GoodsLedgerMaster(TallyMaster& master, std::string_view name, std::string_view parent) {
    std::string ledger(name), alias, group(parent);
    double stateRate = 0, centralRate = 0, integratedRate = 0;
    return master.strLedSalesAcc(ledger, alias, group, "", "Goods", stateRate, centralRate,
                                 integratedRate);
}

std::string TaxLedgerMaster(TallyMaster& master, std::string_view name, std::string_view dutyHead) {
    return master.strLedgerAcc(LedgerFields{.strLedNm = std::string(name),
                                            .strParentNm = "Duties & Taxes",
                                            .strDutyHead = std::string(dutyHead)});
}

std::string BandTaxLedgerMasters(TallyMaster& master) {
    constexpr std::array<int, 4> kBandsInMasterOrder = {18, 28, 12, 5};
    std::string payload;
    for (int band : kBandsInMasterOrder) {
        BandLedgers ledgers = SalesBandLedgers(band);
        payload += TaxLedgerMaster(master, ledgers.cgst, "Central Tax");
        payload += TaxLedgerMaster(master, ledgers.sgst, "State Tax");
        payload += TaxLedgerMaster(master, ledgers.igst, "Integrated Tax");
        payload += TaxLedgerMaster(master, ledgers.utgst, "UT Tax");
    }
    return payload;
}

std::string PlainLedgerMaster(TallyMaster& master, std::string_view name, std::string_view parent) {
    return master.strLedgerAcc(
        LedgerFields{.strLedNm = std::string(name), .strParentNm = std::string(parent)});
}

std::string RoundOffMaster(TallyMaster& master) {
    return PlainLedgerMaster(master, "Round Off", "Indirect Expenses");
}

std::string SalesSideMasters(TallyMaster& master, std::span<const char* const> discountLedgers) {
    static constexpr std::array<const char*, 5> kSalesLedgers = {
        "GST Sales 5%", "GST Sales 12%", "GST Sales 18%", "GST Sales 28%", "GST Sales 0%"};
    std::string payload = StockGroupMaster(master);
    for (const char* name : kSalesLedgers)
        payload += GoodsLedgerMaster(master, name, "Sales Accounts");
    payload += BandTaxLedgerMasters(master);
    for (const char* name : discountLedgers)
        payload += PlainLedgerMaster(master, name, "Sales Accounts");
    payload += RoundOffMaster(master);
    return payload;
}

}  // namespace zentrail
