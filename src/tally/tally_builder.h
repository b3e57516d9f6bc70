#pragma once

#include <string>

namespace zentrail {

inline constexpr const char* kCrLf = "\r\n";

// What every builder class shares: the import envelope and the escape of free text. Requests
// go to Tally through ExchangeWithTally (tally/tally_exchange.h).
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

protected:
    static std::string strXmlText(const std::string& text);
};

}  // namespace zentrail
