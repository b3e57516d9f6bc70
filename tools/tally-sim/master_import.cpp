#include "tally-sim/master_import.h"

#include <string>
#include <vector>

#include "tally-sim/gst_details.h"
#include "tally-sim/names.h"
#include "tally-sim/xml_values.h"

namespace zentrail::sim {

namespace {

std::string Quoted(MasterKind kind, const std::string& name, const char* what) {
    return std::string(MasterKindName(kind)) + " '" + name + "' " + what;
}

// The name comes from the NAME attribute or else the first name of NAME.LIST (units carry a
// plain NAME element); the other names of the list are aliases.
void ReadNames(const pugi::xml_node& node, Master& master) {
    std::vector<std::string> listed;
    for (pugi::xml_node name : node.child("NAME.LIST").children("NAME"))
        listed.emplace_back(TrimName(name.child_value()));
    for (pugi::xml_node name : node.children("NAME"))
        listed.emplace_back(TrimName(name.child_value()));
    master.name = AttributeText(node, "NAME");
    for (std::string& name : listed) {
        if (name.empty()) continue;
        if (master.name.empty()) {
            master.name = std::move(name);
            continue;
        }
        bool seen = SameName(name, master.name);
        for (const std::string& alias : master.aliases) seen = seen || SameName(name, alias);
        if (!seen) master.aliases.push_back(std::move(name));
    }
}

// Resolves an optional parent of the same or another kind; "Primary" stands for none.
bool ResolveOptionalParent(Books& books, MasterKind parentKind, const std::string& text,
                           const char* builtIn, std::string& parent) {
    if (IsNoReference(text, builtIn)) {
        parent.clear();
        return true;
    }
    const Master* found = books.FindMaster(parentKind, text);
    if (!found) return false;
    parent = found->name;
    return true;
}

std::optional<std::string> CheckReferences(const pugi::xml_node& node, Books& books,
                                           Master& master) {
    std::string parent = ChildText(node, "PARENT");
    switch (master.kind) {
        case MasterKind::Ledger: {
            const Master* group = books.FindMaster(MasterKind::Group, parent);
            if (!group) return Quoted(MasterKind::Group, parent, "does not exist!");
            master.parent = group->name;
            return std::nullopt;
        }
        case MasterKind::Group:
            if (!ResolveOptionalParent(books, MasterKind::Group, parent, "Primary", master.parent))
                return Quoted(MasterKind::Group, parent, "does not exist!");
            return std::nullopt;
        case MasterKind::StockGroup:
            if (!ResolveOptionalParent(books, MasterKind::StockGroup, parent, "Primary",
                                       master.parent))
                return Quoted(MasterKind::StockGroup, parent, "does not exist!");
            return std::nullopt;
        case MasterKind::StockItem: {
            if (!ResolveOptionalParent(books, MasterKind::StockGroup, parent, "Primary",
                                       master.parent))
                return Quoted(MasterKind::StockGroup, parent, "does not exist!");
            std::string unit = ChildText(node, "BASEUNITS");
            if (!ResolveOptionalParent(books, MasterKind::Unit, unit, "Not Applicable",
                                       master.baseUnit))
                return Quoted(MasterKind::Unit, unit, "does not exist!");
            return std::nullopt;
        }
        case MasterKind::VoucherType: {
            // A voucher type of one's own always sits under one of Tally's own types.
            const Master* type = books.FindMaster(MasterKind::VoucherType, parent);
            if (!type || !type->predefined)
                return Quoted(MasterKind::VoucherType, parent, "does not exist!");
            master.parent = type->name;
            return std::nullopt;
        }
        case MasterKind::Godown:
            if (!ResolveOptionalParent(books, MasterKind::Godown, parent, "Primary", master.parent))
                return Quoted(MasterKind::Godown, parent, "does not exist!");
            return std::nullopt;
        case MasterKind::Unit:
            return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

ImportOutcome ImportMaster(const pugi::xml_node& node, MasterKind kind, Books& books) {
    std::string action = AttributeText(node, "ACTION");
    if (!action.empty() && !SameName(action, "Create"))
        return ImportOutcome::Failure("Action '" + action + "' is not supported for " +
                                      MasterKindName(kind) + " masters");
    Master master;
    master.kind = kind;
    ReadNames(node, master);
    if (master.name.empty())
        return ImportOutcome::Failure(std::string(MasterKindName(kind)) + " name is missing");
    if (books.FindMaster(kind, master.name))
        return ImportOutcome::Failure(Quoted(kind, master.name, "already exists!"));
    for (const std::string& alias : master.aliases)
        if (books.FindMaster(kind, alias))
            return ImportOutcome::Failure(Quoted(kind, alias, "already exists!"));
    if (std::optional<std::string> error = CheckReferences(node, books, master))
        return ImportOutcome::Failure(std::move(*error));
    if (kind == MasterKind::Ledger) {
        master.gst.state = ChildText(node, "LEDSTATENAME");
        master.gst.gstin = ChildText(node, "PARTYGSTIN");
        master.gst.registrationType = ChildText(node, "GSTREGISTRATIONTYPE");
        master.gst.dutyHead = ChildText(node, "GSTDUTYHEAD");
    }
    if (kind == MasterKind::Ledger || kind == MasterKind::StockItem)
        master.gstDetails = ReadGstDetails(node);

    ImportOutcome outcome;
    outcome.result = ImportOutcome::Result::Created;
    outcome.masterId = books.AddMaster(std::move(master)).id;
    return outcome;
}

}  // namespace zentrail::sim
