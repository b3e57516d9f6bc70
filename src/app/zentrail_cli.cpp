// zentrail-cli: lists or transfers the documents of one screen, for scheduled runs and tests.
#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>

#include "app/cli_progress.h"
#include "common/csv.h"
#include "screens/screen_registry.h"
#include "shell/platform.h"
#include "shell/session.h"
#include "shell/settings_check.h"
#include "tally/http_client.h"

namespace {

constexpr int kExitClean = 0;
constexpr int kExitProblems = 1;
constexpr int kExitUsage = 2;

// Ctrl+C and SIGTERM stop the running export; the run still ends with its log and counts.
std::atomic<bool>* gStopFlag = nullptr;
extern "C" void OnStopSignal(int) {
    if (gStopFlag != nullptr) gStopFlag->store(true);
}

void PrintGrid(const zentrail::TransferGrid& grid) {
    std::string line(zentrail::kCsvByteOrderMark);
    for (size_t c = 0; c < grid.ColumnCount(); ++c)
        line += (c ? "," : "") + zentrail::CsvField(grid.FieldName(c));
    std::cout << line << "\n";
    for (size_t r = 0; r < grid.RowCount(); ++r) {
        line.clear();
        for (size_t c = 0; c < grid.ColumnCount(); ++c)
            line += (c ? "," : "") + zentrail::CsvField(grid.Text(r, c));
        std::cout << line << "\n";
    }
}

int Fail(const std::string& message) {
    std::cerr << "zentrail-cli: " << message << "\n";
    return kExitUsage;
}

// The screens of the registration table by name, the built ones first:
// "item, sales (built); purchase, ... (not built yet)".
std::string ScreenList() {
    std::string built, notBuilt;
    for (const zentrail::MenuEntry* entry : zentrail::TransferScreens()) {
        std::string& list = entry->Built() ? built : notBuilt;
        list += (list.empty() ? "" : ", ") + std::string(entry->cliName);
    }
    return built + " (built)" + (notBuilt.empty() ? "" : "; " + notBuilt + " (not built yet)");
}

// A session that could not start, as the command line words it.
std::string FailureText(const zentrail::SessionFailure& failure, const std::string& configPath) {
    using Step = zentrail::SessionFailure::Step;
    switch (failure.step) {
        case Step::kConfigMissing:
            return "configuration file not found: " + configPath;
        case Step::kSourceNotOpened:
            return "cannot open the source database " + zentrail::ShownSource(failure.source) +
                   ": error " + std::to_string(failure.dbError) + ": " + failure.detail;
        case Step::kConfigUnreadable:
        case Step::kSettingsRejected:
            break;
    }
    return failure.detail;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Zentrail: transfers the documents of the distributor database into Tally"};
    app.require_subcommand(1);
    app.fallthrough();  // global options may also follow the subcommand
    app.set_version_flag("--version", std::string("zentrail-cli ") + ZENTRAIL_VERSION);
    std::string configPath;
    app.add_option("--config", configPath,
                   "configuration file (default: Config.txt beside the program)");

    std::string screenName;
    std::string from;
    std::string to;
    const std::string screens = ScreenList();
    app.footer(
        "SCREEN: " + screens +
        ".\nThe dates (--from, --to; YYYY-MM-DD) default to today.\n"
        "Exit status: 0 every listed document and every master accepted (or skipped by the "
        "document's rules) with no difference and the run report whole, 1 otherwise, 2 usage, "
        "configuration or database error.");
    auto addScreenOptions = [&](CLI::App* command) {
        command->add_option("SCREEN", screenName, screens)->required();
        command->add_option("--from", from, "first day, YYYY-MM-DD (default: today)");
        command->add_option("--to", to, "last day, YYYY-MM-DD (default: today)");
    };
    CLI::App* getdata = app.add_subcommand("getdata", "list the documents of the range as CSV");
    CLI::App* exportCmd = app.add_subcommand("export", "list, then transfer them to Tally");
    addScreenOptions(getdata);
    addScreenOptions(exportCmd);
    // Fault switch for trying a full disk by hand: the run report takes only this many bytes.
    std::optional<size_t> reportCapacity;
    exportCmd->add_option("--report-capacity", reportCapacity)->group("");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        int code = app.exit(e);
        return code == 0 ? kExitClean : kExitUsage;
    }

    if (zentrail::FindScreen(screenName) == nullptr)
        return Fail("unknown screen '" + screenName + "'; the screens are " + screens);
    std::optional<zentrail::CalendarDate> fromDate = zentrail::CalendarDate::Today();
    std::optional<zentrail::CalendarDate> toDate = fromDate;
    if (!from.empty() && !(fromDate = zentrail::CalendarDate::FromIso(from)))
        return Fail("--from is not a date of the form YYYY-MM-DD: " + from);
    if (!to.empty() && !(toDate = zentrail::CalendarDate::FromIso(to)))
        return Fail("--to is not a date of the form YYYY-MM-DD: " + to);
    const auto dayNumber = [](const zentrail::CalendarDate& d) {
        return d.year * 10000 + d.month * 100 + d.day;
    };
    if (dayNumber(*fromDate) > dayNumber(*toDate))
        return Fail("the first day " + fromDate->DisplayText() +
                    " (--from) is after the last day " + toDate->DisplayText() + " (--to)");

    zentrail::SessionOptions options;
    if (!configPath.empty()) options.configFile = configPath;
    options.use =
        exportCmd->parsed() ? zentrail::SettingsUse::kTransfer : zentrail::SettingsUse::kSourceOnly;
    options.configRead = [](const std::filesystem::path& file, bool found) {
        std::cerr << "zentrail-cli: "
                  << (found ? "configuration read from " + file.string()
                            : "no configuration file at " + file.string() + "; the defaults apply")
                  << "\n";
    };
    zentrail::SessionStart start = zentrail::StartSession(options);
    if (start.failure) return Fail(FailureText(*start.failure, configPath));
    zentrail::Session& session = *start.session;

    zentrail::HttpClient tally;
    zentrail::ScreenContext context{session.config, session.db, tally, session.ReportFolder()};
    context.reportCapacity = reportCapacity;
    auto screen = zentrail::CreateScreen(screenName, context);
    if (!screen) return Fail("the " + screenName + " screen is not built yet");
    zentrail::CliProgress progress(*screen, stderr, zentrail::platform::IsTerminal(stderr));
    screen->SetObserver(&progress);
    screen->Load();
    screen->SetDates(*fromDate, *toDate);
    screen->cmdGetData_Click();
    progress.Finish();
    if (screen->GetDataFailed()) return Fail("Get Data failed:" + screen->txtLog);
    if (getdata->parsed()) {
        PrintGrid(screen->ssdbgItem);
        return kExitClean;
    }
    gStopFlag = &screen->StopFlag();
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    progress.PrintLogAsItGoes(stdout);
    screen->cmdExport_Click();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    gStopFlag = nullptr;
    progress.Finish();
    progress.PrintMessages();
    const zentrail::RunCounts& run = screen->LastRun();
    // A report that could not be written is the run's fault, not the settings'.
    if (run.failed && run.reportError.empty()) return kExitUsage;
    return run.Clean() ? kExitClean : kExitProblems;
}
