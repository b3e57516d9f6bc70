#pragma once

// The ledger entries each kind of voucher carries, filled in as their vouchers need them.

#include <string>
#include <string_view>

#include "tally/vouchers/voucher.h"

namespace zentrail {

// Sales: the customer's debit opening a bill, written whatever the amount.
LedgerEntry SalesPartyEntry(EntryList list, std::string party, std::string bill, double amount);
// Sales: a debit or credit that repeats its amount as VATEXPAMOUNT, with an optional GST
// override; left out when the amount is zero.
LedgerEntry SalesLedgerEntry(EntryList list, std::string ledger, double amount, bool debit,
                             std::string gstNature = {});
// The override of a service sale's line: "Sales Taxable" for a party with a GSTIN (blanks
// alone are none) and no integrated tax, else none.
std::string SalesServiceNature(std::string_view gstin, double igst);

// Credit note and purchase: the party's credit opening a bill, written whatever the amount.
LedgerEntry CreditedPartyEntry(EntryList list, std::string party, std::string bill, double amount);
// Credit note: a deemed positive entry repeating its amount as VATEXPAMOUNT; the discounts
// are its credits. Left out when the amount is zero.
LedgerEntry CreditNoteLedgerEntry(EntryList list, std::string ledger, double amount, bool debit);

// Purchase: a debit with its tax rate and classification; left out when the amount is zero.
LedgerEntry PurchaseDebitEntry(std::string ledger, double amount, std::string taxClass,
                               double taxRate);
// Purchase of a service: a debit with an optional GST override; left out when zero.
LedgerEntry PurchaseServiceDebitEntry(std::string ledger, double amount, std::string gstNature);
// The override of a service purchase's line: none without a GSTIN, "Purchase Taxable" without
// integrated tax, "Interstate Purchase Taxable" with it.
std::string PurchaseServiceNature(std::string_view gstin, double igst);
// Purchase: a plain credit; left out when the amount is zero.
LedgerEntry PurchaseCreditEntry(EntryList list, std::string ledger, double amount);

// Receipt: the customer's credit, settling `bill` when its amount is above zero; written
// whatever the amount.
LedgerEntry ReceiptPartyEntry(std::string party, double amount, std::string bill,
                              double billAmount);
// Receipt: the bank's or the cash ledger's debit; the cheque only with a cheque number, the
// cost centre only when named. Left out when the amount is zero.
LedgerEntry ReceiptDebitEntry(std::string ledger, double amount, BankAllocation cheque,
                              std::string costCentre);

}  // namespace zentrail
