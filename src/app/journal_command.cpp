#include "app/journal_command.h"

#include <iostream>

#include "app/csv_output.h"
#include "app/screen_command.h"
#include "screens/calendar_date.h"
#include "screens/journal/transfer_journal.h"
#include "screens/screen_registry.h"
#include "shell/configuration.h"
#include "shell/session.h"

namespace zentrail::cli {

void JournalCommand::AddOptions(CLI::App& command) {
    command.add_option("SCREEN", screenName_, ScreenList())->required();
    command.add_option("--from", from_, "first document day, YYYY-MM-DD");
    command.add_option("--to", to_, "last document day, YYYY-MM-DD");
}

int JournalCommand::Execute(const GlobalOptions& global) {
    const MenuEntry* entry = FindScreen(screenName_);
    if (entry == nullptr)
        return Fail("unknown screen '" + screenName_ + "'; the screens are " + ScreenList());
    std::optional<std::string> from, to;
    for (auto [text, flag, bound] : {std::tuple{&from_, "--from", &from}, {&to_, "--to", &to}}) {
        if (text->empty()) continue;
        if (!CalendarDate::FromIso(*text))
            return Fail(std::string(flag) + " is not a date of the form YYYY-MM-DD: " + *text);
        *bound = *text;
    }
    const std::filesystem::path path = JournalBeside(
        global.configPath.empty() ? ConfigFilePath() : std::filesystem::path(global.configPath));
    if (!std::filesystem::exists(path))
        return Fail("no transfer journal at " + path.string() + ": nothing was exported yet");
    try {
        TransferJournal journal(path);
        PrintCsvLine(std::cout,
                     {"kind", "identity", "number or name", "date", "outcome", "voucher key",
                      "sent", "completed", "message"},
                     true);
        for (const JournalRow& row : journal.Latest(entry->definition->Design().name, from, to))
            PrintCsvLine(std::cout, {row.kind, row.identity, row.number, row.date,
                                     row.outcome ? OutcomeToken(*row.outcome) : row.state, row.key,
                                     row.started, row.ended, row.message});
    } catch (const JournalError& e) {
        std::cerr << "zentrail-cli: " << e.what() << "\n";
        return kExitProblems;
    }
    return kExitClean;
}

}  // namespace zentrail::cli
