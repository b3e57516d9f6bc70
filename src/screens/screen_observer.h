#pragma once

#include <chrono>
#include <string>

namespace zentrail {

// The parts of a transfer screen a view reads when told; progress and log come as values.
enum class ScreenControl {
    Title,
    Dates,
    GridColumns,
    GridRows,
    GridCaption,
    LogCleared,
    Busy,  // the hourglass
};

// Where a screen's work stands, as its progress frame shows it.
struct Progress {
    long current = 0;        // the bar's value, from 0 to `total`
    long total = 100;        // the bar's maximum
    std::string caption{};   // the step under way: the frame's caption
    std::string document{};  // what the step works on: a document, a master, a column
    long handled = 0;        // documents that reached Tally: "Current Record"
    long listed = 0;         // rows of the step: "Total Records"
    bool operator==(const Progress&) const = default;
};

// One line of a screen's log.
struct LogRecord {
    enum class Kind { Info, Warning, Error };
    long id = 0;  // 1, 2, ... within the screen's life
    std::chrono::system_clock::time_point time{};
    Kind kind = Kind::Info;
    std::string text{};      // one or more lines
    std::string document{};  // the document or master it is about; empty for the run
};

// The record as the log shows it: on a line of its own, followed by its document.
std::string LogLine(const LogRecord& record);

struct ScreenMessage {
    enum class Icon { Information, Critical };
    Icon icon = Icon::Information;
    std::string title;
    std::string text;
    std::string reportPath{};  // the run report the message closes, when there is one
};

// Implemented by whatever shows a screen: a window, the command line, a test.
class ScreenObserver {
public:
    virtual ~ScreenObserver() = default;
    virtual void Changed(ScreenControl /*control*/) {}
    // The progress after every change of it, on the thread that changed it.
    virtual void ProgressChanged(const Progress& /*progress*/) {}
    // A record added to the log, as it is added.
    virtual void Logged(const LogRecord& /*record*/) {}
    // Modal message; returns when the operator has closed it.
    virtual void ShowMessage(const ScreenMessage& /*message*/) {}
    // Asked between two requests of an export: true ends the run there. (A view on another
    // thread calls TransferScreen::RequestStop instead, which also ends a request in progress.)
    virtual bool StopRequested() { return false; }
    // The screen asks to be closed (Exit).
    virtual void CloseRequested() {}
};

}  // namespace zentrail
