#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrail {

// What a Tally reply says, read from its text.
struct TallyReply {
    bool wellFormed = false;                // the text parsed as XML
    bool importResult = false;              // it holds a LINEERROR or an import counter
    bool unknownRequest = false;            // "Unknown Request, cannot be processed"
    std::vector<std::string> lineErrors;    // every LINEERROR text in document order
    std::vector<std::string> alteredTexts;  // every ALTERED text in document order
    // The import counters, each summed over the reply (a combined request may hold several).
    double created = 0, altered = 0, combined = 0, cancelled = 0, errors = 0, exceptions = 0;
};

TallyReply ParseTallyReply(std::string_view text);

// The first `limit` characters of a reply, for messages that quote it.
std::string QuoteReply(std::string_view text, size_t limit = 200);

}  // namespace zentrail
