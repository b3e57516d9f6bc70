#include "app/stop_on_signals.h"

#include <chrono>

#include "shell/platform.h"

namespace zentrail::cli {

namespace {

// A handler may only set a lock-free flag; the watcher thread acts on it.
std::atomic<bool> gSignalled{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void OnStopRequest() { gSignalled.store(true); }

// How often the watcher looks at the flag: short beside a person's patience.
constexpr std::chrono::milliseconds kLook{20};

}  // namespace

StopOnSignals::StopOnSignals(std::function<void()> stop) : stop_(std::move(stop)) {
    gSignalled = false;
    platform::CatchStopRequests(OnStopRequest);
    watcher_ = std::thread([this] { Watch(); });
}

StopOnSignals::~StopOnSignals() {
    platform::ReleaseStopRequests();
    {
        const std::lock_guard lock(mutex_);
        ended_ = true;
    }
    ending_.notify_all();
    watcher_.join();
}

bool StopOnSignals::Signalled() const { return gSignalled; }

void StopOnSignals::Watch() {
    std::unique_lock lock(mutex_);
    while (!ending_.wait_for(lock, kLook, [this] { return ended_; })) {
        if (gSignalled) {
            stop_();
            return;
        }
    }
}

}  // namespace zentrail::cli
