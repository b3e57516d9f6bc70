#include "tally/tally_builder.h"

#include "tally/xml_escape.h"

namespace zentrail {

std::string TallyBuilder::strTopMaster(std::string& strReportType,
                                       const std::string& strTallyComp) const {
    if (strReportType.empty()) strReportType = "All Masters";
    std::string out;
    out.reserve(400);
    out += "<ENVELOPE>\r\n<HEADER>\r\n<TALLYREQUEST>Import Data</TALLYREQUEST>\r\n</HEADER>\r\n";
    out += "<BODY>\r\n<IMPORTDATA>\r\n<REQUESTDESC>\r\n";
    out += "<REPORTNAME>" + strReportType + "</REPORTNAME>\r\n";
    out += "<STATICVARIABLES>\r\n";
    out += "<SVCURRENTCOMPANY>" + strXmlText(strTallyComp) + "</SVCURRENTCOMPANY>\r\n";
    out += "</STATICVARIABLES>\r\n</REQUESTDESC>\r\n<REQUESTDATA>\r\n";
    return out;
}

std::string TallyBuilder::strBottom() const {
    return "</REQUESTDATA>\r\n</IMPORTDATA>\r\n</BODY>\r\n</ENVELOPE>\r\n";
}

std::string TallyBuilder::strXmlText(const std::string& text) { return EscapeXmlTextOnce(text); }

}  // namespace zentrail
