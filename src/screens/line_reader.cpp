#include "screens/line_reader.h"

#include <stdexcept>
#include <unordered_set>

#include "shell/platform.h"
#include "shell/source_database.h"

namespace zentrail {

namespace {

constexpr size_t kRangesAhead = 2;

struct ReadingCancelled : std::runtime_error {
    ReadingCancelled() : std::runtime_error("the lines were not read: the run ended") {}
};

}  // namespace

LineReader::LineReader(SourceConnection* source, std::vector<LineQuery> queries,
                       const Listing& listing, LineRangeSizes sizes)
    : source_(source),
      queries_(std::move(queries)),
      listing_(listing),
      sizes_(sizes),
      rows_(listing.RowCount()) {
    if (queries_.empty() || rows_ == 0) return;
    reader_ = std::thread([this] {
        // Reading ahead fills the time the sender waits for Tally, and gives way when it is
        // answered.
        platform::LowerThisThreadsPriority();
        Read();
    });
}

LineReader::~LineReader() {
    Cancel();
    if (reader_.joinable()) reader_.join();
}

void LineReader::Cancel() {
    {
        const std::lock_guard lock(mutex_);
        if (closing_) return;
        closing_ = true;
    }
    changed_.notify_all();
    if (reader_.joinable()) source_->Interrupt();
}

LineTables& LineReader::TablesFor(size_t row) {
    if (queries_.empty()) return current_.tables;
    while (row >= current_.rows.end) {
        if (current_.failure) std::rethrow_exception(current_.failure);
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return closing_ || !ready_.empty(); });
        if (ready_.empty()) throw ReadingCancelled();
        current_ = std::move(ready_.front());
        ready_.pop_front();
        lock.unlock();
        changed_.notify_all();
    }
    if (current_.failure) std::rethrow_exception(current_.failure);
    return current_.tables;
}

void LineReader::Read() {
    try {
        ReadParts();
    } catch (...) {
        Part failed;
        failed.rows = {0, rows_};
        failed.failure = std::current_exception();
        {
            const std::lock_guard lock(mutex_);
            ready_.push_back(std::move(failed));
        }
        changed_.notify_all();
    }
}

void LineReader::ReadParts() {
    std::vector<std::vector<std::string>> ids(queries_.size());
    std::vector<bool> ranged(queries_.size(), false);
    LineTables whole(queries_.size());
    bool anyRanged = false;
    for (size_t q = 0; q < queries_.size(); ++q) {
        ranged[q] = ListedIds(queries_[q], ids[q]);
        anyRanged = anyRanged || ranged[q];
    }
    for (size_t q = 0; q < queries_.size(); ++q) {
        if (ranged[q]) continue;
        ids[q].clear();
        whole[q] = ReadTable(queries_[q], queries_[q].sql);
    }
    const std::vector<RowRange> ranges =
        anyRanged ? LineRanges(rows_, sizes_.first, sizes_.most) : std::vector{RowRange{0, rows_}};
    for (const RowRange& range : ranges) {
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return closing_ || ready_.size() < kRangesAhead; });
            if (closing_) return;
        }
        Part part{range, ReadTables(ids, range, whole), nullptr};
        {
            const std::lock_guard lock(mutex_);
            ready_.push_back(std::move(part));
        }
        changed_.notify_all();
    }
}

bool LineReader::ListedIds(const LineQuery& query, std::vector<std::string>& ids) const {
    if (query.rangeColumn.empty() || !query.listedId || sizes_.most == 0) return false;
    ids.resize(rows_);
    for (size_t row = 0; row < rows_; ++row) {
        const std::string text = query.listedId(listing_.Row(row));
        ids[row] = WholeNumberLiteral(text);
        // A blank id has no lines anyway; any other id that is no whole number may still
        // match a line as text.
        if (ids[row].empty() && text.find_first_not_of(' ') != std::string::npos) return false;
    }
    return true;
}

LineTables LineReader::ReadTables(const std::vector<std::vector<std::string>>& ids, RowRange rows,
                                  const LineTables& whole) {
    LineTables tables(queries_.size());
    for (size_t q = 0; q < queries_.size(); ++q) {
        if (whole[q]) {
            tables[q] = whole[q];
            continue;
        }
        std::vector<std::string> keys;
        std::unordered_set<std::string> seen;
        for (size_t row = rows.first; row < rows.end; ++row) {
            const std::string& id = ids[q][row];
            if (!id.empty() && seen.insert(id).second) keys.push_back(id);
        }
        tables[q] =
            ReadTable(queries_[q], RangedQuery(queries_[q].sql, queries_[q].rangeColumn, keys));
    }
    return tables;
}

std::shared_ptr<LineTable> LineReader::ReadTable(const LineQuery& query, const std::string& sql) {
    {
        const std::lock_guard lock(mutex_);
        if (closing_) throw ReadingCancelled();
    }
    return std::make_shared<LineTable>(source_->Query(sql), query.columns, query.keyColumn,
                                       "A line query");
}

}  // namespace zentrail
