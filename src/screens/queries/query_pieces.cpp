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

std::string CustomerUdcOn(std::string_view join, std::string_view alias,
                          std::string_view recordId) {
    return Concat({join, " UdcDetails ", alias, " ON ", recordId, " = ", alias,
                   ".MasterRecordId AND ", alias, ".MasterId = 2 AND ", alias, ".UdcMasterId = "});
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

std::string CustomerUdcJoin(std::string_view join, std::string_view alias,
                            std::string_view recordId, std::string_view columnName) {
    return Concat({CustomerUdcOn(join, alias, recordId),
                   "(select UdcMasterId from UdcMaster where MasterId=2 and ColumnName='",
                   columnName, "') "});
}

std::string CustomerUdcJoinById(std::string_view alias, std::string_view idText) {
    return Concat({CustomerUdcOn("INNER JOIN", alias, "C.RTRID"), idText});
}

std::string ProductHsnJoin(std::string_view join) {
    return Concat(
        {join, " UDCDETAILS G ON (B.PRDID = G.MasterRecordId AND ", kHsnCodeUdcCondition, ") "});
}

}  // namespace zentrail
