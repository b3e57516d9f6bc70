#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tally/http_client.h"

namespace zentrail {

inline constexpr const char* kCrLf = "\r\n";
inline constexpr const char* kDefaultTallyUrl = "http://localhost:9000";
inline constexpr const char* kTallyNotRunning = "Tally Server is Not Running";

// What every builder class shares: the import envelope, the escape of free text and the
// exchange with the Tally server.
class TallyBuilder {
public:
    TallyBuilder() = default;
    virtual ~TallyBuilder() = default;
    TallyBuilder(const TallyBuilder&) = delete;
    TallyBuilder& operator=(const TallyBuilder&) = delete;

    // Opening lines of an import request. An empty report name becomes "All Masters", in the
    // caller's variable too.
    std::string strTopMaster(std::string& strReportType, const std::string& strTallyComp) const;
    // Closing lines of an import request.
    std::string strBottom() const;

    // Posts a complete request. True when a Tally import result came back; then
    // strErrorMessage holds every LINEERROR text, each preceded by CR LF. False when the
    // exchange failed or the reply is not an import result; then strErrorMessage says why.
    bool blnTran_To_Tally(const std::string& strXmlString, std::string strIPAddress_Port,
                          std::string& strErrorMessage);

    // Master form: on True the message is empty and intCombined reflects the reply
    // (5 for "already exists", then the value of each ALTERED element).
    bool blnTran_To_Tally(const std::string& strXmlString, std::string strIPAddress_Port,
                          std::string& strErrorMessage, int16_t& intCombined);

    // Sends through `transport` from now on (not owned); null returns to the builder's own
    // client.
    void UseTransport(TallyTransport* transport) { transport_ = transport; }
    TallyTransport& Transport();

protected:
    static std::string strXmlText(const std::string& text);

private:
    TallyTransport* transport_ = nullptr;
    std::unique_ptr<HttpClient> client_;
};

}  // namespace zentrail
