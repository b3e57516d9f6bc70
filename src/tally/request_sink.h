#pragma once

#include <atomic>
#include <string>

#include "tally/tally_exchange.h"
#include "tally/tally_transport.h"

namespace zentrail {

// One import request as the run knows it, so that nothing has to be read back out of its text.
struct Request {
    RequestForm form = RequestForm::Voucher;  // a master may meet masters Tally already holds
    std::string key{};                        // the voucher key; empty for a master
    std::string document{};                   // the source document's number, or the master's name
    std::string body{};
};

// Where every request of a run goes, and how it ended. Tally over HTTP is one sink; a journal or
// a folder of saved requests wraps or replaces it.
class RequestSink {
public:
    virtual ~RequestSink() = default;
    // Delivers `request` and says how it ended. When `stop` becomes true during the exchange, it
    // ends as Outcome::Stopped.
    virtual ExchangeResult Deliver(const Request& request, const std::atomic<bool>* stop) = 0;
};

// The Tally server at `url`, through `transport`.
class TallySink : public RequestSink {
public:
    TallySink(TallyTransport& transport, std::string url)
        : transport_(transport), url_(std::move(url)) {}
    ExchangeResult Deliver(const Request& request, const std::atomic<bool>* stop) override {
        return ExchangeWithTally(transport_, url_, request.body, request.form, stop);
    }

private:
    TallyTransport& transport_;
    std::string url_;
};

}  // namespace zentrail
