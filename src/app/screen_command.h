#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/cli_command.h"
#include "app/cli_progress.h"
#include "screens/calendar_date.h"
#include "screens/transfer_screen.h"
#include "shell/session.h"
#include "tally/http_client.h"

namespace zentrail::cli {

// The screens of the registration table by name, the built ones first:
// "item, sales, purchase, ...".
std::string ScreenList();

// A command on one screen's documents of a date range: takes SCREEN, --from and --to, starts
// the session, opens the screen and runs its Get Data before the command's own work.
class ScreenCommand : public Command {
public:
    using Command::Command;
    void AddOptions(CLI::App& command) override;
    int Execute(const GlobalOptions& global) final;

protected:
    // The settings the command needs checked.
    virtual SettingsUse Use() const = 0;
    // Adds to the screen's context before the screen is made.
    virtual void Prepare(ScreenContext& context) const { (void)context; }
    // The command's work once Get Data has listed the documents.
    virtual int Run(TransferScreen& screen, CliProgress& progress) = 0;

private:
    std::string screenName_;
    std::string from_;
    std::string to_;
};

}  // namespace zentrail::cli
