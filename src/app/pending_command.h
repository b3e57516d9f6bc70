#pragma once

#include "app/screen_command.h"

namespace zentrail::cli {

// pending: lists, as CSV, the documents of the range that Tally does not hold as the source has
// them now, by the transfer journal; builds each, sends nothing.
class PendingCommand : public ScreenCommand {
public:
    PendingCommand()
        : ScreenCommand("pending", "list the documents not yet in Tally as the source has them") {}

protected:
    SettingsUse Use() const override { return SettingsUse::kSourceOnly; }
    int Run(TransferScreen& screen, CliProgress& progress) override;
};

}  // namespace zentrail::cli
