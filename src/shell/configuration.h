#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace zentrail {

// The program-wide settings read from Config.txt at start.
struct Configuration {
    std::string strTallyServer;
    std::string strTallyPort;
    std::string strCompany;
    std::string strSqlOdbc;
    std::string strSqlUser;
    std::string strSqlPassword;
    bool blnLedgerId = true;
    std::string strLedgerId;  // LEDGER_ID as written; the settings check accepts YES, NO or empty
    std::string strDebtorGroup;
    std::string strCreditorGroup;
    std::string
        strEncoding;  // ENCODING as written; the settings check accepts UTF-8, UTF-16 or empty
    std::string strConfigSummary;  // shown in window titles; the password is masked

    // "http://" server ":" port, the address every export posts to; blanks around the server
    // and the port are not part of them.
    std::string TallyUrl() const;
    // Server ":" port, as an operator names the address.
    std::string TallyAddress() const;
    // ENCODING says UTF-16: requests go to Tally as UTF-16. UTF-8 otherwise, as by default.
    bool RequestsInUtf16() const;
};

// Config.txt could not be read.
class ConfigError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr size_t kMaxConfigLineLength = 64 * 1024;

// Reads the file at `path`; a missing file gives the defaults. Throws ConfigError when the
// file exists but cannot be read as text.
Configuration ReadConfig(const std::filesystem::path& path);

// Config.txt in the program folder.
std::filesystem::path ConfigFilePath();

// Reads Config.txt from the program folder.
Configuration ReadConfig();

}  // namespace zentrail
