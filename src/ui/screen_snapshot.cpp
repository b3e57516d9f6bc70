#include "ui/screen_snapshot.h"

namespace zentrail::ui {

void SnapshotObserver::Changed(ScreenControl control) {
    // The screen's fields are read here, on the thread that has just changed them.
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
        case ScreenControl::Log:
            // Added text arrives through Logged; only an emptied log needs telling here.
            if (screen_.txtLog.empty()) {
                pending_.logCleared = true;
                pending_.logAdded.clear();
            }
            break;
        case ScreenControl::FrameCaption:
            pending_.frameCaption = true;
            pending_.frameCaptionText = screen_.fraPrg;
            break;
        case ScreenControl::Progress:
            pending_.progress = true;
            pending_.progressBar = screen_.prgBar;
            break;
        case ScreenControl::ItemLabel:
            pending_.item = true;
            pending_.itemText = screen_.lblScreen;
            break;
        case ScreenControl::CurrentCount:
            pending_.currentCount = true;
            pending_.currentCountText = screen_.lblRecCurr;
            break;
        case ScreenControl::TotalCount:
            pending_.totalCount = true;
            pending_.totalCountText = screen_.lblRecReads;
            break;
        case ScreenControl::Busy:
            break;
    }
}

void SnapshotObserver::Logged(const std::string& text) {
    std::lock_guard lock(mutex_);
    pending_.logAdded += text;
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
