#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "tally/tally_transport.h"

namespace zentrail {

// No import reply comes near this size: a larger one is not read to its end.
inline constexpr size_t kLargestReply = 16 * 1024 * 1024;

struct HttpTimeouts {
    std::chrono::milliseconds connect{60'000};
    std::chrono::milliseconds reply{120'000};  // from the connection to the end of the reply
};

// A synchronous HTTP client over libcurl that keeps one connection open between calls.
class HttpClient : public TallyTransport {
public:
    explicit HttpClient(HttpTimeouts timeouts = {});
    ~HttpClient() override;
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    HttpResult Post(const std::string& url, const std::string& body,
                    const std::atomic<bool>* stop = nullptr) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace zentrail
