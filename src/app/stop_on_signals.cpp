#include "app/stop_on_signals.h"

#include <chrono>
#include <csignal>

namespace zentrail::cli {

namespace {

// A handler may only set a lock-free flag; the watcher thread acts on it.
std::atomic<bool> gSignalled{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnStopSignal(int) { gSignalled.store(true); }

// How often the watcher looks at the flag: short beside a person's patience.
constexpr std::chrono::milliseconds kLook{20};

}  // namespace

StopOnSignals::StopOnSignals(std::function<void()> stop) : stop_(std::move(stop)) {
    gSignalled = false;
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    watcher_ = std::thread([this] { Watch(); });
}

StopOnSignals::~StopOnSignals() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
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
