#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tally/tally_exchange.h"

namespace zentrail {

enum class EntryKind { Master, Document };

// What happened to one master or one listed document of a run.
struct RunEntry {
    EntryKind kind = EntryKind::Document;
    std::string name;  // document number, or the master's name
    std::string date;
    std::string party;
    std::optional<double> amountSent;   // the voucher's party amount
    std::optional<double> sourceTotal;  // the document's own total in the source
    Outcome outcome = Outcome::NotSent;
    std::string message{};  // Tally's or the transport's words, or why it was not sent
};

// Outcomes counted by kind.
struct OutcomeCounts {
    long accepted = 0;        // accepted, created
    long alreadyInTally = 0;  // accepted, Tally held it already
    long tallyErrors = 0;
    long differences = 0;
    long notSent = 0;
    long unconfirmed = 0;  // sent, but no reply said what Tally did with it
    long skipped = 0;
    long stopped = 0;
    long saved = 0;  // written to a file, not posted

    void Add(Outcome outcome);
    long Total() const;
    // Everything accepted, saved or skipped by the document rules, with no difference.
    bool AllGood() const {
        return tallyErrors + differences + notSent + unconfirmed + stopped == 0;
    }
};

// How the requests of the last export fared.
struct RunCounts {
    long listed = 0;  // grid rows when the export began
    OutcomeCounts masters;
    OutcomeCounts documents;
    bool stopped = false;    // the operator stopped it, or Tally stopped answering
    std::string stopReason;  // why it stopped
    bool failed = false;     // a database or other error ended the run
    std::string reportPath;
    std::string reportError;   // why the report could not be written to the end; empty: whole
    std::string journalError;  // why the journal could not be opened or written; empty: none
    std::string savedFolder;   // where the requests were saved as files; empty: nowhere
    long savedFiles = 0;
    bool Clean() const {
        return masters.AllGood() && documents.AllGood() && !stopped && !failed &&
               reportError.empty();
    }
};

// A write or flush of the run report failed; the text names the file and the system's error.
class RunReportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The run report: one CSV line per entry, written and flushed as the run goes, so that an
// interrupted run keeps what happened so far.
class RunReport {
public:
    // Creates `<folder>/runs/<screen>-<timestamp>.csv` (a suffix keeps an earlier report of the
    // same second). Throws std::runtime_error when the file cannot be created. `capacity`
    // makes writes fail with ENOSPC past that many bytes, as on a full disk.
    RunReport(const std::filesystem::path& folder, const std::string& screen,
              const std::string& timestamp, std::optional<size_t> capacity = std::nullopt);
    ~RunReport();
    RunReport(const RunReport&) = delete;
    RunReport& operator=(const RunReport&) = delete;

    // Both throw RunReportError when the text is not all written and flushed.
    void WriteHead();
    void Write(const RunEntry& entry);
    const std::filesystem::path& Path() const { return path_; }

private:
    void Put(const std::string& text);

    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    std::optional<size_t> capacity_;
    size_t written_ = 0;
};

// Every outcome of a run, one per master request and one per listed document.
// The first failed write of the report is kept in Counts().reportError; nothing more is
// written to it after that, and the caller ends the run.
class RunRecord {
public:
    void Begin(size_t listedRows, std::unique_ptr<RunReport> report);
    // `row` is the grid row of a document; a row gets exactly one entry.
    void Add(const RunEntry& entry, std::optional<size_t> row = std::nullopt);
    // A line of the report for what was never a request (a product the listing leaves out):
    // neither counted nor among the entries.
    void Note(const RunEntry& entry);
    bool RowDone(size_t row) const { return row < rowDone_.size() && rowDone_[row]; }
    size_t ListedRows() const { return rowDone_.size(); }
    RunCounts& Counts() { return counts_; }
    const RunCounts& Counts() const { return counts_; }
    const std::vector<RunEntry>& Entries() const { return entries_; }

private:
    std::vector<RunEntry> entries_;
    std::vector<bool> rowDone_;
    RunCounts counts_;
    std::unique_ptr<RunReport> report_;
};

}  // namespace zentrail
