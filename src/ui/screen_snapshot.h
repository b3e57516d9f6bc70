#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "screens/screen_observer.h"
#include "screens/transfer_screen.h"

namespace zentrail::ui {

// What changed on a screen since the view last looked: the values themselves, copied on the
// thread that changed them, so the view never reads the screen while a run changes it.
struct ScreenChanges {
    bool title = false;
    bool dates = false;
    bool grid = false;  // columns or rows: the view reads the grid once the run is over
    bool gridCaption = false;
    bool logCleared = false;  // the log was emptied before `logAdded` was added
    bool closeRequested = false;

    std::string titleText;
    CalendarDate from;
    CalendarDate to;
    std::string gridCaptionText;
    std::optional<Progress> progress;  // the latest, when it changed
    std::vector<LogRecord> logAdded;
    std::vector<ScreenMessage> messages;  // shown by the view, in order, when the run is over
};

// Collects a screen's notifications under a lock. The screen calls it on whatever thread runs
// the handler; the view takes the collected changes on its own thread, as often as it likes, so
// many notifications cost the view one refresh.
class SnapshotObserver : public ScreenObserver {
public:
    explicit SnapshotObserver(const TransferScreen& screen) : screen_(screen) {}

    void Changed(ScreenControl control) override;
    void ProgressChanged(const Progress& progress) override;
    void Logged(const LogRecord& record) override;
    void ShowMessage(const ScreenMessage& message) override;
    void CloseRequested() override;

    // The changes collected since the last call; they are cleared.
    ScreenChanges Take();

private:
    const TransferScreen& screen_;
    std::mutex mutex_;
    ScreenChanges pending_;
};

}  // namespace zentrail::ui
