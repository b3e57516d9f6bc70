#pragma once

// SQLite sources that keep Get Data busy for as long as a test needs.

#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace zentrail::testing {

using SqliteHandle = std::unique_ptr<sqlite3, int (*)(sqlite3*)>;

// Opens (creating) the file for writing. Throws std::runtime_error.
inline SqliteHandle OpenForWriting(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open(file.string().c_str(), &db);
    SqliteHandle handle(db, sqlite3_close);
    if (rc != SQLITE_OK) throw std::runtime_error("cannot open " + file.string());
    return handle;
}

inline void Execute(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) == SQLITE_OK) return;
    const std::string message = error ? error : "unknown error";
    sqlite3_free(error);
    throw std::runtime_error(message);
}

// A source the item screen lists from, whose products are a view of a billion numbers:
// listing them takes minutes.
inline void WriteEndlessProducts(const std::filesystem::path& file) {
    Execute(OpenForWriting(file).get(),
            "CREATE TABLE UdcHD (MasterId INTEGER, MasterName TEXT);"
            "INSERT INTO UdcHD VALUES (1, 'Product Master');"
            "CREATE TABLE UdcMaster (UdcMasterId INTEGER, MasterId INTEGER, ColumnName TEXT);"
            "INSERT INTO UdcMaster VALUES (7, 1, 'HSN Code');"
            "CREATE TABLE UDCDETAILS (MasterRecordId INTEGER, UdcMasterId INTEGER, "
            "ColumnValue TEXT);"
            "INSERT INTO UDCDETAILS VALUES (999999999, 7, '3401');"
            "CREATE VIEW Product AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
            "FROM n WHERE i < 1000000000) SELECT i AS PrdId, 'P' || i AS PrdCCode, "
            "'Product ' || i AS PrdName, '' AS PrdDCode FROM n;");
}

// Holds an exclusive lock on the file while it lives, as another program writing it would.
class ExclusiveLock {
public:
    explicit ExclusiveLock(const std::filesystem::path& file) : db_(OpenForWriting(file)) {
        Execute(db_.get(), "BEGIN EXCLUSIVE");
    }

private:
    SqliteHandle db_;
};

}  // namespace zentrail::testing
