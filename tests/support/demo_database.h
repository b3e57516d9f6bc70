#pragma once

// Demo databases for tests: written by the dms-demo generator into a temporary folder, and
// read back with plain SQLite for hand checks.

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "dms_demo.h"

namespace zentrail::testing {

// A generated database file, removed again when the object goes.
class GeneratedDemo {
public:
    GeneratedDemo(long invoices, uint64_t seed, const std::string& name) {
        path_ = (std::filesystem::temp_directory_path() /
                 ("zentrail-" + name + "-" + std::to_string(::getpid()) + ".db"))
                    .string();
        dms_demo::DemoOptions options;
        options.outPath = path_;
        options.invoices = invoices;
        options.seed = seed;
        summary_ = dms_demo::GenerateDemoDatabase(options);
    }
    ~GeneratedDemo() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    GeneratedDemo(const GeneratedDemo&) = delete;
    GeneratedDemo& operator=(const GeneratedDemo&) = delete;

    const std::string& Path() const { return path_; }
    const dms_demo::DemoSummary& Summary() const { return summary_; }

private:
    std::string path_;
    dms_demo::DemoSummary summary_;
};

// The small demo database most tests read: 40 invoices, so every fixed case is in it.
inline const GeneratedDemo& SmallDemo() {
    static const GeneratedDemo demo(40, 7, "small-demo");
    return demo;
}

using RawRow = std::vector<std::optional<std::string>>;

// Runs plain SQLite SQL on a file and returns every row as text (NULL as nullopt).
inline std::vector<RawRow> RawQuery(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + path);
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        std::string message = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error(message + " in " + sql);
    }
    std::vector<RawRow> rows;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        RawRow row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const unsigned char* text = sqlite3_column_text(statement, i);
            row.push_back(text ? std::optional<std::string>(reinterpret_cast<const char*>(text))
                               : std::nullopt);
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

// The single number a query returns (COUNT, SUM ...); NULL reads as 0.
inline double RawNumber(const std::string& path, const std::string& sql) {
    std::vector<RawRow> rows = RawQuery(path, sql);
    if (rows.empty() || rows[0].empty() || !rows[0][0]) return 0;
    return std::stod(*rows[0][0]);
}

}  // namespace zentrail::testing
