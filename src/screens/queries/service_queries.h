#pragma once

#include <string>

namespace zentrail {

// SQL texts of the service invoice screen. Dates are "MM/DD/YYYY" texts (SqlDateText).

// One row per service invoice (purchase from a retailer or sale to a supplier) with its
// service, party and tax pivot; ordered by date and number.
std::string ServiceInvoiceQuery(const std::string& fromDate, const std::string& toDate);

// One row per service invoice with its party's name, GSTIN, state and address.
std::string ServicePartyQuery(const std::string& fromDate, const std::string& toDate);

}  // namespace zentrail
