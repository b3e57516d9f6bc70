#include "tally-sim/predefined_masters.h"

namespace zentrail::sim {

namespace {

struct Predefined {
    MasterKind kind;
    const char* name;
    const char* parent;
};

constexpr Predefined kPredefined[] = {
    // Primary groups.
    {MasterKind::Group, "Branch / Divisions", ""},
    {MasterKind::Group, "Capital Account", ""},
    {MasterKind::Group, "Current Assets", ""},
    {MasterKind::Group, "Current Liabilities", ""},
    {MasterKind::Group, "Direct Expenses", ""},
    {MasterKind::Group, "Direct Incomes", ""},
    {MasterKind::Group, "Fixed Assets", ""},
    {MasterKind::Group, "Indirect Expenses", ""},
    {MasterKind::Group, "Indirect Incomes", ""},
    {MasterKind::Group, "Investments", ""},
    {MasterKind::Group, "Loans (Liability)", ""},
    {MasterKind::Group, "Misc. Expenses (ASSET)", ""},
    {MasterKind::Group, "Purchase Accounts", ""},
    {MasterKind::Group, "Sales Accounts", ""},
    {MasterKind::Group, "Suspense A/c", ""},
    // Sub groups.
    {MasterKind::Group, "Bank Accounts", "Current Assets"},
    {MasterKind::Group, "Bank OD A/c", "Loans (Liability)"},
    {MasterKind::Group, "Cash-in-Hand", "Current Assets"},
    {MasterKind::Group, "Deposits (Asset)", "Current Assets"},
    {MasterKind::Group, "Duties & Taxes", "Current Liabilities"},
    {MasterKind::Group, "Loans & Advances (Asset)", "Current Assets"},
    {MasterKind::Group, "Provisions", "Current Liabilities"},
    {MasterKind::Group, "Reserves & Surplus", "Capital Account"},
    {MasterKind::Group, "Secured Loans", "Loans (Liability)"},
    {MasterKind::Group, "Stock-in-Hand", "Current Assets"},
    {MasterKind::Group, "Sundry Creditors", "Current Liabilities"},
    {MasterKind::Group, "Sundry Debtors", "Current Assets"},
    {MasterKind::Group, "Unsecured Loans", "Loans (Liability)"},
    {MasterKind::Ledger, "Cash", "Cash-in-Hand"},
    {MasterKind::Ledger, "Profit & Loss A/c", ""},
    {MasterKind::Godown, "Main Location", ""},
    {MasterKind::VoucherType, "Contra", ""},
    {MasterKind::VoucherType, "Payment", ""},
    {MasterKind::VoucherType, "Receipt", ""},
    {MasterKind::VoucherType, "Journal", ""},
    {MasterKind::VoucherType, "Sales", ""},
    {MasterKind::VoucherType, "Purchase", ""},
    {MasterKind::VoucherType, "Credit Note", ""},
    {MasterKind::VoucherType, "Debit Note", ""},
    {MasterKind::VoucherType, "Delivery Note", ""},
    {MasterKind::VoucherType, "Receipt Note", ""},
    {MasterKind::VoucherType, "Rejections In", ""},
    {MasterKind::VoucherType, "Rejections Out", ""},
    {MasterKind::VoucherType, "Stock Journal", ""},
    {MasterKind::VoucherType, "Physical Stock", ""},
    {MasterKind::VoucherType, "Sales Order", ""},
    {MasterKind::VoucherType, "Purchase Order", ""},
    {MasterKind::VoucherType, "Memorandum", ""},
    {MasterKind::VoucherType, "Reversing Journal", ""},
};

}  // namespace

void AddPredefinedMasters(Books& books) {
    for (const Predefined& entry : kPredefined) {
        Master master;
        master.kind = entry.kind;
        master.name = entry.name;
        master.parent = entry.parent;
        master.predefined = true;
        books.AddMaster(std::move(master));
    }
}

}  // namespace zentrail::sim
