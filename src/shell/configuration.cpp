#include "shell/configuration.h"

#include <fstream>
#include <string_view>
#include <system_error>

#include "common/ascii.h"
#include "shell/platform.h"

namespace zentrail {

namespace {

bool IsValidUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t extra;
        unsigned int codePoint;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            codePoint = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            codePoint = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            codePoint = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= text.size()) return false;
        for (size_t k = 1; k <= extra; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        static constexpr unsigned int kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (codePoint < kMinimum[extra] || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

using ascii::Upper;

std::string TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

void ApplyLine(Configuration& config, const std::string& line) {
    // Only the first colon splits: a company, a password or "tcp:host" may hold more.
    const size_t colon = line.find(':');
    const std::string key =
        colon == std::string::npos ? std::string() : Upper(TrimBlanks(line.substr(0, colon)));
    config.strConfigSummary += " ";
    config.strConfigSummary += key == "SQL_PASSWORD" ? line.substr(0, colon) + ":****" : line;
    if (colon == std::string::npos) return;  // a comment
    const std::string value = line.substr(colon + 1);
    if (key == "SERVER")
        config.strTallyServer = TrimBlanks(value);
    else if (key == "PORT")
        config.strTallyPort = TrimBlanks(value);
    else if (key == "COMPANY")
        config.strCompany = value;
    else if (key == "SQL_ODBC")
        config.strSqlOdbc = value;
    else if (key == "SQL_USER")
        config.strSqlUser = value;
    else if (key == "SQL_PASSWORD")
        config.strSqlPassword = value;
    else if (key == "LEDGER_ID") {
        config.strLedgerId = value;
        config.blnLedgerId = Upper(TrimBlanks(value)) == "YES";
    } else if (key == "DEBTOR")
        config.strDebtorGroup = value;
    else if (key == "CREDITOR")
        config.strCreditorGroup = value;
    else if (key == "ENCODING")
        config.strEncoding = value;
}

}  // namespace

Configuration ReadConfig(const std::filesystem::path& path) {
    Configuration config;
    config.blnLedgerId = true;
    std::error_code ec;
    auto status = std::filesystem::status(path, ec);
    if (ec || status.type() == std::filesystem::file_type::not_found) {
        config.strTallyServer = platform::LocalHostName();
        config.strTallyPort = "9000";
        config.strSqlOdbc = "DMSDB";
        config.strSqlUser = "sa";
        return config;
    }
    std::string where = path.string();
    if (std::filesystem::is_directory(status))
        throw ConfigError("Cannot read the configuration file " + where + ": it is a folder");
    std::ifstream file(path, std::ios::binary);
    if (!file) throw ConfigError("Cannot open the configuration file " + where);
    std::string line;
    size_t lineNumber = 0;
    while (true) {
        line.clear();
        // Read one line by hand so that an endless line cannot exhaust memory.
        int c;
        bool any = false;
        while ((c = file.get()) != EOF && c != '\n') {
            any = true;
            if (line.size() >= kMaxConfigLineLength)
                throw ConfigError("Cannot read the configuration file " + where + ": line " +
                                  std::to_string(lineNumber + 1) + " is longer than " +
                                  std::to_string(kMaxConfigLineLength) + " characters");
            line += static_cast<char>(c);
        }
        if (!any && c == EOF) break;
        ++lineNumber;
        if (file.bad()) throw ConfigError("Cannot read the configuration file " + where);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (lineNumber == 1 && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
        if (!IsValidUtf8(line))
            throw ConfigError("Cannot read the configuration file " + where + ": line " +
                              std::to_string(lineNumber) + " is not valid UTF-8 text");
        if (line.empty()) continue;
        ApplyLine(config, line);
        if (c == EOF) break;
    }
    if (file.bad()) throw ConfigError("Cannot read the configuration file " + where);
    return config;
}

std::string Configuration::TallyAddress() const {
    const auto trim = [](const std::string& text) {
        const size_t first = text.find_first_not_of(' ');
        if (first == std::string::npos) return std::string();
        return text.substr(first, text.find_last_not_of(' ') - first + 1);
    };
    return trim(strTallyServer) + ":" + trim(strTallyPort);
}

std::string Configuration::TallyUrl() const { return "http://" + TallyAddress(); }

bool Configuration::RequestsInUtf16() const { return Upper(TrimBlanks(strEncoding)) == "UTF-16"; }

std::filesystem::path ConfigFilePath() { return platform::ProgramFolder() / "Config.txt"; }

Configuration ReadConfig() { return ReadConfig(ConfigFilePath()); }

}  // namespace zentrail
