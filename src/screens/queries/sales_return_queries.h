#pragma once

#include <string>

namespace zentrail {

// SQL texts of the sales return screen. Dates are "MM/DD/YYYY" texts (SqlDateText); only
// returns of Status 0 are read.

// One row per return with its customer, invoice (if any), GSTIN user columns and tax pivot.
std::string SalesReturnListQuery(const std::string& fromDate, const std::string& toDate);

// The list query with fixed user-column ids; only its field names are used.
std::string SalesReturnColumnQuery(const std::string& fromDate, const std::string& toDate);

// One row per return line and tax percentage of positive taxable amount.
std::string SalesReturnLineQuery(const std::string& fromDate, const std::string& toDate);

// The distinct customers of the returns with their ledger details.
std::string SalesReturnPartyQuery(const std::string& fromDate, const std::string& toDate);

}  // namespace zentrail
