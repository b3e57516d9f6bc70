#include "ui/program_start.h"

#include "app/program.h"
#include "shell/platform.h"
#include "shell/settings_check.h"
#include "ui/main_window.h"
#include "ui/message_box.h"

namespace zentrail::ui {

namespace {
constexpr int kStartUpFailed = 2;
}

std::filesystem::path ConfigFilePath(const std::optional<std::string>& option) {
    return option ? std::filesystem::path(*option) : platform::ProgramFolder() / "Config.txt";
}

std::optional<StartUpFailure> StartUp(const std::filesystem::path& configFile,
                                      Configuration& config, SourceDatabase& db) {
    try {
        config = ReadConfig(configFile);
    } catch (const ConfigError& e) {
        return StartUpFailure{kConfigFileUnreadable, e.what()};
    }
    // The windows export, so the settings must allow a transfer before anything is opened.
    if (std::optional<std::string> problem = CheckSettings(config, SettingsUse::kTransfer))
        return StartUpFailure{kSettingsRejected, *problem};
    try {
        db.OpenConnection(config);
    } catch (const DbError& e) {
        return StartUpFailure{e.Number(), "Cannot open the source database: " + e.Description()};
    }
    return std::nullopt;
}

std::string StartUpFailureText(const StartUpFailure& failure) {
    return "Error " + std::to_string(failure.number) + ": " + failure.description;
}

int StartProgram(const std::optional<std::string>& configOption, TallyTransport& tally,
                 std::unique_ptr<frmMain>& window) {
    std::filesystem::path configFile = ConfigFilePath(configOption);
    std::optional<StartUpFailure> failure;
    // A file named on the command line must be there; without the option a missing file means
    // the defaults.
    if (configOption && !std::filesystem::exists(configFile))
        failure = StartUpFailure{kConfigFileMissing,
                                 "Configuration file not found: " + configFile.string()};
    else
        failure = StartUp(configFile, ProgramConfig(), ProgramDatabase());
    if (failure) {
        MessageBox::Critical(nullptr, "Zentrail",
                             QString::fromStdString(StartUpFailureText(*failure)));
        return kStartUpFailed;
    }
    ScreenContext context{ProgramConfig(), ProgramDatabase(), tally,
                          std::filesystem::absolute(configFile).parent_path()};
    window = std::make_unique<frmMain>(context);
    return 0;
}

}  // namespace zentrail::ui
