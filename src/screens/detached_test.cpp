#include "screens/detached_test.h"

#include <exception>
#include <mutex>
#include <thread>

namespace zentrail {

struct DetachedTest::State {
    mutable std::mutex lock;
    std::optional<ConnectionTestResult> result;
};

DetachedTest::DetachedTest(std::function<ConnectionTestResult()> test)
    : state_(std::make_shared<State>()) {
    std::thread([state = state_, test = std::move(test)] {
        ConnectionTestResult result;
        try {
            result = test();
        } catch (const std::exception& e) {
            result = {false, e.what()};
        }
        std::lock_guard<std::mutex> hold(state->lock);
        state->result = std::move(result);
    }).detach();
}

std::optional<ConnectionTestResult> DetachedTest::Result() const {
    std::lock_guard<std::mutex> hold(state_->lock);
    return state_->result;
}

}  // namespace zentrail
