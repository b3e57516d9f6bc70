#include "tally/vouchers/tally_sale_trn.h"

#include "common/gstin.h"
#include "tally/number_text.h"
#include "tally/vouchers/voucher_blocks.h"
#include "tally/vouchers/voucher_lines.h"
#include "tally/xml_escape.h"

namespace zentrail {

namespace {

void EmptyRateBlock(std::string& out, const char* dutyHead) {
    AppendLine(out, {"<RATEDETAILS.LIST>"});
    AppendElement(out, "GSTRATEDUTYHEAD", dutyHead);
    AppendLine(out, {"<GSTRATEVALUATIONTYPE>Based on Value</GSTRATEVALUATIONTYPE>"});
    AppendLine(out, {"</RATEDETAILS.LIST>"});
}

}  // namespace

std::string TallySaleTrn::strSale_Head(std::string& strVchType, const std::string& dtpTallyDate,
                                       std::string& strParty, std::string& strVchNo,
                                       std::string& strRefNo, std::string& strRemarks,
                                       std::string& strPartyName, const std::string& /*strOptFlag*/,
                                       bool blnIsCancel, const std::string& strStatNm,
                                       const std::string& strPartyGSTN, std::string& Add1,
                                       std::string& Add2, std::string& Add3, std::string& Add4,
                                       std::string& Add5) const {
    for (std::string* text :
         {&strParty, &strRemarks, &strVchType, &strPartyName, &strVchNo, &strRefNo})
        *text = strXmlText(*text);
    if (strVchType.empty()) strVchType = "Sales";

    // The date arrives as grid text; escaping leaves real dates unchanged.
    const std::string date = strXmlText(dtpTallyDate);
    const std::string key = VoucherKey(date, strVchType, strParty, strVchNo, strRefNo);
    // Taken before the address lines are escaped in place: callers pass the state as an
    // address line too, possibly in the same variable.
    const std::string state = strXmlText(strStatNm);
    const std::string gstin = HasGstin(strPartyGSTN) ? strXmlText(strPartyGSTN) : std::string();

    std::string out;
    out.reserve(2048);
    AppendVoucherOpening(out, {.key = key,
                               .type = strVchType,
                               .date = date,
                               .narration = strXmlText(strRemarks),
                               .number = strVchNo,
                               .reference = strRefNo,
                               .cancel = blnIsCancel});
    AppendBuyerLines(out, strPartyName, strParty, state, gstin);
    AppendElement(out, "PLACEOFSUPPLY", state);
    AppendBuyerAddressList(out, Add1, Add2, Add3, Add4, Add5);
    out += kCrLf;
    AppendLine(out, {"<ISGSTOVERRIDDEN>Yes</ISGSTOVERRIDDEN>"});
    AppendLine(out, {"<GSTNOTEXPORTED>No</GSTNOTEXPORTED>"});
    AppendHeadEnd(out, strRemarks);
    return out;
}

std::string TallySaleTrn::PartyEntry(const char* list, const std::string& strPartyCode,
                                     std::string& strVchNo, double dblAmount) const {
    const std::string party = strXmlText(strPartyCode);
    strVchNo = strXmlText(strVchNo);
    const std::string amount = DebitText(dblAmount);
    std::string out;
    out.reserve(512);
    AppendLine(out, {"<", list, ">"});
    AppendLedgerLines(
        out, {.deemedPositive = true, .ledger = party, .partyLedger = true, .amount = amount});
    AppendBillAllocation(out, strVchNo, "New Ref", amount, amount);
    AppendLine(out, {"</", list, ">"});
    return out;
}

std::string TallySaleTrn::strSale_Party(const std::string& strPartyCode, std::string& strVchNo,
                                        double dblAmount) const {
    return PartyEntry("LEDGERENTRIES.LIST", strPartyCode, strVchNo, dblAmount);
}

std::string TallySaleTrn::strSale_Party_All(const std::string& strPartyCode, std::string& strVchNo,
                                            double dblAmount) const {
    return PartyEntry("ALLLEDGERENTRIES.LIST", strPartyCode, strVchNo, dblAmount);
}

std::string TallySaleTrn::LedgerEntry(const char* list, bool debit, std::string& strLedger,
                                      double dblAmount, const std::string& extraLines) const {
    // Zero entries are left out so that callers can pass every ledger unconditionally.
    if (dblAmount == 0) return {};
    strLedger = strXmlText(strLedger);
    return VatLedgerEntry(list, debit, strLedger,
                          debit ? DebitText(dblAmount) : NumberText(dblAmount), extraLines);
}

std::string TallySaleTrn::strSale_Dr(std::string& strLedgerDr, double dblDrAmt) const {
    return LedgerEntry("LEDGERENTRIES.LIST", true, strLedgerDr, dblDrAmt, {});
}

std::string TallySaleTrn::strSale_Cr(std::string& strLedgerCr, double dblCrAmt) const {
    return LedgerEntry("LEDGERENTRIES.LIST", false, strLedgerCr, dblCrAmt, {});
}

std::string TallySaleTrn::strSale_Cr_Sch(std::string& strLedgerDr, double dblCrAmt) const {
    return LedgerEntry("LEDGERENTRIES.LIST", false, strLedgerDr, dblCrAmt, {});
}

std::string TallySaleTrn::strSale_Cr_Sch_All(std::string& strLedgerDr, double dblCrAmt) const {
    return LedgerEntry("ALLLEDGERENTRIES.LIST", false, strLedgerDr, dblCrAmt, {});
}

std::string TallySaleTrn::strSale_Cr_All(std::string& strLedgerCr, double dblCrAmt,
                                         const std::string& strGstIn, double dblIgstAmt) const {
    std::string overrideLines;
    // Intrastate taxable line of a registered party; a blank-padded GSTIN is no GSTIN.
    if (!TrimBlanks(strGstIn).empty() && dblIgstAmt == 0)
        AppendGstOverride(overrideLines, "Sales Taxable", NumberText(dblCrAmt));
    return LedgerEntry("ALLLEDGERENTRIES.LIST", false, strLedgerCr, dblCrAmt, overrideLines);
}

std::string TallySaleTrn::strInvent_Sales(
    const std::string& strItemName, double dblAmount, double dblItemQty,
    const std::string& strItemUnit, double dblRate, const std::string& /*strGodown*/,
    const std::string& /*strBatchNo*/, const std::string& strRemark1, const std::string& strRemark2,
    const std::string& strRemark3, const std::string& strRemark4, const std::string& strRemark5,
    const std::string& strRemark6) const {
    const std::string unit = strXmlText(strItemUnit);
    // Product codes may hold "&"; the escape keeps an already escaped name as it is.
    return InventoryEntry({strRemark1, strRemark2, strRemark3, strRemark4, strRemark5, strRemark6},
                          {.item = strXmlText(strItemName),
                           .deemedPositive = false,
                           .rate = NumberText(dblRate) + "/" + unit,
                           .amount = NumberText(dblAmount),
                           .quantity = NumberText(dblItemQty),
                           .unit = unit},
                          strSale_Batch, strSale_Alloc);
}

std::string TallySaleTrn::strAccountAlloc(double dblAmount, const std::string& strSalesLed,
                                          const std::string& strTaxClass,
                                          const std::string& strCostNm,
                                          const std::string& strTaxTyp, double dblTaxableVal,
                                          double /*dblTotTaxAmt*/) const {
    const std::string amount = NumberText(dblAmount);
    std::string out;
    out.reserve(1536);
    AppendLine(out, {"<ACCOUNTINGALLOCATIONS.LIST>"});
    AppendElement(out, "TAXCLASSIFICATIONNAME", strXmlText(strTaxClass));
    AppendElement(out, "LEDGERNAME", strXmlText(strSalesLed));
    if (!strTaxTyp.empty()) AppendGstNature(out, strXmlText(strTaxTyp));
    AppendLine(out, {"<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>"});
    AppendLine(out, {"<LEDGERFROMITEM>No</LEDGERFROMITEM>"});
    AppendLine(out, {"<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>"});
    AppendLine(out, {"<ISPARTYLEDGER>No</ISPARTYLEDGER>"});
    AppendElement(out, "AMOUNT", amount);
    AppendElement(out, "GSTOVRDNASSESSABLEVALUE", NumberText(dblTaxableVal));
    if (!strCostNm.empty()) AppendCostCentre(out, strXmlText(strCostNm), amount);
    for (const char* head : {"Integrated Tax", "Central Tax", "State Tax", "Cess"})
        EmptyRateBlock(out, head);
    AppendLine(out, {"</ACCOUNTINGALLOCATIONS.LIST>"});
    return out;
}

std::string TallySaleTrn::strBatchAlloc(double dblItemQty, double dblRate,
                                        const std::string& strGodown, const std::string& strBatchNo,
                                        const std::string& strItemUnit, const std::string& strOrdNo,
                                        const std::string& strOrdDt,
                                        const std::string& strTrack) const {
    std::string out;
    out.reserve(512);
    AppendBatchAllocation(out, {.godown = strXmlText(strGodown),
                                .batch = strXmlText(strBatchNo),
                                .orderNo = strXmlText(strOrdNo),
                                .tracking = strXmlText(strTrack),
                                .amount = NumberText(dblItemQty * dblRate),
                                .quantity = NumberText(dblItemQty),
                                .unit = strXmlText(strItemUnit),
                                .dueDate = strXmlText(strOrdDt)});
    return out;
}

}  // namespace zentrail
