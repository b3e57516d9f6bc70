#include "screens/journal/transfer_journal.h"

#include <sqlite3.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <system_error>
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
    ~Database() { sqlite3_close(db); }
};

struct TransferJournal::RunLog {
    int64_t id = 0;
    std::filesystem::path path;
    std::unique_ptr<platform::AppendOnlyFile> file;
    int64_t sequence = 0;
    size_t written = 0;
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

TransferJournal::TransferJournal(const std::filesystem::path& path,
                                 std::optional<size_t> logCapacity)
    : path_(path), db_(std::make_unique<Database>()), logCapacity_(logCapacity) {
    std::error_code ignored;  // a folder that cannot be made shows in the open's error
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ignored);
    if (sqlite3_open_v2(path.string().c_str(), &db_->db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        Fail("cannot be opened");
    sqlite3_extended_result_codes(db_->db, 1);
    // Another program reading the journal holds it only for moments.
    sqlite3_busy_timeout(db_->db, 5000);
    // WAL: a killed process leaves every committed row readable.
    const std::string setup =
        "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; " + std::string(kSchema);
    if (sqlite3_exec(db_->db, setup.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail("cannot be opened");
    FoldLeftLogs();
}

TransferJournal::~TransferJournal() {
    if (!run_) return;
    try {
        EndRun();
    } catch (const JournalError&) {
        // The log stays beside the database; the next journal opened here folds it.
    }
}

std::filesystem::path TransferJournal::RunLogPath(int64_t run) const {
    return path_.string() + ".run-" + std::to_string(run);
}

void TransferJournal::Log(const std::string& line) {
    if (logCapacity_ && run_->written + line.size() > *logCapacity_)
        throw JournalError("the transfer journal " + path_.string() +
                           " cannot be written: " + std::strerror(ENOSPC));
    try {
        run_->file->Append(line);
    } catch (const std::system_error& e) {
        throw JournalError("the transfer journal " + path_.string() +
                           " cannot be written: " + e.code().message());
    }
    run_->written += line.size();
}

void TransferJournal::FoldLeftLogs() {
    const std::string prefix = path_.filename().string() + ".run-";
    std::error_code error;
    std::vector<std::filesystem::path> logs;
    for (const auto& entry : std::filesystem::directory_iterator(
             path_.has_parent_path() ? path_.parent_path() : ".", error))
        if (entry.path().filename().string().starts_with(prefix)) logs.push_back(entry.path());
    if (error) Fail("cannot be read (" + error.message() + ")");
    for (const std::filesystem::path& log : logs) {
        std::unique_ptr<platform::AppendOnlyFile> held;
        try {
            held = platform::AppendOnlyFile::Take(log, true);
        } catch (const std::system_error& e) {
            throw JournalError("the transfer journal " + path_.string() +
                               " cannot be read: " + log.string() + ": " + e.code().message());
        }
        if (held) Fold(log);  // else a run still going holds it
    }
}

void TransferJournal::Fold(const std::filesystem::path& log) {
    std::ifstream in(log, std::ios::binary);
    std::map<int64_t, JournalRow> rows;
    for (std::string line; std::getline(in, line);) {
        // A line cut short by a kill is no row: its request never left.
        const nlohmann::json item = nlohmann::json::parse(line, nullptr, false);
        if (item.is_discarded() || !item.is_object()) continue;
        if (item.contains("seq")) {
            JournalRow& row = rows[item.value("seq", int64_t{0})];
            row.runId = item.value("run", int64_t{0});
            row.screen = item.value("screen", "");
            row.kind = item.value("kind", "");
            row.identity = item.value("identity", "");
            row.number = item.value("number", "");
            row.date = item.value("date", "");
            row.key = item.value("key", "");
            row.bodySha256 = item.value("sha256", "");
            row.started = item.value("started", "");
            row.state = "sending";
        } else if (item.contains("done")) {
            auto found = rows.find(item.value("done", int64_t{0}));
            if (found == rows.end()) continue;
            JournalRow& row = found->second;
            row.state = "completed";
            row.outcome = OutcomeFromToken(item.value("outcome", ""));
            row.message = item.value("message", "");
            const std::vector<double> counts = item.value("counters", std::vector<double>(6, 0.0));
            if (counts.size() == 6)
                row.counters = {counts[0], counts[1], counts[2], counts[3], counts[4], counts[5]};
            row.ended = item.value("ended", "");
        }
    }
    if (sqlite3_exec(db_->db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail("cannot be written");
    try {
        Statement statement(Prepare(
            "INSERT INTO requests(run_id, screen, kind, identity, number, date, voucher_key, "
            "body_sha256, state, outcome, message, created, altered, combined, cancelled, errors, "
            "exceptions, started, ended) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?, ?)",
            "cannot be written"));
        sqlite3_stmt* raw = statement.get();
        for (const auto& [sequence, row] : rows) {
            sqlite3_reset(raw);
            sqlite3_bind_int64(raw, 1, row.runId);
            int index = 2;
            for (const std::string* text : {&row.screen, &row.kind, &row.identity, &row.number,
                                            &row.date, &row.key, &row.bodySha256, &row.state})
                sqlite3_bind_text(raw, index++, text->c_str(), -1, SQLITE_TRANSIENT);
            if (row.outcome)
                sqlite3_bind_text(raw, 10, OutcomeToken(*row.outcome), -1, SQLITE_STATIC);
            else
                sqlite3_bind_null(raw, 10);
            sqlite3_bind_text(raw, 11, row.message.c_str(), -1, SQLITE_TRANSIENT);
            index = 12;
            for (double count :
                 {row.counters.created, row.counters.altered, row.counters.combined,
                  row.counters.cancelled, row.counters.errors, row.counters.exceptions})
                sqlite3_bind_double(raw, index++, count);
            sqlite3_bind_text(raw, 18, row.started.c_str(), -1, SQLITE_TRANSIENT);
            if (row.ended.empty())
                sqlite3_bind_null(raw, 19);
            else
                sqlite3_bind_text(raw, 19, row.ended.c_str(), -1, SQLITE_TRANSIENT);
            if (sqlite3_step(raw) != SQLITE_DONE) Fail("cannot be written");
        }
        statement.reset();
        if (sqlite3_exec(db_->db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
            Fail("cannot be written");
    } catch (...) {
        sqlite3_exec(db_->db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    std::error_code error;
    if (!std::filesystem::remove(log, error) && error)
        throw JournalError("the transfer journal " + path_.string() + " cannot remove " +
                           log.string() + ": " + error.message());
}

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
    auto run = std::make_unique<RunLog>();
    run->id = sqlite3_last_insert_rowid(db_->db);
    run->path = RunLogPath(run->id);
    try {
        run->file = platform::AppendOnlyFile::Take(run->path);
    } catch (const std::system_error& e) {
        throw JournalError("the transfer journal " + path_.string() +
                           " cannot be written: " + e.code().message());
    }
    run_ = std::move(run);
    return run_->id;
}

void TransferJournal::EndRun() {
    if (!run_) return;
    std::unique_ptr<RunLog> run = std::move(run_);
    Fold(run->path);
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
        Statement update(
            Prepare("UPDATE requests SET state = 'completed', outcome = ?, "
                    "message = ?, ended = ? WHERE id = ?",
                    "cannot be written"));
        const std::string now = platform::LocalDateTime();
        for (JournalRow& row : rows) {
            sqlite3_reset(update.get());
            sqlite3_bind_text(update.get(), 1, OutcomeToken(Outcome::Unconfirmed), -1,
                              SQLITE_STATIC);
            sqlite3_bind_text(update.get(), 2, message.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(update.get(), 3, now.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(update.get(), 4, row.id);
            if (sqlite3_step(update.get()) != SQLITE_DONE) Fail("cannot be written");
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
    if (!run_) throw std::logic_error("a request journaled outside a run");
    const int64_t sequence = run_->sequence + 1;
    const nlohmann::json line = {
        {"seq", sequence},          {"run", run_->id},
        {"screen", row.screen},     {"kind", row.kind},
        {"identity", row.identity}, {"number", row.number},
        {"date", row.date},         {"key", row.key},
        {"sha256", row.bodySha256}, {"started", platform::LocalDateTime()}};
    Log(line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n");
    run_->sequence = sequence;
    return sequence;
}

void TransferJournal::Complete(int64_t sequence, Outcome outcome, const std::string& message,
                               const ImportCounters& counters) {
    if (!run_) throw std::logic_error("a request journaled outside a run");
    const nlohmann::json line = {{"done", sequence},
                                 {"outcome", OutcomeToken(outcome)},
                                 {"message", message},
                                 {"counters",
                                  {counters.created, counters.altered, counters.combined,
                                   counters.cancelled, counters.errors, counters.exceptions}},
                                 {"ended", platform::LocalDateTime()}};
    Log(line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n");
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
