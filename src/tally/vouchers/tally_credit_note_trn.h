#pragma once

#include <string>

#include "tally/tally_builder.h"

namespace zentrail {

// Builds a Tally credit note piece by piece: the item invoice of a sales return or the
// accounts-only voucher of a retailer credit note. The screen joins the pieces in order and
// closes the VOUCHER and TALLYMESSAGE elements itself.
//
// Parameters taken as std::string& are escaped in place: the caller's variable holds the
// escaped text afterwards. The escape is idempotent, so passing such a variable to a later
// member writes the same text again.
class TallyCreditNoteTrn : public TallyBuilder {
public:
    // Batch and accounting allocation of the current stock line, appended by strInvent_Crd
    // to every inventory entry. The caller sets them before each line and clears them after
    // the last line of a voucher.
    std::string strCrd_Batch;
    std::string strCrd_Alloc;

    // Opening of the voucher message. An empty voucher type becomes "Credit Note", in the
    // caller's variable too. strOptFlag is not used.
    std::string strCreditNote_Head(std::string& strVchType, const std::string& dtpTallyDate,
                                   std::string& strParty, std::string& strVchNo,
                                   std::string& strRefNo, std::string& strRemarks,
                                   std::string& strPartyName, const std::string& strOptFlag,
                                   bool blnIsCancel, const std::string& strStatNm,
                                   const std::string& strPartyGSTN, std::string& Add1,
                                   std::string& Add2, std::string& Add3, std::string& Add4,
                                   std::string& Add5, const std::string& dtpRefDate) const;

    // Party entry (credit) with a new bill named strVchNo; written whatever the amount.
    std::string strCreditNote_Party(const std::string& strPartyCode, const std::string& strVchNo,
                                    double dblAmount) const;
    // The same entry for an accounts-only voucher.
    std::string strCNote_Party_Vch(const std::string& strPartyCode, const std::string& strVchNo,
                                   double dblAmount) const;

    // Ledger entries; empty text when the amount is zero.
    std::string strCreditNote_Dr_Vch(std::string& strLedgerDr, double dblDrAmt) const;
    std::string strCreditNote_Dr(std::string& strLedgerDr, double dblDrAmt) const;
    std::string strCreditNote_Dr_Sch(std::string& strLedgerDr, double dblDrAmt) const;

    // Inventory entry (debit) holding the current strCrd_Batch and strCrd_Alloc. strGodown
    // and strBatchNo are not used: they reach the voucher through strBatchAlloc.
    std::string strInvent_Crd(const std::string& strItemName, double dblAmount, double dblItemQty,
                              const std::string& strItemUnit, double dblRate,
                              const std::string& strGodown, const std::string& strBatchNo,
                              const std::string& strRemark1, const std::string& strRemark2,
                              const std::string& strRemark3, const std::string& strRemark4,
                              const std::string& strRemark5, const std::string& strRemark6) const;

    // Accounting allocation (debit) of a stock line.
    std::string strAccountAlloc(double dblAmount, const std::string& strSalesLed,
                                const std::string& strTaxClass, const std::string& strCostNm,
                                const std::string& strTaxTyp, double dblTaxableVal) const;

    // Batch allocation of a stock line; its amount is quantity times rate, unrounded.
    std::string strBatchAlloc(double dblItemQty, double dblRate, const std::string& strGodown,
                              const std::string& strBatchNo, const std::string& strItemUnit,
                              const std::string& strOrdNo, const std::string& strOrdDt,
                              const std::string& strTrack) const;

private:
    std::string LedgerEntry(const char* list, bool debit, std::string& strLedger,
                            double dblAmount) const;
};

}  // namespace zentrail
