#pragma once

#include <chrono>
#include <string>

#include "screens/calendar_date.h"
#include "shell/configuration.h"
#include "shell/source_database.h"
#include "tally/http_client.h"
#include "tally/tally_transport.h"

namespace zentrail {

// What a settings test found: whether the connection works, and what to tell the operator.
struct ConnectionTestResult {
    bool passed = false;
    std::string message;
};

// Longest wait for a database to open and count; a test still running then is abandoned.
inline constexpr std::chrono::seconds kDatabaseTestLimit{20};
// Tally is asked as the export asks it, but a test does not wait as long for an answer.
inline constexpr HttpTimeouts kTallyTestTimeouts{std::chrono::seconds(10),
                                                 std::chrono::seconds(10)};

// Opens the source that `config` names with `opener`, and reports the database product and how
// many sales invoices are dated in the month of `day`.
ConnectionTestResult TestSourceDatabase(const Configuration& config, const SourceOpener& opener,
                                        CalendarDate day);

// Asks Tally at the address of `config` whether it runs, with the export's GET, and reports its
// answer.
ConnectionTestResult TestTally(const Configuration& config, TallyTransport& transport);

// The message of a test that ran past `limit` and is no longer waited for.
std::string AbandonedTestMessage(const std::string& what, std::chrono::milliseconds limit);

}  // namespace zentrail
