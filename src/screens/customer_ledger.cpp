#include "screens/customer_ledger.h"

#include "common/ascii.h"
#include "screens/document_rules.h"
#include "screens/screen_context.h"
#include "shell/recordset.h"
#include "tally/xml_escape.h"

namespace zentrail {

namespace {

bool IsComposition(std::string_view text, bool exactY) {
    std::string compos = ascii::Upper(TrimBlanks(text));
    return exactY ? compos == "Y" : (!compos.empty() && compos.front() == 'Y');
}

}  // namespace

LedgerFields CustomerLedgerFields(const Recordset& rs, const CustomerColumns& columns,
                                  const ScreenContext& context) {
    auto field = [&rs](const char* name) { return rs.Fields(name).Value(); };
    std::string state = CorrectStateName(TrimBlanks(field("STat_Name")));
    return LedgerFields{
        .strLedNm =
            CustomerLedgerName(field("RtrName"), field("RtrId"), context.config.blnLedgerId),
        .strParentNm = context.DebtorGroup(),
        .strAdd1 = field(columns.add1),
        .strAdd2 = field(columns.add2),
        .strAdd3 = field(columns.add3),
        .strAdd4 = state,
        .strState = state,
        .strPin = field(columns.pin),
        .strContPerson = TrimBlanks(field("RtrContactPerson")),
        .strTelNo = field("RtrPhoneNo"),
        .strEmail = TrimBlanks(field("RtrEmailId")),
        .strPanNo = TrimBlanks(field("PAN_NUM")),
        .blnMaintBill = true,
        .strPGSTN = TrimBlanks(field("GSTN")),
        .strPState = state,
        .strRegType = IsComposition(field("COMPOS"), columns.compositionExactY)
                          ? "Composition"
                          : TrimBlanks(field("REG_UNREG")),
    };
}

LedgerFields CustomerAddressLedgerFields(const Recordset& rs, const ScreenContext& context) {
    auto field = [&rs](const char* name) { return rs.Fields(name).Value(); };
    return LedgerFields{
        .strLedNm =
            CustomerLedgerName(field("RtrName"), field("RtrId"), context.config.blnLedgerId),
        .strParentNm = context.DebtorGroup(),
        .strAdd1 = field("RTRADD1"),
        .strAdd2 = field("RTRADD2"),
        .strAdd3 = field("RTRADD3"),
        .blnMaintBill = true,
    };
}

}  // namespace zentrail
