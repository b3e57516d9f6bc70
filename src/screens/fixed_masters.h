#pragma once

#include <span>
#include <string>
#include <string_view>

namespace zentrail {

class TallyMaster;

// Pieces of the fixed masters request that the goods screens send before their vouchers.

// The stock group "KVZ Products", without a parent.
std::string StockGroupMaster(TallyMaster& master);
// A sales or purchase ledger of goods, with no rates of its own.
std::string GoodsLedgerMaster(TallyMaster& master, std::string_view name, std::string_view parent);
// A tax ledger under "Duties & Taxes" with its duty head ("Central Tax" ...).
std::string TaxLedgerMaster(TallyMaster& master, std::string_view name, std::string_view dutyHead);
// The sixteen tax ledgers of the rate bands, in the order the masters request lists them: the
// 18, 28, 12 and 5 per cent bands, each as CGST, SGST, IGST, UTGST.
std::string BandTaxLedgerMasters(TallyMaster& master);
// A ledger with only a name and a parent (discounts, "Round Off" ...).
std::string PlainLedgerMaster(TallyMaster& master, std::string_view name, std::string_view parent);
// "Round Off" under "Indirect Expenses".
std::string RoundOffMaster(TallyMaster& master);
// What sales and sales returns send before their voucher type: the stock group, the five GST
// sales ledgers, the band tax ledgers, `discountLedgers` under "Sales Accounts" and "Round Off".
std::string SalesSideMasters(TallyMaster& master, std::span<const char* const> discountLedgers);

}  // namespace zentrail
