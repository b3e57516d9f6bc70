#pragma once

#include <atomic>
#include <string>

#include "tally/reply_encoding.h"
#include "tally/tally_check.h"
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
    // Asks the Tally behind the sink whether it runs, before the first request.
    virtual TallyCheck CheckTally(const std::atomic<bool>* stop) {
        (void)stop;
        return {TallyCheck::Status::NoTally, {}, {}};
    }
    // Whether delivered requests go to a Tally server at all.
    virtual bool ReachesTally() const { return true; }
};

// The Tally server at `url`, through `transport`, each request in `encoding`.
class TallySink : public RequestSink {
public:
    TallySink(TallyTransport& transport, std::string url,
              TextEncoding encoding = TextEncoding::Utf8)
        : transport_(transport), url_(std::move(url)), encoding_(encoding) {}
    ExchangeResult Deliver(const Request& request, const std::atomic<bool>* stop) override {
        return ExchangeWithTally(transport_, url_, request.body, request.form, stop, encoding_);
    }
    TallyCheck CheckTally(const std::atomic<bool>* stop) override {
        return zentrail::CheckTally(transport_, url_, stop);
    }

private:
    TallyTransport& transport_;
    std::string url_;
    TextEncoding encoding_;
};

}  // namespace zentrail
