#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zentrail {

// Pieces that the screens' SQL texts share word for word. Dates are "MM/DD/YYYY" texts
// (SqlDateText); every piece ends exactly where the texts continue, blanks included.

// The day part of a date column: converted to text in style 101 and back, so that a row
// stamped at any time of a day compares equal to that day.
std::string DayOf(std::string_view column);

// "<day of column>  >= '<date>'" (two blanks before >=, as every screen writes it).
std::string DayOnOrAfter(std::string_view column, std::string_view date);

// "WHERE <day of column>  >= '<from>' AND <day of column> <= '<to>' ": both days included.
std::string WhereDayInRange(std::string_view column, std::string_view fromDate,
                            std::string_view toDate);

// The texts that follow the eight sums of a tax pivot, one per sum; the screens space them
// differently.
using TaxSumSpacing = std::array<std::string_view, 8>;

// The spacing of the sales, purchase line and return line pivots: ", " after CGST_TAXABLE and
// IGST_TAXABLE, "," after the other sums, one blank after the last.
inline constexpr TaxSumSpacing kPairedTaxSumSpacing = {", ", ",", ", ", ",", ",", ",", ",", " "};

// The eight sums of a tax pivot over tax rows A joined to TaxConfiguration C: the taxable
// amount, then the tax amount, of CGST, SGST, IGST and UTGST, named CGST_TAXABLE ..
// UTGST_TAXABLE, CGST_AMT .. UTGST_AMT. after[i] follows sum i.
std::string TaxPivotSums(std::string_view taxableAmount, std::string_view taxAmount,
                         const TaxSumSpacing& after);

// "<join> UdcDetails <alias> ON <recordId> = <alias>.MasterRecordId AND <alias>.MasterId = 2
// AND <alias>.UdcMasterId = (select ... ColumnName='<columnName>') ": a customer user column
// found by its name. join is "INNER JOIN" or "LEFT JOIN".
std::string CustomerUdcJoin(std::string_view join, std::string_view alias,
                            std::string_view recordId, std::string_view columnName);

// The same inner join on C.RTRID with a fixed user-column id, as the column queries write it;
// idText is the text after "UdcMasterId = ", its trailing blanks included.
std::string CustomerUdcJoinById(std::string_view alias, std::string_view idText);

// Keeps the product user column G that holds the 'HSN Code'.
inline constexpr std::string_view kHsnCodeUdcCondition =
    "G.UdcMasterId in (select UdcMasterId from UdcMaster where MasterId=(select MasterId from "
    "UdcHD where MasterName='Product Master') and ColumnName='HSN Code')";

// "<join> UDCDETAILS G ON (B.PRDID = G.MasterRecordId AND <HSN code condition>) ": the HSN
// code of line B's product. join is "INNER JOIN" or "LEFT JOIN".
std::string ProductHsnJoin(std::string_view join);

}  // namespace zentrail
