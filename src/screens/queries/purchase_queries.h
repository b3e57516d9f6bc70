#pragma once

#include <string>

namespace zentrail {

// SQL texts of the purchase screen. Dates are "MM/DD/YYYY" texts (SqlDateText) compared with
// the supplier invoice date InvDate.

// One row per purchase receipt of Status 1 with its supplier, GSTIN and state (grid rows).
std::string PurchaseReceiptHeaderQuery(const std::string& fromDate, const std::string& toDate);

// The header query with fixed user-column ids; only its field names are used.
std::string PurchaseReceiptColumnQuery(const std::string& fromDate, const std::string& toDate);

// The distinct suppliers of the receipts of the range (any status).
std::string PurchaseSupplierQuery(const std::string& fromDate, const std::string& toDate);

// One row per receipt line and tax percentage of positive taxable amount, with the tax pivot.
std::string PurchaseReceiptLineQuery(const std::string& fromDate, const std::string& toDate);

// The goods received free under claim schemes.
std::string PurchaseClaimSchemeQuery(const std::string& fromDate, const std::string& toDate);

}  // namespace zentrail
