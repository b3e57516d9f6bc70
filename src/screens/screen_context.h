#pragma once

#include <filesystem>
#include <optional>

#include "screens/line_ranges.h"
#include "shell/configuration.h"
#include "shell/source_database.h"
#include "tally/request_sink.h"
#include "tally/tally_transport.h"

namespace zentrail {

// Everything a screen may use beyond its own controls: the settings, the source database with
// its shared result sets, the way to Tally, and where run reports go.
struct ScreenContext {
    const Configuration& config;
    SourceDatabase& db;
    TallyTransport& tally;
    // Folder whose "runs" subfolder receives a report of every export; empty: no report.
    std::filesystem::path reportFolder{};
    // Documents built ahead while Tally takes the one before; 0 builds each just before it
    // is sent, on the export's own thread. Requests, log and report are the same either way.
    size_t buildAhead = 16;
    // The listed documents whose lines one ranged line query reads.
    LineRangeSizes lineRanges{};
    // Where the run's requests go instead of straight to Tally through `tally`: a sink that
    // wraps or replaces it. Not owned.
    RequestSink* sink = nullptr;
    // Fault switch: the report's writes fail with ENOSPC past this many bytes, as on a full disk.
    std::optional<size_t> reportCapacity{};
    // The journal of every request sent, kept from run to run; empty: none is kept.
    std::filesystem::path journalPath{};
    // Fault switch: a run's journal log takes only this many bytes, as on a full disk.
    std::optional<size_t> journalCapacity{};
    // A new or empty folder that receives every request of an export, one file each; empty:
    // none is saved.
    std::filesystem::path saveRequestsTo{};
    // False: the requests are only saved to `saveRequestsTo`, and no Tally is asked.
    bool post = true;
    // The configuration file the settings came from, named where a setting is to be fixed;
    // empty: none is named.
    std::filesystem::path configFile{};

    std::string TallyUrl() const { return config.TallyUrl(); }
    TextEncoding RequestEncoding() const {
        return config.RequestsInUtf16() ? TextEncoding::Utf16Le : TextEncoding::Utf8;
    }
    // Parent group of customer ledgers.
    std::string DebtorGroup() const {
        return config.strDebtorGroup.empty() ? "Sundry Debtors" : config.strDebtorGroup;
    }
    std::string CreditorGroup() const {
        return config.strCreditorGroup.empty() ? "Sundry Creditors" : config.strCreditorGroup;
    }
};

}  // namespace zentrail
