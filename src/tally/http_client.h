#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace zentrail {

// Outcome of one POST: either a reply body (any HTTP status) or a failure.
struct HttpResult {
    enum class Status { Ok, NotConnected, Failed };
    Status status = Status::Failed;
    long httpCode = 0;
    std::string body;         // reply text when status is Ok
    std::string description;  // the client's own description when status is not Ok
};

struct HttpTimeouts {
    std::chrono::milliseconds connect{60'000};
    std::chrono::milliseconds reply{120'000};
};

// A synchronous HTTP client that keeps one connection open between calls.
class HttpClient {
public:
    explicit HttpClient(HttpTimeouts timeouts = {});
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // POSTs `body` unchanged to `url` and waits for the whole reply.
    HttpResult Post(const std::string& url, const std::string& body);

    // The process-wide default time-outs used by clients created afterwards.
    static void SetDefaultTimeouts(HttpTimeouts timeouts);
    static HttpTimeouts DefaultTimeouts();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace zentrail
