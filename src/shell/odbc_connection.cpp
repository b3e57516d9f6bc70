#include "shell/odbc_connection.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <iterator>
#include <mutex>
#include <optional>
#include <vector>

#include "common/ascii.h"
#include "shell/iso_date.h"
#include "shell/source_text.h"
#include "shell/source_timeout.h"
#include "shell/tsql_translation.h"

namespace zentrail {
namespace {

// SQL Server's datetimeoffset, which its drivers report with this type number.
constexpr SQLSMALLINT kSqlServerTimestampOffset = -155;
constexpr SQLULEN kLoginTimeoutSeconds = 15;

bool Succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

bool SameKey(std::string_view a, std::string_view b) { return ascii::EqualNoCase(a, b); }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Every value we add is braced with '}' doubled, so that no password or name can end it
// early or add a key of its own.
std::string ConnectionValue(std::string_view value) {
    std::string braced = "{";
    for (char c : value) {
        braced += c;
        if (c == '}') braced += '}';
    }
    return braced + "}";
}

// Appends key=value; after a ';' that closes what came before.
void AddPair(std::string& connection, std::string_view key, std::string_view value) {
    if (!connection.empty() && connection.back() != ';') connection += ';';
    connection.append(key).append("=").append(ConnectionValue(value)).append(";");
}

SQLCHAR* Chars(const std::string& text) {
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str()));
}

SQLSMALLINT ShortLength(const std::string& text) {
    if (text.size() > 32767) throw DbError(0, "Logon text too long: " + text.substr(0, 40));
    return static_cast<SQLSMALLINT>(text.size());
}

// The driver's diagnostic records as one error: the first native error number, and each
// record's SQLSTATE and message.
DbError Diagnostics(SQLSMALLINT type, SQLHANDLE handle, SQLRETURN rc) {
    SQLINTEGER firstNative = 0;
    std::string description;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[6] = {0};
        SQLINTEGER native = 0;
        std::vector<SQLCHAR> message(1024);
        SQLSMALLINT length = 0;
        SQLRETURN got = SQLGetDiagRec(type, handle, record, state, &native, message.data(),
                                      static_cast<SQLSMALLINT>(message.size()), &length);
        if (got == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
            message.resize(static_cast<size_t>(length) + 1);
            got = SQLGetDiagRec(type, handle, record, state, &native, message.data(),
                                static_cast<SQLSMALLINT>(message.size()), &length);
        }
        if (!Succeeded(got)) break;
        if (record == 1) firstNative = native;
        if (!description.empty()) description += "\n";
        description.append(reinterpret_cast<const char*>(state)).append(": ");
        description.append(reinterpret_cast<const char*>(message.data()));
    }
    if (description.empty())
        description = "The ODBC call failed (return code " + std::to_string(rc) +
                      ") without a diagnostic record.";
    return DbError(firstNative, description);
}

std::string FirstSqlState(SQLSMALLINT type, SQLHANDLE handle) {
    SQLCHAR state[6] = {0};
    SQLINTEGER native = 0;
    SQLCHAR message[8];
    SQLSMALLINT length = 0;
    SQLRETURN got =
        SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length);
    if (!Succeeded(got)) return {};
    return reinterpret_cast<const char*>(state);
}

// Settings a driver may not support (SQLSTATE HYC00) are skipped; any other failure is raised.
void SetOptional(SQLSMALLINT type, SQLHANDLE handle, SQLRETURN rc) {
    if (Succeeded(rc)) return;
    if (FirstSqlState(type, handle) == "HYC00") return;
    throw Diagnostics(type, handle, rc);
}

class OdbcHandle {
public:
    OdbcHandle(SQLSMALLINT type, SQLHANDLE parent, SQLSMALLINT parentType) : type_(type) {
        SQLRETURN rc = SQLAllocHandle(type, parent, &handle_);
        if (!Succeeded(rc)) {
            handle_ = SQL_NULL_HANDLE;
            if (parent != SQL_NULL_HANDLE) throw Diagnostics(parentType, parent, rc);
            throw DbError(rc, "The ODBC driver manager could not allocate an environment.");
        }
    }
    ~OdbcHandle() {
        if (handle_ != SQL_NULL_HANDLE) SQLFreeHandle(type_, handle_);
    }
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;

    SQLHANDLE Get() const { return handle_; }
    SQLSMALLINT Type() const { return type_; }
    DbError Error(SQLRETURN rc) const { return Diagnostics(type_, handle_, rc); }
    void Check(SQLRETURN rc) const {
        if (!Succeeded(rc)) throw Error(rc);
    }

private:
    SQLSMALLINT type_;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

bool IsDateType(SQLSMALLINT type) {
    return type == SQL_TYPE_DATE || type == SQL_TYPE_TIMESTAMP || type == SQL_DATETIME ||
           type == SQL_TIMESTAMP || type == kSqlServerTimestampOffset;
}

struct Column {
    std::string name;
    bool isDate = false;
};

Column DescribeColumn(const OdbcHandle& statement, SQLUSMALLINT number) {
    std::vector<SQLCHAR> name(256);
    SQLSMALLINT nameLength = 0, dataType = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    auto describe = [&] {
        return SQLDescribeCol(statement.Get(), number, name.data(),
                              static_cast<SQLSMALLINT>(name.size()), &nameLength, &dataType, &size,
                              &digits, &nullable);
    };
    SQLRETURN rc = describe();
    statement.Check(rc);
    if (nameLength >= static_cast<SQLSMALLINT>(name.size())) {
        name.resize(static_cast<size_t>(nameLength) + 1);
        statement.Check(describe());
    }
    return Column{
        std::string(reinterpret_cast<const char*>(name.data()), static_cast<size_t>(nameLength)),
        IsDateType(dataType)};
}

// One value as text, read in pieces so that long values come back whole. Read as UTF-16,
// which every driver converts to from the server's own collation, and made UTF-8 here.
std::optional<std::string> ReadText(const OdbcHandle& statement, SQLUSMALLINT number) {
    static_assert(sizeof(SQLWCHAR) == sizeof(char16_t));
    std::u16string value;
    SQLWCHAR buffer[2048];
    constexpr SQLLEN kBytes = sizeof buffer;
    for (;;) {
        SQLLEN indicator = 0;
        SQLRETURN rc = SQLGetData(statement.Get(), number, SQL_C_WCHAR, buffer, kBytes, &indicator);
        if (rc == SQL_NO_DATA) break;  // every piece read
        statement.Check(rc);
        if (indicator == SQL_NULL_DATA) return std::nullopt;
        const bool truncated = indicator == SQL_NO_TOTAL || indicator >= kBytes;
        const size_t units =
            truncated ? std::size(buffer) - 1 : static_cast<size_t>(indicator) / sizeof(SQLWCHAR);
        value.append(reinterpret_cast<const char16_t*>(buffer), units);
        if (!truncated) break;
    }
    return Utf16ToUtf8(value);
}

// Whether the data source of that name is served by a SQLite driver, by the driver
// description the driver manager lists for it.
bool DataSourceUsesSqlite(const OdbcHandle& environment, const std::string& dsn) {
    SQLCHAR name[SQL_MAX_DSN_LENGTH + 1];
    SQLCHAR driver[512];
    SQLSMALLINT nameLength = 0, driverLength = 0;
    for (SQLUSMALLINT direction = SQL_FETCH_FIRST;; direction = SQL_FETCH_NEXT) {
        SQLRETURN rc = SQLDataSources(environment.Get(), direction, name, sizeof name, &nameLength,
                                      driver, sizeof driver, &driverLength);
        if (!Succeeded(rc)) return false;
        if (!SameKey(reinterpret_cast<const char*>(name), dsn)) continue;
        std::string lower = ascii::Lower(reinterpret_cast<const char*>(driver));
        return lower.find("sqlite") != std::string::npos;
    }
}

}  // namespace

bool IsConnectionString(std::string_view strSqlOdbc) {
    return strSqlOdbc.find('=') != std::string_view::npos;
}

std::optional<std::string_view> ConnectionStringValue(std::string_view connection,
                                                      std::string_view key) {
    size_t at = 0;
    while (at < connection.size()) {
        size_t equals = connection.find('=', at);
        if (equals == std::string_view::npos) return std::nullopt;
        std::string_view name = Trimmed(connection.substr(at, equals - at));
        size_t value = equals + 1;
        while (value < connection.size() && connection[value] == ' ') ++value;
        size_t valueEnd;
        if (value < connection.size() && connection[value] == '{') {
            size_t close = value + 1;
            for (;;) {  // '}}' inside braces stands for one '}'
                close = connection.find('}', close);
                if (close == std::string_view::npos) {
                    if (SameKey(name, key)) return connection.substr(value);
                    return std::nullopt;
                }
                if (close + 1 < connection.size() && connection[close + 1] == '}') {
                    close += 2;
                    continue;
                }
                break;
            }
            valueEnd = close + 1;
        } else {
            valueEnd = std::min(connection.find(';', value), connection.size());
        }
        if (SameKey(name, key)) return Trimmed(connection.substr(value, valueEnd - value));
        size_t semicolon = connection.find(';', valueEnd);
        if (semicolon == std::string_view::npos) return std::nullopt;
        at = semicolon + 1;
    }
    return std::nullopt;
}

bool ConnectionStringHasKey(std::string_view connection, std::string_view key) {
    return ConnectionStringValue(connection, key).has_value();
}

bool NamesSqliteDriver(std::string_view connection) {
    std::optional<std::string_view> driver = ConnectionStringValue(connection, "DRIVER");
    if (!driver) return false;
    return ascii::Lower(*driver).find("sqlite") != std::string::npos;
}

std::string ConnectionStringWithLogon(std::string_view connection, std::string_view user,
                                      std::string_view password) {
    std::string full(connection);
    if (!ConnectionStringHasKey(connection, "UID")) AddPair(full, "UID", user);
    if (!ConnectionStringHasKey(connection, "PWD")) AddPair(full, "PWD", password);
    return full;
}

struct OdbcConnection::Handles {
    OdbcHandle environment{SQL_HANDLE_ENV, SQL_NULL_HANDLE, 0};
    std::optional<OdbcHandle> connection;
    bool connected = false;
    bool manualCommit = false;
    bool sqlite = false;  // the driver reads a SQLite file, not SQL Server
    std::string product;  // the server's name and version, read once at connection
    // The statement of the query now running, for Interrupt from another thread.
    std::mutex runningLock;
    SQLHSTMT running = SQL_NULL_HSTMT;

    SQLRETURN RollBack() const {
        return SQLEndTran(SQL_HANDLE_DBC, connection->Get(), SQL_ROLLBACK);
    }

    ~Handles() {
        if (!connected) return;
        if (manualCommit) RollBack();
        SQLDisconnect(connection->Get());
    }
};

OdbcConnection::OdbcConnection(const std::string& strSqlOdbc, const std::string& strSqlUser,
                               const std::string& strSqlPassword)
    : handles_(std::make_unique<Handles>()) {
    const OdbcHandle& environment = handles_->environment;
    environment.Check(SQLSetEnvAttr(environment.Get(), SQL_ATTR_ODBC_VERSION,
                                    reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0));
    const OdbcHandle& connection =
        handles_->connection.emplace(SQL_HANDLE_DBC, environment.Get(), SQL_HANDLE_ENV);
    SetOptional(SQL_HANDLE_DBC, connection.Get(),
                SQLSetConnectAttr(connection.Get(), SQL_ATTR_ACCESS_MODE,
                                  reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), 0));
    SetOptional(SQL_HANDLE_DBC, connection.Get(),
                SQLSetConnectAttr(connection.Get(), SQL_ATTR_LOGIN_TIMEOUT,
                                  reinterpret_cast<SQLPOINTER>(kLoginTimeoutSeconds), 0));

    SQLRETURN rc;
    if (IsConnectionString(strSqlOdbc)) {
        // The SQLite driver takes no logon, and its parser knows no braces: a password given
        // to it could name another file or turn NoCreat off, so it gets none.
        const bool sqliteDriver = NamesSqliteDriver(strSqlOdbc);
        std::string full = sqliteDriver
                               ? strSqlOdbc
                               : ConnectionStringWithLogon(strSqlOdbc, strSqlUser, strSqlPassword);
        // The SQLite driver would create an empty database at a mistyped path.
        if (sqliteDriver && !ConnectionStringHasKey(strSqlOdbc, "NoCreat"))
            full += full.ends_with(';') ? "NoCreat=1;" : ";NoCreat=1;";
        SQLCHAR completed[1024];
        SQLSMALLINT completedLength = 0;
        rc = SQLDriverConnect(connection.Get(), nullptr, Chars(full), SQL_NTS, completed,
                              sizeof completed, &completedLength, SQL_DRIVER_NOPROMPT);
    } else if (DataSourceUsesSqlite(environment, strSqlOdbc)) {
        // The same guard for a data source whose driver is SQLite's, again with no logon. The
        // driver manager looks the name up as written, braces and all, so none are added.
        std::string full = "DSN=" + strSqlOdbc + ";NoCreat=1;";
        SQLCHAR completed[1024];
        SQLSMALLINT completedLength = 0;
        rc = SQLDriverConnect(connection.Get(), nullptr, Chars(full), SQL_NTS, completed,
                              sizeof completed, &completedLength, SQL_DRIVER_NOPROMPT);
    } else {
        rc = SQLConnect(connection.Get(), Chars(strSqlOdbc), ShortLength(strSqlOdbc),
                        Chars(strSqlUser), ShortLength(strSqlUser), Chars(strSqlPassword),
                        ShortLength(strSqlPassword));
    }
    connection.Check(rc);
    handles_->connected = true;

    // The screens write their day comparisons for SQL Server; a SQLite file behind the driver
    // needs them translated like a file opened directly.
    SQLCHAR dbms[128] = {0};
    SQLSMALLINT dbmsLength = 0;
    if (Succeeded(SQLGetInfo(connection.Get(), SQL_DBMS_NAME, dbms, sizeof dbms, &dbmsLength))) {
        handles_->sqlite = ascii::Lower(reinterpret_cast<const char*>(dbms)).starts_with("sqlite");
    }
    SQLCHAR version[128] = {0};
    SQLSMALLINT versionLength = 0;
    handles_->product = reinterpret_cast<const char*>(dbms);
    if (Succeeded(
            SQLGetInfo(connection.Get(), SQL_DBMS_VER, version, sizeof version, &versionLength)) &&
        version[0] != 0)
        handles_->product += std::string(handles_->product.empty() ? "" : " ") +
                             reinterpret_cast<const char*>(version);

    SQLRETURN manual = SQLSetConnectAttr(connection.Get(), SQL_ATTR_AUTOCOMMIT,
                                         reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0);
    SetOptional(SQL_HANDLE_DBC, connection.Get(), manual);
    handles_->manualCommit = Succeeded(manual);
}

OdbcConnection::~OdbcConnection() = default;

std::string OdbcConnection::ProductName() const { return handles_->product; }

RowSet OdbcConnection::Query(const std::string& sql) {
    // Each query's transaction is rolled back: whatever a statement might have changed is
    // undone, since the read-only access mode is only a hint that drivers may ignore.
    RowSet rows;
    try {
        rows = Run(handles_->sqlite ? TranslateDayComparisons(sql) : sql);
    } catch (...) {
        if (handles_->manualCommit) handles_->RollBack();  // the first failure is the one to report
        throw;
    }
    if (handles_->manualCommit) handles_->connection->Check(handles_->RollBack());
    return rows;
}

std::vector<std::string> OdbcConnection::ColumnNames(const std::string& sql) {
    // Prepared only, never executed; rolled back all the same, like every query.
    std::vector<std::string> names;
    try {
        names = Describe(handles_->sqlite ? TranslateDayComparisons(sql) : sql);
    } catch (...) {
        if (handles_->manualCommit) handles_->RollBack();
        throw;
    }
    if (handles_->manualCommit) handles_->connection->Check(handles_->RollBack());
    return names;
}

std::vector<std::string> OdbcConnection::Describe(const std::string& sql) {
    OdbcHandle statement(SQL_HANDLE_STMT, handles_->connection->Get(), SQL_HANDLE_DBC);
    SetOptional(SQL_HANDLE_STMT, statement.Get(),
                SQLSetStmtAttr(statement.Get(), SQL_ATTR_QUERY_TIMEOUT,
                               reinterpret_cast<SQLPOINTER>(kCommandTimeoutSeconds), 0));
    statement.Check(SQLPrepare(statement.Get(), Chars(sql), static_cast<SQLINTEGER>(sql.size())));
    SQLSMALLINT count = 0;
    statement.Check(SQLNumResultCols(statement.Get(), &count));
    std::vector<std::string> names;
    for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i)
        names.push_back(DescribeColumn(statement, i).name);
    return names;
}

void OdbcConnection::Interrupt() {
    std::lock_guard<std::mutex> lock(handles_->runningLock);
    if (handles_->running != SQL_NULL_HSTMT) SQLCancel(handles_->running);
}

RowSet OdbcConnection::Run(const std::string& sql) {
    OdbcHandle statement(SQL_HANDLE_STMT, handles_->connection->Get(), SQL_HANDLE_DBC);
    // Known to Interrupt while it runs; forgotten before the handle is freed.
    class Running {
    public:
        Running(Handles& handles, SQLHSTMT statement) : handles_(handles) {
            std::lock_guard<std::mutex> lock(handles_.runningLock);
            handles_.running = statement;
        }
        ~Running() {
            std::lock_guard<std::mutex> lock(handles_.runningLock);
            handles_.running = SQL_NULL_HSTMT;
        }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;

    private:
        Handles& handles_;
    } running(*handles_, statement.Get());
    SetOptional(SQL_HANDLE_STMT, statement.Get(),
                SQLSetStmtAttr(statement.Get(), SQL_ATTR_QUERY_TIMEOUT,
                               reinterpret_cast<SQLPOINTER>(kCommandTimeoutSeconds), 0));
    SQLRETURN rc = SQLExecDirect(statement.Get(), Chars(sql), static_cast<SQLINTEGER>(sql.size()));
    if (rc != SQL_NO_DATA) statement.Check(rc);

    SQLSMALLINT count = 0;
    statement.Check(SQLNumResultCols(statement.Get(), &count));
    std::vector<Column> columns;
    std::vector<std::string> names;
    for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) {
        columns.push_back(DescribeColumn(statement, i));
        names.push_back(columns.back().name);
    }
    RowSet rows(std::move(names));
    if (count == 0) return rows;  // not a query: no rows

    for (;;) {
        rc = SQLFetch(statement.Get());
        if (rc == SQL_NO_DATA) break;
        statement.Check(rc);
        for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) {
            std::optional<std::string> value = ReadText(statement, i);
            if (!value) {
                rows.AppendNull();
                continue;
            }
            if (columns[i - 1].isDate) {
                if (std::optional<std::string> date = DateTextFromIso(*value)) value = date;
            }
            rows.Append(*value);
        }
    }
    return rows;
}

}  // namespace zentrail
