#pragma once

// The writer's output taken apart for tests: a head alone, the entries alone, a whole request.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "tally/tally_builder.h"
#include "tally/vouchers/voucher.h"
#include "tally/vouchers/voucher_head_writer.h"
#include "tally/vouchers/voucher_writer.h"

namespace zentrail::testing {

inline constexpr std::string_view kVoucherClose = "</VOUCHER>\r\n</TALLYMESSAGE>\r\n";

inline std::string WrittenHead(const VoucherHead& head) {
    std::string out;
    AppendVoucherHead(out, head);
    return out;
}

// What the entries add to a voucher of `head`, closing tags left out.
inline std::string WrittenEntries(const std::vector<VoucherEntry>& entries,
                                  const VoucherHead& head = {}) {
    const std::string opening = WrittenHead(head);
    const std::string whole = WriteVoucher({.head = head, .entries = entries});
    EXPECT_EQ(whole.compare(0, opening.size(), opening), 0) << whole;
    EXPECT_EQ(whole.substr(whole.size() - kVoucherClose.size()), kVoucherClose) << whole;
    return whole.substr(opening.size(), whole.size() - opening.size() - kVoucherClose.size());
}

inline std::string WrittenEntry(const VoucherEntry& entry, const VoucherHead& head = {}) {
    return WrittenEntries({entry}, head);
}

// The whole import request of the voucher for the company "Zentrail Demo & Co".
inline std::string WrittenRequest(const Voucher& voucher) {
    TallyBuilder envelope;
    std::string report = "Vouchers";
    return envelope.strTopMaster(report, "Zentrail Demo & Co") + WriteVoucher(voucher) +
           envelope.strBottom();
}

}  // namespace zentrail::testing
