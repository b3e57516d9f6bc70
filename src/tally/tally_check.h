#pragma once

#include <atomic>
#include <string>

#include "tally/tally_transport.h"

namespace zentrail {

// Whether Tally answers at an address, asked as its own clients ask: with a plain GET.
struct TallyCheck {
    enum class Status {
        Running,     // Tally answered
        NotRunning,  // nothing listens at the address: no request can reach Tally
        Unexpected,  // something answered or broke off otherwise; requests may still get through
        Stopped,     // the caller's stop ended the check
        NoTally,     // the requests go elsewhere (files only): there is no Tally to ask
    };
    Status status = Status::Unexpected;
    std::string answer;       // the reply as text, when one came
    std::string description;  // what went wrong, when Tally did not answer as expected
};

TallyCheck CheckTally(TallyTransport& transport, const std::string& url,
                      const std::atomic<bool>* stop);

}  // namespace zentrail
