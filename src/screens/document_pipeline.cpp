#include "screens/document_pipeline.h"

#include <stdexcept>

#include "shell/platform.h"

namespace zentrail {

DocumentPipeline::DocumentPipeline(size_t rows, size_t ahead, Build build, Cancel cancel)
    : rows_(rows), ahead_(ahead), build_(std::move(build)), cancel_(std::move(cancel)) {
    if (ahead_ > 0)
        builder_ = std::thread([this] {
            // Building ahead fills the time the sender waits for Tally, and gives way when it is
            // answered.
            platform::LowerThisThreadsPriority();
            BuildAhead();
        });
}

DocumentPipeline::~DocumentPipeline() {
    bool building = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
        building = builder_.joinable() && !builderDone_;
    }
    changed_.notify_all();
    if (building && cancel_) cancel_();
    if (builder_.joinable()) builder_.join();
}

DocumentPipeline::Slot DocumentPipeline::Make(size_t row) {
    Slot slot;
    try {
        slot.built = build_(row);
    } catch (...) {
        slot.failure = std::current_exception();
    }
    return slot;
}

void DocumentPipeline::BuildAhead() {
    struct Done {
        DocumentPipeline& pipeline;
        ~Done() {
            const std::lock_guard<std::mutex> lock(pipeline.mutex_);
            pipeline.builderDone_ = true;
        }
    } done{*this};
    for (size_t row = 0; row < rows_; ++row) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            // Once full, the builder waits until half is taken: the two threads then trade the
            // processor once every few documents rather than at each.
            if (ready_.size() >= ahead_)
                changed_.wait(lock, [&] { return closing_ || ready_.size() <= RefillBelow(); });
            if (closing_) return;
        }
        Slot slot = Make(row);
        const bool failed = slot.failure != nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ready_.push_back(std::move(slot));
        }
        changed_.notify_all();
        if (failed) return;
    }
}

BuiltDocument DocumentPipeline::Next() {
    if (failed_ || taken_ >= rows_) throw std::logic_error("no further document to build");
    Slot slot;
    if (ahead_ == 0) {
        slot = Make(taken_);
    } else {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return !ready_.empty(); });
        slot = std::move(ready_.front());
        ready_.pop_front();
        const bool refill = ready_.size() <= RefillBelow();
        lock.unlock();
        if (refill) changed_.notify_all();
    }
    ++taken_;
    if (slot.failure) {
        failed_ = true;
        std::rethrow_exception(slot.failure);
    }
    return std::move(slot.built);
}

}  // namespace zentrail
