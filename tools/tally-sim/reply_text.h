#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zentrail::sim {

// Tally's counters of one import request.
struct ImportCounters {
    int64_t created = 0;
    int64_t altered = 0;
    int64_t deleted = 0;
    int64_t lastVoucherId = 0;
    int64_t lastMasterId = 0;
    int64_t combined = 0;
    int64_t ignored = 0;
    int64_t errors = 0;
    int64_t cancelled = 0;
    int64_t exceptions = 0;
};

// "<RESPONSE>TallyPrime Server is Running</RESPONSE>", the answer to an empty request.
std::string RunningReply();
// The answer to a body that is not an import request.
std::string UnknownRequestReply();
// The answer to a request for a company other than the loaded one.
std::string CompanyReply(std::string_view company);
// The result of an import: the line errors in request order, then the counters, one element
// per line, each indented by one blank.
std::string ImportReply(const std::vector<std::string>& lineErrors, const ImportCounters& counters);

// How the server answers: the bare RESPONSE of current releases or the older envelope with an
// IMPORTRESULT, in UTF-8 or in UTF-16 (little-endian, with its byte-order mark).
enum class ReplyShape { Response, Envelope };
enum class ReplyEncoding { Utf8, Utf16 };

// An import reply (as ImportReply writes it) inside the envelope; any other reply unchanged.
std::string ImportReplyInEnvelope(std::string_view reply);

// Text made safe for an XML element: the five special characters as entities, and control
// characters that XML cannot carry as character references.
std::string EscapeReplyText(std::string_view text);

}  // namespace zentrail::sim
