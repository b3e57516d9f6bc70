#pragma once

// Groups of lines the voucher writer writes in several places. Texts are written as given: the
// writer escapes them first, unless a block says otherwise.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace zentrail {

// The lines every voucher head opens with, from TALLYMESSAGE to REFERENCE.
struct VoucherOpening {
    std::string_view key{};
    std::string_view type{};
    std::string_view date{};
    std::string_view narration{};
    std::string_view number{};
    std::string_view reference{};
    bool cancel = false;
    bool optional = false;
    bool invoice = true;
};
void AppendVoucherOpening(std::string& out, const VoucherOpening& head);

// The lines every voucher head ends with: the narration again when there is one, then ALTERID.
void AppendHeadEnd(std::string& out, std::string_view narration);

// Buyer and party of a sales or return voucher head, BASICBUYERNAME to PARTYGSTIN; an empty
// gstin writes no PARTYGSTIN line.
void AppendBuyerLines(std::string& out, std::string_view buyer, std::string_view party,
                      std::string_view state, std::string_view gstin);

// The buyer's five address lines, each escaped in place with XmlEscape, which escapes every
// time. The closing tag gets no line break: a return writes its next element on that line.
void AppendBuyerAddressList(std::string& out, std::string& line1, std::string& line2,
                            std::string& line3, std::string& line4, std::string& line5);

// The lines of a ledger entry inside its list tags, REMOVEZEROENTRIES to AMOUNT.
struct LedgerLines {
    bool deemedPositive = false;
    std::string_view ledger{};
    bool partyLedger = false;
    std::string_view amount{};
};
void AppendLedgerLines(std::string& out, const LedgerLines& entry);

// One BILLALLOCATIONS.LIST; with vatExpAmount, a VATEXPAMOUNT line follows the amount.
void AppendBillAllocation(std::string& out, std::string_view name, std::string_view type,
                          std::string_view amount,
                          std::optional<std::string_view> vatExpAmount = std::nullopt);

// GSTOVRDNNATURE and the two "Not Applicable" answers that go with it.
void AppendGstNature(std::string& out, std::string_view nature);
// The same, then the assessable value.
void AppendGstOverride(std::string& out, std::string_view nature, std::string_view assessable);

// CATEGORYALLOCATIONS.LIST of the primary cost category with one cost centre.
void AppendCostCentre(std::string& out, std::string_view name, std::string_view amount);

// The lines of an inventory entry from STOCKITEMNAME to BILLEDQTY.
struct StockLines {
    std::string_view item{};
    bool deemedPositive = false;
    std::string_view rate{};  // as written, unit included
    std::string_view amount{};
    std::string_view quantity{};
    std::string_view unit{};
};
void AppendStockLines(std::string& out, const StockLines& stock);

// A whole ALLINVENTORYENTRIES.LIST: the remarks as BASICUSERDESCRIPTION lines (escaped here,
// each one that is set, none unless the first is), the stock lines, then the batch and the
// accounting allocation as already written.
std::string InventoryEntry(std::initializer_list<std::string_view> remarks, const StockLines& stock,
                           std::string_view batch, std::string_view allocation);

// One BATCHALLOCATIONS.LIST.
struct BatchAllocation {
    std::string_view godown{};
    std::string_view batch{};
    std::string_view orderNo{};
    std::string_view tracking{};
    std::string_view amount{};
    std::string_view quantity{};
    std::string_view unit{};
    std::string_view dueDate{};
};
void AppendBatchAllocation(std::string& out, const BatchAllocation& batch);

}  // namespace zentrail
