#pragma once

#include <string>

#include "tally/tally_builder.h"

namespace zentrail {

// Builds the pieces of a Tally purchase voucher: purchase receipts, incoming inter-depot
// transfers (LEDGERENTRIES.LIST with stock lines) and purchased services
// (ALLLEDGERENTRIES.LIST, no stock). Parameters taken as `std::string&` are escaped in place:
// the caller's variable holds the escaped text afterwards. Every other text is escaped only
// where it is written. Debits are written as "-" in front of the amount's text.
class TallyPurchTrn : public TallyBuilder {
public:
    // Opens TALLYMESSAGE and VOUCHER (the caller closes them). The voucher date is written
    // as YYYYMMDD and throws std::invalid_argument when it is not a date; the supplier's
    // invoice date becomes YYYYMMDD, in the caller's variable too, only when it is a date.
    // An empty voucher type becomes "Purchase".
    std::string strPurchase_Head(std::string& strVchType, const std::string& dtpTallyDate,
                                 std::string& strParty, std::string& strVchNo,
                                 std::string& strRefNo, std::string& strRemarks,
                                 std::string& strSuppInvDate, const std::string& strGrnNum,
                                 const std::string& strPoNum, const std::string& strPoNum1,
                                 const std::string& strStatNm,
                                 const std::string& strPartyGSTN) const;

    // The supplier's credit with a new bill named `strVchNo`; written whatever the amount.
    std::string strPurchase_Party(std::string strPartyCode, const std::string& strVchNo,
                                  double dblAmount) const;
    std::string strPurchase_Party_All(std::string strPartyCode, const std::string& strVchNo,
                                      double dblAmount) const;

    // Debit entry; empty text for a zero amount.
    std::string strPurchase_Dr(std::string& strLedgerDr, double dblDrAmt,
                               const std::string& strTaxClass, double dblTaxRate) const;
    // Debit entry of a service voucher; a line with a GSTIN carries the GST override block,
    // "Purchase Taxable" without and "Interstate Purchase Taxable" with integrated tax.
    std::string strPurchase_Dr_All(std::string& strLedgerDr, double dblDrAmt,
                                   const std::string& strGstIn, double dblIgstAmt) const;

    // Credit entries (the round-off when negative); empty text for a zero amount.
    std::string strPurchase_Cr(std::string& strLedgerCr, double dblCrAmt) const;
    std::string strPurchase_Cr_All(std::string& strLedgerCr, double dblCrAmt) const;

    // One stock line with its batch and accounting allocation.
    std::string strInvent_Purchase(const std::string& strItemName, double dblAmount,
                                   double dblItemQty, const std::string& strItemUnit,
                                   double dblRate, const std::string& strGodown,
                                   const std::string& strBatchNo, const std::string& strPurchasesAc,
                                   const std::string& strTaxTyp, double dblTaxableAmt1) const;

private:
    static std::string CreditEntry(const char* list, std::string& ledger, double amount);
};

}  // namespace zentrail
