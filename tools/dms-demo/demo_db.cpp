#include "demo_db.h"

#include <filesystem>
#include <stdexcept>

namespace zentrail::dms_demo {

DemoDb::DemoDb(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw std::runtime_error("cannot create " + path + ": " + message);
    }
}

DemoDb::~DemoDb() { sqlite3_close(db_); }

void DemoDb::Exec(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : sqlite3_errmsg(db_);
        sqlite3_free(error);
        throw std::runtime_error(message);
    }
}

void DemoDb::Fail(std::string_view what) const {
    throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db_));
}

namespace {

std::string InsertSql(std::string_view table, std::initializer_list<std::string_view> columns) {
    std::string sql = "INSERT INTO ";
    sql += table;
    sql += " (";
    std::string marks;
    for (std::string_view column : columns) {
        if (!marks.empty()) {
            sql += ", ";
            marks += ", ";
        }
        sql += column;
        marks += "?";
    }
    sql += ") VALUES (" + marks + ")";
    return sql;
}

}  // namespace

DemoStatement::DemoStatement(DemoDb& db, const std::string& sql) : db_(db) {
    if (sqlite3_prepare_v2(db_.Handle(), sql.c_str(), -1, &statement_, nullptr) != SQLITE_OK)
        db_.Fail("cannot prepare " + sql);
}

DemoStatement::~DemoStatement() { sqlite3_finalize(statement_); }

TableInserter::TableInserter(DemoDb& db, std::string_view table,
                             std::initializer_list<std::string_view> columns)
    : DemoStatement(db, InsertSql(table, columns)) {}

void DemoStatement::Bind(int index, Money value) {
    if (sqlite3_bind_double(statement_, index, static_cast<double>(value.paise) / 100.0) !=
        SQLITE_OK)
        db_.Fail("bind");
}

void DemoStatement::Bind(int index, Percent value) {
    if (sqlite3_bind_double(statement_, index, static_cast<double>(value.rate) / 100.0) !=
        SQLITE_OK)
        db_.Fail("bind");
}

void DemoStatement::Bind(int index, std::string_view value) {
    if (sqlite3_bind_text(statement_, index, value.data(), static_cast<int>(value.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK)
        db_.Fail("bind");
}

void DemoStatement::Bind(int index, std::nullopt_t) {
    if (sqlite3_bind_null(statement_, index) != SQLITE_OK) db_.Fail("bind");
}

void DemoStatement::BindInt(int index, int64_t value) {
    if (sqlite3_bind_int64(statement_, index, value) != SQLITE_OK) db_.Fail("bind");
}

void DemoStatement::Step() {
    if (sqlite3_step(statement_) != SQLITE_DONE) db_.Fail("insert");
    sqlite3_reset(statement_);
}

}  // namespace zentrail::dms_demo
