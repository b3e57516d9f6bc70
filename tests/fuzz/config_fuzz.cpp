// The configuration reader on any file content: it reads it or throws ConfigError, and the
// settings check then answers for whatever it read.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/utf8_text.h"
#include "fuzz_check.h"
#include "shell/configuration.h"
#include "shell/settings_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("zentrail-config-fuzz-" + std::to_string(::getpid()) + ".txt");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    try {
        const zentrail::Configuration config = zentrail::ReadConfig(file);
        // A file that was read is UTF-8 throughout, and the password never shows.
        FUZZ_CHECK(zentrail::IsValidUtf8(config.strConfigSummary));
        FUZZ_CHECK(zentrail::IsValidUtf8(config.strSqlOdbc));
        for (auto use : {zentrail::SettingsUse::kSourceOnly, zentrail::SettingsUse::kTransfer}) {
            if (auto problem = zentrail::CheckSettings(config, use)) {
                FUZZ_CHECK(!problem->empty());
                if (config.strSqlPassword.size() >= 4 &&
                    config.strSqlPassword.find_first_of("\"") == std::string::npos &&
                    problem->starts_with("SQL_PASSWORD"))
                    FUZZ_CHECK(problem->find(config.strSqlPassword) == std::string::npos);
            }
        }
        if (zentrail::IsPortText(config.strTallyPort) &&
            zentrail::IsTallyHost(config.strTallyServer))
            FUZZ_CHECK(config.TallyUrl().find_first_of("/?#@", 7) == std::string::npos);
    } catch (const zentrail::ConfigError&) {
    }
    return 0;
}
