#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "tally-sim/book_records.h"

namespace zentrail::sim {

// The masters and vouchers of the one loaded company, with Tally's lookups: masters by
// name or alias per kind (without regard to case), vouchers by REMOTEID.
class Books {
public:
    // What was written since the last TakeChanges, for keeping a books file in step.
    struct Changes {
        std::vector<int64_t> masters;
        std::vector<int64_t> vouchersPut;
        std::vector<int64_t> vouchersRemoved;
        bool Empty() const {
            return masters.empty() && vouchersPut.empty() && vouchersRemoved.empty();
        }
    };

    explicit Books(std::string company);

    const std::string& Company() const { return company_; }

    const Master* FindMaster(MasterKind kind, std::string_view nameOrAlias) const;
    const Master* MasterById(int64_t id) const;
    // Adds a master whose names are not yet held; a master without id gets the next one.
    const Master& AddMaster(Master master);
    const std::deque<Master>& Masters() const { return masters_; }

    const Voucher* FindVoucher(std::string_view remoteId) const;
    const Voucher* VoucherById(int64_t id) const;
    // Stores a voucher: one without id gets the next one, one with an id replaces it.
    const Voucher& PutVoucher(Voucher voucher);
    void RemoveVoucher(int64_t id);
    const std::map<int64_t, Voucher>& Vouchers() const { return vouchers_; }

    Changes TakeChanges();

private:
    std::string company_;
    std::deque<Master> masters_;  // in id order; never shrinks, so pointers stay valid
    std::unordered_map<int64_t, size_t> masterIndexById_;
    std::array<std::unordered_map<std::string, size_t>, std::size(kAllMasterKinds)> names_;
    std::map<int64_t, Voucher> vouchers_;
    std::unordered_map<std::string, int64_t> voucherIdByRemoteId_;
    int64_t nextMasterId_ = 1;
    int64_t nextVoucherId_ = 1;
    Changes changes_;
};

}  // namespace zentrail::sim
