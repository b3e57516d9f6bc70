#pragma once

#include <string>

#include "tally/reply_encoding.h"
#include "tally/tally_transport.h"

namespace zentrail {

// How one request to Tally ended.
enum class Outcome {
    Accepted,        // Tally created (or cancelled) it
    AlreadyInTally,  // Tally altered what it held, or already holds the master
    TallyError,      // sent; Tally refused it or reported errors
    Difference,      // sent and accepted, but its amount differs from the source's total
    NotSent,         // Tally certainly did not get it: refused, never sent, or not built
    Unconfirmed,     // it went out, but no reply said what Tally did with it
    Skipped,         // left out by the document's own rules (a net of 0 or less ...)
    Stopped,         // not sent because the run was stopped
    Saved,           // written to a file only; no Tally was asked
};

// The text an operator reads for an outcome ("accepted", "sent with Tally errors" ...).
const char* OutcomeText(Outcome outcome);
// Accepted or already in Tally.
bool IsAccepted(Outcome outcome);

// Tally's import counters of one reply.
struct ImportCounters {
    double created = 0, altered = 0, combined = 0, cancelled = 0, errors = 0, exceptions = 0;
    bool operator==(const ImportCounters&) const = default;
};

struct ExchangeResult {
    Outcome outcome = Outcome::NotSent;
    // What Tally counted, when its reply was an import result.
    ImportCounters counters{};
    // Tally's error lines, each preceded by CR LF, or what Tally or the transport reported.
    std::string message;
    // Not sent for a transport reason (no connection, time-out, connection lost).
    bool transportFailure = false;
    // Tally answered that it could not read the request at all ("Unknown Request").
    bool unreadableRequest = false;
    // Tally could not select the company named in the request: not open, or named otherwise.
    bool companyNotOpen = false;
    // The caller's stop ended the exchange; the outcome says whether the request went out.
    bool stopped = false;
    // The request could not be written to its file: no later one can be either.
    bool notSaved = false;
};

// A master request may meet masters Tally already holds: "already exists" is then no error.
enum class RequestForm { Master, Voucher };

// Classifies one exchange: a voucher is accepted only when the reply has no error line,
// ERRORS and EXCEPTIONS are 0 and Tally created, altered, combined or cancelled something; a
// master also when every error line says "already exists". The reply is read in whichever of
// UTF-8 and UTF-16 it comes. "Unknown Request" means Tally could not read the request. Any other
// reply that is not an import result, or an HTTP status other than 200, means the request was
// not taken in.
ExchangeResult ClassifyExchange(const HttpResult& http, RequestForm form);

// Posts one request through `transport`, in `encoding`, and classifies it.
ExchangeResult ExchangeWithTally(TallyTransport& transport, const std::string& url,
                                 const std::string& request, RequestForm form,
                                 const std::atomic<bool>* stop,
                                 TextEncoding encoding = TextEncoding::Utf8);

}  // namespace zentrail
