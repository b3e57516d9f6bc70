#include "tally/vouchers/tally_receipt_trn.h"

#include "tally/date_text.h"
#include "tally/number_text.h"
#include "tally/vouchers/voucher_blocks.h"
#include "tally/vouchers/voucher_lines.h"

namespace zentrail {

std::string TallyReceiptTrn::strReceipt_Head(std::string& strVchType,
                                             const std::string& dtpTallyDate, std::string& strParty,
                                             const std::string& strVchNo,
                                             const std::string& strRefNo, std::string& strRemarks,
                                             const std::string& strOptFlag,
                                             bool blnIsCancel) const {
    strParty = strXmlText(strParty);
    strRemarks = strXmlText(strRemarks);
    strVchType = strXmlText(strVchType);
    if (strVchType.empty()) strVchType = "Receipt";

    const std::string date = VoucherDate(dtpTallyDate);
    // Receipt numbers come straight from the source; they must not break the voucher.
    const std::string number = strXmlText(strVchNo);
    const std::string reference = strXmlText(strRefNo);
    const std::string key = VoucherKey(date, strVchType, strParty, number, reference);

    std::string out;
    out.reserve(1200);
    AppendVoucherOpening(out, {.key = key,
                               .type = strVchType,
                               .date = date,
                               .narration = strXmlText(strRemarks),
                               .number = number,
                               .reference = reference,
                               .cancel = blnIsCancel,
                               .optional = strOptFlag != "R",
                               .invoice = false});
    AppendLine(out, {"<PARTYLEDGERNAME>", strParty, "</PARTYLEDGERNAME>"});
    AppendHeadEnd(out, strRemarks);
    return out;
}

std::string TallyReceiptTrn::strReceipt_Party(std::string strPartyCode, double dblAmount) const {
    std::string out;
    out.reserve(300 + strReceipt_Bil_Alloc.size());
    AppendLine(out, {"<ALLLEDGERENTRIES.LIST>"});
    AppendLine(out, {"<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>"});
    AppendLine(out, {"<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>"});
    AppendLine(out, {"<LEDGERFROMITEM>No</LEDGERFROMITEM>"});
    AppendLine(out, {"<LEDGERNAME>", strXmlText(strPartyCode), "</LEDGERNAME>"});
    AppendLine(out, {"<AMOUNT>", NumberText(dblAmount), "</AMOUNT>"});
    out += strReceipt_Bil_Alloc;
    AppendLine(out, {"</ALLLEDGERENTRIES.LIST>"});
    return out;
}

std::string TallyReceiptTrn::strReceipt_BillAlloc(const std::string& strBillNumber,
                                                  double dblAmt) const {
    if (!(dblAmt > 0)) return {};
    std::string out;
    out.reserve(200);
    // The invoice's bill was opened under its escaped number; the same text settles it.
    AppendBillAllocation(out, strXmlText(strBillNumber), "Agst Ref", NumberText(dblAmt));
    return out;
}

std::string TallyReceiptTrn::strReceipt_Dr(
    std::string& strLedgerDr, double dblDrAmt, const std::string& strTrnDate,
    const std::string& strInstrDt, const std::string& strBankNm, const std::string& strChqNo,
    const std::string& strCostNm, const std::string& strInvNum) const {
    if (dblDrAmt == 0) return {};
    strLedgerDr = strXmlText(strLedgerDr);
    const std::string amount = DebitText(dblDrAmt);
    std::string out;
    out.reserve(1100);
    AppendLine(out, {"<ALLLEDGERENTRIES.LIST>"});
    AppendLedgerLines(out, {.deemedPositive = true, .ledger = strLedgerDr, .amount = amount});
    if (!strChqNo.empty()) {
        AppendLine(out, {"<BANKALLOCATIONS.LIST>"});
        AppendLine(out, {"<DATE>", strXmlText(strTrnDate), "</DATE>"});
        AppendLine(out, {"<INSTRUMENTDATE>", strXmlText(strInstrDt), "</INSTRUMENTDATE>"});
        AppendLine(out, {"<NAME>", strXmlText(strInvNum), "</NAME>"});
        AppendLine(out, {"<CHEQUECROSSCOMMENT>A/c Payee</CHEQUECROSSCOMMENT>"});
        AppendLine(out, {"<TRANSACTIONTYPE>Cheque</TRANSACTIONTYPE>"});
        AppendLine(out, {"<BANKNAME>", strXmlText(strBankNm), "</BANKNAME>"});
        AppendLine(out, {"<PAYMENTFAVOURING></PAYMENTFAVOURING>"});
        AppendLine(out, {"<STATUS>No</STATUS>"});
        AppendLine(out, {"<INSTRUMENTNUMBER>", strXmlText(strChqNo), "</INSTRUMENTNUMBER>"});
        AppendLine(out, {"<PAYMENTMODE>Transacted</PAYMENTMODE>"});
        AppendLine(out, {"<CHEQUEPRINTED> 1</CHEQUEPRINTED>"});
        AppendLine(out, {"<AMOUNT>", amount, "</AMOUNT>"});
        AppendLine(out, {"</BANKALLOCATIONS.LIST>"});
    }
    if (!strCostNm.empty()) AppendCostCentre(out, strXmlText(strCostNm), amount);
    AppendLine(out, {"</ALLLEDGERENTRIES.LIST>"});
    return out;
}

}  // namespace zentrail
