#pragma once

#include <nlohmann/json.hpp>

#include "tally-sim/book_records.h"
#include "tally-sim/books.h"

namespace zentrail::sim {

nlohmann::json MasterToJson(const Master& master);
Master MasterFromJson(const nlohmann::json& json);
nlohmann::json VoucherToJson(const Voucher& voucher);
Voucher VoucherFromJson(const nlohmann::json& json);

// The whole books as GET /books shows them: the company, every master, every voucher and a
// trial balance of every ledger that vouchers posted to.
nlohmann::json BooksToJson(const Books& books);

// Serialises without failing on text that is not valid UTF-8 (it is replaced).
std::string DumpJson(const nlohmann::json& json, int indent = -1);

}  // namespace zentrail::sim
