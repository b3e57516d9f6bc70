#include "app/getdata_command.h"

#include <iostream>

#include "common/csv.h"

namespace zentrail::cli {

namespace {

void PrintGrid(const TransferGrid& grid) {
    std::string line(kCsvByteOrderMark);
    for (size_t c = 0; c < grid.ColumnCount(); ++c)
        line += (c ? "," : "") + CsvField(grid.FieldName(c));
    std::cout << line << "\n";
    for (size_t r = 0; r < grid.RowCount(); ++r) {
        line.clear();
        for (size_t c = 0; c < grid.ColumnCount(); ++c)
            line += (c ? "," : "") + CsvField(grid.Text(r, c));
        std::cout << line << "\n";
    }
}

}  // namespace

int GetDataCommand::Run(TransferScreen& screen, CliProgress&) {
    PrintGrid(screen.ssdbgItem);
    return kExitClean;
}

}  // namespace zentrail::cli
