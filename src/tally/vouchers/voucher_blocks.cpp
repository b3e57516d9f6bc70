#include "tally/vouchers/voucher_blocks.h"

#include "tally/vouchers/voucher_lines.h"
#include "tally/xml_escape.h"

namespace zentrail {

namespace {

// ACTUALQTY and BILLEDQTY, each " <quantity> <unit>".
void AppendQuantities(std::string& out, std::string_view quantity, std::string_view unit) {
    AppendLine(out, {"<ACTUALQTY> ", quantity, " ", unit, "</ACTUALQTY>"});
    AppendLine(out, {"<BILLEDQTY> ", quantity, " ", unit, "</BILLEDQTY>"});
}

// Remarks are escaped here; none is written unless the first is set.
void AppendUserDescriptions(std::string& out, std::initializer_list<std::string_view> remarks) {
    if (remarks.size() == 0 || remarks.begin()->empty()) return;
    AppendLine(out, {"<BASICUSERDESCRIPTION.LIST>"});
    for (std::string_view remark : remarks)
        if (!remark.empty()) AppendElement(out, "BASICUSERDESCRIPTION", EscapeXmlTextOnce(remark));
    AppendLine(out, {"</BASICUSERDESCRIPTION.LIST>"});
}

}  // namespace

void AppendVoucherOpening(std::string& out, const VoucherOpening& head) {
    AppendLine(out, {"<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">"});
    AppendLine(out, {"<VOUCHER REMOTEID=\"", head.key, "\" VCHTYPE=\"", head.type, "\" ACTION=\"",
                     head.cancel ? "Cancel" : "Create", "\">"});
    AppendElement(out, "DATE", head.date);
    AppendElement(out, "GUID", head.key);
    AppendElement(out, "NARRATION", head.narration);
    AppendElement(out, "VOUCHERTYPENAME", head.type);
    AppendElement(out, "ISOPTIONAL", head.optional ? "Yes" : "No");
    AppendLine(out, {"<USEFORGAINLOSS>No</USEFORGAINLOSS>"});
    AppendLine(out, {"<USEFORCOMPOUND>No</USEFORCOMPOUND>"});
    AppendElement(out, "EFFECTIVEDATE", head.date);
    AppendElement(out, "ISCANCELLED", head.cancel ? "Yes" : "No");
    AppendLine(out, {"<USETRACKINGNUMBER>No</USETRACKINGNUMBER>"});
    AppendLine(out, {"<ISPOSTDATED>No</ISPOSTDATED>"});
    AppendElement(out, "ISINVOICE", head.invoice ? "Yes" : "No");
    AppendLine(out, {"<DIFFACTUALQTY>No</DIFFACTUALQTY>"});
    AppendElement(out, "VOUCHERNUMBER", head.number);
    AppendElement(out, "REFERENCE", head.reference);
}

void AppendHeadEnd(std::string& out, std::string_view narration) {
    if (!narration.empty()) AppendElement(out, "NARRATION", narration);
    AppendLine(out, {"<ALTERID></ALTERID>"});
}

void AppendBuyerLines(std::string& out, std::string_view buyer, std::string_view party,
                      std::string_view state, std::string_view gstin) {
    AppendElement(out, "BASICBUYERNAME", buyer);
    AppendElement(out, "PARTYNAME", party);
    AppendElement(out, "BASEPARTYNAME", party);
    AppendElement(out, "PARTYLEDGERNAME", party);
    AppendElement(out, "STATENAME", state);
    if (!gstin.empty()) AppendElement(out, "PARTYGSTIN", gstin);
}

void AppendBuyerAddressList(std::string& out, std::string& line1, std::string& line2,
                            std::string& line3, std::string& line4, std::string& line5) {
    AppendLine(out, {"<BASICBUYERADDRESS.LIST TYPE=\"String\">"});
    for (std::string* line : {&line1, &line2, &line3, &line4, &line5})
        AppendElement(out, "BASICBUYERADDRESS", XmlEscape(*line));
    out += "</BASICBUYERADDRESS.LIST>";
}

void AppendLedgerLines(std::string& out, const LedgerLines& entry) {
    AppendLine(out, {"<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>"});
    AppendElement(out, "ISDEEMEDPOSITIVE", entry.deemedPositive ? "Yes" : "No");
    AppendLine(out, {"<LEDGERFROMITEM>No</LEDGERFROMITEM>"});
    AppendElement(out, "LEDGERNAME", entry.ledger);
    AppendElement(out, "ISPARTYLEDGER", entry.partyLedger ? "Yes" : "No");
    AppendElement(out, "AMOUNT", entry.amount);
}

void AppendBillAllocation(std::string& out, std::string_view name, std::string_view type,
                          std::string_view amount, std::optional<std::string_view> vatExpAmount) {
    AppendLine(out, {"<BILLALLOCATIONS.LIST>"});
    AppendElement(out, "NAME", name);
    AppendElement(out, "BILLTYPE", type);
    AppendLine(out, {"<BILLCREDITPERIOD/>"});
    AppendElement(out, "AMOUNT", amount);
    if (vatExpAmount) AppendElement(out, "VATEXPAMOUNT", *vatExpAmount);
    AppendLine(out, {"</BILLALLOCATIONS.LIST>"});
}

void AppendGstNature(std::string& out, std::string_view nature) {
    AppendElement(out, "GSTOVRDNNATURE", nature);
    AppendLine(out, {"<GSTOVRDNINELIGIBLEITC>&#4; Not Applicable</GSTOVRDNINELIGIBLEITC>"});
    AppendLine(out, {"<GSTOVRDNISREVCHARGEAPPL>&#4; Not Applicable</GSTOVRDNISREVCHARGEAPPL>"});
}

void AppendGstOverride(std::string& out, std::string_view nature, std::string_view assessable) {
    AppendGstNature(out, nature);
    AppendElement(out, "GSTOVRDNASSESSABLEVALUE", assessable);
}

void AppendCostCentre(std::string& out, std::string_view name, std::string_view amount) {
    AppendLine(out, {"<CATEGORYALLOCATIONS.LIST>"});
    AppendLine(out, {"<CATEGORY>Primary Cost Category</CATEGORY>"});
    AppendLine(out, {"<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>"});
    AppendLine(out, {"<COSTCENTREALLOCATIONS.LIST>"});
    AppendElement(out, "NAME", name);
    AppendElement(out, "AMOUNT", amount);
    AppendLine(out, {"</COSTCENTREALLOCATIONS.LIST>"});
    AppendLine(out, {"</CATEGORYALLOCATIONS.LIST>"});
}

void AppendStockLines(std::string& out, const StockLines& stock) {
    AppendElement(out, "STOCKITEMNAME", stock.item);
    AppendElement(out, "ISDEEMEDPOSITIVE", stock.deemedPositive ? "Yes" : "No");
    AppendLine(out, {"<ISAUTONEGATE>No</ISAUTONEGATE>"});
    AppendElement(out, "RATE", stock.rate);
    AppendElement(out, "AMOUNT", stock.amount);
    AppendQuantities(out, stock.quantity, stock.unit);
}

std::string InventoryEntry(std::initializer_list<std::string_view> remarks, const StockLines& stock,
                           std::string_view batch, std::string_view allocation) {
    std::string out;
    out.reserve(512 + batch.size() + allocation.size());
    AppendLine(out, {"<ALLINVENTORYENTRIES.LIST>"});
    AppendUserDescriptions(out, remarks);
    AppendStockLines(out, stock);
    out += batch;
    out += allocation;
    AppendLine(out, {"</ALLINVENTORYENTRIES.LIST>"});
    return out;
}

void AppendBatchAllocation(std::string& out, const BatchAllocation& batch) {
    AppendLine(out, {"<BATCHALLOCATIONS.LIST>"});
    AppendElement(out, "GODOWNNAME", batch.godown);
    AppendElement(out, "BATCHNAME", batch.batch);
    AppendElement(out, "ORDERNO", batch.orderNo);
    AppendElement(out, "TRACKINGNUMBER", batch.tracking);
    AppendLine(out, {"<MFDON></MFDON>"});
    AppendLine(out, {"<EXPIRYPERIOD/>"});
    AppendElement(out, "AMOUNT", batch.amount);
    AppendQuantities(out, batch.quantity, batch.unit);
    AppendElement(out, "ORDERDUEDATE", batch.dueDate);
    AppendLine(out, {"</BATCHALLOCATIONS.LIST>"});
}

}  // namespace zentrail
