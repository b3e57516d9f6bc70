#include "tally/vouchers/tally_credit_note_trn.h"

#include <string_view>

#include "tally/number_text.h"
#include "tally/vouchers/voucher_lines.h"
#include "tally/xml_escape.h"

namespace zentrail {

namespace {

void Line(std::string& out, std::string_view text) { AppendLine(out, {text}); }

void Element(std::string& out, std::string_view tag, std::string_view text) {
    AppendLine(out, {"<", tag, ">", text, "</", tag, ">"});
}

void QuantityLines(std::string& out, const std::string& qty, const std::string& unit) {
    Line(out, "<ACTUALQTY> " + qty + " " + unit + "</ACTUALQTY>");
    Line(out, "<BILLEDQTY> " + qty + " " + unit + "</BILLEDQTY>");
}

}  // namespace

std::string TallyCreditNoteTrn::strCreditNote_Head(
    std::string& strVchType, const std::string& dtpTallyDate, std::string& strParty,
    std::string& strVchNo, std::string& strRefNo, std::string& strRemarks,
    std::string& strPartyName, const std::string& /*strOptFlag*/, bool blnIsCancel,
    const std::string& strStatNm, const std::string& strPartyGSTN, std::string& Add1,
    std::string& Add2, std::string& Add3, std::string& Add4, std::string& Add5,
    const std::string& dtpRefDate) const {
    strParty = strXmlText(strParty);
    strRemarks = strXmlText(strRemarks);
    strVchType = strXmlText(strVchType);
    strPartyName = strXmlText(strPartyName);
    strVchNo = strXmlText(strVchNo);
    strRefNo = strXmlText(strRefNo);
    if (strVchType.empty()) strVchType = "Credit Note";

    // Dates arrive as grid text; escaping leaves real dates unchanged.
    const std::string date = strXmlText(dtpTallyDate);
    const std::string refDate = strXmlText(dtpRefDate);
    const std::string key = VoucherKey(date, strVchType, strParty, strVchNo, strRefNo);
    // Taken before the address lines are escaped in place: callers pass the state as an
    // address line too, possibly in the same variable.
    const std::string state = strXmlText(strStatNm);
    const std::string gstin = strXmlText(strPartyGSTN);

    std::string out;
    out.reserve(2048);
    Line(out, "<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">");
    Line(out, "<VOUCHER REMOTEID=\"" + key + "\" VCHTYPE=\"" + strVchType + "\" ACTION=\"" +
                  (blnIsCancel ? "Cancel" : "Create") + "\">");
    Element(out, "DATE", date);
    Element(out, "GUID", key);
    Element(out, "NARRATION", strXmlText(strRemarks));
    Element(out, "VOUCHERTYPENAME", strVchType);
    Line(out, "<ISOPTIONAL>No</ISOPTIONAL>");
    Line(out, "<USEFORGAINLOSS>No</USEFORGAINLOSS>");
    Line(out, "<USEFORCOMPOUND>No</USEFORCOMPOUND>");
    Element(out, "EFFECTIVEDATE", date);
    Element(out, "ISCANCELLED", blnIsCancel ? "Yes" : "No");
    Line(out, "<USETRACKINGNUMBER>No</USETRACKINGNUMBER>");
    Line(out, "<ISPOSTDATED>No</ISPOSTDATED>");
    Line(out, "<ISINVOICE>Yes</ISINVOICE>");
    Line(out, "<DIFFACTUALQTY>No</DIFFACTUALQTY>");
    Element(out, "VOUCHERNUMBER", strVchNo);
    Element(out, "REFERENCE", strRefNo);
    Element(out, "REFERENCEDATE", refDate);
    Element(out, "BASICBUYERNAME", strPartyName);
    Element(out, "PARTYNAME", strParty);
    Element(out, "BASEPARTYNAME", strParty);
    Element(out, "PARTYLEDGERNAME", strParty);
    Element(out, "STATENAME", state);
    // A blank-padded GSTIN column is no GSTIN.
    if (TrimBlanks(strPartyGSTN).size() >= 10) Element(out, "PARTYGSTIN", gstin);
    Line(out, "<GSTNATUREOFRETURN>01-Sales Return</GSTNATUREOFRETURN>");
    Element(out, "PLACEOFSUPPLY", state);
    Line(out, "<ISGSTOVERRIDDEN>Yes</ISGSTOVERRIDDEN>");
    Line(out, "<GSTNOTEXPORTED>No</GSTNOTEXPORTED>");
    Line(out, "<BASICBUYERADDRESS.LIST TYPE=\"String\">");
    for (std::string* address : {&Add1, &Add2, &Add3, &Add4, &Add5})
        Element(out, "BASICBUYERADDRESS", XmlEscape(*address));
    // No line break: the next element follows on this line, as Tally has always received it.
    out += "</BASICBUYERADDRESS.LIST>";
    if (!strRemarks.empty()) Element(out, "NARRATION", strRemarks);
    Line(out, "<ALTERID></ALTERID>");
    return out;
}

std::string TallyCreditNoteTrn::PartyEntry(const char* list, const std::string& strPartyCode,
                                           const std::string& strVchNo, double dblAmount) const {
    const std::string amount = NumberText(dblAmount);
    std::string out;
    out.reserve(512);
    Line(out, std::string("<") + list + ">");
    Line(out, "<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>");
    Line(out, "<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>");
    Line(out, "<LEDGERFROMITEM>No</LEDGERFROMITEM>");
    Element(out, "LEDGERNAME", strXmlText(strPartyCode));
    Line(out, "<ISPARTYLEDGER>Yes</ISPARTYLEDGER>");
    Element(out, "AMOUNT", amount);
    Line(out, "<BILLALLOCATIONS.LIST>");
    Element(out, "NAME", strXmlText(strVchNo));
    Line(out, "<BILLTYPE>New Ref</BILLTYPE>");
    Line(out, "<BILLCREDITPERIOD/>");
    Element(out, "AMOUNT", amount);
    Line(out, "</BILLALLOCATIONS.LIST>");
    Line(out, std::string("</") + list + ">");
    return out;
}

std::string TallyCreditNoteTrn::strCreditNote_Party(const std::string& strPartyCode,
                                                    const std::string& strVchNo,
                                                    double dblAmount) const {
    return PartyEntry("LEDGERENTRIES.LIST", strPartyCode, strVchNo, dblAmount);
}

std::string TallyCreditNoteTrn::strCNote_Party_Vch(const std::string& strPartyCode,
                                                   const std::string& strVchNo,
                                                   double dblAmount) const {
    return PartyEntry("ALLLEDGERENTRIES.LIST", strPartyCode, strVchNo, dblAmount);
}

std::string TallyCreditNoteTrn::LedgerEntry(const char* list, bool debit, std::string& strLedger,
                                            double dblAmount) const {
    strLedger = strXmlText(strLedger);
    // Zero entries are left out so that callers can pass every ledger unconditionally.
    if (dblAmount == 0) return {};
    const std::string amount = debit ? DebitText(dblAmount) : NumberText(dblAmount);
    std::string out;
    out.reserve(384);
    Line(out, std::string("<") + list + ">");
    Line(out, "<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>");
    // The discount entries are deemed positive too, with an unsigned amount.
    Line(out, "<ISDEEMEDPOSITIVE>Yes</ISDEEMEDPOSITIVE>");
    Line(out, "<LEDGERFROMITEM>No</LEDGERFROMITEM>");
    Element(out, "LEDGERNAME", strLedger);
    Line(out, "<ISPARTYLEDGER>No</ISPARTYLEDGER>");
    Element(out, "AMOUNT", amount);
    Element(out, "VATEXPAMOUNT", amount);
    Line(out, std::string("</") + list + ">");
    return out;
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
    std::string out;
    out.reserve(512 + strCrd_Batch.size() + strCrd_Alloc.size());
    Line(out, "<ALLINVENTORYENTRIES.LIST>");
    if (!strRemark1.empty()) {
        Line(out, "<BASICUSERDESCRIPTION.LIST>");
        for (const std::string* remark :
             {&strRemark1, &strRemark2, &strRemark3, &strRemark4, &strRemark5, &strRemark6}) {
            if (!remark->empty()) Element(out, "BASICUSERDESCRIPTION", strXmlText(*remark));
        }
        Line(out, "</BASICUSERDESCRIPTION.LIST>");
    }
    // Product codes may hold "&"; the escape keeps an already escaped name as it is.
    Element(out, "STOCKITEMNAME", strXmlText(strItemName));
    Line(out, "<ISDEEMEDPOSITIVE>Yes</ISDEEMEDPOSITIVE>");
    Line(out, "<ISAUTONEGATE>No</ISAUTONEGATE>");
    Element(out, "RATE", NumberText(dblRate) + "/" + unit);
    Element(out, "AMOUNT", DebitText(dblAmount));
    QuantityLines(out, NumberText(dblItemQty), unit);
    out += strCrd_Batch;
    out += strCrd_Alloc;
    Line(out, "</ALLINVENTORYENTRIES.LIST>");
    return out;
}

std::string TallyCreditNoteTrn::strAccountAlloc(double dblAmount, const std::string& strSalesLed,
                                                const std::string& strTaxClass,
                                                const std::string& strCostNm,
                                                const std::string& strTaxTyp,
                                                double dblTaxableVal) const {
    const std::string amount = DebitText(dblAmount);
    std::string out;
    out.reserve(1024);
    Line(out, "<ACCOUNTINGALLOCATIONS.LIST>");
    Element(out, "TAXCLASSIFICATIONNAME", strXmlText(strTaxClass));
    Element(out, "LEDGERNAME", strXmlText(strSalesLed));
    if (!strTaxTyp.empty()) {
        Element(out, "GSTOVRDNNATURE", strXmlText(strTaxTyp));
        Line(out, "<GSTOVRDNINELIGIBLEITC>&#4; Not Applicable</GSTOVRDNINELIGIBLEITC>");
        Line(out, "<GSTOVRDNISREVCHARGEAPPL>&#4; Not Applicable</GSTOVRDNISREVCHARGEAPPL>");
        Element(out, "GSTOVRDNASSESSABLEVALUE", DebitText(dblTaxableVal));
    }
    Line(out, "<ISDEEMEDPOSITIVE>Yes</ISDEEMEDPOSITIVE>");
    Line(out, "<LEDGERFROMITEM>No</LEDGERFROMITEM>");
    Line(out, "<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>");
    Line(out, "<ISPARTYLEDGER>No</ISPARTYLEDGER>");
    Element(out, "AMOUNT", amount);
    if (!strCostNm.empty()) {
        Line(out, "<CATEGORYALLOCATIONS.LIST>");
        Line(out, "<CATEGORY>Primary Cost Category</CATEGORY>");
        Line(out, "<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>");
        Line(out, "<COSTCENTREALLOCATIONS.LIST>");
        Element(out, "NAME", strXmlText(strCostNm));
        Element(out, "AMOUNT", amount);
        Line(out, "</COSTCENTREALLOCATIONS.LIST>");
        Line(out, "</CATEGORYALLOCATIONS.LIST>");
    }
    Line(out, "</ACCOUNTINGALLOCATIONS.LIST>");
    return out;
}

std::string TallyCreditNoteTrn::strBatchAlloc(
    double dblItemQty, double dblRate, const std::string& strGodown, const std::string& strBatchNo,
    const std::string& strItemUnit, const std::string& strOrdNo, const std::string& strOrdDt,
    const std::string& strTrack) const {
    std::string out;
    out.reserve(512);
    Line(out, "<BATCHALLOCATIONS.LIST>");
    Element(out, "GODOWNNAME", strXmlText(strGodown));
    Element(out, "BATCHNAME", strXmlText(strBatchNo));
    Element(out, "ORDERNO", strXmlText(strOrdNo));
    Element(out, "TRACKINGNUMBER", strXmlText(strTrack));
    Line(out, "<MFDON></MFDON>");
    Line(out, "<EXPIRYPERIOD/>");
    Element(out, "AMOUNT", DebitText(dblItemQty * dblRate));
    QuantityLines(out, NumberText(dblItemQty), strXmlText(strItemUnit));
    Element(out, "ORDERDUEDATE", strXmlText(strOrdDt));
    Line(out, "</BATCHALLOCATIONS.LIST>");
    return out;
}

}  // namespace zentrail
