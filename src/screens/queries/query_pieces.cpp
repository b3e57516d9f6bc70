#include "screens/queries/query_pieces.h"

#include <initializer_list>
#include <utility>

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

std::string TaxPivotSums(std::string_view taxableAmount, std::string_view taxAmount,
                         const TaxSumSpacing& after) {
    static constexpr std::string_view kCodes[] = {"CGST", "SGST", "IGST", "UTGST"};
    const std::pair<std::string_view, std::string_view> kinds[] = {{taxableAmount, "_TAXABLE"},
                                                                   {taxAmount, "_AMT"}};
    std::string text;
    size_t at = 0;
    for (const auto& [amount, suffix] : kinds) {
        for (std::string_view code : kCodes) {
            text += Concat({"SUM(CASE WHEN C.TaxCode = '", code, "' THEN (", amount,
                            ") ELSE 0 END) AS ", code, suffix, after[at++]});
        }
    }
    return text;
}

}  // namespace zentrail
