#include "screens/stock_lines.h"

#include <utility>

namespace zentrail {

namespace {

constexpr const char* kGodown = "Main Location";
constexpr const char* kBatch = "Primary Batch";
constexpr const char* kUnit = "PC";

InventoryLine StockLine(std::string item, double quantity, double rate, double amount,
                        double batchAmount, AccountingAllocation allocation) {
    return {.item = std::move(item),
            .rate = rate,
            .amount = amount,
            .quantity = quantity,
            .unit = kUnit,
            .batch = {.godown = kGodown,
                      .batch = kBatch,
                      .amount = batchAmount,
                      .quantity = quantity,
                      .unit = kUnit},
            .allocation = std::move(allocation)};
}

}  // namespace

InventoryLine SoldStockLine(std::string item, double quantity, double rate, double amount,
                            std::string ledger, std::string gstNature, double assessable) {
    return StockLine(std::move(item), quantity, rate, amount, quantity * rate,
                     {.ledger = std::move(ledger),
                      .gstNature = std::move(gstNature),
                      .amount = amount,
                      .assessable = assessable});
}

InventoryLine BoughtStockLine(std::string item, double quantity, double rate, double amount,
                              std::string ledger, std::string gstNature, double assessable) {
    return StockLine(std::move(item), quantity, rate, amount, amount,
                     {.ledger = std::move(ledger),
                      .gstNature = std::move(gstNature),
                      .amount = amount,
                      .assessable = assessable});
}

}  // namespace zentrail
