#include "ui/screen_snapshot.h"

namespace zentrail::ui {

void SnapshotObserver::Changed(ScreenControl control) {
    // The controls told of are read here, on the thread that has just changed them.
    std::lock_guard lock(mutex_);
    switch (control) {
        case ScreenControl::Title:
            pending_.title = true;
            pending_.titleText = screen_.title;
            break;
        case ScreenControl::Dates:
            pending_.dates = true;
            pending_.from = screen_.dtpFrom;
            pending_.to = screen_.dtpTo;
            break;
        case ScreenControl::GridColumns:
        case ScreenControl::GridRows:
            pending_.grid = true;
            break;
        case ScreenControl::GridCaption:
            pending_.gridCaption = true;
            pending_.gridCaptionText = screen_.ssdbgItem.caption;
            break;
        case ScreenControl::LogCleared:
            pending_.logCleared = true;
            pending_.logAdded.clear();
            break;
        case ScreenControl::Busy:
            break;
    }
}

void SnapshotObserver::ProgressChanged(const Progress& progress) {
    std::lock_guard lock(mutex_);
    pending_.progress = progress;
}

void SnapshotObserver::Logged(const LogRecord& record) {
    std::lock_guard lock(mutex_);
    pending_.logAdded.push_back(record);
}

void SnapshotObserver::ShowMessage(const ScreenMessage& message) {
    std::lock_guard lock(mutex_);
    pending_.messages.push_back(message);
}

void SnapshotObserver::CloseRequested() {
    std::lock_guard lock(mutex_);
    pending_.closeRequested = true;
}

ScreenChanges SnapshotObserver::Take() {
    std::lock_guard lock(mutex_);
    ScreenChanges taken = std::move(pending_);
    pending_ = ScreenChanges{};
    return taken;
}

}  // namespace zentrail::ui
