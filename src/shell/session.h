#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "shell/configuration.h"
#include "shell/settings_check.h"
#include "shell/source_database.h"

namespace zentrail {

// The settings and the source connection of a running program. Made once at start by
// StartSession and handed to whatever needs them; it must outlive every screen using it.
// Where the journal of every request sent is kept for the configuration file `configFile`.
std::filesystem::path JournalBeside(const std::filesystem::path& configFile);

struct Session {
    std::filesystem::path configFile;
    Configuration config;
    SourceDatabase db;

    // Folder whose "runs" subfolder receives the run reports: the configuration file's.
    std::filesystem::path ReportFolder() const;
    // The journal of every request sent, beside the run reports.
    std::filesystem::path JournalPath() const { return JournalBeside(configFile); }
};

struct SessionOptions {
    // The file named on the command line, which must exist; none: Config.txt in the program
    // folder, where a missing file means the defaults.
    std::optional<std::filesystem::path> configFile;
    // What the program is about to do, for the settings check.
    SettingsUse use = SettingsUse::kTransfer;
    // Told once the configuration has been read, before the settings are checked; `found`
    // false means there was no file and the defaults apply.
    std::function<void(const std::filesystem::path& file, bool found)> configRead;
};

// Why a session could not start; each program words it for its operator.
struct SessionFailure {
    enum class Step {
        kConfigMissing,     // the named file is not there; `detail` is its path
        kConfigUnreadable,  // `detail` says why
        kSettingsRejected,  // `detail` names the key and its value
        kSourceNotOpened,   // `detail` and `dbError` are the database's, `source` is SQL_ODBC
    };
    Step step;
    std::string detail;
    long dbError = 0;
    std::string source{};
    // What is wrong in plain words, naming the configuration file; set for kSourceNotOpened.
    std::string headline{};
};

// The plain first line of a source that could not be opened: "No database file at PATH" when
// SQL_ODBC names a SQLite file that is not there, else "Cannot open the source database
// SQL_ODBC" (password masked); either with " (SQL_ODBC in CONFIG FILE)" when a file is named.
std::string SourceNotOpenedHeadline(const std::string& strSqlOdbc,
                                    const std::filesystem::path& configFile);

struct SessionStart {
    std::unique_ptr<Session> session;       // set when the start worked
    std::optional<SessionFailure> failure;  // set otherwise
};

// Reads the configuration, checks the settings, then opens the source database, in this order,
// stopping at the first step that fails.
SessionStart StartSession(const SessionOptions& options);

}  // namespace zentrail
