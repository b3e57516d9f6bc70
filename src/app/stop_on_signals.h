#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace zentrail::cli {

// While it lives, a stop asked by the operator (Ctrl+C, SIGTERM, a closed console) calls `stop`
// once, on a thread of its own, so that `stop` may do what a signal handler may not (interrupt a
// running query). One at a time.
class StopOnSignals {
public:
    explicit StopOnSignals(std::function<void()> stop);
    ~StopOnSignals();
    StopOnSignals(const StopOnSignals&) = delete;
    StopOnSignals& operator=(const StopOnSignals&) = delete;

    // Whether a stop signal came.
    bool Signalled() const;

private:
    void Watch();

    std::function<void()> stop_;
    std::mutex mutex_;
    std::condition_variable ending_;
    bool ended_ = false;
    std::thread watcher_;
};

}  // namespace zentrail::cli
