#include "screens/run_record.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "common/csv.h"
#include "tally/number_text.h"

namespace zentrail {

namespace {

std::string Amount(const std::optional<double>& amount) {
    return amount ? NumberText(*amount) : std::string();
}

// Messages carry CR LF between Tally's lines; a report cell reads better with "; ".
std::string OneLine(const std::string& message) {
    std::string line;
    for (size_t i = 0; i < message.size(); ++i) {
        if (message[i] == '\r' || message[i] == '\n') {
            while (i + 1 < message.size() && (message[i + 1] == '\r' || message[i + 1] == '\n'))
                ++i;
            if (!line.empty()) line += "; ";
            continue;
        }
        line += message[i];
    }
    return line;
}

}  // namespace

void OutcomeCounts::Add(Outcome outcome) {
    switch (outcome) {
        case Outcome::Accepted:
            ++accepted;
            break;
        case Outcome::AlreadyInTally:
            ++alreadyInTally;
            break;
        case Outcome::TallyError:
            ++tallyErrors;
            break;
        case Outcome::Difference:
            ++differences;
            break;
        case Outcome::NotSent:
            ++notSent;
            break;
        case Outcome::Unconfirmed:
            ++unconfirmed;
            break;
        case Outcome::Skipped:
            ++skipped;
            break;
        case Outcome::Stopped:
            ++stopped;
            break;
        case Outcome::Saved:
            ++saved;
            break;
    }
}

long OutcomeCounts::Total() const {
    return accepted + alreadyInTally + tallyErrors + differences + notSent + unconfirmed + skipped +
           stopped + saved;
}

RunReport::RunReport(const std::filesystem::path& folder, const std::string& screen,
                     const std::string& timestamp, std::optional<size_t> capacity)
    : capacity_(capacity) {
    std::filesystem::path runs = folder / "runs";
    std::error_code error;
    std::filesystem::create_directories(runs, error);
    for (int attempt = 1; attempt < 100 && file_ == nullptr; ++attempt) {
        std::string name = screen + "-" + timestamp;
        if (attempt > 1) name += "-" + std::to_string(attempt);
        path_ = runs / (name + ".csv");
        // "x": never overwrite the report of another run; "b": the same bytes on every system.
        file_ = std::fopen(path_.string().c_str(), "wbx");
        if (file_ == nullptr && !std::filesystem::exists(path_)) break;
    }
    if (file_ == nullptr)
        throw std::runtime_error("cannot create the run report " + path_.string());
}

RunReport::~RunReport() {
    if (file_ != nullptr) std::fclose(file_);
}

void RunReport::Put(const std::string& text) {
    size_t room = text.size();
    if (capacity_) room = std::min(room, *capacity_ - std::min(*capacity_, written_));
    const size_t put = std::fwrite(text.data(), 1, room, file_);
    written_ += put;
    int error = put < room ? errno : 0;
    if (std::fflush(file_) != 0 && error == 0) error = errno;
    if (error == 0 && room < text.size()) error = ENOSPC;
    if (error != 0)
        throw RunReportError("cannot write the run report " + path_.string() + ": " +
                             std::strerror(error));
}

void RunReport::WriteHead() {
    Put(std::string(kCsvByteOrderMark) +
        "kind,number or name,date,party,amount sent,source total,outcome,message\r\n");
}

void RunReport::Write(const RunEntry& entry) {
    std::string line = entry.kind == EntryKind::Master ? "master" : "document";
    for (const std::string& field :
         {entry.name, entry.date, entry.party, Amount(entry.amountSent), Amount(entry.sourceTotal),
          std::string(OutcomeText(entry.outcome)), OneLine(entry.message)})
        line += "," + CsvField(field);
    line += "\r\n";
    Put(line);
}

void RunRecord::Begin(size_t listedRows, std::unique_ptr<RunReport> report) {
    entries_.clear();
    rowDone_.assign(listedRows, false);
    counts_ = RunCounts{};
    counts_.listed = static_cast<long>(listedRows);
    report_ = std::move(report);
    if (!report_) return;
    counts_.reportPath = report_->Path().string();
    try {
        report_->WriteHead();
    } catch (const RunReportError& e) {
        counts_.reportError = e.what();
    }
}

void RunRecord::Add(const RunEntry& entry, std::optional<size_t> row) {
    if (row) {
        if (*row >= rowDone_.size() || rowDone_[*row])
            throw std::logic_error("a listed document got a second outcome: " + entry.name);
        rowDone_[*row] = true;
    }
    (entry.kind == EntryKind::Master ? counts_.masters : counts_.documents).Add(entry.outcome);
    entries_.push_back(entry);
    if (!report_ || !counts_.reportError.empty()) return;
    try {
        report_->Write(entry);
    } catch (const RunReportError& e) {
        counts_.reportError = e.what();
    }
}

void RunRecord::Note(const RunEntry& entry) {
    if (!report_ || !counts_.reportError.empty()) return;
    try {
        report_->Write(entry);
    } catch (const RunReportError& e) {
        counts_.reportError = e.what();
    }
}

}  // namespace zentrail
