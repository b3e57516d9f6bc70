#pragma once

#include <string>

#include "screens/customer_ledger.h"
#include "screens/screen_definition.h"

namespace zentrail {

class TallyMaster;

// The one request of a screen's fixed masters, named `name` in the log and the report.
MasterStep FixedMastersStep(std::string name, std::string (*payload)(TallyMaster& master));

// The customers' party ledgers, one request per row of `query`.
MasterStep CustomerLedgerStep(std::string query, CustomerColumns columns,
                              const ScreenContext& context);

// One ledger request per row of `query`, under the caption every party step shows.
MasterStep PartyLedgerStep(std::string query,
                           std::function<std::string(const Recordset& row)> rowName,
                           std::function<LedgerFields(const Recordset& row)> ledger);

}  // namespace zentrail
