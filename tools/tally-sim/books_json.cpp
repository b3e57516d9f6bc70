#include "tally-sim/books_json.h"

#include <map>
#include <stdexcept>

#include "tally/number_text.h"

namespace zentrail::sim {

using nlohmann::json;

namespace {

json GstDetailToJson(const GstDetail& detail) {
    json rates = json::array();
    for (const GstRate& rate : detail.rates)
        rates.push_back(
            {{"head", rate.head}, {"rate", rate.rate ? json(*rate.rate) : json(nullptr)}});
    return {{"applicableFrom", detail.applicableFrom},
            {"hsnCode", detail.hsnCode},
            {"taxability", detail.taxability},
            {"state", detail.state},
            {"rates", std::move(rates)}};
}

GstDetail GstDetailFromJson(const json& j) {
    GstDetail detail;
    detail.applicableFrom = j.at("applicableFrom").get<std::string>();
    detail.hsnCode = j.at("hsnCode").get<std::string>();
    detail.taxability = j.at("taxability").get<std::string>();
    detail.state = j.at("state").get<std::string>();
    for (const json& rate : j.at("rates")) {
        GstRate read;
        read.head = rate.at("head").get<std::string>();
        if (!rate.at("rate").is_null()) read.rate = rate.at("rate").get<double>();
        detail.rates.push_back(std::move(read));
    }
    return detail;
}

// Amounts of the trial balance, kept to the paisa so that binary noise does not show.
double Money(double value) { return RoundHalfEven(value, 2); }

json TrialBalance(const Books& books) {
    std::map<int64_t, double> net;  // by ledger id, so that ledgers appear in master order
    auto post = [&](const std::string& ledger, double amount) {
        if (const Master* master = books.FindMaster(MasterKind::Ledger, ledger))
            net[master->id] += amount;
    };
    for (const auto& [id, voucher] : books.Vouchers()) {
        if (voucher.cancelled) continue;
        for (const VoucherEntry& entry : voucher.entries) {
            if (!entry.inventory) {
                post(entry.name, entry.amount);
                continue;
            }
            for (const Allocation& allocation : entry.allocations)
                post(allocation.ledger, allocation.amount);
        }
    }
    json ledgers = json::array();
    double totalDebit = 0;
    double totalCredit = 0;
    for (const auto& [id, amount] : net) {
        double debit = amount < 0 ? Money(-amount) : 0.0;
        double credit = amount > 0 ? Money(amount) : 0.0;
        totalDebit += debit;
        totalCredit += credit;
        ledgers.push_back(
            {{"ledger", books.MasterById(id)->name}, {"debit", debit}, {"credit", credit}});
    }
    return {{"ledgers", std::move(ledgers)},
            {"totalDebit", Money(totalDebit)},
            {"totalCredit", Money(totalCredit)}};
}

}  // namespace

json MasterToJson(const Master& master) {
    json j = {{"id", master.id},         {"kind", MasterKindName(master.kind)},
              {"name", master.name},     {"aliases", master.aliases},
              {"parent", master.parent}, {"predefined", master.predefined}};
    if (master.kind == MasterKind::Ledger)
        j["gst"] = {{"state", master.gst.state},
                    {"gstin", master.gst.gstin},
                    {"registrationType", master.gst.registrationType},
                    {"dutyHead", master.gst.dutyHead}};
    if (master.kind == MasterKind::StockItem) j["baseUnit"] = master.baseUnit;
    if (master.kind == MasterKind::Ledger || master.kind == MasterKind::StockItem) {
        json details = json::array();
        for (const GstDetail& detail : master.gstDetails)
            details.push_back(GstDetailToJson(detail));
        j["gstDetails"] = std::move(details);
    }
    return j;
}

Master MasterFromJson(const json& j) {
    Master master;
    master.id = j.at("id").get<int64_t>();
    std::optional<MasterKind> kind = MasterKindFromName(j.at("kind").get<std::string>());
    if (!kind) throw std::runtime_error("unknown master kind " + j.at("kind").dump());
    master.kind = *kind;
    master.name = j.at("name").get<std::string>();
    master.aliases = j.at("aliases").get<std::vector<std::string>>();
    master.parent = j.at("parent").get<std::string>();
    master.predefined = j.at("predefined").get<bool>();
    if (j.contains("gst")) {
        const json& gst = j.at("gst");
        master.gst.state = gst.at("state").get<std::string>();
        master.gst.gstin = gst.at("gstin").get<std::string>();
        master.gst.registrationType = gst.at("registrationType").get<std::string>();
        master.gst.dutyHead = gst.at("dutyHead").get<std::string>();
    }
    if (j.contains("baseUnit")) master.baseUnit = j.at("baseUnit").get<std::string>();
    if (j.contains("gstDetails"))
        for (const json& detail : j.at("gstDetails"))
            master.gstDetails.push_back(GstDetailFromJson(detail));
    return master;
}

json VoucherToJson(const Voucher& voucher) {
    json entries = json::array();
    for (const VoucherEntry& entry : voucher.entries) {
        json e;
        if (entry.inventory) {
            e["stockItem"] = entry.name;
            e["amount"] = entry.amount;
            json allocations = json::array();
            for (const Allocation& allocation : entry.allocations)
                allocations.push_back(
                    {{"ledger", allocation.ledger}, {"amount", allocation.amount}});
            e["allocations"] = std::move(allocations);
        } else {
            e["ledger"] = entry.name;
            e["amount"] = entry.amount;
        }
        entries.push_back(std::move(e));
    }
    return {{"id", voucher.id},
            {"remoteId", voucher.remoteId},
            {"type", voucher.type},
            {"date", voucher.date},
            {"number", voucher.number},
            {"party", voucher.party},
            {"cancelled", voucher.cancelled},
            {"entries", std::move(entries)}};
}

Voucher VoucherFromJson(const json& j) {
    Voucher voucher;
    voucher.id = j.at("id").get<int64_t>();
    voucher.remoteId = j.at("remoteId").get<std::string>();
    voucher.type = j.at("type").get<std::string>();
    voucher.date = j.at("date").get<std::string>();
    voucher.number = j.at("number").get<std::string>();
    voucher.party = j.at("party").get<std::string>();
    voucher.cancelled = j.at("cancelled").get<bool>();
    for (const json& e : j.at("entries")) {
        VoucherEntry entry;
        entry.amount = e.at("amount").get<double>();
        if (e.contains("stockItem")) {
            entry.inventory = true;
            entry.name = e.at("stockItem").get<std::string>();
            for (const json& a : e.at("allocations"))
                entry.allocations.push_back(
                    {a.at("ledger").get<std::string>(), a.at("amount").get<double>()});
        } else {
            entry.name = e.at("ledger").get<std::string>();
        }
        voucher.entries.push_back(std::move(entry));
    }
    return voucher;
}

json BooksToJson(const Books& books) {
    json masters = json::array();
    for (const Master& master : books.Masters()) masters.push_back(MasterToJson(master));
    json vouchers = json::array();
    for (const auto& [id, voucher] : books.Vouchers()) vouchers.push_back(VoucherToJson(voucher));
    return {{"company", books.Company()},
            {"masters", std::move(masters)},
            {"vouchers", std::move(vouchers)},
            {"trialBalance", TrialBalance(books)}};
}

std::string DumpJson(const json& j, int indent) {
    return j.dump(indent, ' ', false, json::error_handler_t::replace);
}

}  // namespace zentrail::sim
