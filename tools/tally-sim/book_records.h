#pragma once

// What the simulated company holds: masters and vouchers as they were imported.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrail::sim {

enum class MasterKind { Group, Ledger, StockGroup, StockItem, Unit, VoucherType, Godown };

inline constexpr MasterKind kAllMasterKinds[] = {
    MasterKind::Group, MasterKind::Ledger,      MasterKind::StockGroup, MasterKind::StockItem,
    MasterKind::Unit,  MasterKind::VoucherType, MasterKind::Godown};

// The tag of the kind in import XML: "LEDGER", "STOCKITEM" ...
const char* MasterTag(MasterKind kind);
// The kind as Tally names it in its messages: "Ledger", "Stock Item" ...
const char* MasterKindName(MasterKind kind);
// Looks a kind up by its display name; nullopt when unknown.
std::optional<MasterKind> MasterKindFromName(std::string_view name);
// Looks a kind up by its import tag; nullopt for anything that is not a master.
std::optional<MasterKind> MasterKindFromTag(std::string_view tag);

struct GstRate {
    std::string head;            // "Central Tax", "State Tax", "Integrated Tax", "Cess"
    std::optional<double> rate;  // absent when the block carries no GSTRATE line
};

// One dated GSTDETAILS.LIST block of a stock item or ledger.
struct GstDetail {
    std::string applicableFrom;
    std::string hsnCode;
    std::string taxability;
    std::string state;
    std::vector<GstRate> rates;
};

// The GST registration of a party or tax ledger, as sent.
struct LedgerGst {
    std::string state;             // LEDSTATENAME
    std::string gstin;             // PARTYGSTIN
    std::string registrationType;  // GSTREGISTRATIONTYPE
    std::string dutyHead;          // GSTDUTYHEAD
};

struct Master {
    int64_t id = 0;
    MasterKind kind = MasterKind::Ledger;
    std::string name;
    std::vector<std::string> aliases;
    std::string parent;  // empty: directly under Primary
    bool predefined = false;
    LedgerGst gst;                      // ledgers only
    std::string baseUnit;               // stock items only
    std::vector<GstDetail> gstDetails;  // stock items and sales/purchase ledgers
};

struct Allocation {
    std::string ledger;
    double amount = 0;
};

struct VoucherEntry {
    bool inventory = false;               // a stock line; else a ledger entry
    std::string name;                     // ledger or stock item, as the books name it
    double amount = 0;                    // Tally's sign: negative is a debit
    std::vector<Allocation> allocations;  // accounting allocations of a stock line
};

struct Voucher {
    int64_t id = 0;
    std::string remoteId;
    std::string type;
    std::string date;  // YYYYMMDD
    std::string number;
    std::string party;
    bool cancelled = false;
    std::vector<VoucherEntry> entries;
};

}  // namespace zentrail::sim
