#pragma once

#include <string>

#include "tally/tally_builder.h"

namespace zentrail {

// Builds a Tally sales voucher piece by piece; the screen joins the pieces in order and
// closes the VOUCHER and TALLYMESSAGE elements itself.
//
// Parameters taken as std::string& are escaped in place: the caller's variable holds the
// escaped text afterwards. The escape is idempotent, so passing such a variable to a later
// member writes the same text again.
class TallySaleTrn : public TallyBuilder {
public:
    // Batch and accounting allocation of the current item, appended by strInvent_Sales to
    // every inventory entry. The caller sets them before each item and clears them after
    // its item loop.
    std::string strSale_Batch;
    std::string strSale_Alloc;

    // Opening of the voucher message. An empty voucher type becomes "Sales", in the caller's
    // variable too. strOptFlag is not used.
    std::string strSale_Head(std::string& strVchType, const std::string& dtpTallyDate,
                             std::string& strParty, std::string& strVchNo, std::string& strRefNo,
                             std::string& strRemarks, std::string& strPartyName,
                             const std::string& strOptFlag, bool blnIsCancel,
                             const std::string& strStatNm, const std::string& strPartyGSTN,
                             std::string& Add1, std::string& Add2, std::string& Add3,
                             std::string& Add4, std::string& Add5) const;

    // Party entry (debit) with a new bill named after the voucher number; written whatever
    // the amount.
    std::string strSale_Party(const std::string& strPartyCode, std::string& strVchNo,
                              double dblAmount) const;
    std::string strSale_Party_All(const std::string& strPartyCode, std::string& strVchNo,
                                  double dblAmount) const;

    // Ledger entries; empty text when the amount is zero.
    std::string strSale_Dr(std::string& strLedgerDr, double dblDrAmt) const;
    std::string strSale_Cr(std::string& strLedgerCr, double dblCrAmt) const;
    std::string strSale_Cr_Sch(std::string& strLedgerDr, double dblCrAmt) const;
    std::string strSale_Cr_Sch_All(std::string& strLedgerDr, double dblCrAmt) const;
    // Credit entry that carries the intrastate GST override when the party has a GSTIN
    // and the line has no integrated tax.
    std::string strSale_Cr_All(std::string& strLedgerCr, double dblCrAmt,
                               const std::string& strGstIn, double dblIgstAmt) const;

    // Inventory entry holding the current strSale_Batch and strSale_Alloc. strGodown and
    // strBatchNo are not used: they reach the voucher through strBatchAlloc.
    std::string strInvent_Sales(const std::string& strItemName, double dblAmount, double dblItemQty,
                                const std::string& strItemUnit, double dblRate,
                                const std::string& strGodown, const std::string& strBatchNo,
                                const std::string& strRemark1, const std::string& strRemark2,
                                const std::string& strRemark3, const std::string& strRemark4,
                                const std::string& strRemark5, const std::string& strRemark6) const;

    // Accounting allocation of an item. dblTotTaxAmt is not used.
    std::string strAccountAlloc(double dblAmount, const std::string& strSalesLed,
                                const std::string& strTaxClass, const std::string& strCostNm,
                                const std::string& strTaxTyp, double dblTaxableVal,
                                double dblTotTaxAmt) const;

    // Batch allocation of an item; its amount is quantity times rate.
    std::string strBatchAlloc(double dblItemQty, double dblRate, const std::string& strGodown,
                              const std::string& strBatchNo, const std::string& strItemUnit,
                              const std::string& strOrdNo, const std::string& strOrdDt,
                              const std::string& strTrack) const;

private:
    std::string PartyEntry(const char* list, const std::string& strPartyCode, std::string& strVchNo,
                           double dblAmount) const;
    std::string LedgerEntry(const char* list, bool debit, std::string& strLedger, double dblAmount,
                            const std::string& extraLines) const;
};

}  // namespace zentrail
