#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "shell/configuration.h"
#include "shell/source_database.h"
#include "tally/tally_transport.h"

namespace zentrail::ui {

class frmMain;

// Why the program could not start: a number and a description, as the operator is told.
struct StartUpFailure {
    long number = 0;
    std::string description;
};

// Numbers of the failures that are not the database's.
inline constexpr long kConfigFileMissing = 2;     // --config names no file
inline constexpr long kConfigFileUnreadable = 1;  // the file exists but cannot be read
inline constexpr long kSettingsRejected = 3;      // a setting the program cannot work with

// The configuration file: `option` when given, else Config.txt in the program folder.
std::filesystem::path ConfigFilePath(const std::optional<std::string>& option);

// Reads the settings, then opens the source connection, in this order; nothing when both worked.
std::optional<StartUpFailure> StartUp(const std::filesystem::path& configFile,
                                      Configuration& config, SourceDatabase& db);

// "Error N: description", as the start-up box shows it.
std::string StartUpFailureText(const StartUpFailure& failure);

// Start-up of the desktop program: on success `window` holds the main window (not yet shown)
// and the result is 0; otherwise the failure is shown in a message box and the result is the
// program's exit status.
int StartProgram(const std::optional<std::string>& configOption, TallyTransport& tally,
                 std::unique_ptr<frmMain>& window);

}  // namespace zentrail::ui
