#include "tally-sim/books_file.h"

#include <sqlite3.h>

#include "tally-sim/books_json.h"

namespace zentrail::sim {

namespace {

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS company(name TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS masters(id INTEGER PRIMARY KEY, body TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS vouchers(id INTEGER PRIMARY KEY, body TEXT NOT NULL);";

}  // namespace

void BooksFile::Closer::operator()(sqlite3* db) const { sqlite3_close(db); }

BooksFile::BooksFile(const std::filesystem::path& path) : path_(path) {
    sqlite3* raw = nullptr;
    const std::u8string name = path.u8string();  // SQLite takes UTF-8 names everywhere
    int rc = sqlite3_open_v2(reinterpret_cast<const char*>(name.c_str()), &raw,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    db_.reset(raw);
    if (rc != SQLITE_OK)
        throw BooksFileError("Cannot open the books file " + path.string() + ": " +
                             (raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)));
    sqlite3_busy_timeout(db_.get(), 2000);
    Execute("PRAGMA journal_mode=WAL");
    Execute("PRAGMA synchronous=NORMAL");
    Execute(kSchema);
}

BooksFile::~BooksFile() = default;

void BooksFile::Execute(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, &message) != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errmsg(db_.get());
        sqlite3_free(message);
        throw BooksFileError("Books file " + path_.string() + ": " + text);
    }
}

namespace {

Statement Prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK)
        throw BooksFileError(std::string("Books file: ") + sqlite3_errmsg(db));
    return Statement(raw);
}

void Step(sqlite3* db, sqlite3_stmt* statement) {
    int rc = sqlite3_step(statement);
    sqlite3_reset(statement);
    if (rc != SQLITE_DONE) throw BooksFileError(std::string("Books file: ") + sqlite3_errmsg(db));
}

void BindText(sqlite3_stmt* statement, int index, const std::string& text) {
    sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
}

std::string ColumnText(sqlite3_stmt* statement, int column) {
    const unsigned char* text = sqlite3_column_text(statement, column);
    return text ? std::string(reinterpret_cast<const char*>(text),
                              static_cast<size_t>(sqlite3_column_bytes(statement, column)))
                : std::string();
}

}  // namespace

std::optional<std::string> BooksFile::Company() {
    Statement select = Prepare(db_.get(), "SELECT name FROM company LIMIT 1");
    if (sqlite3_step(select.get()) == SQLITE_ROW) return ColumnText(select.get(), 0);
    return std::nullopt;
}

void BooksFile::SetCompany(const std::string& company) {
    Execute("BEGIN");
    try {
        Execute("DELETE FROM company");
        Statement insert = Prepare(db_.get(), "INSERT INTO company(name) VALUES(?)");
        BindText(insert.get(), 1, company);
        Step(db_.get(), insert.get());
        Execute("COMMIT");
    } catch (...) {
        sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void BooksFile::LoadInto(Books& books) {
    try {
        Statement masters = Prepare(db_.get(), "SELECT body FROM masters ORDER BY id");
        int rc;
        while ((rc = sqlite3_step(masters.get())) == SQLITE_ROW)
            books.AddMaster(MasterFromJson(nlohmann::json::parse(ColumnText(masters.get(), 0))));
        if (rc != SQLITE_DONE) throw BooksFileError(sqlite3_errmsg(db_.get()));
        Statement vouchers = Prepare(db_.get(), "SELECT body FROM vouchers ORDER BY id");
        while ((rc = sqlite3_step(vouchers.get())) == SQLITE_ROW)
            books.PutVoucher(VoucherFromJson(nlohmann::json::parse(ColumnText(vouchers.get(), 0))));
        if (rc != SQLITE_DONE) throw BooksFileError(sqlite3_errmsg(db_.get()));
    } catch (const BooksFileError&) {
        throw;
    } catch (const std::exception& error) {
        throw BooksFileError("The books file " + path_.string() + " is damaged: " + error.what());
    }
    books.TakeChanges();
}

void BooksFile::Save(const Books& books, const Books::Changes& changes) {
    if (changes.Empty()) return;
    Execute("BEGIN");
    try {
        Statement putMaster =
            Prepare(db_.get(), "INSERT OR REPLACE INTO masters(id, body) VALUES(?, ?)");
        for (int64_t id : changes.masters) {
            const Master* master = books.MasterById(id);
            if (!master || master->predefined) continue;
            sqlite3_bind_int64(putMaster.get(), 1, id);
            BindText(putMaster.get(), 2, DumpJson(MasterToJson(*master)));
            Step(db_.get(), putMaster.get());
        }
        Statement putVoucher =
            Prepare(db_.get(), "INSERT OR REPLACE INTO vouchers(id, body) VALUES(?, ?)");
        for (int64_t id : changes.vouchersPut) {
            const Voucher* voucher = books.VoucherById(id);
            if (!voucher) continue;  // removed again by the same request
            sqlite3_bind_int64(putVoucher.get(), 1, id);
            BindText(putVoucher.get(), 2, DumpJson(VoucherToJson(*voucher)));
            Step(db_.get(), putVoucher.get());
        }
        Statement removeVoucher = Prepare(db_.get(), "DELETE FROM vouchers WHERE id = ?");
        for (int64_t id : changes.vouchersRemoved) {
            sqlite3_bind_int64(removeVoucher.get(), 1, id);
            Step(db_.get(), removeVoucher.get());
        }
        Execute("COMMIT");
    } catch (...) {
        sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

}  // namespace zentrail::sim
