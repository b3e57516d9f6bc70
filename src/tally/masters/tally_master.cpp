#include "tally/masters/tally_master.h"

#include <string_view>
#include <utility>

#include "common/gstin.h"
#include "tally/number_text.h"
#include "tally/xml_escape.h"
#include "tally/xml_lines.h"

namespace zentrail {

namespace {

constexpr const char* kTallyMessage = "<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">";
constexpr const char* kItemGuidPrefix = "44756338-2c49-4454-aa10-adf0c49a94dc-";

std::string NamedOpening(std::string_view element, std::string_view name) {
    std::string line = "<";
    line.append(element).append(" NAME=\"").append(name).append("\" RESERVEDNAME=\"\">");
    return line;
}

std::string RateLine(double rate) { return "<GSTRATE> " + NumberText(rate) + "</GSTRATE>"; }

void AddRateBlock(XmlLines& lines, std::string_view head, const std::string* rateLine) {
    lines.Add("<RATEDETAILS.LIST>")
        .Element("GSTRATEDUTYHEAD", head)
        .Add("<GSTRATEVALUATIONTYPE>Based on Value</GSTRATEVALUATIONTYPE>");
    if (rateLine != nullptr) lines.Add(*rateLine);
    lines.Add("</RATEDETAILS.LIST>");
}

}  // namespace

std::string TallyMaster::strLedgerAcc(
    std::string& strLedNm, std::string& strLedCd, std::string& strParentNm,
    const std::string& strAdd1, const std::string& strAdd2, const std::string& strAdd3,
    const std::string& strAdd4, const std::string& strAdd5, const std::string& strState,
    const std::string& strPin, const std::string& strContPerson, const std::string& strTelNo,
    const std::string& strFaxNo, const std::string& strEmail, const std::string& strPanNo,
    const std::string& strVatNo, const std::string& strDutyHead, const std::string& strServiceTax,
    bool blnMaintBill, std::string& strLedCd1, std::string& strLedCd2, const std::string& strPGSTN,
    const std::string& strPState, bool blnSez, const std::string& strRegType) const {
    strLedNm = strXmlText(strLedNm);
    strLedCd = strXmlText(strLedCd);
    strParentNm = strXmlText(strParentNm);
    strLedCd1 = strXmlText(strLedCd1);
    strLedCd2 = strXmlText(strLedCd2);

    XmlLines lines;
    lines.Add(kTallyMessage).Add(NamedOpening("LEDGER", strLedNm));
    lines.Add("<NAME.LIST>").Element("NAME", strLedNm);
    lines.ElementIfAny("NAME", strLedCd).ElementIfAny("NAME", strLedCd1);
    lines.ElementIfAny("NAME", strLedCd2).Add("</NAME.LIST>");

    const std::string address[] = {strXmlText(strAdd1), strXmlText(strAdd2), strXmlText(strAdd3),
                                   strXmlText(strAdd4), strXmlText(strAdd5)};
    if (!(address[0] + address[1] + address[2] + address[3] + address[4]).empty()) {
        lines.Add("<ADDRESS.LIST>").TabElement("ADDRESS", address[0]);
        for (int i = 1; i < 5; ++i) lines.TabElementIfAny("ADDRESS", address[i]);
        lines.Add("</ADDRESS.LIST>");
    }
    lines.Tab("<COUNTRYNAME>India</COUNTRYNAME>");

    lines.Tab("<TAXTYPE>Others</TAXTYPE>").Tab("<COUNTRYOFRESIDENCE>India</COUNTRYOFRESIDENCE>");
    const std::string gstin = strXmlText(strPGSTN);
    if (!HasGstin(strPGSTN)) {
        lines.Tab("<PARTYGSTIN>Unregistered</PARTYGSTIN>")
            .Tab("<SERVICECATEGORY>&#4; Not Applicable</SERVICECATEGORY>")
            .TabElement("LEDSTATENAME", strXmlText(strPState))
            .Tab("<GSTREGISTRATIONTYPE>Unregistered</GSTREGISTRATIONTYPE>");
    } else {
        lines.TabElement("PARTYGSTIN", gstin)
            .Tab(blnSez ? "<GSTNATUREOFSUPPLY>SEZ</GSTNATUREOFSUPPLY>" : "<GSTNATUREOFSUPPLY/>")
            .Tab("<SERVICECATEGORY>&#4; Not Applicable</SERVICECATEGORY>")
            .TabElement("LEDSTATENAME", strXmlText(strPState));
        if (strRegType == "Unregistered") {
            lines.Tab("<GSTREGISTRATIONTYPE>Unregistered</GSTREGISTRATIONTYPE>");
        } else if (strRegType == "Registered") {
            lines.Tab("<GSTREGISTRATIONTYPE>Regular</GSTREGISTRATIONTYPE>")
                .Tab("<VATDEALERTYPE>Regular</VATDEALERTYPE>");
        } else if (strRegType == "Composition") {
            lines.Tab("<GSTREGISTRATIONTYPE>Composition</GSTREGISTRATIONTYPE>")
                .Tab("<VATDEALERTYPE>Regular</VATDEALERTYPE>");
        }
    }

    lines.TabElementIfAny("STATENAME", strXmlText(strState))
        .TabElementIfAny("PINCODE", strXmlText(strPin))
        .TabElementIfAny("LEDGERCONTACT", strXmlText(strContPerson))
        .TabElementIfAny("LEDGERPHONE", strXmlText(strTelNo))
        .TabElementIfAny("LEDGERFAX", strXmlText(strFaxNo))
        .TabElementIfAny("EMAIL", strXmlText(strEmail))
        .TabElementIfAny("INCOMETAXNUMBER", strXmlText(strPanNo))
        .TabElementIfAny("SALESTAXNUMBER", strXmlText(strVatNo));

    lines.Add("<ISINTERESTON>No</ISINTERESTON>")
        .Element("PARENT", strParentNm)
        .Add("<CURRENCYNAME>INR</CURRENCYNAME>")
        .Add(blnMaintBill ? "<ISBILLWISEON>Yes</ISBILLWISEON>" : "<ISBILLWISEON>No</ISBILLWISEON>")
        .Add("<ISCOSTCENTRESON>No</ISCOSTCENTRESON>")
        .Add("<AFFECTSSTOCK>No</AFFECTSSTOCK>")
        .Add("<ISCONDENSED>No</ISCONDENSED>")
        .Add("<SORTPOSITION> 1000</SORTPOSITION>")
        .Add("<INTERESTONBILLWISE>No</INTERESTONBILLWISE>")
        .Add("<OVERRIDEINTEREST>No</OVERRIDEINTEREST>")
        .Add("<OVERRIDEADVINTEREST>No</OVERRIDEADVINTEREST>");

    if (!strDutyHead.empty()) {
        lines.Add("<USEFORVAT>No</USEFORVAT>")
            .Add("<GSTAPPLICABLE>&#4; Applicable</GSTAPPLICABLE>")
            .Element("GSTDUTYHEAD", strXmlText(strDutyHead))
            .Add("<ROUNDINGMETHOD>Normal Rounding</ROUNDINGMETHOD>")
            .Add("<SERVICECATEGORY>&#4; Not Applicable</SERVICECATEGORY>")
            .Add("<TAXTYPE>GST</TAXTYPE>");
    }
    if (strParentNm == "Indirect Expenses") {
        lines.Add("<GSTAPPLICABLE>&#4; Not Applicable</GSTAPPLICABLE>")
            .Add("<APPROPRIATEFOR>GST</APPROPRIATEFOR>")
            .Add("<GSTAPPROPRIATETO>Both</GSTAPPROPRIATETO>");
    }
    if (!strServiceTax.empty()) lines.Add("<TAXTYPE>Service Tax</TAXTYPE>");
    lines.Add("</LEDGER>").Add("</TALLYMESSAGE>");
    return lines.Take();
}

std::string TallyMaster::strLedgerAcc(LedgerFields& f) const {
    return strLedgerAcc(f.strLedNm, f.strLedCd, f.strParentNm, f.strAdd1, f.strAdd2, f.strAdd3,
                        f.strAdd4, f.strAdd5, f.strState, f.strPin, f.strContPerson, f.strTelNo,
                        f.strFaxNo, f.strEmail, f.strPanNo, f.strVatNo, f.strDutyHead,
                        f.strServiceTax, f.blnMaintBill, f.strLedCd1, f.strLedCd2, f.strPGSTN,
                        f.strPState, f.blnSez, f.strRegType);
}

std::string TallyMaster::strLedSalesAcc(std::string& strLedNm, std::string& strLedCd,
                                        std::string& strParentNm, const std::string& strHSNCode,
                                        const std::string& strGstSupply, double& dblSTTaxRate,
                                        double& dblCenTaxRate, double& dblIntTaxRate) const {
    strLedNm = strXmlText(strLedNm);
    strLedCd = strXmlText(strLedCd);
    strParentNm = strXmlText(strParentNm);

    XmlLines lines;
    lines.Add(kTallyMessage).Add(NamedOpening("LEDGER", strLedNm));
    lines.Add("<NAME.LIST>").Element("NAME", strLedNm).ElementIfAny("NAME", strLedCd);
    lines.Add("</NAME.LIST>")
        .Add("<ISINTERESTON>No</ISINTERESTON>")
        .Element("PARENT", strParentNm)
        .Add("<CURRENCYNAME>INR</CURRENCYNAME>")
        .Add("<ISBILLWISEON>No</ISBILLWISEON>")
        .Add("<AFFECTSSTOCK>Yes</AFFECTSSTOCK>")
        .Add("<GSTAPPLICABLE>&#4; Applicable</GSTAPPLICABLE>")
        .Element("GSTTYPEOFSUPPLY", strXmlText(strGstSupply))
        .Add("<SERVICECATEGORY>&#4; Not Applicable</SERVICECATEGORY>");
    lines.Add("<GSTDETAILS.LIST>")
        .Add("<APPLICABLEFROM></APPLICABLEFROM>")
        .Element("HSNCODE", strXmlText(strHSNCode))
        .Add("<HSNMASTERNAME/>")
        .Add("<TAXABILITY>&#4; Unknown</TAXABILITY>")
        .Add("<GSTNATUREOFTRANSACTION>&#4; Not Applicable</GSTNATUREOFTRANSACTION>")
        .Add("<ISREVERSECHARGEAPPLICABLE>No</ISREVERSECHARGEAPPLICABLE>")
        .Add("<ISNONGSTGOODS>No</ISNONGSTGOODS>")
        .Add("<GSTINELIGIBLEITC>No</GSTINELIGIBLEITC>");
    lines.Add("<STATEWISEDETAILS.LIST>").Add("<STATENAME>&#4; Any</STATENAME>");
    const std::string central = RateLine(dblCenTaxRate);
    const std::string state = RateLine(dblSTTaxRate);
    const std::string integrated = RateLine(dblIntTaxRate);
    AddRateBlock(lines, "Central Tax", &central);
    AddRateBlock(lines, "State Tax", &state);
    AddRateBlock(lines, "Integrated Tax", &integrated);
    AddRateBlock(lines, "Cess", nullptr);
    lines.Add("<GSTSLABRATES.LIST>        </GSTSLABRATES.LIST>")
        .Add("</STATEWISEDETAILS.LIST>")
        .Add("</GSTDETAILS.LIST>")
        .Add("</LEDGER>")
        .Add("</TALLYMESSAGE>");
    return lines.Take();
}

std::string TallyMaster::strNewUnit(std::string& strUnitName) const {
    strUnitName = strXmlText(strUnitName);
    return XmlLines()
        .Add(kTallyMessage)
        .Add(NamedOpening("UNIT", strUnitName))
        .Element("NAME", strUnitName)
        .Add("<ORIGINALSYMBOL></ORIGINALSYMBOL>")
        .Add("<ISSIMPLEUNIT>Yes</ISSIMPLEUNIT>")
        .Add("<DECIMALPLACES>0</DECIMALPLACES>")
        .Add("</UNIT>")
        .Add("</TALLYMESSAGE>")
        .Take();
}

std::string TallyMaster::strItemGSTRate(double& dblCgstRate, double& dblSgstRate,
                                        double& dblIgstRate, const std::string& strHSN,
                                        const std::string& strItemDate) const {
    XmlLines lines;
    lines.Add("<GSTDETAILS.LIST>")
        .Element("APPLICABLEFROM", strXmlText(strItemDate))
        .Add("<CALCULATIONTYPE>On Value</CALCULATIONTYPE>")
        .Element("HSNCODE", strXmlText(strHSN))
        .Add("<HSNMASTERNAME/>")
        .Add("<TAXABILITY>Taxable</TAXABILITY>")
        .Add("<ISREVERSECHARGEAPPLICABLE>No</ISREVERSECHARGEAPPLICABLE>")
        .Add("<ISNONGSTGOODS>No</ISNONGSTGOODS>")
        .Add("<GSTINELIGIBLEITC>No</GSTINELIGIBLEITC>")
        .Add("<INCLUDEEXPFORSLABCALC>No</INCLUDEEXPFORSLABCALC>");
    lines.Add("<STATEWISEDETAILS.LIST>").Add("<STATENAME>&#4; Any</STATENAME>");
    const std::string central = RateLine(dblCgstRate);
    const std::string state = RateLine(dblSgstRate);
    const std::string integrated = RateLine(dblIgstRate);
    const std::string cess = RateLine(0);
    AddRateBlock(lines, "Central Tax", &central);
    AddRateBlock(lines, "State Tax", &state);
    AddRateBlock(lines, "Integrated Tax", &integrated);
    AddRateBlock(lines, "Cess", &cess);
    lines.Add("<GSTSLABRATES.LIST>        </GSTSLABRATES.LIST>")
        .Add("</STATEWISEDETAILS.LIST>")
        .Add("<TEMPGSTDETAILSLABRATES.LIST>       </TEMPGSTDETAILSLABRATES.LIST>")
        .Add("</GSTDETAILS.LIST>");
    return lines.Take();
}

std::string TallyMaster::strItemCreate(const std::string& strItemName,
                                       const std::string& strItemCode, const std::string& strUnit,
                                       const std::string& strParent, std::string& strItemCd1,
                                       const std::string& strItemCd2) const {
    std::string name = strItemName;
    XmlEscape(name);
    XmlEscape(strItemCd1);
    const std::string code = strXmlText(strItemCode);
    const std::string parent = strXmlText(strParent);

    XmlLines lines;
    lines.Add(kTallyMessage).Add(NamedOpening("STOCKITEM", name));
    lines.Add("<NAME.LIST>").Element("NAME", name).ElementIfAny("NAME", code);
    lines.ElementIfAny("NAME", strItemCd1).ElementIfAny("NAME", strXmlText(strItemCd2));
    lines.Add("</NAME.LIST>").Element("GUID", kItemGuidPrefix + code);
    if (parent.empty())
        lines.Add("<PARENT/>");
    else
        lines.Element("PARENT", parent);
    lines.Element("BASEUNITS", strXmlText(strUnit))
        .Add("<ADDITIONALUNITS/>")
        .Add("<IGNOREPHYSICALDIFFERENCE>No</IGNOREPHYSICALDIFFERENCE>")
        .Add("<IGNORENEGATIVESTOCK>No</IGNORENEGATIVESTOCK>")
        .Add("<TREATSALESASMANUFACTURED>No</TREATSALESASMANUFACTURED>")
        .Add("<TREATPURCHASESASCONSUMED>No</TREATPURCHASESASCONSUMED>")
        .Add("<TREATREJECTSASSCRAP>No</TREATREJECTSASSCRAP>")
        .Add("<ALLOWUSEOFEXPIREDITEMS>No</ALLOWUSEOFEXPIREDITEMS>")
        .Add("<ISBATCHWISEON>No</ISBATCHWISEON>")
        .Add("<HASMFGDATE>No</HASMFGDATE>")
        .Add("<ISPERISHABLEON>No</ISPERISHABLEON>")
        .Add("<COSTINGMETHOD>Avg. Cost</COSTINGMETHOD>")
        .Add("<VALUATIONMETHOD>Avg. Price</VALUATIONMETHOD>")
        .Add("<DENOMINATOR> 1</DENOMINATOR>")
        .Add("<GSTAPPLICABLE>&#4; Applicable</GSTAPPLICABLE>")
        .Add("<GSTTYPEOFSUPPLY>Goods</GSTTYPEOFSUPPLY>")
        .Append(strGSTSetup)
        .Add("</STOCKITEM>")
        .Add("</TALLYMESSAGE>");
    return lines.Take();
}

std::string TallyMaster::strVoucherType(const std::string& strVchNm, std::string& strVchCode,
                                        const std::string& strParentNm) const {
    const std::string name = strXmlText(strVchNm);
    strVchCode = strXmlText(strVchCode);
    return XmlLines()
        .Add(kTallyMessage)
        .Add(NamedOpening("VOUCHERTYPE", name))
        .Add("<NAME.LIST>")
        .Element("NAME", name)
        .ElementIfAny("NAME", strVchCode)
        .Add("</NAME.LIST>")
        .Add("<ADDITIONALNAME>IF</ADDITIONALNAME>")
        .Element("PARENT", strXmlText(strParentNm))
        .Add("<PREFILLZERO>No</PREFILLZERO>")
        .Add("<ISOPTIONAL>No</ISOPTIONAL>")
        .Add("<PREVENTDUPLICATES>Yes</PREVENTDUPLICATES>")
        .Add("<NUMBERINGMETHOD>Manual</NUMBERINGMETHOD>")
        .Add("<SORTPOSITION> 30</SORTPOSITION>")
        .Add("<PRINTAFTERSAVE>No</PRINTAFTERSAVE>")
        .Add("<COMMONNARRATION>Yes</COMMONNARRATION>")
        .Add("<MULTINARRATION>No</MULTINARRATION>")
        .Add("<FORMALRECEIPT>No</FORMALRECEIPT>")
        .Add("<ASMFGJRNL>No</ASMFGJRNL>")
        .Add("<EFFECTIVEDATE>No</EFFECTIVEDATE>")
        .Add("</VOUCHERTYPE>")
        .Add("</TALLYMESSAGE>")
        .Take();
}

std::string TallyMaster::strItemGroup(std::string& strGrpName, std::string& strParent) const {
    XmlEscape(strGrpName);
    XmlEscape(strParent);
    return XmlLines()
        .Add(kTallyMessage)
        .Add(NamedOpening("STOCKGROUP", strGrpName))
        .Add("<NAME.LIST>")
        .Element("NAME", strGrpName)
        .Add("</NAME.LIST>")
        .ElementIfAny("PARENT", strParent)
        .Add("<BASEUNITS/>")
        .Add("<ADDITIONALUNITS/>")
        .Add("<ISADDABLE>Yes</ISADDABLE>")
        .Add("<IGNOREPHYSICALDIFFERENCE>No</IGNOREPHYSICALDIFFERENCE>")
        .Add("<IGNORENEGATIVESTOCK>No</IGNORENEGATIVESTOCK>")
        .Add("<TREATSALESASMANUFACTURED>No</TREATSALESASMANUFACTURED>")
        .Add("<TREATPURCHASESASCONSUMED>No</TREATPURCHASESASCONSUMED>")
        .Add("<TREATREJECTSASSCRAP>No</TREATREJECTSASSCRAP>")
        .Add("<ALLOWUSEOFEXPIREDITEMS>No</ALLOWUSEOFEXPIREDITEMS>")
        .Add("<ISBATCHWISEON>No</ISBATCHWISEON>")
        .Add("<HASMFGDATE>No</HASMFGDATE>")
        .Add("<ISPERISHABLEON>No</ISPERISHABLEON>")
        .Add("<DENOMINATOR> 1</DENOMINATOR>")
        .Add("</STOCKGROUP>")
        .Add("</TALLYMESSAGE>")
        .Take();
}

}  // namespace zentrail
