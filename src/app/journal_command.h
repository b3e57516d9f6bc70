#pragma once

#include <string>

#include "app/cli_command.h"

namespace zentrail::cli {

// journal: prints, as CSV, the last request of every master and document of a screen that the
// transfer journal holds; with dates, only documents dated within them.
class JournalCommand : public Command {
public:
    JournalCommand()
        : Command("journal", "print what was sent to Tally, the last request of each document") {}
    void AddOptions(CLI::App& command) override;
    int Execute(const GlobalOptions& global) override;

private:
    std::string screenName_;
    std::string from_;
    std::string to_;
};

}  // namespace zentrail::cli
