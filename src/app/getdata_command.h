#pragma once

#include "app/screen_command.h"

namespace zentrail::cli {

// getdata: lists the documents of the range as CSV on stdout.
class GetDataCommand : public ScreenCommand {
public:
    GetDataCommand() : ScreenCommand("getdata", "list the documents of the range as CSV") {}

protected:
    SettingsUse Use() const override { return SettingsUse::kSourceOnly; }
    int Run(TransferScreen& screen, CliProgress& progress) override;
};

}  // namespace zentrail::cli
