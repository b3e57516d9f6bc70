#pragma once

// A voucher as plain values: texts as the source gives them, not escaped; amounts as numbers,
// positive as the document states them. WriteVoucher (voucher_writer.h) turns one into XML.

#include <array>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace zentrail {

// The kind decides the head's lines and the shape of the stock lines; the ledger entries say
// their own shape.
enum class VoucherKind {
    Sales,       // sales invoices, service sales, transfers out
    CreditNote,  // sales returns and retailer credit notes
    Purchase,    // purchase receipts, service purchases, transfers in
    Receipt,     // customer receipts
};

struct VoucherHead {
    VoucherKind kind = VoucherKind::Sales;
    std::string type{};  // empty: "Sales", "Credit Note", "Purchase" or "Receipt" by kind
    // Sales and credit note: written as given. Purchase and receipt: any text a date can be read
    // from, written as YYYYMMDD; WriteVoucher throws std::invalid_argument when it is no date.
    std::string date{};
    std::string party{};
    std::string number{};
    std::string reference{};
    std::string remarks{};
    bool cancel = false;
    bool optional = false;
    // The key Tally already files this document under, as written (escaped); empty: the key is
    // made from the head.
    std::string remoteId{};
    // Sales and credit note.
    std::string buyerName{};
    std::array<std::string, 5> address{};
    // Sales, credit note and purchase. A GSTIN too short to be one is not written.
    std::string state{};
    std::string gstin{};
    // Credit note: REFERENCEDATE, as given. Purchase: the supplier's invoice date, written as
    // YYYYMMDD when it is a date and as given otherwise.
    std::string referenceDate{};
    // Purchase: the delivery note and the two order numbers.
    std::string deliveryNote{};
    std::array<std::string, 2> orders{};
};

// LEDGERENTRIES.LIST or ALLLEDGERENTRIES.LIST.
enum class EntryList { Ledger, AllLedger };

// What the entry writes as ISPARTYLEDGER; a receipt's party entry writes no such line.
enum class PartyLedgerLine { No, Yes, None };

// A bill the entry opens ("New Ref") or settles ("Agst Ref"); its amount is written with the
// entry's sign.
struct BillAllocation {
    std::string name{};
    bool settles = false;
    double amount = 0;
    bool vatExpAmount = false;  // the amount again as VATEXPAMOUNT
};

// The cheque of a bank debit; its amount is the entry's.
struct BankAllocation {
    std::string date{};
    std::string instrumentDate{};
    std::string name{};
    std::string bankName{};
    std::string chequeNumber{};
};

// The rate block a purchase debit opens with.
struct InvoiceTax {
    double rate = 0;
    std::string taxClass{};
};

// One ledger entry. Written in this order: the rate block, the ledger lines with the amount,
// VATEXPAMOUNT, the GST override, the bill, the bank allocation, the cost centre.
struct LedgerEntry {
    EntryList list = EntryList::Ledger;
    std::string ledger{};
    double amount = 0;
    bool debit = false;  // the amount is written with "-" in front
    bool deemedPositive = false;
    PartyLedgerLine partyLedger = PartyLedgerLine::No;
    bool vatExpAmount = false;
    bool writeWhenZero = false;  // party entries; any other entry of amount zero is left out
    std::optional<InvoiceTax> invoiceTax{};
    std::string gstNature{};  // empty: no override; the assessable value is the amount as written
    std::optional<BillAllocation> bill{};
    std::optional<BankAllocation> bank{};
    std::string costCentre{};  // empty: none
};

struct StockBatch {
    std::string godown{};
    std::string batch{};
    std::string orderNo{};
    std::string tracking{};
    std::string dueDate{};
    double amount = 0;
    double quantity = 0;
    std::string unit{};
};

struct AccountingAllocation {
    std::string ledger{};
    std::string taxClass{};   // sales and credit note
    std::string gstNature{};  // empty: no override
    double amount = 0;
    double assessable = 0;
    std::string costCentre{};  // sales and credit note; empty: none
};

// One stock line with its batch and accounting allocation. A sales line is a credit; a
// credit note's and a purchase's are debits, their amounts written with "-" in front.
struct InventoryLine {
    std::string item{};
    // Sales and credit note: none is written unless the first is set.
    std::array<std::string, 6> remarks{};
    double rate = 0;
    double amount = 0;
    double quantity = 0;
    std::string unit{};
    StockBatch batch{};
    AccountingAllocation allocation{};
};

using VoucherEntry = std::variant<LedgerEntry, InventoryLine>;

struct Voucher {
    VoucherHead head{};
    std::vector<VoucherEntry> entries{};  // in voucher order
};

}  // namespace zentrail
