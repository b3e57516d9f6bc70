#pragma once

// The stock lines the screens send: every item in pieces, from the main location's primary
// batch.

#include <string>

#include "tally/vouchers/voucher.h"

namespace zentrail {

// A line of a sale, transfer out or return; its batch is worth quantity times rate.
InventoryLine SoldStockLine(std::string item, double quantity, double rate, double amount,
                            std::string ledger, std::string gstNature, double assessable);

// A line of a purchase or transfer in; its batch and allocation are worth the line's amount.
InventoryLine BoughtStockLine(std::string item, double quantity, double rate, double amount,
                              std::string ledger, std::string gstNature, double assessable);

}  // namespace zentrail
