#include "screens/master_steps.h"

#include "shell/recordset.h"
#include "tally/masters/tally_master.h"

namespace zentrail {

MasterStep FixedMastersStep(std::string name, std::string (*payload)(TallyMaster& master)) {
    return MasterStep{.name = std::move(name), .payload = [payload](const Recordset*) {
                          TallyMaster master;
                          return payload(master);
                      }};
}

MasterStep PartyLedgerStep(std::string query,
                           std::function<std::string(const Recordset& row)> rowName,
                           std::function<LedgerFields(const Recordset& row)> ledger) {
    return MasterStep{.caption = "Creating Party Masters ",
                      .query = std::move(query),
                      .rowName = std::move(rowName),
                      .payload = [ledger = std::move(ledger)](const Recordset* row) {
                          TallyMaster master;
                          return master.strLedgerAcc(ledger(*row));
                      }};
}

MasterStep CustomerLedgerStep(std::string query, CustomerColumns columns,
                              const ScreenContext& context) {
    return PartyLedgerStep(
        std::move(query), [](const Recordset& row) { return row.Fields("RtrName").Value(); },
        [columns, &context](const Recordset& row) {
            return CustomerLedgerFields(row, columns, context);
        });
}

}  // namespace zentrail
