// zentrail-cli: lists or transfers the documents of one screen, for scheduled runs and tests.
#include <CLI/CLI.hpp>
#include <memory>
#include <vector>

#include "app/cli_command.h"
#include "app/export_command.h"
#include "app/getdata_command.h"
#include "app/journal_command.h"
#include "app/pending_command.h"
#include "app/screen_command.h"
#include "shell/platform.h"

using zentrail::cli::Command;

int main(int argc, char** argv) {
    zentrail::platform::UseUtf8Console();  // reports hold names in any script
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<zentrail::cli::GetDataCommand>());
    commands.push_back(std::make_unique<zentrail::cli::ExportCommand>());
    commands.push_back(std::make_unique<zentrail::cli::PendingCommand>());
    commands.push_back(std::make_unique<zentrail::cli::JournalCommand>());

    CLI::App app{"Zentrail: transfers the documents of the distributor database into Tally"};
    app.require_subcommand(1);
    app.fallthrough();  // global options may also follow the command
    app.set_version_flag("--version", std::string("zentrail-cli ") + ZENTRAIL_VERSION);
    zentrail::cli::GlobalOptions global;
    app.add_option("--config", global.configPath,
                   "configuration file (default: Config.txt beside the program)");
    app.footer(
        "SCREEN: " + zentrail::cli::ScreenList() +
        ".\nThe dates (--from, --to; YYYY-MM-DD) default to today.\n"
        "Exit status: 0 every listed document and every master accepted (or skipped by the "
        "document's rules) with no difference and the run report whole, 1 otherwise, 2 usage, "
        "configuration or database error.");
    for (const std::unique_ptr<Command>& command : commands)
        command->AddOptions(*app.add_subcommand(command->Name(), command->Description()));
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        int code = app.exit(e);
        return code == 0 ? zentrail::cli::kExitClean : zentrail::cli::kExitUsage;
    }
    for (const std::unique_ptr<Command>& command : commands)
        if (app.got_subcommand(command->Name())) return command->Execute(global);
    return zentrail::cli::kExitUsage;
}
