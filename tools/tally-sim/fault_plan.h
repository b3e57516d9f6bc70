#pragma once

#include <atomic>
#include <cstdint>

namespace zentrail::sim {

// The misbehaviour asked for on the command line; every switch is off at 0.
struct FaultOptions {
    int64_t delayMs = 0;       // answer each request after this many milliseconds
    int64_t dropEvery = 0;     // every Nth request: close the connection without a reply
    int64_t garbageEvery = 0;  // every Nth request: answer a body that is not XML
    int64_t maxRequests = 0;   // stop after this many requests
};

// The body of a garbage answer: not XML at all.
inline constexpr const char* kGarbageReply = "Fault injected by tally-sim: this is not XML <<<";

// Decides, request by request, what happens to each import request. Thread-safe.
class FaultPlan {
public:
    enum class Fate {
        Answer,   // handle it and answer
        Drop,     // close the connection, leave the books alone
        Garbage,  // answer garbage, leave the books alone
        Refuse    // the request limit was reached before it: close the connection
    };
    struct Decision {
        Fate fate = Fate::Answer;
        bool last = false;  // the server stops once this request is done
        int64_t number = 0;
    };

    explicit FaultPlan(FaultOptions options) : options_(options) {}
    const FaultOptions& Options() const { return options_; }
    Decision Next();

private:
    FaultOptions options_;
    std::atomic<int64_t> count_{0};
};

}  // namespace zentrail::sim
