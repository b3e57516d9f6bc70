#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shell/db_error.h"
#include "shell/recordset.h"

namespace zentrail {

struct Configuration;

// Takes the rows of a query one at a time.
class RowSink {
public:
    virtual ~RowSink() = default;
    // The field names, before any row; none for a statement without a result set.
    virtual void Columns(const std::vector<std::string>& fieldNames) = 0;
    // One row: each value's text (dates as YYYYMMDD), std::nullopt for NULL. The texts live
    // for the call only.
    virtual void Row(std::span<const std::optional<std::string_view>> values) = 0;
};

// A read-only connection to the distributor database.
// What a connection does while another program holds a lock on the source: tell once that it
// waits, and ask whether to give up (the operator stopped the run).
struct SourceWait {
    std::function<void()> onWaiting;
    std::function<bool()> giveUp;
};

class SourceConnection {
public:
    virtual ~SourceConnection() = default;
    // Runs one SQL text (as written for SQL Server) and returns all its rows.
    virtual RowSet Query(const std::string& sql) = 0;
    // Runs one SQL text and hands its rows to `sink` as they come, where the connection can
    // without holding them all; this fallback reads them through Query first.
    virtual void Stream(const std::string& sql, RowSink& sink);
    // Ends a query that runs on another thread as soon as the connection can; that query then
    // fails. Safe to call from any thread. Connections that cannot do this let it run out.
    virtual void Interrupt() {}
    // Connections that wait for locks themselves report through `wait`; others ignore it.
    virtual void SetWait(SourceWait wait) { (void)wait; }
    // The field names the SQL text would return, in order. Connections that can prepare a
    // statement read them without running it; this fallback runs it.
    virtual std::vector<std::string> ColumnNames(const std::string& sql) {
        return Query(sql).FieldNames();
    }
    // The database product and its version as the connection reports them, e.g.
    // "SQLite 3.45.1"; empty where the connection cannot tell.
    virtual std::string ProductName() const { return {}; }
};

// Opens the source named by (odbc, user, password): an existing .db/.sqlite/.sqlite3 file
// (relative to the program folder) through SQLite, anything else through ODBC. Throws DbError.
std::unique_ptr<SourceConnection> OpenSourceConnection(const std::string& strSqlOdbc,
                                                       const std::string& strSqlUser,
                                                       const std::string& strSqlPassword);

using SourceOpener = std::function<std::unique_ptr<SourceConnection>(
    const std::string& strSqlOdbc, const std::string& strSqlUser,
    const std::string& strSqlPassword)>;

// The connection that the screens share.
class SourceDatabase {
public:
    SourceDatabase() = default;
    explicit SourceDatabase(SourceOpener opener) : opener_(std::move(opener)) {}

    std::unique_ptr<SourceConnection> cnSource;

    // (Re)opens the connection from the configuration. Throws DbError.
    void OpenConnection(const Configuration& config);
    // How the connection, this one and every one opened later, waits for a locked source.
    void SetWait(SourceWait wait);
    // The rows of `sql` on the shared connection, in a set of the caller's own; a statement
    // without a result set raises the closed-set error. Throws DbError.
    Recordset Open(const std::string& sql);
    // The field names of the SQL text without reading its rows. A statement without a result
    // set raises the closed-set error, as opening it would. Throws DbError.
    std::vector<std::string> ColumnNames(const std::string& sql);
    // Runs the SQL text on the connection and hands its rows to `sink`, without a result set.
    // A statement without a result set raises the closed-set error. Throws DbError.
    void ReadRows(const std::string& sql, RowSink& sink);

    // A connection of its own to the source of the configuration, for reading beside the
    // shared one, also from another thread. Throws DbError.
    std::unique_ptr<SourceConnection> OpenReader(const Configuration& config) const;

private:
    SourceOpener opener_ = OpenSourceConnection;
    SourceWait wait_;
};

}  // namespace zentrail
