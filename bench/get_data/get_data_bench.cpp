// Times the sales screen's Get Data over a generated database of many invoices, with the peak
// memory of the process, and the two steps inside it that were made cheaper: learning the
// grid's columns, and writing the numbers of the header query as text.
//
//   get_data_bench [--invoices N]     (default 100000)

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "dms_demo.h"
#include "screens/sales_screen.h"
#include "screens/queries/sales_queries.h"
#include "screens/queries/sql_date.h"
#include "shell/sqlite_connection.h"
#include "shell/sqlite_number_text.h"
#include "shell/tsql_translation.h"
#include "tally/http_client.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The median of a few runs of `work`, in seconds.
double Median(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        auto start = Clock::now();
        work();
        times.push_back(Seconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double PeakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// Generated in a child process, so that the generator's memory is not counted here.
void Generate(const std::string& db, long invoices) {
    pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        try {
            zentrail::dms_demo::DemoOptions options;
            options.outPath = db;
            options.invoices = invoices;
            zentrail::dms_demo::GenerateDemoDatabase(options);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "generate: %s\n", e.what());
            _exit(1);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("generating the database failed");
}

// Every value of the SQL text as SQLite's own text conversion writes it: the cost the
// connection paid for numbers before it wrote them itself.
size_t ReadAsSqliteText(const std::string& db, const std::string& sql) {
    sqlite3* handle = nullptr;
    sqlite3_open_v2(db.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(handle, sql.c_str(), -1, &statement, nullptr);
    size_t bytes = 0;
    const int columns = sqlite3_column_count(statement);
    while (sqlite3_step(statement) == SQLITE_ROW)
        for (int i = 0; i < columns; ++i) {
            sqlite3_column_text(statement, i);
            bytes += static_cast<size_t>(sqlite3_column_bytes(statement, i));
        }
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    return bytes;
}

// The same values, numbers read as values and written by our own code.
size_t ReadAsValues(const std::string& db, const std::string& sql) {
    sqlite3* handle = nullptr;
    sqlite3_open_v2(db.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(handle, sql.c_str(), -1, &statement, nullptr);
    size_t bytes = 0;
    std::array<char, zentrail::kNumberTextRoom> room;
    const int columns = sqlite3_column_count(statement);
    while (sqlite3_step(statement) == SQLITE_ROW)
        for (int i = 0; i < columns; ++i) {
            switch (sqlite3_column_type(statement, i)) {
                case SQLITE_INTEGER:
                    bytes += zentrail::SqliteIntegerText(sqlite3_column_int64(statement, i), room)
                                 .size();
                    break;
                case SQLITE_FLOAT:
                    bytes +=
                        zentrail::SqliteRealText(sqlite3_column_double(statement, i), room).size();
                    break;
                default:
                    sqlite3_column_text(statement, i);
                    bytes += static_cast<size_t>(sqlite3_column_bytes(statement, i));
            }
        }
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    long invoices = 100000;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--invoices") == 0) invoices = std::atol(argv[i + 1]);
    const std::string db = (std::filesystem::temp_directory_path() /
                            ("zentrail-getdata-" + std::to_string(::getpid()) + ".db"))
                               .string();
    try {
        Generate(db, invoices);
        const double before = PeakMiB();

        zentrail::Configuration config;
        config.strTallyServer = "127.0.0.1";
        config.strTallyPort = "9";
        config.strCompany = "Zentrail Demo";
        config.strSqlOdbc = db;
        zentrail::SourceDatabase source;
        source.OpenConnection(config);
        zentrail::HttpClient tally;
        size_t rows = 0;
        const double getData = Median(3, [&] {
            zentrail::SalesScreen sales({config, source, tally});
            sales.Load();
            sales.SetDates({2024, 4, 1}, {2024, 5, 31});
            sales.GetData();
            if (sales.GetDataFailed()) throw std::runtime_error("Get Data failed: " + sales.LogText());
            rows = sales.ssdbgItem.RowCount();
        });
        const double peak = PeakMiB();

        const std::string from = zentrail::SqlDateText(
            {std::chrono::year{2024}, std::chrono::April, std::chrono::day{1}});
        const std::string to = zentrail::SqlDateText(
            {std::chrono::year{2024}, std::chrono::May, std::chrono::day{31}});
        const std::string columnSql = zentrail::SalesInvoiceColumnQuery(from, to);
        const std::string headerSql = zentrail::SalesInvoiceHeaderQuery(from, to);
        const std::string translatedHeader = zentrail::TranslateDayComparisons(headerSql);
        zentrail::SqliteConnection connection(db);
        const double columnsByRun = Median(3, [&] { connection.Query(columnSql); });
        const double columnsByPrepare = Median(3, [&] { connection.ColumnNames(columnSql); });
        size_t textBytes = 0, valueBytes = 0;
        const double asText =
            Median(3, [&] { textBytes = ReadAsSqliteText(db, translatedHeader); });
        const double asValues = Median(3, [&] { valueBytes = ReadAsValues(db, translatedHeader); });

        std::printf(
            "%ld invoices: Get Data listed %zu rows in %.2f s (median of 3), peak memory %.0f MiB "
            "(%.0f MiB before Get Data)\n",
            invoices, rows, getData, peak, before);
        std::printf("grid columns: running the column query %.3f s, preparing it %.6f s\n",
                    columnsByRun, columnsByPrepare);
        std::printf(
            "header query read: numbers as SQLite's text %.3f s, as values %.3f s "
            "(%zu / %zu bytes of text)\n",
            asText, asValues, textBytes, valueBytes);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "get_data_bench: %s\n", e.what());
        std::filesystem::remove(db);
        return 1;
    }
    std::filesystem::remove(db);
    return 0;
}
