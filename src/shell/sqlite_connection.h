#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "shell/source_database.h"

namespace zentrail {

// The SQLite file that SQL_ODBC names, if it names one: an existing file ending in .db, .sqlite
// or .sqlite3 (any case), a relative path taken from `programFolder`.
std::optional<std::filesystem::path> SqliteSourceFile(const std::string& strSqlOdbc,
                                                      const std::filesystem::path& programFolder);

// Whether SQL_ODBC ends like a SQLite file name, whether or not the file exists.
bool LooksLikeSqliteFile(const std::string& strSqlOdbc);

// An embedded SQLite source file opened read-only. The screens' T-SQL day comparisons are
// translated; ISO date texts of DATE/TIME columns come back as YYYYMMDD.
class SqliteConnection : public SourceConnection {
public:
    explicit SqliteConnection(const std::filesystem::path& file);  // throws DbError
    ~SqliteConnection() override;
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    RowSet Query(const std::string& sql) override;
    void Stream(const std::string& sql, RowSink& sink) override;
    void Interrupt() override;
    void SetWait(SourceWait wait) override;
    std::vector<std::string> ColumnNames(const std::string& sql) override;
    std::string ProductName() const override;  // "SQLite " and the library's version

    struct Handle;  // the open database, known only to the .cpp

private:
    // SQLite's busy handler: waits for another program's lock in short naps, says so once the
    // wait is long, and gives up when asked to or after the command time-out.
    static int WhileLocked(void* self, int attempt);

    std::unique_ptr<Handle> db_;
    SourceWait wait_;
    std::chrono::steady_clock::time_point lockedSince_;
    bool toldWaiting_ = false;
};

}  // namespace zentrail
