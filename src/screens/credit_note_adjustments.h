#pragma once

#include <string>
#include <vector>

namespace zentrail {

// A listed row of a retailer credit note: one per invoice the note is adjusted against.
struct CreditNoteAdjustment {
    std::string note;         // CrNoteNumber
    std::string invoice;      // SalInvNo, empty when the note names none
    std::string invoiceDate;  // SalInvDate as listed
};

// A credit note adjusted against several invoices is listed once per invoice but credits its
// customer once: its voucher goes with the row of its earliest invoice (by invoice date, then
// number). For each row: the row that carries its note.
std::vector<size_t> RowsCarryingTheirNotes(const std::vector<CreditNoteAdjustment>& rows);

}  // namespace zentrail
