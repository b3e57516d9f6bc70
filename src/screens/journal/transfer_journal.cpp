#include "screens/journal/transfer_journal.h"

#include <sqlite3.h>

#include <array>
#include <utility>

#include "shell/platform.h"

namespace zentrail {

namespace {

constexpr std::array<std::pair<Outcome, const char*>, 8> kOutcomeTokens{{
    {Outcome::Accepted, "accepted"},
    {Outcome::AlreadyInTally, "already in Tally"},
    {Outcome::TallyError, "Tally error"},
    {Outcome::Difference, "difference"},
    {Outcome::NotSent, "not sent"},
    {Outcome::Unconfirmed, "unconfirmed"},
    {Outcome::Skipped, "skipped"},
    {Outcome::Stopped, "stopped"},
}};

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS runs(
    id INTEGER PRIMARY KEY,
    screen TEXT NOT NULL,
    started TEXT NOT NULL,
    date_from TEXT NOT NULL,
    date_to TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS requests(
    id INTEGER PRIMARY KEY,
    run_id INTEGER NOT NULL REFERENCES runs(id),
    screen TEXT NOT NULL,
    kind TEXT NOT NULL,
    identity TEXT NOT NULL,
    number TEXT NOT NULL,
    date TEXT NOT NULL,
    voucher_key TEXT NOT NULL,
    body_sha256 TEXT NOT NULL,
    state TEXT NOT NULL,
    outcome TEXT,
    message TEXT,
    created REAL, altered REAL, combined REAL, cancelled REAL, errors REAL, exceptions REAL,
    started TEXT NOT NULL,
    ended TEXT);
CREATE INDEX IF NOT EXISTS requests_of_identity ON requests(screen, kind, identity);
CREATE INDEX IF NOT EXISTS requests_sending ON requests(screen) WHERE state = 'sending';
)";

// Outcomes after which Tally may hold what was sent.
constexpr const char* kMayBeHeld = "('accepted', 'already in Tally', 'difference', 'unconfirmed')";

constexpr const char* kRowColumns =
    "id, run_id, screen, kind, identity, number, date, voucher_key, body_sha256, state, outcome, "
    "message, created, altered, combined, cancelled, errors, exceptions, started, ended";

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

std::string ColumnText(sqlite3_stmt* statement, int column) {
    const unsigned char* text = sqlite3_column_text(statement, column);
    return text ? reinterpret_cast<const char*>(text) : std::string();
}

JournalRow ReadRow(sqlite3_stmt* statement) {
    JournalRow row;
    row.id = sqlite3_column_int64(statement, 0);
    row.runId = sqlite3_column_int64(statement, 1);
    row.screen = ColumnText(statement, 2);
    row.kind = ColumnText(statement, 3);
    row.identity = ColumnText(statement, 4);
    row.number = ColumnText(statement, 5);
    row.date = ColumnText(statement, 6);
    row.key = ColumnText(statement, 7);
    row.bodySha256 = ColumnText(statement, 8);
    row.state = ColumnText(statement, 9);
    row.outcome = OutcomeFromToken(ColumnText(statement, 10));
    row.message = ColumnText(statement, 11);
    row.counters = {sqlite3_column_double(statement, 12), sqlite3_column_double(statement, 13),
                    sqlite3_column_double(statement, 14), sqlite3_column_double(statement, 15),
                    sqlite3_column_double(statement, 16), sqlite3_column_double(statement, 17)};
    row.started = ColumnText(statement, 18);
    row.ended = ColumnText(statement, 19);
    return row;
}

}  // namespace

const char* OutcomeToken(Outcome outcome) {
    for (const auto& [known, token] : kOutcomeTokens)
        if (known == outcome) return token;
    return "";
}

std::optional<Outcome> OutcomeFromToken(const std::string& token) {
    for (const auto& [known, name] : kOutcomeTokens)
        if (token == name) return known;
    return std::nullopt;
}

struct TransferJournal::Database {
    sqlite3* db = nullptr;
    Statement insertSending;
    Statement complete;
    ~Database() {
        insertSending.reset();
        complete.reset();
        sqlite3_close(db);
    }
};

void TransferJournal::Fail(const std::string& what) const {
    std::string why = db_ && db_->db ? sqlite3_errmsg(db_->db) : "out of memory";
    throw JournalError("the transfer journal " + path_.string() + " " + what + ": " + why);
}

sqlite3_stmt* TransferJournal::Prepare(const std::string& sql, const char* what,
                                       bool persistent) const {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(db_->db, sql.c_str(), -1, persistent ? SQLITE_PREPARE_PERSISTENT : 0,
                           &statement, nullptr) != SQLITE_OK)
        Fail(what);
    return statement;
}

TransferJournal::TransferJournal(const std::filesystem::path& path, std::optional<int> pageLimit)
    : path_(path), db_(std::make_unique<Database>()) {
    std::error_code ignored;  // a folder that cannot be made shows in the open's error
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ignored);
    if (sqlite3_open_v2(path.string().c_str(), &db_->db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        Fail("cannot be opened");
    sqlite3_extended_result_codes(db_->db, 1);
    // Another program reading the journal holds it only for moments.
    sqlite3_busy_timeout(db_->db, 5000);
    // WAL: each commit is one append, and a killed process leaves every committed row readable.
    // NORMAL needs no flush to disk per commit; a process killed keeps what it committed.
    const std::string setup =
        "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; " + std::string(kSchema) +
        (pageLimit ? "PRAGMA max_page_count=" + std::to_string(*pageLimit) + ";" : "");
    if (sqlite3_exec(db_->db, setup.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail("cannot be opened");
    db_->insertSending.reset(
        Prepare("INSERT INTO requests(run_id, screen, kind, identity, number, date, voucher_key, "
                "body_sha256, state, started) VALUES(?, ?, ?, ?, ?, ?, ?, ?, 'sending', ?)",
                "cannot be opened", true));
    db_->complete.reset(
        Prepare("UPDATE requests SET state = 'completed', outcome = ?, message = ?, created = ?, "
                "altered = ?, combined = ?, cancelled = ?, errors = ?, exceptions = ?, ended = ? "
                "WHERE id = ?",
                "cannot be opened", true));
}

TransferJournal::~TransferJournal() = default;

int64_t TransferJournal::BeginRun(const std::string& screen, const std::string& from,
                                  const std::string& to) {
    Statement statement(
        Prepare("INSERT INTO runs(screen, started, date_from, date_to) VALUES(?, ?, ?, ?)",
                "cannot be written"));
    sqlite3_stmt* raw = statement.get();
    const std::string now = platform::LocalDateTime();
    for (const auto& [index, text] :
         {std::pair{1, &screen}, std::pair{2, &now}, std::pair{3, &from}, std::pair{4, &to}})
        sqlite3_bind_text(raw, index, text->c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(raw) != SQLITE_DONE) Fail("cannot be written");
    return sqlite3_last_insert_rowid(db_->db);
}

std::vector<JournalRow> TransferJournal::CloseUnfinished(const std::string& screen,
                                                         const std::string& message) {
    std::vector<JournalRow> rows;
    if (sqlite3_exec(db_->db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail("cannot be written");
    try {
        Statement statement(Prepare(std::string("SELECT ") + kRowColumns +
                                        " FROM requests WHERE screen = ? AND state = 'sending' "
                                        "ORDER BY id",
                                    "cannot be read"));
        sqlite3_stmt* raw = statement.get();
        sqlite3_bind_text(raw, 1, screen.c_str(), -1, SQLITE_TRANSIENT);
        int step;
        while ((step = sqlite3_step(raw)) == SQLITE_ROW) rows.push_back(ReadRow(raw));
        if (step != SQLITE_DONE) Fail("cannot be read");
        statement.reset();
        for (JournalRow& row : rows) {
            Complete(row.id, Outcome::Unconfirmed, message, {});
            row.state = "completed";
            row.outcome = Outcome::Unconfirmed;
            row.message = message;
        }
        if (sqlite3_exec(db_->db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
            Fail("cannot be written");
    } catch (...) {
        sqlite3_exec(db_->db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    return rows;
}

HeldRequests TransferJournal::Held(const std::string& screen, const std::string& kind) const {
    // SQLite takes the other columns from the row that holds MAX(id).
    const std::string select =
        std::string(
            "SELECT identity, voucher_key, body_sha256, outcome, started, MAX(id) FROM "
            "requests WHERE screen = ? AND kind = ? AND outcome IN ") +
        kMayBeHeld + " GROUP BY identity";
    Statement statement(Prepare(select, "cannot be read"));
    sqlite3_stmt* raw = statement.get();
    sqlite3_bind_text(raw, 1, screen.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(raw, 2, kind.c_str(), -1, SQLITE_TRANSIENT);
    HeldRequests held;
    int step;
    while ((step = sqlite3_step(raw)) == SQLITE_ROW) {
        HeldRequest request{
            .key = ColumnText(raw, 1),
            .bodySha256 = ColumnText(raw, 2),
            .outcome = OutcomeFromToken(ColumnText(raw, 3)).value_or(Outcome::Unconfirmed),
            .sentOn = ColumnText(raw, 4)};
        held.emplace(ColumnText(raw, 0), std::move(request));
    }
    if (step != SQLITE_DONE) Fail("cannot be read");
    return held;
}

int64_t TransferJournal::Sending(const JournalRow& row) {
    sqlite3_stmt* statement = db_->insertSending.get();
    sqlite3_reset(statement);
    sqlite3_bind_int64(statement, 1, row.runId);
    const std::string now = platform::LocalDateTime();
    int index = 2;
    for (const std::string* text : {&row.screen, &row.kind, &row.identity, &row.number, &row.date,
                                    &row.key, &row.bodySha256, &now})
        sqlite3_bind_text(statement, index++, text->c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(statement) != SQLITE_DONE) Fail("cannot be written");
    return sqlite3_last_insert_rowid(db_->db);
}

void TransferJournal::Complete(int64_t id, Outcome outcome, const std::string& message,
                               const ImportCounters& counters) {
    sqlite3_stmt* statement = db_->complete.get();
    sqlite3_reset(statement);
    sqlite3_bind_text(statement, 1, OutcomeToken(outcome), -1, SQLITE_STATIC);
    sqlite3_bind_text(statement, 2, message.c_str(), -1, SQLITE_TRANSIENT);
    int index = 3;
    for (double count : {counters.created, counters.altered, counters.combined, counters.cancelled,
                         counters.errors, counters.exceptions})
        sqlite3_bind_double(statement, index++, count);
    const std::string now = platform::LocalDateTime();
    sqlite3_bind_text(statement, 9, now.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(statement, 10, id);
    if (sqlite3_step(statement) != SQLITE_DONE) Fail("cannot be written");
}

std::vector<JournalRow> TransferJournal::Latest(const std::string& screen,
                                                const std::optional<std::string>& from,
                                                const std::optional<std::string>& to) const {
    std::string select = std::string("SELECT ") + kRowColumns +
                         " FROM requests WHERE id IN (SELECT MAX(id) FROM requests WHERE "
                         "screen = ?1 GROUP BY kind, identity)";
    if (from) select += " AND kind = 'document' AND date >= ?2";
    if (to) select += " AND kind = 'document' AND date <= ?3";
    select += " ORDER BY id";
    Statement statement(Prepare(select, "cannot be read"));
    sqlite3_stmt* raw = statement.get();
    sqlite3_bind_text(raw, 1, screen.c_str(), -1, SQLITE_TRANSIENT);
    if (from) sqlite3_bind_text(raw, 2, from->c_str(), -1, SQLITE_TRANSIENT);
    if (to) sqlite3_bind_text(raw, 3, to->c_str(), -1, SQLITE_TRANSIENT);
    std::vector<JournalRow> rows;
    int step;
    while ((step = sqlite3_step(raw)) == SQLITE_ROW) rows.push_back(ReadRow(raw));
    if (step != SQLITE_DONE) Fail("cannot be read");
    return rows;
}

}  // namespace zentrail
