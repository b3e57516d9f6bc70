#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "shell/configuration.h"

namespace zentrail {

// What a run is about to do with the settings.
enum class SettingsUse {
    kSourceOnly,  // read the source database (Get Data)
    kTransfer,    // read it and post to Tally (Export)
};

// The first setting a run cannot work with, as one message naming the key and its value, or
// nothing when all is well. Checked before the source is opened and before the first request:
// a NUL or other control character in any value; for a transfer also SERVER (a host name, IPv4
// address or bracketed IPv6 address) and PORT (1 to 65535), blanks around either ignored.
// LEDGER_ID must be YES, NO or empty for any use; ENCODING UTF-8, UTF-16 or empty for a transfer.
std::optional<std::string> CheckSettings(const Configuration& config, SettingsUse use);

// SQL_ODBC as it may be shown in a message: quoted, with the value of any PWD= or
// PASSWORD= of a connection string masked.
std::string ShownSource(std::string_view strSqlOdbc);

// Checks of single values, for the callers above and for tests.
bool IsPortText(std::string_view text);
bool IsTallyHost(std::string_view text);
bool IsLedgerIdText(std::string_view text);  // YES, NO or empty, any case, blanks around ignored
bool IsEncodingText(std::string_view text);  // UTF-8, UTF-16 or empty, likewise

}  // namespace zentrail
