#include "screens/queries/query_pieces.h"

#include <initializer_list>

namespace zentrail {
namespace {

std::string Concat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) text += part;
    return text;
}

}  // namespace

std::string DayOf(std::string_view column) {
    return Concat({"CONVERT(DATETIME,CONVERT(VARCHAR(10),", column, ",101))"});
}

std::string DayOnOrAfter(std::string_view column, std::string_view date) {
    return Concat({DayOf(column), "  >= '", date, "'"});
}

std::string WhereDayInRange(std::string_view column, std::string_view fromDate,
                            std::string_view toDate) {
    return Concat(
        {"WHERE ", DayOnOrAfter(column, fromDate), " AND ", DayOf(column), " <= '", toDate, "' "});
}

}  // namespace zentrail
