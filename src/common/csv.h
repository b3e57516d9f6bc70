#pragma once

#include <string>
#include <string_view>

namespace zentrail {

// Both CSV outputs begin with it, so that a spreadsheet reads the names as UTF-8.
inline constexpr std::string_view kCsvByteOrderMark = "\xEF\xBB\xBF";

// A plain decimal number ("-12", "+3.50"): a spreadsheet reads it as a number, not a formula.
inline bool IsCsvNumber(std::string_view text) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    bool digits = false, point = false;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            digits = true;
        else if (c == '.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

// One CSV field as a spreadsheet reads it back: quoted, with its quotes doubled, when it holds a
// comma, a quote or a line break. Text a spreadsheet would run as a formula gets a leading
// apostrophe, so a retailer named "=HYPERLINK(...)" stays a name.
inline std::string CsvField(std::string_view text) {
    std::string field;
    if (!text.empty() &&
        std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos &&
        !IsCsvNumber(text))
        field = "'";
    field.append(text);
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace zentrail
