#pragma once

#include <string>

namespace zentrail {

// SQL texts of the receipt screen. Dates are "MM/DD/YYYY" texts (SqlDateText) compared with
// the receipt date; only instruments below status 4 and not cancelled are read.

// One row per invoice settled by a receipt, with the banks and branches of both sides.
std::string ReceiptListQuery(const std::string& fromDate, const std::string& toDate);

// The distinct customers of the settled invoices with their ledger details.
std::string ReceiptPartyQuery(const std::string& fromDate, const std::string& toDate);

// Every bank name of the database.
std::string ReceiptBankQuery();

}  // namespace zentrail
