#pragma once

#include "shell/configuration.h"
#include "shell/source_database.h"

namespace zentrail {

// Everything a screen may use beyond its own controls: the settings, the source database with
// its shared result sets, and the Tally address derived from the settings.
struct ScreenContext {
    const Configuration& config;
    SourceDatabase& db;

    std::string TallyUrl() const { return config.TallyUrl(); }
    // Parent group of customer ledgers.
    std::string DebtorGroup() const {
        return config.strDebtorGroup.empty() ? "Sundry Debtors" : config.strDebtorGroup;
    }
    std::string CreditorGroup() const {
        return config.strCreditorGroup.empty() ? "Sundry Creditors" : config.strCreditorGroup;
    }
};

}  // namespace zentrail
