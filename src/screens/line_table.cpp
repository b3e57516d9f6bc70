#include "screens/line_table.h"

#include "screens/field_number.h"
#include "shell/recordset_filter.h"

namespace zentrail {

namespace {

// Plain decimal digits with at most one point: "1e5" or "0x10" stay texts.
bool IsPlainNumber(std::string_view text) {
    bool digit = false, point = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

}  // namespace

LineTable::LineTable(RowSet rows, std::span<const char* const> columns, size_t keyColumn,
                     std::string_view query)
    : rows_(std::move(rows)),
      columns_(columns, rows_.FieldNames(), query),
      key_(keyColumn),
      index_(rows_, columns_.Position(keyColumn)) {}

LineTable::Lines LineTable::WithNumber(std::string_view id) {
    std::optional<double> number = ReadWholeNumber(id);
    if (!number) throw NotANumber(columns_.Name(key_), std::string(id), "no document id");
    return Lines(rows_, columns_, index_.WithNumber(*number));
}

LineTable::Lines LineTable::WithText(std::string_view text) {
    // A blank key names no document: its lines cannot be told from those of another.
    if (text.find_first_not_of(' ') == std::string_view::npos)
        throw NotANumber(columns_.Name(key_), std::string(text), "no document id");
    return Lines(rows_, columns_, index_.WithText(text));
}

LineTable::Lines LineTable::WithId(std::string_view id) {
    return IsPlainNumber(id) ? WithNumber(id) : WithText(id);
}

}  // namespace zentrail
