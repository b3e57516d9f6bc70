#pragma once

#include <memory>
#include <string>
#include <vector>

#include "screens/transfer_screen.h"

namespace zentrail {

// The transfer screens by their short names (item, sales, purchase, salesreturn, idt,
// receipt, service, creditnote).
const std::vector<std::string>& ScreenNames();
bool IsKnownScreen(const std::string& name);
// nullptr for a known screen that is not built yet.
std::unique_ptr<TransferScreen> CreateScreen(const std::string& name, ScreenContext context);

}  // namespace zentrail
