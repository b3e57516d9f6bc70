#include "tally/http_client.h"

#include <curl/curl.h>

#include <mutex>

#include "tally/number_text.h"

namespace zentrail {

namespace {

std::once_flag gCurlInit;

struct CurlDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

using Clock = std::chrono::steady_clock;

}  // namespace

// Everything a handle's options point at lives here, as long as the handle.
struct HttpClient::Impl {
    HttpTimeouts timeouts;
    std::unique_ptr<CURL, CurlDeleter> handle;
    std::unique_ptr<curl_slist, HeaderListDeleter> headers;
    char errorBuffer[CURL_ERROR_SIZE] = {0};
    std::string reply;
    // Per exchange: the caller's stop flag, and when the connection was made.
    const std::atomic<bool>* stop = nullptr;
    Clock::time_point start;
    bool interrupted = false;
    bool replyTimedOut = false;
    bool replyTooLarge = false;
    bool reusing = false;     // the handle's connection from an earlier exchange may be reused
    std::string contentType;  // what the handle's headers say; empty: none set yet

    // The body goes out as it is: no "Expect: 100-continue" round trip, no form type.
    void SayContentType(std::string_view wanted) {
        if (wanted == contentType) return;
        curl_slist* list = curl_slist_append(nullptr, "Expect:");
        list = curl_slist_append(list, ("Content-Type: " + std::string(wanted)).c_str());
        headers.reset(list);
        curl_easy_setopt(handle.get(), CURLOPT_HTTPHEADER, headers.get());
        contentType = wanted;
    }

    static size_t Collect(char* data, size_t size, size_t count, void* self) {
        Impl& impl = *static_cast<Impl*>(self);
        // No import reply is this large; reading on would only fill memory.
        if (impl.reply.size() + size * count > kLargestReply) {
            impl.replyTooLarge = true;
            return 0;
        }
        impl.reply.append(data, size * count);
        return size * count;
    }

    // Called by libcurl during the exchange (at least once a second): ends it when the caller
    // asks to stop or the reply takes longer than its own time-out after the connection.
    static int Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        Impl& impl = *static_cast<Impl*>(self);
        if (impl.stop != nullptr && impl.stop->load()) {
            impl.interrupted = true;
            return 1;
        }
        curl_off_t connected = 0;
        curl_easy_getinfo(impl.handle.get(), CURLINFO_CONNECT_TIME_T, &connected);
        // Still connecting, unless a kept connection made connecting instant.
        if (connected == 0 && !impl.reusing) return 0;
        auto sinceConnect =
            Clock::now() - (impl.start + std::chrono::microseconds(static_cast<long>(connected)));
        if (sinceConnect > impl.timeouts.reply) {
            impl.replyTimedOut = true;
            return 1;
        }
        return 0;
    }

    bool Prepare() {
        if (handle) return true;
        handle.reset(curl_easy_init());
        if (!handle) return false;
        CURL* curl = handle.get();
        contentType.clear();
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Impl::Collect);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Impl::Progress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS,
                         static_cast<long>(timeouts.connect.count()));
        // A ceiling only; the reply's own time-out is kept by Progress.
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS,
                         static_cast<long>((timeouts.connect + timeouts.reply).count()));
        curl_easy_setopt(curl, CURLOPT_TCP_NODELAY, 1L);
        // Tally sits on the local network, never behind a proxy.
        curl_easy_setopt(curl, CURLOPT_PROXY, "");
        return true;
    }
};

HttpClient::HttpClient(HttpTimeouts timeouts) : impl_(std::make_unique<Impl>()) {
    std::call_once(gCurlInit, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    impl_->timeouts = timeouts;
}

HttpClient::~HttpClient() = default;

HttpResult HttpClient::Post(const std::string& url, const std::string& body,
                            std::string_view contentType, const std::atomic<bool>* stop) {
    return Exchange(url, &body, contentType, stop);
}

HttpResult HttpClient::Get(const std::string& url, const std::atomic<bool>* stop) {
    return Exchange(url, nullptr, {}, stop);
}

HttpResult HttpClient::Exchange(const std::string& url, const std::string* body,
                                std::string_view contentType, const std::atomic<bool>* stop) {
    HttpResult result;
    Impl& impl = *impl_;
    if (stop != nullptr && stop->load()) {
        result.status = HttpResult::Status::Interrupted;
        result.description = "Stopped before sending";
        return result;
    }
    impl.reusing = impl.handle != nullptr;
    if (!impl.Prepare()) {
        result.description = "The HTTP client could not be created";
        return result;
    }
    CURL* curl = impl.handle.get();
    impl.errorBuffer[0] = '\0';
    impl.reply.clear();
    impl.stop = stop;
    impl.interrupted = false;
    impl.replyTimedOut = false;
    impl.replyTooLarge = false;
    impl.start = Clock::now();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    if (body != nullptr) {
        impl.SayContentType(contentType);
        curl_easy_setopt(curl, CURLOPT_POST, 1L);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body->data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body->size()));
    } else {
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    }

    CURLcode code = curl_easy_perform(curl);
    // The body dies with the caller: the handle must not keep pointing at it.
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, nullptr);
    impl.stop = nullptr;
    if (code == CURLE_OK) {
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.httpCode);
        const char* replyType = nullptr;
        if (curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &replyType) == CURLE_OK && replyType)
            result.contentType = replyType;
        result.status = HttpResult::Status::Ok;
        result.requestSent = true;
        result.body = std::move(impl.reply);
        impl.reply.clear();
        return result;
    }
    curl_off_t connectTime = 0;
    curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &connectTime);
    curl_off_t uploaded = 0;
    curl_easy_getinfo(curl, CURLINFO_SIZE_UPLOAD_T, &uploaded);
    result.requestSent =
        body == nullptr ? connectTime > 0 : uploaded >= static_cast<curl_off_t>(body->size());
    bool neverConnected =
        code == CURLE_COULDNT_CONNECT || (code == CURLE_OPERATION_TIMEDOUT && connectTime == 0);
    if (impl.interrupted) {
        result.status = HttpResult::Status::Interrupted;
        result.description = "Stopped during the exchange";
    } else if (impl.replyTooLarge) {
        result.status = HttpResult::Status::Failed;
        result.description = "The reply is larger than 16 MiB and was not read to its end";
    } else if (impl.replyTimedOut) {
        result.status = HttpResult::Status::Failed;
        result.description =
            "No reply within " + NumberText(impl.timeouts.reply.count() / 1000.0) + " s";
    } else {
        result.status =
            neverConnected ? HttpResult::Status::NotConnected : HttpResult::Status::Failed;
        result.description = impl.errorBuffer[0] ? impl.errorBuffer : curl_easy_strerror(code);
    }
    // A broken exchange may leave the connection unusable: start afresh next time.
    impl.handle.reset();
    impl.reply.clear();
    return result;
}

}  // namespace zentrail
