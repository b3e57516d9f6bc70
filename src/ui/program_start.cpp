#include "ui/program_start.h"

#include "ui/main_menu.h"
#include "ui/message_box.h"

namespace zentrail::ui {

namespace {
constexpr int kStartUpFailed = 2;
}

StartUpFailure DescribeStartUpFailure(const SessionFailure& failure) {
    using Step = SessionFailure::Step;
    switch (failure.step) {
        case Step::kConfigMissing:
            return {kConfigFileMissing, "Configuration file not found: " + failure.detail};
        case Step::kConfigUnreadable:
            return {kConfigFileUnreadable, failure.detail};
        case Step::kSettingsRejected:
            return {kSettingsRejected, failure.detail};
        case Step::kSourceNotOpened:
            return {failure.dbError, failure.detail, failure.headline};
    }
    return {0, failure.detail};
}

std::string StartUpFailureText(const StartUpFailure& failure) {
    const std::string numbered =
        "Error " + std::to_string(failure.number) + ": " + failure.description;
    return failure.headline.empty() ? numbered : failure.headline + "\n" + numbered;
}

int StartProgram(const std::optional<std::string>& configOption, TallyTransport& tally,
                 StartedProgram& program) {
    SessionOptions options;
    if (configOption) options.configFile = *configOption;
    // The windows export, so the settings must allow a transfer before anything is opened.
    options.use = SettingsUse::kTransfer;
    SessionStart start = StartSession(options);
    if (start.failure) {
        MessageBox::Critical(
            nullptr, "Zentrail",
            QString::fromStdString(StartUpFailureText(DescribeStartUpFailure(*start.failure))));
        return kStartUpFailed;
    }
    program.session = std::move(start.session);
    Session& session = *program.session;
    ScreenContext context{session.config, session.db, tally, session.ReportFolder()};
    context.journalPath = session.JournalPath();
    context.configFile = std::filesystem::absolute(session.configFile);
    program.window = std::make_unique<frmMain>(context);
    AddMainMenu(*program.window, session.configFile);
    return 0;
}

}  // namespace zentrail::ui
