#pragma once

#include <string>

namespace zentrail {

// SQL texts of the sales screen. Dates are "MM/DD/YYYY" texts (SqlDateText); every query
// keeps invoices whose day lies in the range and whose DlvSts is 3 or more.

// One row per invoice with its header, customer, shipping address, state, GSTIN
// user columns and tax pivot; ordered by invoice number (the grid's rows).
std::string SalesInvoiceHeaderQuery(const std::string& fromDate, const std::string& toDate);

// The header query with fixed user-column ids; only its field names are used (grid columns).
std::string SalesInvoiceColumnQuery(const std::string& fromDate, const std::string& toDate);

// One row per invoice line and tax percentage, with product, unit, HSN code and tax pivot.
std::string SalesInvoiceLineQuery(const std::string& fromDate, const std::string& toDate);

// The free products given on the invoices.
std::string SalesFreeProductQuery(const std::string& fromDate, const std::string& toDate);

// The distinct customers of the invoices with their ledger details.
std::string SalesPartyQuery(const std::string& fromDate, const std::string& toDate);

}  // namespace zentrail
