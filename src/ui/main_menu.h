#pragma once

#include <filesystem>

#include "ui/settings_dialog.h"

namespace zentrail::ui {

class frmMain;

// Gives the main window its menu bar: File with Settings…, Open run reports folder and Exit, and
// Help with About. `configFile` is the file the settings dialog edits; the run reports are in
// the "runs" folder beside it. `tests` is how the dialog's connection tests work.
void AddMainMenu(frmMain& window, const std::filesystem::path& configFile,
                 SettingsTestOptions tests = {});

// The "runs" folder beside the configuration file, made when missing. Throws
// std::filesystem::filesystem_error when it cannot be made.
std::filesystem::path RunReportsFolder(const std::filesystem::path& configFile);

}  // namespace zentrail::ui
