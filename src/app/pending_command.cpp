#include "app/pending_command.h"

#include <iostream>

#include "app/csv_output.h"
#include "shell/db_error.h"

namespace zentrail::cli {

int PendingCommand::Run(TransferScreen& screen, CliProgress&) {
    std::vector<PendingDocument> pending;
    try {
        pending = screen.PendingDocuments();
    } catch (const DbError& e) {
        std::cerr << "zentrail-cli: error " << e.Number() << ": " << e.Description() << "\n";
        return kExitProblems;
    } catch (const std::exception& e) {
        std::cerr << "zentrail-cli: " << e.what() << "\n";
        return kExitProblems;
    }
    PrintCsvLine(std::cout, {"number or name", "date", "party", "why"}, true);
    for (const PendingDocument& document : pending)
        PrintCsvLine(std::cout, {document.document.number, document.document.date,
                                 document.document.party, document.why});
    return kExitClean;
}

}  // namespace zentrail::cli
