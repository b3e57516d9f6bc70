#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "shell/source_database.h"

namespace zentrail {

// Whether SQL_ODBC is a full connection string rather than a data source name.
bool IsConnectionString(std::string_view strSqlOdbc);

// Whether a connection string sets `key` (ODBC keywords match regardless of case).
bool ConnectionStringHasKey(std::string_view connection, std::string_view key);

// The value a connection string gives `key`, braces kept, blanks around it removed.
std::optional<std::string_view> ConnectionStringValue(std::string_view connection,
                                                      std::string_view key);

// Whether the connection string's DRIVER is a SQLite driver.
bool NamesSqliteDriver(std::string_view connection);

// The connection string with the configured logon added: UID and PWD are appended unless the
// string sets them itself (its own values win); an empty password is appended as empty. Each
// added value is braced with '}' doubled, and each added pair ends with ';'.
std::string ConnectionStringWithLogon(std::string_view connection, std::string_view user,
                                      std::string_view password);

// A source reached through the ODBC driver manager, opened read-only: a data source name
// with the user and password as separate arguments, or a connection string.
// Values come back as UTF-8 text; date and date-time columns as YYYYMMDD. When the driver
// reports SQLite as its database, the screens' T-SQL day comparisons are translated, and a
// connection string naming a SQLite driver gets NoCreat=1, so no file is ever created. Every query
// runs in its own transaction that is rolled back, so nothing is written even where a driver
// ignores the read-only access mode.
class OdbcConnection : public SourceConnection {
public:
    OdbcConnection(const std::string& strSqlOdbc, const std::string& strSqlUser,
                   const std::string& strSqlPassword);  // throws DbError
    ~OdbcConnection() override;
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    RowSet Query(const std::string& sql) override;
    std::vector<std::string> ColumnNames(const std::string& sql) override;
    void Interrupt() override;                 // cancels the running statement (SQLCancel)
    std::string ProductName() const override;  // SQL_DBMS_NAME and SQL_DBMS_VER

private:
    struct Handles;
    RowSet Run(const std::string& sql);
    std::vector<std::string> Describe(const std::string& sql);

    std::unique_ptr<Handles> handles_;
};

}  // namespace zentrail
