#include "tally-sim/voucher_import.h"

#include <cmath>
#include <cstring>
#include <optional>
#include <string>

#include "tally-sim/names.h"
#include "tally-sim/tally_amount.h"
#include "tally-sim/tally_date.h"
#include "tally-sim/xml_values.h"
#include "tally/number_text.h"

namespace zentrail::sim {

namespace {

constexpr double kBalanceTolerance = 0.005;

enum class Action { Create, Cancel, Delete };

std::optional<Action> ReadAction(const std::string& text) {
    if (text.empty() || SameName(text, "Create") || SameName(text, "Alter")) return Action::Create;
    if (SameName(text, "Cancel")) return Action::Cancel;
    if (SameName(text, "Delete")) return Action::Delete;
    return std::nullopt;
}

std::string Missing(MasterKind kind, const std::string& name) {
    return std::string(MasterKindName(kind)) + " '" + name + "' does not exist!";
}

bool IsLedgerEntry(const char* tag) {
    return std::strcmp(tag, "LEDGERENTRIES.LIST") == 0 ||
           std::strcmp(tag, "ALLLEDGERENTRIES.LIST") == 0;
}

bool IsInventoryEntry(const char* tag) {
    return std::strcmp(tag, "ALLINVENTORYENTRIES.LIST") == 0 ||
           std::strcmp(tag, "INVENTORYENTRIES.LIST") == 0;
}

// Reads the voucher's date and type, which even a cancellation needs.
std::optional<std::string> ReadHead(const pugi::xml_node& node, const Books& books,
                                    Voucher& voucher) {
    std::string dateText = ChildText(node, "DATE");
    if (dateText.empty()) return "Voucher date is missing";
    std::optional<std::string> date = ReadTallyDate(dateText);
    if (!date) return "Voucher date '" + dateText + "' is not a valid date";
    voucher.date = *date;

    std::string attributeType = AttributeText(node, "VCHTYPE");
    std::string elementType = ChildText(node, "VOUCHERTYPENAME");
    if (attributeType.empty() && elementType.empty()) return "Voucher type is missing";
    const Master* type = nullptr;
    for (const std::string* text : {&attributeType, &elementType}) {
        if (text->empty()) continue;
        const Master* found = books.FindMaster(MasterKind::VoucherType, *text);
        if (!found) return "Voucher type '" + *text + "' does not exist!";
        if (type && type != found)
            return "Voucher type '" + elementType + "' does not match VCHTYPE '" + attributeType +
                   "'";
        type = found;
    }
    voucher.type = type->name;
    voucher.number = ChildText(node, "VOUCHERNUMBER");
    return std::nullopt;
}

std::optional<std::string> ReadAmount(const pugi::xml_node& entry, double& amount) {
    std::string text = entry.child("AMOUNT").child_value();
    std::optional<double> value = ReadTallyAmount(text);
    if (!value) return "Amount '" + std::string(TrimName(text)) + "' is not a number";
    amount = *value;
    return std::nullopt;
}

std::optional<std::string> ResolveLedger(const Books& books, const std::string& name,
                                         std::string& canonical) {
    const Master* ledger = books.FindMaster(MasterKind::Ledger, name);
    if (!ledger) return Missing(MasterKind::Ledger, name);
    canonical = ledger->name;
    return std::nullopt;
}

std::optional<std::string> ReadLedgerEntry(const pugi::xml_node& node, const Books& books,
                                           VoucherEntry& entry) {
    if (auto error = ResolveLedger(books, ChildText(node, "LEDGERNAME"), entry.name)) return error;
    return ReadAmount(node, entry.amount);
}

std::optional<std::string> ReadInventoryEntry(const pugi::xml_node& node, const Books& books,
                                              VoucherEntry& entry) {
    entry.inventory = true;
    std::string itemName = ChildText(node, "STOCKITEMNAME");
    const Master* item = books.FindMaster(MasterKind::StockItem, itemName);
    if (!item) return Missing(MasterKind::StockItem, itemName);
    entry.name = item->name;
    if (auto error = ReadAmount(node, entry.amount)) return error;
    for (pugi::xml_node batch : node.children("BATCHALLOCATIONS.LIST")) {
        pugi::xml_node godown = batch.child("GODOWNNAME");
        if (!godown) continue;
        std::string godownName(TrimName(godown.child_value()));
        if (!books.FindMaster(MasterKind::Godown, godownName))
            return Missing(MasterKind::Godown, godownName);
    }
    for (pugi::xml_node allocation : node.children("ACCOUNTINGALLOCATIONS.LIST")) {
        Allocation read;
        if (auto error = ResolveLedger(books, ChildText(allocation, "LEDGERNAME"), read.ledger))
            return error;
        if (auto error = ReadAmount(allocation, read.amount)) return error;
        entry.allocations.push_back(std::move(read));
    }
    return std::nullopt;
}

std::optional<std::string> ReadBody(const pugi::xml_node& node, const Books& books,
                                    Voucher& voucher) {
    std::string party = ChildText(node, "PARTYLEDGERNAME");
    if (!party.empty())
        if (auto error = ResolveLedger(books, party, voucher.party)) return error;
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        VoucherEntry entry;
        std::optional<std::string> error;
        if (IsLedgerEntry(child.name()))
            error = ReadLedgerEntry(child, books, entry);
        else if (IsInventoryEntry(child.name()))
            error = ReadInventoryEntry(child, books, entry);
        else
            continue;
        if (error) return error;
        voucher.entries.push_back(std::move(entry));
    }
    // Only the entries' own amounts count; their allocations split them and would count twice.
    double debit = 0;
    double credit = 0;
    for (const VoucherEntry& entry : voucher.entries)
        (entry.amount < 0 ? debit : credit) += std::fabs(entry.amount);
    double difference = std::fabs(debit - credit);
    if (difference > kBalanceTolerance + 1e-9)
        return "Voucher totals do not match! Dr: " + NumberText(RoundHalfEven(debit, 2)) +
               " Cr: " + NumberText(RoundHalfEven(credit, 2)) +
               " Diff: " + NumberText(RoundHalfEven(difference, 2));
    return std::nullopt;
}

ImportOutcome Done(ImportOutcome::Result result, int64_t voucherId = 0) {
    ImportOutcome outcome;
    outcome.result = result;
    outcome.voucherId = voucherId;
    return outcome;
}

}  // namespace

ImportOutcome ImportVoucher(const pugi::xml_node& node, Books& books) {
    std::string actionText = AttributeText(node, "ACTION");
    std::optional<Action> action = ReadAction(actionText);
    if (!action) return ImportOutcome::Failure("Unknown voucher action '" + actionText + "'");
    std::string remoteId = AttributeText(node, "REMOTEID");
    const Voucher* held = remoteId.empty() ? nullptr : books.FindVoucher(remoteId);

    if (*action == Action::Delete) {
        if (!held)
            return ImportOutcome::Failure("Voucher with REMOTEID '" + remoteId +
                                          "' does not exist!");
        books.RemoveVoucher(held->id);
        return Done(ImportOutcome::Result::Deleted);
    }
    // A cancelled voucher keeps its head and loses its amounts, as in Tally.
    if (*action == Action::Cancel && held) {
        Voucher cancelled = *held;
        cancelled.cancelled = true;
        cancelled.entries.clear();
        books.PutVoucher(std::move(cancelled));
        return Done(ImportOutcome::Result::Cancelled);
    }

    Voucher voucher;
    voucher.remoteId = remoteId;
    if (auto error = ReadHead(node, books, voucher)) return ImportOutcome::Failure(*error);
    if (*action == Action::Cancel) {
        voucher.cancelled = true;
        voucher.party = ChildText(node, "PARTYLEDGERNAME");
        books.PutVoucher(std::move(voucher));
        return Done(ImportOutcome::Result::Cancelled);
    }
    if (auto error = ReadBody(node, books, voucher)) return ImportOutcome::Failure(*error);
    if (held) {
        voucher.id = held->id;
        books.PutVoucher(std::move(voucher));
        return Done(ImportOutcome::Result::Altered);
    }
    return Done(ImportOutcome::Result::Created, books.PutVoucher(std::move(voucher)).id);
}

}  // namespace zentrail::sim
