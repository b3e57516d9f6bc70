#pragma once

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
    std::vector<std::string> ColumnNames(const std::string& sql) override;

    struct Handle;  // the open database, known only to the .cpp

private:
    std::unique_ptr<Handle> db_;
};

}  // namespace zentrail
