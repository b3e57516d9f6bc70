#include "tally-sim/book_records.h"

namespace zentrail::sim {

const char* MasterTag(MasterKind kind) {
    switch (kind) {
        case MasterKind::Group:
            return "GROUP";
        case MasterKind::Ledger:
            return "LEDGER";
        case MasterKind::StockGroup:
            return "STOCKGROUP";
        case MasterKind::StockItem:
            return "STOCKITEM";
        case MasterKind::Unit:
            return "UNIT";
        case MasterKind::VoucherType:
            return "VOUCHERTYPE";
        case MasterKind::Godown:
            return "GODOWN";
    }
    return "";
}

const char* MasterKindName(MasterKind kind) {
    switch (kind) {
        case MasterKind::Group:
            return "Group";
        case MasterKind::Ledger:
            return "Ledger";
        case MasterKind::StockGroup:
            return "Stock Group";
        case MasterKind::StockItem:
            return "Stock Item";
        case MasterKind::Unit:
            return "Unit";
        case MasterKind::VoucherType:
            return "Voucher Type";
        case MasterKind::Godown:
            return "Godown";
    }
    return "";
}

std::optional<MasterKind> MasterKindFromName(std::string_view name) {
    for (MasterKind kind : kAllMasterKinds)
        if (name == MasterKindName(kind)) return kind;
    return std::nullopt;
}

std::optional<MasterKind> MasterKindFromTag(std::string_view tag) {
    for (MasterKind kind : kAllMasterKinds)
        if (tag == MasterTag(kind)) return kind;
    return std::nullopt;
}

}  // namespace zentrail::sim
