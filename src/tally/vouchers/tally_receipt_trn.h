#pragma once

#include <string>

#include "tally/tally_builder.h"

namespace zentrail {

// Builds the pieces of a Tally receipt voucher: the customer credited against one sales
// invoice, a bank or the cash ledger debited. Parameters taken as `std::string&` are escaped
// in place: the caller's variable holds the escaped text afterwards. Every other text is
// escaped only where it is written.
class TallyReceiptTrn : public TallyBuilder {
public:
    // The bill allocation that strReceipt_Party places in the party entry. The caller sets
    // it before each party entry; a text left set is appended again.
    std::string strReceipt_Bil_Alloc;

    // Opens TALLYMESSAGE and VOUCHER (the caller closes them). The date is written as
    // YYYYMMDD and throws std::invalid_argument when it is not a date. An empty voucher type
    // becomes "Receipt"; an option flag other than "R" makes the voucher optional.
    std::string strReceipt_Head(std::string& strVchType, const std::string& dtpTallyDate,
                                std::string& strParty, const std::string& strVchNo,
                                const std::string& strRefNo, std::string& strRemarks,
                                const std::string& strOptFlag, bool blnIsCancel) const;

    // The customer's credit, with the current strReceipt_Bil_Alloc; written whatever the
    // amount.
    std::string strReceipt_Party(std::string strPartyCode, double dblAmount) const;

    // Settlement of one sales invoice; empty text unless the amount is above zero.
    std::string strReceipt_BillAlloc(const std::string& strBillNumber, double dblAmt) const;

    // Debit of the bank or cash ledger; empty text for a zero amount. The bank allocation is
    // written only with a cheque number, the cost centre only with a cost centre name.
    std::string strReceipt_Dr(std::string& strLedgerDr, double dblDrAmt,
                              const std::string& strTrnDate, const std::string& strInstrDt,
                              const std::string& strBankNm, const std::string& strChqNo,
                              const std::string& strCostNm, const std::string& strInvNum) const;
};

}  // namespace zentrail
