#include "shell/session.h"

#include "shell/db_error.h"

namespace zentrail {

std::filesystem::path Session::ReportFolder() const {
    return std::filesystem::absolute(configFile).parent_path();
}

std::filesystem::path JournalBeside(const std::filesystem::path& configFile) {
    return std::filesystem::absolute(configFile).parent_path() / "runs" / "journal.db";
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
        return {nullptr, SessionFailure{Step::kSourceNotOpened, e.Description(), e.Number(),
                                        session->config.strSqlOdbc}};
    }
    return {std::move(session), std::nullopt};
}

}  // namespace zentrail
