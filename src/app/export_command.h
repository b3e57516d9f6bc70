#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "app/screen_command.h"

namespace zentrail::cli {

// export: lists the documents of the range, then transfers them to Tally, printing the log as
// it goes and the closing messages at the end.
class ExportCommand : public ScreenCommand {
public:
    ExportCommand() : ScreenCommand("export", "list, then transfer them to Tally") {}
    void AddOptions(CLI::App& command) override;

protected:
    SettingsUse Use() const override { return SettingsUse::kTransfer; }
    void Prepare(ScreenContext& context) const override;
    int Run(TransferScreen& screen, CliProgress& progress) override;

private:
    std::optional<size_t> reportCapacity_;
    bool skipUnchanged_ = false;
    std::string saveRequestsTo_;
    bool noPost_ = false;
};

}  // namespace zentrail::cli
