#pragma once

#include <cstdint>
#include <string>

namespace zentrail::sim {

// What importing one object of a TALLYMESSAGE did.
struct ImportOutcome {
    enum class Result { Created, Altered, Deleted, Cancelled, Ignored, Failed };
    Result result = Result::Failed;
    std::string error;      // the LINEERROR text when Failed
    int64_t masterId = 0;   // a created master
    int64_t voucherId = 0;  // a created voucher

    static ImportOutcome Failure(std::string text) {
        ImportOutcome outcome;
        outcome.error = std::move(text);
        return outcome;
    }
};

}  // namespace zentrail::sim
