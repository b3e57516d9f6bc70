#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "tally/vouchers/voucher_head_writer.h"
#include "tally/vouchers/voucher_writer.h"

namespace zentrail {
namespace {

// The REMOTEID attribute as written.
std::string WrittenRemoteId(const std::string& voucher) {
    const std::string marker = "REMOTEID=\"";
    const size_t at = voucher.find(marker);
    if (at == std::string::npos) return {};
    const size_t begin = at + marker.size();
    return voucher.substr(begin, voucher.find('"', begin) - begin);
}

struct KeyCase {
    const char* what;
    VoucherHead head;
    const char* key;
};

// The key is the one the writer writes, from the escaped texts and, for a purchase or receipt,
// the date as read; the GUID repeats it.
TEST(VoucherRemoteId, IsTheKeyTheWriterWrites) {
    const KeyCase cases[] = {
        {"sales",
         {.kind = VoucherKind::Sales,
          .type = "KVZ Sales",
          .date = "20240115",
          .party = "ABC Traders_12",
          .number = "SI-0042",
          .reference = "SI-0042"},
         "6178b2bd-1d64-4c89-9c2a-20240115-KVZ Sales-ABC Traders_12-SI-0042-SI-0042"},
        {"default type",
         {.kind = VoucherKind::CreditNote, .date = "20240120", .party = "P", .number = "SR-7"},
         "6178b2bd-1d64-4c89-9c2a-20240120-Credit Note-P-SR-7-"},
        {"purchase date as read",
         {.kind = VoucherKind::Purchase,
          .type = "KVZ Purchase",
          .date = "31/01/2024",
          .party = "Sharma & Sons",
          .number = "PR/1",
          .reference = "INV<1>"},
         "6178b2bd-1d64-4c89-9c2a-20240131-KVZ Purchase-Sharma &amp; Sons-PR/1-INV&lt;1&gt;"},
        {"receipt, text already escaped",
         {.kind = VoucherKind::Receipt,
          .type = "KVZ Receipt",
          .date = "2024-03-05",
          .party = "D&apos;Souza &amp; Sons",
          .number = "1",
          .reference = "RC-9"},
         "6178b2bd-1d64-4c89-9c2a-20240305-KVZ Receipt-D&apos;Souza &amp; Sons-1-RC-9"},
        {"cancelled",
         {.kind = VoucherKind::Sales,
          .type = "KVZ Sales",
          .date = "20240115",
          .party = " Padded \"Co\" ",
          .number = "SI-1",
          .reference = "SI-1",
          .cancel = true},
         "6178b2bd-1d64-4c89-9c2a-20240115-KVZ Sales-Padded &quot;Co&quot;-SI-1-SI-1"},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string key = VoucherRemoteId(c.head);
        EXPECT_EQ(key, c.key);
        const std::string voucher = WriteVoucher({.head = c.head});
        EXPECT_EQ(WrittenRemoteId(voucher), key);
        EXPECT_NE(voucher.find("<GUID>" + key + "</GUID>"), std::string::npos) << voucher;
    }
}

TEST(VoucherRemoteId, APurchaseOrReceiptDateThatIsNoDateThrows) {
    for (VoucherKind kind : {VoucherKind::Purchase, VoucherKind::Receipt}) {
        const VoucherHead head{.kind = kind, .date = "31/02/2024", .party = "P", .number = "1"};
        EXPECT_THROW(VoucherRemoteId(head), std::invalid_argument);
    }
}

}  // namespace
}  // namespace zentrail
