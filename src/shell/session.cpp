#include "shell/session.h"

#include "shell/db_error.h"
#include "shell/odbc_connection.h"
#include "shell/platform.h"
#include "shell/sqlite_connection.h"

namespace zentrail {

std::filesystem::path Session::ReportFolder() const {
    return std::filesystem::absolute(configFile).parent_path();
}

std::filesystem::path JournalBeside(const std::filesystem::path& configFile) {
    return std::filesystem::absolute(configFile).parent_path() / "runs" / "journal.db";
}

std::string SourceNotOpenedHeadline(const std::string& strSqlOdbc,
                                    const std::filesystem::path& configFile) {
    const std::string where =
        configFile.empty() ? std::string()
                           : " (SQL_ODBC in " + std::filesystem::absolute(configFile).string() + ")";
    if (LooksLikeSqliteFile(strSqlOdbc) && !IsConnectionString(strSqlOdbc)) {
        std::filesystem::path file(strSqlOdbc);
        if (file.is_relative()) file = platform::ProgramFolder() / file;
        std::error_code ec;
        if (!std::filesystem::exists(file, ec))
            return "No database file at " + file.string() + where;
    }
    return "Cannot open the source database " + ShownSource(strSqlOdbc) + where;
}

SessionStart StartSession(const SessionOptions& options) {
    using Step = SessionFailure::Step;
    auto session = std::make_unique<Session>();
    session->configFile = options.configFile.value_or(ConfigFilePath());
    const std::filesystem::path& file = session->configFile;
    if (options.configFile && !std::filesystem::exists(file))
        return {nullptr, SessionFailure{Step::kConfigMissing, file.string()}};
    try {
        const bool found = std::filesystem::exists(file);
        session->config = ReadConfig(file);
        if (options.configRead) options.configRead(file, found);
    } catch (const ConfigError& e) {
        return {nullptr, SessionFailure{Step::kConfigUnreadable, e.what()}};
    }
    if (std::optional<std::string> problem = CheckSettings(session->config, options.use))
        return {nullptr, SessionFailure{Step::kSettingsRejected, *problem}};
    try {
        session->db.OpenConnection(session->config);
    } catch (const DbError& e) {
        const std::string& source = session->config.strSqlOdbc;
        return {nullptr, SessionFailure{Step::kSourceNotOpened, e.Description(), e.Number(), source,
                                        SourceNotOpenedHeadline(source, file)}};
    }
    return {std::move(session), std::nullopt};
}

}  // namespace zentrail
