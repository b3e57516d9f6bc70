#include "tally/tally_builder.h"

#include <cmath>
#include <limits>

#include "tally/number_text.h"
#include "tally/tally_reply.h"
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

TallyTransport& TallyBuilder::Transport() {
    if (transport_ != nullptr) return *transport_;
    if (!client_) client_ = std::make_unique<HttpClient>();
    return *client_;
}

namespace {

// Posts and reads the reply; on failure fills the message and returns nullopt-like false.
bool Exchange(TallyTransport& transport, const std::string& request, const std::string& url,
              std::string& message, TallyReply& reply) {
    HttpResult http = transport.Post(url.empty() ? kDefaultTallyUrl : url, request, nullptr);
    if (http.status == HttpResult::Status::NotConnected) {
        message = kTallyNotRunning;
        return false;
    }
    if (http.status != HttpResult::Status::Ok) {
        message = http.description;
        return false;
    }
    reply = ParseTallyReply(http.body);
    if (!reply.importResult) {
        message = std::string(reply.wellFormed ? "The reply is not a Tally import result: "
                                               : "The reply is not XML: ") +
                  (http.body.empty() ? std::string("(empty reply)") : QuoteReply(http.body));
        return false;
    }
    return true;
}

}  // namespace

bool TallyBuilder::blnTran_To_Tally(const std::string& strXmlString, std::string strIPAddress_Port,
                                    std::string& strErrorMessage) {
    TallyReply reply;
    if (!Exchange(Transport(), strXmlString, strIPAddress_Port, strErrorMessage, reply))
        return false;
    strErrorMessage.clear();
    for (const std::string& line : reply.lineErrors) strErrorMessage += kCrLf + line;
    return true;
}

bool TallyBuilder::blnTran_To_Tally(const std::string& strXmlString, std::string strIPAddress_Port,
                                    std::string& strErrorMessage, int16_t& intCombined) {
    TallyReply reply;
    if (!Exchange(Transport(), strXmlString, strIPAddress_Port, strErrorMessage, reply))
        return false;
    std::string joined;
    for (const std::string& line : reply.lineErrors) joined += kCrLf + line;
    if (joined.find("already exists") != std::string::npos) intCombined = 5;
    strErrorMessage.clear();
    for (const std::string& text : reply.alteredTexts) {
        double value = std::nearbyint(ReadNumber(text));
        if (value > std::numeric_limits<int16_t>::max() ||
            value < std::numeric_limits<int16_t>::min()) {
            strErrorMessage = "Overflow: ALTERED value " + text;
            return false;
        }
        intCombined = static_cast<int16_t>(value);
    }
    return true;
}

}  // namespace zentrail
