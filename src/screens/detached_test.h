#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "screens/connection_tests.h"

namespace zentrail {

// One connection test on a thread of its own, which the caller polls. Nobody waits for the
// thread: a test that hangs in a driver is left to end by itself, and its late result is dropped
// with the last owner of the shared state.
class DetachedTest {
public:
    // Starts `test`; an exception it throws becomes a failed result with its message.
    explicit DetachedTest(std::function<ConnectionTestResult()> test);

    // The result once the test has ended; nothing while it runs.
    std::optional<ConnectionTestResult> Result() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace zentrail
