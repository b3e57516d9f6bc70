#include "tally-sim/books.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "tally-sim/names.h"

namespace zentrail::sim {

namespace {

size_t KindIndex(MasterKind kind) { return static_cast<size_t>(kind); }

}  // namespace

Books::Books(std::string company) : company_(std::move(company)) {}

const Master* Books::FindMaster(MasterKind kind, std::string_view nameOrAlias) const {
    const auto& names = names_[KindIndex(kind)];
    auto hit = names.find(NameKey(nameOrAlias));
    return hit == names.end() ? nullptr : &masters_[hit->second];
}

const Master* Books::MasterById(int64_t id) const {
    auto hit = masterIndexById_.find(id);
    return hit == masterIndexById_.end() ? nullptr : &masters_[hit->second];
}

const Master& Books::AddMaster(Master master) {
    if (master.id == 0) master.id = nextMasterId_;
    if (masterIndexById_.count(master.id))
        throw std::logic_error("master id " + std::to_string(master.id) + " is already held");
    auto& names = names_[KindIndex(master.kind)];
    std::vector<std::string> keys{NameKey(master.name)};
    for (const std::string& alias : master.aliases) keys.push_back(NameKey(alias));
    for (const std::string& key : keys)
        if (names.count(key)) throw std::logic_error("the name '" + key + "' is already held");
    size_t index = masters_.size();
    masters_.push_back(std::move(master));
    const Master& added = masters_.back();
    for (std::string& key : keys) names.emplace(std::move(key), index);
    masterIndexById_.emplace(added.id, index);
    nextMasterId_ = std::max(nextMasterId_, added.id + 1);
    changes_.masters.push_back(added.id);
    return added;
}

const Voucher* Books::FindVoucher(std::string_view remoteId) const {
    auto hit = voucherIdByRemoteId_.find(std::string(remoteId));
    return hit == voucherIdByRemoteId_.end() ? nullptr : VoucherById(hit->second);
}

const Voucher* Books::VoucherById(int64_t id) const {
    auto hit = vouchers_.find(id);
    return hit == vouchers_.end() ? nullptr : &hit->second;
}

const Voucher& Books::PutVoucher(Voucher voucher) {
    if (voucher.id == 0) voucher.id = nextVoucherId_;
    auto old = vouchers_.find(voucher.id);
    if (old != vouchers_.end() && !old->second.remoteId.empty())
        voucherIdByRemoteId_.erase(old->second.remoteId);
    if (!voucher.remoteId.empty()) {
        auto [slot, inserted] = voucherIdByRemoteId_.emplace(voucher.remoteId, voucher.id);
        if (!inserted && slot->second != voucher.id)
            throw std::logic_error("REMOTEID " + voucher.remoteId + " is already held");
    }
    nextVoucherId_ = std::max(nextVoucherId_, voucher.id + 1);
    int64_t id = voucher.id;
    Voucher& stored = vouchers_[id] = std::move(voucher);
    changes_.vouchersPut.push_back(id);
    return stored;
}

void Books::RemoveVoucher(int64_t id) {
    auto hit = vouchers_.find(id);
    if (hit == vouchers_.end()) return;
    if (!hit->second.remoteId.empty()) voucherIdByRemoteId_.erase(hit->second.remoteId);
    vouchers_.erase(hit);
    changes_.vouchersRemoved.push_back(id);
}

Books::Changes Books::TakeChanges() { return std::exchange(changes_, {}); }

}  // namespace zentrail::sim
