#include "shell/sqlite_connection.h"

#include <sqlite3.h>

#include <array>
#include <fstream>
#include <memory>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "common/ascii.h"
#include "common/utf8_text.h"
#include "shell/iso_date.h"
#include "shell/source_text.h"
#include "shell/source_timeout.h"
#include "shell/sqlite_number_text.h"
#include "shell/tsql_translation.h"

namespace zentrail {
namespace {

// A lock held this long is worth telling the operator about.
constexpr std::chrono::seconds kLockWaitWorthTelling{2};
constexpr std::chrono::milliseconds kLockNap{25};

struct StatementCloser {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    text = text.substr(text.size() - suffix.size());
    for (size_t i = 0; i < suffix.size(); ++i)
        if (ascii::Lower(text[i]) != suffix[i]) return false;
    return true;
}

bool IsDateColumn(const char* declaredType) {
    if (!declaredType) return false;
    std::string upper = ascii::Upper(declaredType);
    return upper.find("DATE") != std::string::npos || upper.find("TIME") != std::string::npos;
}

bool OnlySeparatorsLeft(const char* tail) {
    for (; tail && *tail; ++tail)
        if (*tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n' && *tail != ';')
            return false;
    return true;
}

// A file in WAL mode (header bytes 18 and 19 are 2) that no connection has open: the -wal and
// -shm files exist only while one has. A read-only connection would create both and, unable
// to checkpoint, leave them behind beside the distributor's database.
bool IsIdleWalFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    char header[20] = {};
    if (!in.read(header, sizeof header)) return false;
    if (std::string_view(header, 16) != std::string_view("SQLite format 3\0", 16)) return false;
    if (header[18] != 2 || header[19] != 2) return false;
    std::error_code ec;
    std::filesystem::path wal = file, shm = file;
    wal += "-wal";
    shm += "-shm";
    return !std::filesystem::exists(wal, ec) && !std::filesystem::exists(shm, ec);
}

// The file as an SQLite URI, so that query parameters can follow.
std::string FileUri(const std::u8string& path) {
    std::string uri = "file:";
    for (char8_t c : path) {
        if (c == '%' || c == '?' || c == '#') {
            static constexpr char kHex[] = "0123456789ABCDEF";
            uri += '%';
            uri += kHex[(c >> 4) & 0xF];
            uri += kHex[c & 0xF];
        } else {
            uri += static_cast<char>(c);
        }
    }
    return uri;
}

}  // namespace

struct SqliteConnection::Handle {
    sqlite3* db = nullptr;
    ~Handle() { sqlite3_close_v2(db); }
    DbError Error() const { return DbError(sqlite3_errcode(db), sqlite3_errmsg(db)); }
};

bool LooksLikeSqliteFile(const std::string& strSqlOdbc) {
    return EndsWithNoCase(strSqlOdbc, ".db") || EndsWithNoCase(strSqlOdbc, ".sqlite") ||
           EndsWithNoCase(strSqlOdbc, ".sqlite3");
}

std::optional<std::filesystem::path> SqliteSourceFile(const std::string& strSqlOdbc,
                                                      const std::filesystem::path& programFolder) {
    if (!LooksLikeSqliteFile(strSqlOdbc)) return std::nullopt;
    std::filesystem::path file(strSqlOdbc);
    if (file.is_relative()) file = programFolder / file;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
    return file;
}

SqliteConnection::SqliteConnection(const std::filesystem::path& file)
    : db_(std::make_unique<Handle>()) {
    std::u8string name = file.u8string();
    // A connection is used by one thread at a time (a second reader has a connection of its
    // own), so SQLite's per-call locking of it is left out.
    constexpr int kReadOnly = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX;
    int rc;
    if (IsIdleWalFile(file)) {
        // Nobody writes it now, so reading it as immutable is exact and needs no side files.
        const std::string uri = FileUri(name) + "?immutable=1";
        rc = sqlite3_open_v2(uri.c_str(), &db_->db, kReadOnly | SQLITE_OPEN_URI, nullptr);
    } else {
        rc = sqlite3_open_v2(reinterpret_cast<const char*>(name.c_str()), &db_->db, kReadOnly,
                             nullptr);
    }
    if (rc != SQLITE_OK) {
        if (!db_->db) throw DbError(rc, sqlite3_errstr(rc));
        throw db_->Error();
    }
    sqlite3_extended_result_codes(db_->db, 0);
    sqlite3_busy_handler(db_->db, &SqliteConnection::WhileLocked, this);
}

void SqliteConnection::SetWait(SourceWait wait) { wait_ = std::move(wait); }

int SqliteConnection::WhileLocked(void* self, int attempt) {
    auto& connection = *static_cast<SqliteConnection*>(self);
    const auto now = std::chrono::steady_clock::now();
    if (attempt == 0) {
        connection.lockedSince_ = now;
        connection.toldWaiting_ = false;
    }
    const auto waited = now - connection.lockedSince_;
    if (connection.wait_.giveUp && connection.wait_.giveUp()) return 0;
    if (waited > std::chrono::seconds(kCommandTimeoutSeconds)) return 0;
    if (waited >= kLockWaitWorthTelling && !connection.toldWaiting_) {
        connection.toldWaiting_ = true;
        if (connection.wait_.onWaiting) connection.wait_.onWaiting();
    }
    std::this_thread::sleep_for(kLockNap);
    return 1;
}

SqliteConnection::~SqliteConnection() = default;

void SqliteConnection::Interrupt() { sqlite3_interrupt(db_->db); }

namespace {

// The one statement of the SQL text, with its day comparisons translated. Throws DbError.
Statement Prepare(const SqliteConnection::Handle& db, const std::string& sql) {
    std::string translated = TranslateDayComparisons(sql);
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db.db, translated.c_str(), static_cast<int>(translated.size() + 1), &raw,
                           &tail) != SQLITE_OK)
        throw db.Error();
    Statement statement(raw);
    if (!statement) throw DbError(SQLITE_MISUSE, "The SQL text holds no statement.");
    if (!OnlySeparatorsLeft(tail))
        throw DbError(SQLITE_MISUSE, "The SQL text holds more than one statement.");
    return statement;
}

}  // namespace

std::string SqliteConnection::ProductName() const {
    return std::string("SQLite ") + sqlite3_libversion();
}

std::vector<std::string> SqliteConnection::ColumnNames(const std::string& sql) {
    Statement statement = Prepare(*db_, sql);
    int columns = sqlite3_column_count(statement.get());
    std::vector<std::string> names;
    for (int i = 0; i < columns; ++i) {
        const char* name = sqlite3_column_name(statement.get(), i);
        names.emplace_back(name ? name : "");
    }
    return names;
}

RowSet SqliteConnection::Query(const std::string& sql) {
    class Collect : public RowSink {
    public:
        void Columns(const std::vector<std::string>& fieldNames) override {
            rows = RowSet(fieldNames);
        }
        void Row(std::span<const std::optional<std::string_view>> values) override {
            for (const std::optional<std::string_view>& value : values) {
                if (value)
                    rows.Append(*value);
                else
                    rows.AppendNull();
            }
        }
        RowSet rows;
    } collect;
    Stream(sql, collect);
    return std::move(collect.rows);
}

void SqliteConnection::Stream(const std::string& sql, RowSink& sink) {
    Statement statement = Prepare(*db_, sql);

    const int columns = sqlite3_column_count(statement.get());
    std::vector<std::string> names;
    std::vector<bool> dateColumns;
    for (int i = 0; i < columns; ++i) {
        const char* name = sqlite3_column_name(statement.get(), i);
        names.emplace_back(name ? name : "");
        dateColumns.push_back(IsDateColumn(sqlite3_column_decltype(statement.get(), i)));
    }
    sink.Columns(names);

    std::vector<std::optional<std::string_view>> values(static_cast<size_t>(columns));
    // The texts a row's values were converted to, kept until the sink has had the row.
    std::vector<std::array<char, kNumberTextRoom>> numberRoom(static_cast<size_t>(columns));
    std::vector<std::string> converted(static_cast<size_t>(columns));
    for (;;) {
        const int rc = sqlite3_step(statement.get());
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW) throw db_->Error();
        for (int i = 0; i < columns; ++i) {
            const size_t at = static_cast<size_t>(i);
            const int type = sqlite3_column_type(statement.get(), i);
            if (type == SQLITE_NULL) {
                values[at].reset();
                continue;
            }
            // Numbers are read as values and written here, in the text SQLite would give.
            std::string_view text;
            if (type == SQLITE_INTEGER) {
                text = SqliteIntegerText(sqlite3_column_int64(statement.get(), i), numberRoom[at]);
            } else if (type == SQLITE_FLOAT) {
                text = SqliteRealText(sqlite3_column_double(statement.get(), i), numberRoom[at]);
            } else {
                const auto* bytes = sqlite3_column_text(statement.get(), i);
                if (!bytes) throw db_->Error();  // out of memory while converting
                text =
                    std::string_view(reinterpret_cast<const char*>(bytes),
                                     static_cast<size_t>(sqlite3_column_bytes(statement.get(), i)));
            }
            std::optional<std::string> date;
            if (dateColumns[at]) date = DateTextFromIso(text);
            if (date) {
                converted[at] = std::move(*date);
                text = converted[at];
            } else if (!IsValidUtf8(text)) {
                converted[at] = SourceBytesToUtf8(text);
                text = converted[at];
            }
            values[at] = text;
        }
        sink.Row(values);
    }
}

}  // namespace zentrail
