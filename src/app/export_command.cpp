#include "app/export_command.h"

#include "app/stop_on_signals.h"

namespace zentrail::cli {

void ExportCommand::AddOptions(CLI::App& command) {
    ScreenCommand::AddOptions(command);
    // Fault switch for trying a full disk by hand: the run report takes only this many bytes.
    command.add_option("--report-capacity", reportCapacity_)->group("");
    command.add_flag("--skip-unchanged", skipUnchanged_,
                     "do not send again what Tally holds unchanged since it was sent");
    CLI::Option* save = command.add_option(
        "--save-requests", saveRequestsTo_,
        "also write each request, as posted, to DIR/NNNNN-<kind>-<number>.xml; DIR must be new "
        "or empty");
    save->option_text("DIR");
    command
        .add_flag("--no-post", noPost_,
                  "save the requests (--save-requests) without posting them; no Tally is needed")
        ->needs(save);
}

void ExportCommand::Prepare(ScreenContext& context) const {
    context.reportCapacity = reportCapacity_;
    context.saveRequestsTo = saveRequestsTo_;
    context.post = !noPost_;
}

int ExportCommand::Run(TransferScreen& screen, CliProgress& progress) {
    {
        // Ctrl+C and SIGTERM stop the export; the run still ends with its log and counts.
        StopOnSignals stop([&screen] { screen.RequestStop(); });
        progress.PrintLogAsItGoes(stdout);
        screen.skipUnchanged = skipUnchanged_;
        screen.Export();
    }
    progress.Finish();
    progress.PrintMessages();
    const RunCounts& run = screen.LastRun();
    // A report or journal that could not be written is the run's fault, not the settings'.
    if (run.failed && run.reportError.empty() && run.journalError.empty()) return kExitUsage;
    return run.Clean() ? kExitClean : kExitProblems;
}

}  // namespace zentrail::cli
