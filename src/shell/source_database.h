#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "shell/recordset.h"

namespace zentrail {

struct Configuration;

// A connection or query failure: a number and the database's own description.
class DbError : public std::runtime_error {
public:
    DbError(long number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    long Number() const { return number_; }
    std::string Description() const { return what(); }

private:
    long number_;
};

// A read-only connection to the distributor database.
class SourceConnection {
public:
    virtual ~SourceConnection() = default;
    // Runs one SQL text (as written for SQL Server) and returns all its rows.
    virtual RowSet Query(const std::string& sql) = 0;
};

// Opens the source named by (odbc, user, password): an existing .db/.sqlite/.sqlite3 file
// (relative to the program folder) through SQLite, anything else through ODBC.
std::unique_ptr<SourceConnection> OpenSourceConnection(const std::string& strSqlOdbc,
                                                       const std::string& strSqlUser,
                                                       const std::string& strSqlPassword);

// The connection and the three result sets that all screens share.
class SourceDatabase {
public:
    std::unique_ptr<SourceConnection> cnSource;
    Recordset rsMain;
    Recordset rsSecond;
    Recordset rsThird;
    std::string strSQL;

    // (Re)opens the connection from the configuration; all three result sets become new
    // and closed. Throws DbError.
    void OpenConnection(const Configuration& config);
    // Runs the SQL text into the result set; true when at least one row came back.
    bool OpenRsMain(std::string& sql);
    bool OpenRsSecond(std::string& sql);
    bool OpenRsThird(std::string& sql);
};

}  // namespace zentrail
