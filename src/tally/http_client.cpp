#include "tally/http_client.h"

#include <curl/curl.h>

#include <atomic>
#include <mutex>

namespace zentrail {

namespace {

std::once_flag gCurlInit;
std::atomic<long long> gDefaultConnectMs{60'000};
std::atomic<long long> gDefaultReplyMs{120'000};

size_t CollectBody(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

struct CurlDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

struct HttpClient::Impl {
    HttpTimeouts timeouts;
    std::unique_ptr<CURL, CurlDeleter> handle;
    std::unique_ptr<curl_slist, HeaderListDeleter> headers;
};

HttpClient::HttpClient(HttpTimeouts timeouts) : impl_(std::make_unique<Impl>()) {
    std::call_once(gCurlInit, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    impl_->timeouts = timeouts;
}

HttpClient::~HttpClient() = default;

void HttpClient::SetDefaultTimeouts(HttpTimeouts timeouts) {
    gDefaultConnectMs = timeouts.connect.count();
    gDefaultReplyMs = timeouts.reply.count();
}

HttpTimeouts HttpClient::DefaultTimeouts() {
    return {std::chrono::milliseconds(gDefaultConnectMs.load()),
            std::chrono::milliseconds(gDefaultReplyMs.load())};
}

HttpResult HttpClient::Post(const std::string& url, const std::string& body) {
    HttpResult result;
    if (!impl_->handle) {
        impl_->handle.reset(curl_easy_init());
        if (!impl_->handle) {
            result.description = "The HTTP client could not be created";
            return result;
        }
        // The body goes out as it is: no "Expect: 100-continue" round trip, no form type.
        curl_slist* list = curl_slist_append(nullptr, "Expect:");
        list = curl_slist_append(list, "Content-Type: text/xml; charset=utf-8");
        impl_->headers.reset(list);
    }
    CURL* curl = impl_->handle.get();
    char errorBuffer[CURL_ERROR_SIZE] = {0};
    std::string reply;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, impl_->headers.get());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, CollectBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(impl_->timeouts.connect.count()));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS,
                     static_cast<long>((impl_->timeouts.connect + impl_->timeouts.reply).count()));
    curl_easy_setopt(curl, CURLOPT_TCP_NODELAY, 1L);
    curl_easy_setopt(curl, CURLOPT_PROXY,
                     "");  // Tally sits on the local network, never behind a proxy

    CURLcode code = curl_easy_perform(curl);
    if (code == CURLE_OK) {
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.httpCode);
        result.status = HttpResult::Status::Ok;
        result.body = std::move(reply);
        return result;
    }
    curl_off_t connectTime = 0;
    curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &connectTime);
    bool neverConnected =
        code == CURLE_COULDNT_CONNECT || (code == CURLE_OPERATION_TIMEDOUT && connectTime == 0);
    result.status = neverConnected ? HttpResult::Status::NotConnected : HttpResult::Status::Failed;
    result.description = errorBuffer[0] ? errorBuffer : curl_easy_strerror(code);
    // A broken exchange may leave the connection unusable: start afresh next time.
    impl_->handle.reset();
    return result;
}

}  // namespace zentrail
