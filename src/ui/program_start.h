#pragma once

#include <memory>
#include <optional>
#include <string>

#include "shell/session.h"
#include "tally/tally_transport.h"
#include "ui/main_window.h"

namespace zentrail::ui {

// Why the program could not start: a number and a description, as the operator is told.
struct StartUpFailure {
    long number = 0;
    std::string description;
    // What is wrong in plain words, shown above the number; may be empty.
    std::string headline{};
};

// Numbers of the failures that are not the database's.
inline constexpr long kConfigFileMissing = 2;     // --config names no file
inline constexpr long kConfigFileUnreadable = 1;  // the file exists but cannot be read
inline constexpr long kSettingsRejected = 3;      // a setting the program cannot work with

// A session's failure as the start-up box tells it.
StartUpFailure DescribeStartUpFailure(const SessionFailure& failure);

// "Error N: description", below the headline if there is one, as the start-up box shows it.
std::string StartUpFailureText(const StartUpFailure& failure);

// The desktop program once started: its session and its main window, which closes first.
struct StartedProgram {
    std::unique_ptr<Session> session;
    std::unique_ptr<frmMain> window;
};

// Start-up of the desktop program: reads the settings, then opens the source connection. On
// success `program` holds both and the main window (not yet shown), and the result is 0;
// otherwise the failure is shown in a message box and the result is the program's exit status.
int StartProgram(const std::optional<std::string>& configOption, TallyTransport& tally,
                 StartedProgram& program);

}  // namespace zentrail::ui
