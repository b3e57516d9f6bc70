#include "shell/source_database.h"

#include "shell/configuration.h"
#include "shell/odbc_connection.h"
#include "shell/platform.h"
#include "shell/sqlite_connection.h"

namespace zentrail {

std::unique_ptr<SourceConnection> OpenSourceConnection(const std::string& strSqlOdbc,
                                                       const std::string& strSqlUser,
                                                       const std::string& strSqlPassword) {
    std::filesystem::path folder = platform::ProgramFolder();
    if (auto file = SqliteSourceFile(strSqlOdbc, folder))
        return std::make_unique<SqliteConnection>(*file);
    // A missing database file reaches ODBC too, whose error reads as an unknown data source:
    // the session's message names the file first.
    return std::make_unique<OdbcConnection>(strSqlOdbc, strSqlUser, strSqlPassword);
}

void SourceConnection::Stream(const std::string& sql, RowSink& sink) {
    const RowSet rows = Query(sql);
    sink.Columns(rows.FieldNames());
    std::vector<std::optional<std::string_view>> values(rows.FieldCount());
    for (size_t row = 0; row < rows.RowCount(); ++row) {
        for (size_t field = 0; field < values.size(); ++field) {
            if (rows.IsNull(row, field))
                values[field].reset();
            else
                values[field] = rows.Text(row, field);
        }
        sink.Row(values);
    }
}

void SourceDatabase::OpenConnection(const Configuration& config) {
    cnSource.reset();  // the earlier connection closes before the new one opens
    cnSource = OpenReader(config);
    cnSource->SetWait(wait_);
}

void SourceDatabase::SetWait(SourceWait wait) {
    wait_ = std::move(wait);
    if (cnSource) cnSource->SetWait(wait_);
}

std::unique_ptr<SourceConnection> SourceDatabase::OpenReader(const Configuration& config) const {
    return opener_(config.strSqlOdbc, config.strSqlUser, config.strSqlPassword);
}

void SourceDatabase::ReadRows(const std::string& sql, RowSink& sink) {
    if (!cnSource) throw ado_error::InvalidConnection();
    // A statement without a result set is refused as Open refuses it.
    class ResultSetOnly : public RowSink {
    public:
        explicit ResultSetOnly(RowSink& sink) : sink_(sink) {}
        void Columns(const std::vector<std::string>& fieldNames) override {
            if (fieldNames.empty()) throw ado_error::ObjectClosed();
            sink_.Columns(fieldNames);
        }
        void Row(std::span<const std::optional<std::string_view>> values) override {
            sink_.Row(values);
        }

    private:
        RowSink& sink_;
    } checked(sink);
    cnSource->Stream(sql, checked);
}

std::vector<std::string> SourceDatabase::ColumnNames(const std::string& sql) {
    if (!cnSource) throw ado_error::InvalidConnection();
    std::vector<std::string> names = cnSource->ColumnNames(sql);
    if (names.empty()) throw ado_error::ObjectClosed();
    return names;
}

Recordset SourceDatabase::Open(const std::string& sql) {
    if (!cnSource) throw ado_error::InvalidConnection();
    RowSet rows = cnSource->Query(sql);
    // A statement without a result set (no columns, unlike an empty result) is no listing.
    if (rows.FieldCount() == 0) throw ado_error::ObjectClosed();
    Recordset recordset;
    recordset.Open(std::move(rows));
    return recordset;
}

}  // namespace zentrail
