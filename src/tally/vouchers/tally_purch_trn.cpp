#include "tally/vouchers/tally_purch_trn.h"

#include <optional>

#include "common/gstin.h"
#include "tally/date_text.h"
#include "tally/number_text.h"
#include "tally/vouchers/voucher_blocks.h"
#include "tally/vouchers/voucher_lines.h"

namespace zentrail {

namespace {

constexpr const char* kLedgerList = "LEDGERENTRIES.LIST";
constexpr const char* kAllLedgerList = "ALLLEDGERENTRIES.LIST";

}  // namespace

std::string TallyPurchTrn::strPurchase_Head(
    std::string& strVchType, const std::string& dtpTallyDate, std::string& strParty,
    std::string& strVchNo, std::string& strRefNo, std::string& strRemarks,
    std::string& strSuppInvDate, const std::string& strGrnNum, const std::string& strPoNum,
    const std::string& strPoNum1, const std::string& strStatNm,
    const std::string& strPartyGSTN) const {
    for (std::string* text : {&strParty, &strRemarks, &strVchType, &strVchNo, &strRefNo})
        *text = strXmlText(*text);
    if (strVchType.empty()) strVchType = "Purchase";

    const std::string date = VoucherDate(dtpTallyDate);
    if (std::optional<DateParts> supplied = ParseDocumentDate(strSuppInvDate))
        strSuppInvDate = TallyDate(*supplied);
    // A supplier date that is no date is written as it came, but still as safe XML text.
    const std::string referenceDate = strXmlText(strSuppInvDate);
    const std::string key = VoucherKey(date, strVchType, strParty, strVchNo, strRefNo);

    std::string out;
    out.reserve(2400);
    AppendVoucherOpening(out, {.key = key,
                               .type = strVchType,
                               .date = date,
                               .narration = strXmlText(strRemarks),
                               .number = strVchNo,
                               .reference = strRefNo});
    AppendLine(out, {"<PARTYLEDGERNAME>", strParty, "</PARTYLEDGERNAME>"});
    AppendLine(out, {"<UDF:REFERENCEDATE.LIST DESC=\"`ReferenceDate`\" ISLIST=\"YES\" "
                     "TYPE=\"Date\">"});
    AppendLine(out, {"<UDF:REFERENCEDATE DESC=\"`ReferenceDate`\">", referenceDate,
                     "</UDF:REFERENCEDATE>"});
    AppendLine(out, {"</UDF:REFERENCEDATE.LIST>"});
    AppendLine(out, {"<REFERENCEDATE>", referenceDate, "</REFERENCEDATE>"});
    AppendLine(out, {"<INVOICEDELNOTES.LIST>"});
    AppendLine(out, {"<BASICSHIPDELIVERYNOTE>", strXmlText(strGrnNum), "</BASICSHIPDELIVERYNOTE>"});
    AppendLine(out, {"</INVOICEDELNOTES.LIST>"});
    for (const std::string* order : {&strPoNum, &strPoNum1}) {
        AppendLine(out, {"<INVOICEORDERLIST.LIST>"});
        AppendLine(out, {"<BASICORDERDATE>", date, "</BASICORDERDATE>"});
        AppendLine(out, {"<BASICPURCHASEORDERNO>", strXmlText(*order), "</BASICPURCHASEORDERNO>"});
        AppendLine(out, {"</INVOICEORDERLIST.LIST>"});
    }
    AppendLine(out, {"<STATENAME>", strXmlText(strStatNm), "</STATENAME>"});
    if (HasGstin(strPartyGSTN))
        AppendLine(out, {"<PARTYGSTIN>", strXmlText(strPartyGSTN), "</PARTYGSTIN>"});
    AppendLine(out, {"<ISGSTOVERRIDDEN>Yes</ISGSTOVERRIDDEN>"});
    AppendLine(out, {"<GSTNOTEXPORTED>No</GSTNOTEXPORTED>"});
    AppendHeadEnd(out, strRemarks);
    return out;
}

std::string TallyPurchTrn::strPurchase_Party(std::string strPartyCode, const std::string& strVchNo,
                                             double dblAmount) const {
    return CreditPartyEntry(kLedgerList, strXmlText(strPartyCode), strXmlText(strVchNo),
                            NumberText(dblAmount));
}

std::string TallyPurchTrn::strPurchase_Party_All(std::string strPartyCode,
                                                 const std::string& strVchNo,
                                                 double dblAmount) const {
    return CreditPartyEntry(kAllLedgerList, strXmlText(strPartyCode), strXmlText(strVchNo),
                            NumberText(dblAmount));
}

std::string TallyPurchTrn::strPurchase_Dr(std::string& strLedgerDr, double dblDrAmt,
                                          const std::string& strTaxClass, double dblTaxRate) const {
    if (dblDrAmt == 0) return {};
    strLedgerDr = strXmlText(strLedgerDr);
    std::string out;
    out.reserve(520);
    AppendLine(out, {"<LEDGERENTRIES.LIST>"});
    AppendLine(out, {"<BASICRATEOFINVOICETAX.LIST TYPE=\"Number\">"});
    AppendLine(out,
               {"<BASICRATEOFINVOICETAX> ", NumberText(dblTaxRate), "</BASICRATEOFINVOICETAX>"});
    AppendLine(out, {"</BASICRATEOFINVOICETAX.LIST>"});
    AppendLine(out,
               {"<TAXCLASSIFICATIONNAME>", strXmlText(strTaxClass), "</TAXCLASSIFICATIONNAME>"});
    AppendLedgerLines(
        out, {.deemedPositive = true, .ledger = strLedgerDr, .amount = DebitText(dblDrAmt)});
    AppendLine(out, {"</LEDGERENTRIES.LIST>"});
    return out;
}

std::string TallyPurchTrn::strPurchase_Dr_All(std::string& strLedgerDr, double dblDrAmt,
                                              const std::string& strGstIn,
                                              double dblIgstAmt) const {
    if (dblDrAmt == 0) return {};
    strLedgerDr = strXmlText(strLedgerDr);
    const std::string amountText = DebitText(dblDrAmt);
    std::string out;
    out.reserve(640);
    AppendLine(out, {"<ALLLEDGERENTRIES.LIST>"});
    AppendLedgerLines(out, {.deemedPositive = true, .ledger = strLedgerDr, .amount = amountText});
    if (!strGstIn.empty()) {
        // The service line of a registered supplier: interstate when integrated tax applies.
        const char* nature = dblIgstAmt == 0 ? "Purchase Taxable" : "Interstate Purchase Taxable";
        AppendGstOverride(out, nature, DebitText(dblDrAmt));
    }
    AppendLine(out, {"</ALLLEDGERENTRIES.LIST>"});
    return out;
}

std::string TallyPurchTrn::CreditEntry(const char* list, std::string& ledger, double amount) {
    if (amount == 0) return {};
    ledger = strXmlText(ledger);
    std::string out;
    out.reserve(300);
    AppendLine(out, {"<", list, ">"});
    AppendLedgerLines(out,
                      {.deemedPositive = false, .ledger = ledger, .amount = NumberText(amount)});
    AppendLine(out, {"</", list, ">"});
    return out;
}

std::string TallyPurchTrn::strPurchase_Cr(std::string& strLedgerCr, double dblCrAmt) const {
    return CreditEntry(kLedgerList, strLedgerCr, dblCrAmt);
}

std::string TallyPurchTrn::strPurchase_Cr_All(std::string& strLedgerCr, double dblCrAmt) const {
    return CreditEntry(kAllLedgerList, strLedgerCr, dblCrAmt);
}

std::string TallyPurchTrn::strInvent_Purchase(const std::string& strItemName, double dblAmount,
                                              double dblItemQty, const std::string& strItemUnit,
                                              double dblRate, const std::string& strGodown,
                                              const std::string& strBatchNo,
                                              const std::string& strPurchasesAc,
                                              const std::string& strTaxTyp,
                                              double dblTaxableAmt1) const {
    const std::string amount = DebitText(dblAmount);
    const std::string unit = strXmlText(strItemUnit);
    const std::string quantity = NumberText(dblItemQty);
    std::string out;
    out.reserve(1400);
    AppendLine(out, {"<ALLINVENTORYENTRIES.LIST>"});
    AppendStockLines(out, {.item = strXmlText(strItemName),
                           .deemedPositive = true,
                           .rate = NumberText(dblRate) + " /" + unit,
                           .amount = amount,
                           .quantity = quantity,
                           .unit = unit});
    // A purchase line carries no order, tracking number or due date: they are written empty.
    AppendBatchAllocation(out, {.godown = strXmlText(strGodown),
                                .batch = strXmlText(strBatchNo),
                                .amount = amount,
                                .quantity = quantity,
                                .unit = unit});
    AppendLine(out, {"<ACCOUNTINGALLOCATIONS.LIST>"});
    AppendLine(out, {"<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>"});
    AppendLine(out, {"<ISDEEMEDPOSITIVE>Yes</ISDEEMEDPOSITIVE>"});
    AppendLine(out, {"<LEDGERFROMITEM>No</LEDGERFROMITEM>"});
    AppendLine(out, {"<LEDGERNAME>", strXmlText(strPurchasesAc), "</LEDGERNAME>"});
    if (!strTaxTyp.empty())
        AppendGstOverride(out, strXmlText(strTaxTyp), DebitText(dblTaxableAmt1));
    AppendLine(out, {"<ISPARTYLEDGER>No</ISPARTYLEDGER>"});
    AppendLine(out, {"<AMOUNT>", amount, "</AMOUNT>"});
    AppendLine(out, {"</ACCOUNTINGALLOCATIONS.LIST>"});
    AppendLine(out, {"</ALLINVENTORYENTRIES.LIST>"});
    return out;
}

}  // namespace zentrail
