#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zentrail {

struct DateParts {
    int year = 0;
    int month = 0;
    int day = 0;
};

// Reads a calendar date from the texts that document dates arrive in: "20240131" (Tally's
// form, which the grids carry), ISO "2024-01-31" and day/month/year "31/01/2024", "31-01-2024"
// or "31.01.2024", each optionally followed by a time of day. Surrounding blanks are ignored.
// Gives nothing for any other text and for days that do not exist (31 April, 29 February of
// a common year).
std::optional<DateParts> ParseDocumentDate(std::string_view text);

// Tally's date text: four-digit year, two-digit month, two-digit day ("20240131").
std::string TallyDate(const DateParts& date);

// The Tally date text of a voucher date. A voucher cannot be posted without its date, so a
// text that is not a date throws std::invalid_argument instead of producing a wrong day.
std::string VoucherDate(std::string_view text);

}  // namespace zentrail
