#pragma once

#include <string>

namespace zentrail {

// The parts of a transfer screen a view shows; each notification asks the view to refresh one.
enum class ScreenControl {
    Title,
    Dates,
    GridColumns,
    GridRows,
    GridCaption,
    Log,
    FrameCaption,  // fraPrg
    Progress,      // prgBar
    ItemLabel,     // lblScreen
    CurrentCount,  // lblRecCurr
    TotalCount,    // lblRecReads
    Busy,          // the hourglass
};

struct ScreenMessage {
    enum class Icon { Information, Critical };
    Icon icon = Icon::Information;
    std::string title;
    std::string text;
};

// Implemented by whatever shows a screen: a window, the command line, a test.
class ScreenObserver {
public:
    virtual ~ScreenObserver() = default;
    virtual void Changed(ScreenControl /*control*/) {}
    // Text added to the log, as it is added.
    virtual void Logged(const std::string& /*text*/) {}
    // Modal message; returns when the operator has closed it.
    virtual void ShowMessage(const ScreenMessage& /*message*/) {}
    // Asked between two requests of an export: true ends the run there. (A view on another
    // thread calls TransferScreen::RequestStop instead, which also ends a request in progress.)
    virtual bool StopRequested() { return false; }
    // The screen asks to be closed (Exit).
    virtual void CloseRequested() {}
};

}  // namespace zentrail
