#include "tally/tally_check.h"

#include "tally/reply_encoding.h"
#include "tally/tally_reply.h"

namespace zentrail {

TallyCheck CheckTally(TallyTransport& transport, const std::string& url,
                      const std::atomic<bool>* stop) {
    const HttpResult http = transport.Get(url, stop);
    TallyCheck check;
    check.description = http.description;
    switch (http.status) {
        case HttpResult::Status::NotConnected:
            check.status = TallyCheck::Status::NotRunning;
            return check;
        case HttpResult::Status::Interrupted:
            check.status = TallyCheck::Status::Stopped;
            return check;
        case HttpResult::Status::Failed:
            check.status = TallyCheck::Status::Unexpected;
            return check;
        case HttpResult::Status::Ok:
            break;
    }
    check.answer = QuoteReply(DecodeReplyText(http.body, http.contentType));
    if (http.httpCode == 200) {
        check.status = TallyCheck::Status::Running;
    } else {
        check.status = TallyCheck::Status::Unexpected;
        check.description = "the server answered with HTTP status " + std::to_string(http.httpCode);
    }
    return check;
}

}  // namespace zentrail
