#pragma once

#include <atomic>
#include <string>
#include <string_view>

#include "tally/reply_encoding.h"

namespace zentrail {

// Outcome of one exchange: either a reply body (any HTTP status) or a failure.
struct HttpResult {
    enum class Status {
        Ok,            // a whole reply came back; httpCode says which
        NotConnected,  // nothing answered at the address
        Failed,        // connected, but the exchange broke or timed out
        Interrupted,   // the caller's stop flag ended the exchange
    };
    Status status = Status::Failed;
    long httpCode = 0;
    std::string body;           // reply text when status is Ok
    std::string description;    // what went wrong when status is not Ok
    std::string contentType{};  // the reply's Content-Type header, when it had one
    // Every byte of the request went out, so the server may hold it whatever came back.
    bool requestSent = false;
};

// The way requests reach Tally. The libcurl client is the program's; tests may script replies.
class TallyTransport {
public:
    virtual ~TallyTransport() = default;
    // POSTs `body` unchanged to `url`, saying `contentType`, and waits for the whole reply. When
    // `stop` becomes true during the exchange, the exchange ends as Interrupted. Safe to set
    // from another thread.
    virtual HttpResult Post(const std::string& url, const std::string& body,
                            std::string_view contentType, const std::atomic<bool>* stop) = 0;
    // A plain GET of `url`, as Tally is asked whether it runs.
    virtual HttpResult Get(const std::string& url, const std::atomic<bool>* stop) = 0;
};

}  // namespace zentrail
