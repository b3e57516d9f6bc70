#pragma once

#include <string>

namespace zentrail {

// The 25 values of a ledger master by name, in the order TallyMaster::strLedgerAcc takes them,
// so that a screen can fill only what it has:
//   LedgerFields tax{.strLedNm = "CGST 9%", .strParentNm = "Duties & Taxes",
//                    .strDutyHead = "Central Tax"};
// After the call the fields that the builder escapes in place hold the escaped text. Every
// member has a default so that naming only some of them stays free of warnings.
struct LedgerFields {
    std::string strLedNm{};
    std::string strLedCd{};
    std::string strParentNm{};
    std::string strAdd1{};
    std::string strAdd2{};
    std::string strAdd3{};
    std::string strAdd4{};
    std::string strAdd5{};
    std::string strState{};
    std::string strPin{};
    std::string strContPerson{};
    std::string strTelNo{};
    std::string strFaxNo{};
    std::string strEmail{};
    std::string strPanNo{};
    std::string strVatNo{};
    std::string strDutyHead{};
    std::string strServiceTax{};
    bool blnMaintBill = false;
    std::string strLedCd1{};
    std::string strLedCd2{};
    std::string strPGSTN{};
    std::string strPState{};
    bool blnSez = false;
    std::string strRegType{};
};

}  // namespace zentrail
