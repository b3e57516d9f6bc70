#pragma once

#include <string>

namespace zentrail {

// SQL texts of the retailer credit note screen. Dates are "MM/DD/YYYY" texts (SqlDateText).

// One row per credit note and invoice it is adjusted against, with reason and customer;
// credit notes of TRANSID 30 are left out.
std::string RetailerCreditNoteHeaderQuery(const std::string& fromDate, const std::string& toDate);

// The header query without the TRANSID condition; only its field names are used.
std::string RetailerCreditNoteColumnQuery(const std::string& fromDate, const std::string& toDate);

// One row per credit note of the range with its customer's name and address.
std::string RetailerCreditNotePartyQuery(const std::string& fromDate, const std::string& toDate);

// Every credit note reason.
std::string CreditNoteReasonQuery();

}  // namespace zentrail
