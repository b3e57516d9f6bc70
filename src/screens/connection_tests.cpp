#include "screens/connection_tests.h"

#include "shell/session.h"

#include <array>
#include <exception>

#include "common/calendar.h"
#include "screens/queries/query_pieces.h"
#include "shell/settings_check.h"
#include "tally/tally_check.h"

namespace zentrail {

namespace {

constexpr std::array<const char*, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

int DaysInMonth(int year, int month) {
    using namespace std::chrono;
    return static_cast<int>(static_cast<unsigned>(
        year_month_day_last(std::chrono::year(year),
                            month_day_last(std::chrono::month(static_cast<unsigned>(month))))
            .day()));
}

// Every invoice dated on a day of the month, whatever its delivery state.
std::string MonthInvoiceCountQuery(CalendarDate day) {
    return "SELECT COUNT(*) AS Invoices FROM SalesInvoice A " +
           WhereDayInRange("A.SalInvDate", MonthDayYearText(day.year, day.month, 1),
                           MonthDayYearText(day.year, day.month, DaysInMonth(day.year, day.month)));
}

}  // namespace

ConnectionTestResult TestSourceDatabase(const Configuration& config, const SourceOpener& opener,
                                        CalendarDate day) {
    if (std::optional<std::string> refused = CheckSettings(config, SettingsUse::kSourceOnly))
        return {false, *refused};
    const std::string source = ShownSource(config.strSqlOdbc);
    std::unique_ptr<SourceConnection> connection;
    try {
        connection = opener(config.strSqlOdbc, config.strSqlUser, config.strSqlPassword);
    } catch (const DbError& error) {
        // What is wrong first, in plain words; the driver's own text after it.
        return {false, SourceNotOpenedHeadline(config.strSqlOdbc, {}) + "\nError " +
                           std::to_string(error.Number()) + ": " + error.Description()};
    }
    try {
        std::string product = connection->ProductName();
        if (product.empty()) product = "a database that does not name itself";
        const RowSet rows = connection->Query(MonthInvoiceCountQuery(day));
        if (rows.RowCount() != 1 || rows.FieldCount() != 1 || rows.IsNull(0, 0))
            return {false, "Opened " + source + " (" + product +
                               "), but counting its sales invoices gave no number"};
        const std::string month = std::string(kMonthNames[static_cast<size_t>(day.month - 1)]) +
                                  " " + std::to_string(day.year);
        return {true, "Opened " + source + ": " + product + "; " + std::string(rows.Text(0, 0)) +
                          " sales invoices dated in " + month};
    } catch (const DbError& error) {
        return {false, "Could not read " + source + ": Error " + std::to_string(error.Number()) +
                           ": " + error.Description()};
    }
}

ConnectionTestResult TestTally(const Configuration& config, TallyTransport& transport) {
    if (std::optional<std::string> refused = CheckSettings(config, SettingsUse::kTransfer))
        return {false, *refused};
    const std::string address = config.TallyAddress();
    const TallyCheck check = CheckTally(transport, config.TallyUrl(), nullptr);
    switch (check.status) {
        case TallyCheck::Status::Running:
            return {true, "Tally runs at " + address + " and answered: " + check.answer};
        case TallyCheck::Status::NotRunning:
            return {false, "Tally is not running at " + address + " (" + check.description + ")"};
        case TallyCheck::Status::Stopped:
            return {false, "The test of " + address + " was stopped"};
        case TallyCheck::Status::NoTally:
        case TallyCheck::Status::Unexpected:
            break;
    }
    std::string message =
        "Tally at " + address + " did not answer as expected (" + check.description + ")";
    if (!check.answer.empty()) message += ": " + check.answer;
    return {false, message};
}

std::string AbandonedTestMessage(const std::string& what, std::chrono::milliseconds limit) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(limit).count();
    const std::string span =
        seconds >= 1 ? std::to_string(seconds) + " s" : std::to_string(limit.count()) + " ms";
    return what + " gave no answer within " + span + "; the test was abandoned";
}

}  // namespace zentrail
