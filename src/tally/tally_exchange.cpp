#include "tally/tally_exchange.h"

#include "tally/number_text.h"
#include "tally/reply_encoding.h"
#include "tally/tally_reply.h"

namespace zentrail {

namespace {

constexpr const char* kDefaultUrl = "http://localhost:9000";
constexpr const char* kNotRunning = "Tally Server is Not Running";
constexpr const char* kAlreadyExists = "already exists";
constexpr std::string_view kCompanyNotSet = "Could not set 'SVCurrentCompany' to '";
constexpr const char* kUnreadable = "\r\nTally could not read the request";

std::string Counted(double count, const char* one, const char* many) {
    return NumberText(count) + " " + (count == 1 ? one : many);
}

}  // namespace

const char* OutcomeText(Outcome outcome) {
    switch (outcome) {
        case Outcome::Accepted:
            return "accepted";
        case Outcome::AlreadyInTally:
            return "already in Tally";
        case Outcome::TallyError:
            return "sent with Tally errors";
        case Outcome::Difference:
            return "sent with differences";
        case Outcome::NotSent:
            return "not sent";
        case Outcome::Unconfirmed:
            return "unconfirmed (Tally may hold it)";
        case Outcome::Skipped:
            return "skipped";
        case Outcome::Stopped:
            return "not sent because stopped";
        case Outcome::Saved:
            return "saved";
    }
    return "";
}

bool IsAccepted(Outcome outcome) {
    return outcome == Outcome::Accepted || outcome == Outcome::AlreadyInTally;
}

ExchangeResult ClassifyExchange(const HttpResult& http, RequestForm form) {
    ExchangeResult result;
    switch (http.status) {
        case HttpResult::Status::NotConnected:
            result.message = kNotRunning;
            result.transportFailure = true;
            return result;
        case HttpResult::Status::Failed:
            result.outcome = http.requestSent ? Outcome::Unconfirmed : Outcome::NotSent;
            result.message = http.description;
            result.transportFailure = true;
            return result;
        case HttpResult::Status::Interrupted:
            result.outcome = http.requestSent ? Outcome::Unconfirmed : Outcome::Stopped;
            result.message = http.description;
            result.stopped = true;
            return result;
        case HttpResult::Status::Ok:
            break;
    }
    // From here on the request reached the server: only a classified reply says what it did.
    result.outcome = Outcome::Unconfirmed;
    if (http.httpCode != 200) {
        result.message = "Tally answered with HTTP status " + std::to_string(http.httpCode);
        return result;
    }
    const std::string text = DecodeReplyText(http.body, http.contentType);
    TallyReply reply = ParseTallyReply(text);
    if (reply.unknownRequest) {
        // Tally had the request, read none of it and took in nothing.
        result.outcome = Outcome::TallyError;
        result.message = kUnreadable;
        result.unreadableRequest = true;
        return result;
    }
    if (!reply.importResult) {
        result.message = std::string(reply.wellFormed ? "The reply is not a Tally import result: "
                                                      : "The reply is not XML: ") +
                         (text.empty() ? std::string("(empty reply)") : QuoteReply(text));
        return result;
    }
    result.counters = {reply.created,   reply.altered, reply.combined,
                       reply.cancelled, reply.errors,  reply.exceptions};
    bool onlyAlreadyExists = !reply.lineErrors.empty();
    for (const std::string& line : reply.lineErrors) {
        result.message += "\r\n" + line;
        if (line.starts_with(kCompanyNotSet)) result.companyNotOpen = true;
        if (line.find(kAlreadyExists) == std::string::npos) onlyAlreadyExists = false;
    }
    if (form == RequestForm::Master && onlyAlreadyExists &&
        reply.errors <= reply.lineErrors.size() && reply.exceptions == 0) {
        result.outcome = Outcome::AlreadyInTally;
        result.message.clear();
        return result;
    }
    if (!reply.lineErrors.empty()) {
        result.outcome = Outcome::TallyError;
        return result;
    }
    if (reply.errors > 0 || reply.exceptions > 0) {
        result.outcome = Outcome::TallyError;
        result.message = "\r\nTally reported ";
        if (reply.errors > 0) result.message += Counted(reply.errors, "error", "errors");
        if (reply.errors > 0 && reply.exceptions > 0) result.message += " and ";
        if (reply.exceptions > 0)
            result.message += Counted(reply.exceptions, "exception", "exceptions");
        return result;
    }
    if (reply.created > 0 || reply.cancelled > 0) {
        result.outcome = Outcome::Accepted;
    } else if (reply.altered > 0 || reply.combined > 0) {
        result.outcome = Outcome::AlreadyInTally;
    } else {
        result.outcome = Outcome::TallyError;
        result.message = "\r\nTally reported nothing created, altered, combined or cancelled";
    }
    return result;
}

ExchangeResult ExchangeWithTally(TallyTransport& transport, const std::string& url,
                                 const std::string& request, RequestForm form,
                                 const std::atomic<bool>* stop, TextEncoding encoding) {
    const std::string to = url.empty() ? kDefaultUrl : url;
    if (encoding == TextEncoding::Utf8)
        return ClassifyExchange(transport.Post(to, request, kXmlUtf8, stop), form);
    return ClassifyExchange(
        transport.Post(to, EncodeRequest(request, encoding), ContentTypeOf(encoding), stop), form);
}

}  // namespace zentrail
