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

    HttpResult Post(const std::string& url, const std::string& body, std::string_view contentType,
                    const std::atomic<bool>* stop) override;
    // A UTF-8 request.
    HttpResult Post(const std::string& url, const std::string& body,
                    const std::atomic<bool>* stop = nullptr) {
        return Post(url, body, kXmlUtf8, stop);
    }
    HttpResult Get(const std::string& url, const std::atomic<bool>* stop = nullptr) override;

private:
    // One exchange on the kept handle: a POST of `body`, or a GET when it is null.
    HttpResult Exchange(const std::string& url, const std::string* body,
                        std::string_view contentType, const std::atomic<bool>* stop);

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace zentrail
