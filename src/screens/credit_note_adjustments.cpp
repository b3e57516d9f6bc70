#include "screens/credit_note_adjustments.h"

#include <map>
#include <optional>
#include <tuple>

#include "tally/date_text.h"
#include "tally/xml_escape.h"

namespace zentrail {

namespace {

// Orders the invoices of one note: dated invoices by day, then those whose date cannot be read,
// each by number.
auto InvoiceOrder(const CreditNoteAdjustment& row) {
    std::optional<DateParts> day = ParseDocumentDate(row.invoiceDate);
    return std::make_tuple(!day.has_value(), day ? day->year : 0, day ? day->month : 0,
                           day ? day->day : 0, day ? std::string() : row.invoiceDate, row.invoice);
}

}  // namespace

std::vector<size_t> RowsCarryingTheirNotes(const std::vector<CreditNoteAdjustment>& rows) {
    std::map<std::string, size_t> carrier;  // note -> row
    for (size_t row = 0; row < rows.size(); ++row) {
        auto [at, fresh] = carrier.emplace(TrimBlanks(rows[row].note), row);
        if (!fresh && InvoiceOrder(rows[row]) < InvoiceOrder(rows[at->second])) at->second = row;
    }
    std::vector<size_t> result;
    result.reserve(rows.size());
    for (const CreditNoteAdjustment& row : rows) result.push_back(carrier[TrimBlanks(row.note)]);
    return result;
}

}  // namespace zentrail
