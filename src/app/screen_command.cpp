#include "app/screen_command.h"

#include <iostream>

#include "app/stop_on_signals.h"
#include "screens/screen_registry.h"
#include "shell/platform.h"
#include "shell/settings_check.h"

namespace zentrail::cli {

namespace {

// A session that could not start, as the command line words it.
std::string FailureText(const SessionFailure& failure, const std::string& configPath) {
    using Step = SessionFailure::Step;
    switch (failure.step) {
        case Step::kConfigMissing:
            return "configuration file not found: " + configPath;
        case Step::kSourceNotOpened:
            return failure.headline + "\nerror " + std::to_string(failure.dbError) + ": " +
                   failure.detail;
        case Step::kConfigUnreadable:
        case Step::kSettingsRejected:
            break;
    }
    return failure.detail;
}

void TellWhereTheConfigurationCameFrom(const std::filesystem::path& file, bool found) {
    std::cerr << "zentrail-cli: "
              << (found ? "configuration read from " + file.string()
                        : "no configuration file at " + file.string() + "; the defaults apply")
              << "\n";
}

int DayNumber(const CalendarDate& d) { return d.year * 10000 + d.month * 100 + d.day; }

}  // namespace

std::string ScreenList() {
    std::string list;
    for (const MenuEntry* entry : TransferScreens())
        list += (list.empty() ? "" : ", ") + std::string(entry->cliName);
    return list;
}

void ScreenCommand::AddOptions(CLI::App& command) {
    command.add_option("SCREEN", screenName_, ScreenList())->required();
    command.add_option("--from", from_, "first day, YYYY-MM-DD (default: today)");
    command.add_option("--to", to_, "last day, YYYY-MM-DD (default: today)");
}

int ScreenCommand::Execute(const GlobalOptions& global) {
    if (FindScreen(screenName_) == nullptr)
        return Fail("unknown screen '" + screenName_ + "'; the screens are " + ScreenList());
    std::optional<CalendarDate> fromDate = CalendarDate::Today();
    std::optional<CalendarDate> toDate = fromDate;
    if (!from_.empty() && !(fromDate = CalendarDate::FromIso(from_)))
        return Fail("--from is not a date of the form YYYY-MM-DD: " + from_);
    if (!to_.empty() && !(toDate = CalendarDate::FromIso(to_)))
        return Fail("--to is not a date of the form YYYY-MM-DD: " + to_);
    if (DayNumber(*fromDate) > DayNumber(*toDate))
        return Fail("the first day " + fromDate->DisplayText() +
                    " (--from) is after the last day " + toDate->DisplayText() + " (--to)");

    SessionOptions options;
    if (!global.configPath.empty()) options.configFile = global.configPath;
    options.use = Use();
    options.configRead = TellWhereTheConfigurationCameFrom;
    SessionStart start = StartSession(options);
    if (start.failure) return Fail(FailureText(*start.failure, global.configPath));
    Session& session = *start.session;

    HttpClient tally;
    ScreenContext context{session.config, session.db, tally, session.ReportFolder()};
    context.journalPath = session.JournalPath();
    context.configFile = std::filesystem::absolute(session.configFile);
    Prepare(context);
    std::unique_ptr<TransferScreen> screen = CreateScreen(screenName_, context);
    CliProgress progress(stderr, platform::IsTerminal(stderr));
    screen->SetObserver(&progress);
    screen->Load();
    screen->SetDates(*fromDate, *toDate);
    {
        StopOnSignals stop([&screen] { screen->RequestStop(); });
        screen->GetData();
    }
    progress.Finish();
    if (screen->GetDataStopped()) {
        std::cerr << "zentrail-cli: Get Data stopped\n";
        return kExitStopped;
    }
    if (screen->GetDataFailed()) return Fail("Get Data failed:" + screen->LogText());
    return Run(*screen, progress);
}

}  // namespace zentrail::cli
