#pragma once

#include <string>

#include "tally/masters/ledger_fields.h"
#include "tally/tally_builder.h"

namespace zentrail {

// Builds the master fragments (ledgers, units, stock items, stock groups, voucher types) that
// the transfers send before their vouchers. Each member returns one fragment whose lines end
// with CR LF; nothing is posted here.
//
// Parameters taken as std::string& are escaped in place: the caller's variable holds the
// escaped text afterwards. Those escaped with strXmlText can be passed again unchanged, since
// that escape leaves existing entities alone. Every other text is escaped in the emitted copy
// only, so no caller text can break the XML.
class TallyMaster : public TallyBuilder {
public:
    // GST detail blocks (outputs of strItemGSTRate) that strItemCreate places in the next item.
    // The caller resets it for every item; strItemCreate leaves it as it is.
    std::string strGSTSetup;

    // Party, tax, expense and other ledgers.
    std::string strLedgerAcc(std::string& strLedNm, std::string& strLedCd, std::string& strParentNm,
                             const std::string& strAdd1, const std::string& strAdd2,
                             const std::string& strAdd3, const std::string& strAdd4,
                             const std::string& strAdd5, const std::string& strState,
                             const std::string& strPin, const std::string& strContPerson,
                             const std::string& strTelNo, const std::string& strFaxNo,
                             const std::string& strEmail, const std::string& strPanNo,
                             const std::string& strVatNo, const std::string& strDutyHead,
                             const std::string& strServiceTax, bool blnMaintBill,
                             std::string& strLedCd1, std::string& strLedCd2,
                             const std::string& strPGSTN, const std::string& strPState, bool blnSez,
                             const std::string& strRegType) const;
    // The same with the values by name; the in-place escapes land in the struct.
    std::string strLedgerAcc(LedgerFields& fields) const;
    std::string strLedgerAcc(LedgerFields&& fields) const { return strLedgerAcc(fields); }

    // Sales and purchase account ledgers with their own GST rates. Note the rate order:
    // State, Central, Integrated.
    std::string strLedSalesAcc(std::string& strLedNm, std::string& strLedCd,
                               std::string& strParentNm, const std::string& strHSNCode,
                               const std::string& strGstSupply, double& dblSTTaxRate,
                               double& dblCenTaxRate, double& dblIntTaxRate) const;

    // A simple unit without decimal places.
    std::string strNewUnit(std::string& strUnitName) const;

    // One dated GSTDETAILS.LIST block of a stock item, for strGSTSetup.
    std::string strItemGSTRate(double& dblCgstRate, double& dblSgstRate, double& dblIgstRate,
                               const std::string& strHSN, const std::string& strItemDate) const;

    // A stock item carrying the blocks now in strGSTSetup.
    std::string strItemCreate(const std::string& strItemName, const std::string& strItemCode,
                              const std::string& strUnit, const std::string& strParent,
                              std::string& strItemCd1, const std::string& strItemCd2) const;

    // A voucher type of our own under one of Tally's predefined types.
    std::string strVoucherType(const std::string& strVchNm, std::string& strVchCode,
                               const std::string& strParentNm) const;

    // A stock group, under a parent group when one is given.
    std::string strItemGroup(std::string& strGrpName, std::string& strParent) const;
};

}  // namespace zentrail
