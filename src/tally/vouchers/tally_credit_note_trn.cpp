#include "tally/vouchers/tally_credit_note_trn.h"

#include "common/gstin.h"
#include "tally/number_text.h"
#include "tally/vouchers/voucher_blocks.h"
#include "tally/vouchers/voucher_lines.h"
#include "tally/xml_escape.h"

namespace zentrail {

std::string TallyCreditNoteTrn::strCreditNote_Head(
    std::string& strVchType, const std::string& dtpTallyDate, std::string& strParty,
    std::string& strVchNo, std::string& strRefNo, std::string& strRemarks,
    std::string& strPartyName, const std::string& /*strOptFlag*/, bool blnIsCancel,
    const std::string& strStatNm, const std::string& strPartyGSTN, std::string& Add1,
    std::string& Add2, std::string& Add3, std::string& Add4, std::string& Add5,
    const std::string& dtpRefDate) const {
    for (std::string* text :
         {&strParty, &strRemarks, &strVchType, &strPartyName, &strVchNo, &strRefNo})
        *text = strXmlText(*text);
    if (strVchType.empty()) strVchType = "Credit Note";

    // Dates arrive as grid text; escaping leaves real dates unchanged.
    const std::string date = strXmlText(dtpTallyDate);
    const std::string refDate = strXmlText(dtpRefDate);
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
    AppendElement(out, "REFERENCEDATE", refDate);
    AppendBuyerLines(out, strPartyName, strParty, state, gstin);
    AppendLine(out, {"<GSTNATUREOFRETURN>01-Sales Return</GSTNATUREOFRETURN>"});
    AppendElement(out, "PLACEOFSUPPLY", state);
    AppendLine(out, {"<ISGSTOVERRIDDEN>Yes</ISGSTOVERRIDDEN>"});
    AppendLine(out, {"<GSTNOTEXPORTED>No</GSTNOTEXPORTED>"});
    // No line break after the list: the next element follows on the same line. Tally reads it
    // either way, and a credit note sent again must be the same request byte for byte.
    AppendBuyerAddressList(out, Add1, Add2, Add3, Add4, Add5);
    AppendHeadEnd(out, strRemarks);
    return out;
}

std::string TallyCreditNoteTrn::strCreditNote_Party(const std::string& strPartyCode,
                                                    const std::string& strVchNo,
                                                    double dblAmount) const {
    return CreditPartyEntry("LEDGERENTRIES.LIST", strXmlText(strPartyCode), strXmlText(strVchNo),
                            NumberText(dblAmount));
}

std::string TallyCreditNoteTrn::strCNote_Party_Vch(const std::string& strPartyCode,
                                                   const std::string& strVchNo,
                                                   double dblAmount) const {
    return CreditPartyEntry("ALLLEDGERENTRIES.LIST", strXmlText(strPartyCode), strXmlText(strVchNo),
                            NumberText(dblAmount));
}

std::string TallyCreditNoteTrn::LedgerEntry(const char* list, bool debit, std::string& strLedger,
                                            double dblAmount) const {
    strLedger = strXmlText(strLedger);
    // Zero entries are left out so that callers can pass every ledger unconditionally.
    if (dblAmount == 0) return {};
    // The discount entries are deemed positive too, with an unsigned amount.
    return VatLedgerEntry(list, true, strLedger,
                          debit ? DebitText(dblAmount) : NumberText(dblAmount));
}

std::string TallyCreditNoteTrn::strCreditNote_Dr_Vch(std::string& strLedgerDr,
                                                     double dblDrAmt) const {
    return LedgerEntry("ALLLEDGERENTRIES.LIST", true, strLedgerDr, dblDrAmt);
}

std::string TallyCreditNoteTrn::strCreditNote_Dr(std::string& strLedgerDr, double dblDrAmt) const {
    return LedgerEntry("LEDGERENTRIES.LIST", true, strLedgerDr, dblDrAmt);
}

std::string TallyCreditNoteTrn::strCreditNote_Dr_Sch(std::string& strLedgerDr,
                                                     double dblDrAmt) const {
    return LedgerEntry("LEDGERENTRIES.LIST", false, strLedgerDr, dblDrAmt);
}

std::string TallyCreditNoteTrn::strInvent_Crd(
    const std::string& strItemName, double dblAmount, double dblItemQty,
    const std::string& strItemUnit, double dblRate, const std::string& /*strGodown*/,
    const std::string& /*strBatchNo*/, const std::string& strRemark1, const std::string& strRemark2,
    const std::string& strRemark3, const std::string& strRemark4, const std::string& strRemark5,
    const std::string& strRemark6) const {
    const std::string unit = strXmlText(strItemUnit);
    // Product codes may hold "&"; the escape keeps an already escaped name as it is.
    return InventoryEntry({strRemark1, strRemark2, strRemark3, strRemark4, strRemark5, strRemark6},
                          {.item = strXmlText(strItemName),
                           .deemedPositive = true,
                           .rate = NumberText(dblRate) + "/" + unit,
                           .amount = DebitText(dblAmount),
                           .quantity = NumberText(dblItemQty),
                           .unit = unit},
                          strCrd_Batch, strCrd_Alloc);
}

std::string TallyCreditNoteTrn::strAccountAlloc(double dblAmount, const std::string& strSalesLed,
                                                const std::string& strTaxClass,
                                                const std::string& strCostNm,
                                                const std::string& strTaxTyp,
                                                double dblTaxableVal) const {
    const std::string amount = DebitText(dblAmount);
    std::string out;
    out.reserve(1024);
    AppendLine(out, {"<ACCOUNTINGALLOCATIONS.LIST>"});
    AppendElement(out, "TAXCLASSIFICATIONNAME", strXmlText(strTaxClass));
    AppendElement(out, "LEDGERNAME", strXmlText(strSalesLed));
    if (!strTaxTyp.empty()) AppendGstOverride(out, strXmlText(strTaxTyp), DebitText(dblTaxableVal));
    AppendLine(out, {"<ISDEEMEDPOSITIVE>Yes</ISDEEMEDPOSITIVE>"});
    AppendLine(out, {"<LEDGERFROMITEM>No</LEDGERFROMITEM>"});
    AppendLine(out, {"<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>"});
    AppendLine(out, {"<ISPARTYLEDGER>No</ISPARTYLEDGER>"});
    AppendElement(out, "AMOUNT", amount);
    if (!strCostNm.empty()) AppendCostCentre(out, strXmlText(strCostNm), amount);
    AppendLine(out, {"</ACCOUNTINGALLOCATIONS.LIST>"});
    return out;
}

std::string TallyCreditNoteTrn::strBatchAlloc(
    double dblItemQty, double dblRate, const std::string& strGodown, const std::string& strBatchNo,
    const std::string& strItemUnit, const std::string& strOrdNo, const std::string& strOrdDt,
    const std::string& strTrack) const {
    std::string out;
    out.reserve(512);
    AppendBatchAllocation(out, {.godown = strXmlText(strGodown),
                                .batch = strXmlText(strBatchNo),
                                .orderNo = strXmlText(strOrdNo),
                                .tracking = strXmlText(strTrack),
                                .amount = DebitText(dblItemQty * dblRate),
                                .quantity = NumberText(dblItemQty),
                                .unit = strXmlText(strItemUnit),
                                .dueDate = strXmlText(strOrdDt)});
    return out;
}

}  // namespace zentrail
