#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "screens/line_ranges.h"
#include "screens/screen_definition.h"

namespace zentrail {

class SourceConnection;

// Reads the line queries of a run on a thread of its own, from the moment it is made and at
// most two ranges ahead of the documents being built. Tables of ranges already built are let go.
class LineReader {
public:
    // `source` (null only without queries) and `listing` outlive the reader.
    LineReader(SourceConnection* source, std::vector<LineQuery> queries, const Listing& listing,
               LineRangeSizes sizes = {});
    // Cancels and waits for the reading thread.
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The lines of the range holding `row`; rows are asked for in grid order. Waits for them;
    // rethrows what reading them threw.
    LineTables& TablesFor(size_t row);
    // Interrupts the query in progress and reads nothing more. Safe from any thread.
    void Cancel();

private:
    struct Part {
        RowRange rows{};
        LineTables tables{};
        std::exception_ptr failure{};
    };
    void Read();
    void ReadParts();
    // The ids of `rows` as literals of the query's range column, each once; false when one
    // is no whole number, and the query must be read whole.
    bool ListedIds(const LineQuery& query, std::vector<std::string>& ids) const;
    LineTables ReadTables(const std::vector<std::vector<std::string>>& ids, RowRange rows,
                          const LineTables& whole);
    std::shared_ptr<LineTable> ReadTable(const LineQuery& query, const std::string& sql);

    SourceConnection* source_;
    const std::vector<LineQuery> queries_;
    const Listing& listing_;
    const LineRangeSizes sizes_;
    const size_t rows_;

    Part current_{};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Part> ready_;
    bool closing_ = false;
    std::thread reader_;
};

}  // namespace zentrail
