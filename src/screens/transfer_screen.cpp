#include "screens/transfer_screen.h"

#include <algorithm>
#include <cmath>

#include "screens/journal/body_digest.h"
#include "screens/line_reader.h"
#include "shell/platform.h"
#include "shell/recordset.h"
#include "tally/date_text.h"
#include "tally/masters/tally_master.h"
#include "tally/number_text.h"
#include "tally/tally_builder.h"
#include "tally/xml_escape.h"

namespace zentrail {

namespace {

// Failed exchanges in a row after which Tally counts as gone, or as unable to read us.
constexpr int kFailedExchangesToGiveUp = 3;
constexpr const char* kNotAnswering = "Tally is not answering";
constexpr const char* kNotReading = "Tally could not read three requests in a row";
constexpr const char* kStoppedByOperator = "Export stopped by the operator";
constexpr const char* kWaitingForSource =
    "Waiting for the source database (locked by another program)\u2026";
// The largest round-off a voucher may carry against its document's own total.
constexpr double kLargestRoundOff = 0.5;

LogRecord::Kind KindOf(Outcome outcome) {
    switch (outcome) {
        case Outcome::TallyError:
        case Outcome::NotSent:
        case Outcome::Unconfirmed:
            return LogRecord::Kind::Error;
        case Outcome::Difference:
        case Outcome::Stopped:
            return LogRecord::Kind::Warning;
        default:
            return LogRecord::Kind::Info;
    }
}

// A journal time ("YYYY-MM-DD HH:MM:SS") as the operator reads a date.
std::string SentOn(const std::string& time) {
    if (time.size() < 10) return time;
    return time.substr(8, 2) + "/" + time.substr(5, 2) + "/" + time.substr(0, 4);
}

// A document's date as the journal keeps it: YYYY-MM-DD when it reads as a date.
std::string JournalDate(const std::string& date) {
    if (date.empty()) return date;
    try {
        const std::string compact = VoucherDate(date);
        return compact.substr(0, 4) + "-" + compact.substr(4, 2) + "-" + compact.substr(6, 2);
    } catch (const std::exception&) {
        return date;
    }
}

std::string CountLine(const char* label, long count) {
    return std::string("\n") + label + ": " + std::to_string(count);
}

// Appends each row of the listing to the grid, its texts trimmed.
class GridFiller : public RowSink {
public:
    explicit GridFiller(TransferGrid& grid) : grid_(grid) {}
    void Columns(const std::vector<std::string>& fieldNames) override {
        cells_.resize(fieldNames.size());
        labelField_ = fieldNames.size() > 1 ? 1 : 0;
    }
    void Row(std::span<const std::optional<std::string_view>> values) override {
        for (size_t i = 0; i < cells_.size() && i < values.size(); ++i)
            cells_[i] = values[i] ? BlankTrimmed(*values[i]) : std::string_view();
        grid_.AddRow(cells_);
    }
    // The field that names a row while the listing is shown: the second, if there is one.
    size_t LabelField() const { return labelField_; }

private:
    TransferGrid& grid_;
    std::vector<std::string_view> cells_;
    size_t labelField_ = 0;
};

}  // namespace

std::string LogLine(const LogRecord& record) {
    return "\r\n" + record.text + (record.document.empty() ? "" : " " + record.document);
}

TransferScreen::TransferScreen(ScreenContext context, const ScreenDefinition& definition)
    : context_(context), definition_(definition) {
    dtpFrom = dtpTo = CalendarDate::Today();
}

void TransferScreen::Load() { Reset(); }

void TransferScreen::Reset() {
    ResetControls();
    title = definition_.Design().title + context_.config.strConfigSummary;
    Notify(ScreenControl::Title);
    ssdbgItem.RemoveColumns();
    Notify(ScreenControl::GridColumns);
}

void TransferScreen::ResetControls() {
    log_.clear();
    Notify(ScreenControl::LogCleared);
    ssdbgItem.Clear();
    ssdbgItem.caption = TransferGrid::kDesignCaption;
    Notify(ScreenControl::GridRows);
    Notify(ScreenControl::GridCaption);
    dtpFrom = dtpTo = CalendarDate::Today();
    Notify(ScreenControl::Dates);
    ChangeProgress([&](Progress& progress) {
        progress = Progress{};
        progress.caption = definition_.Design().frameCaption;
    });
}

void TransferScreen::Exit() { observer_->CloseRequested(); }

void TransferScreen::SetDates(const CalendarDate& from, const CalendarDate& to) {
    dtpFrom = from;
    dtpTo = to;
    Notify(ScreenControl::Dates);
}

void TransferScreen::ChangeProgress(const std::function<void(Progress&)>& change) {
    Progress changed = progress_;
    change(changed);
    if (changed == progress_) return;
    progress_ = std::move(changed);
    observer_->ProgressChanged(progress_);
}

void TransferScreen::SetFrameCaption(const std::string& caption) {
    ChangeProgress([&](Progress& progress) { progress.caption = caption; });
}

void TransferScreen::SetProgress(long value) {
    ChangeProgress([&](Progress& progress) { progress.current = value; });
}

void TransferScreen::SetProgressRange(long max) {
    ChangeProgress([&](Progress& progress) {
        progress.total = max;
        progress.current = 0;
    });
}

void TransferScreen::ShowItem(const std::string& text) {
    ChangeProgress([&](Progress& progress) { progress.document = text; });
}

void TransferScreen::SetCurrentCount(long count) {
    ChangeProgress([&](Progress& progress) { progress.handled = count; });
}

void TransferScreen::SetTotalCount(long count) {
    ChangeProgress([&](Progress& progress) { progress.listed = count; });
}

void TransferScreen::AppendLog(LogRecord::Kind kind, std::string text, std::string document) {
    LogRecord record{.id = log_.empty() ? 1 : log_.back().id + 1,
                     .time = std::chrono::system_clock::now(),
                     .kind = kind,
                     .text = std::move(text),
                     .document = std::move(document)};
    log_.push_back(std::move(record));
    observer_->Logged(log_.back());
}

std::string TransferScreen::LogText() const {
    std::string text;
    for (const LogRecord& record : log_) text += LogLine(record);
    return text;
}

void TransferScreen::BuildColumns() {
    // Only the field names are needed: the statement is prepared, its rows never read.
    const std::vector<std::string> names =
        context_.db.ColumnNames(definition_.ColumnQuery(Dates()));
    SetFrameCaption("Creating Columns as per Brindle");
    long last = static_cast<long>(names.size()) - 1;
    SetProgressRange(last < 0 ? 0 : last);
    for (size_t i = 0; i < names.size(); ++i) {
        SetProgress(static_cast<long>(i));
        ShowItem(names[i]);
        ssdbgItem.AddColumn(names[i]);
    }
    Notify(ScreenControl::GridColumns);
    // The columns the documents are built from are known from here on, or the listing is refused.
    listingColumns_ = BoundColumns(definition_.ListingColumns(), names, "The listing");
}

void TransferScreen::WatchSourceLocks() {
    context_.db.SetWait(SourceWait{.onWaiting =
                                       [this] {
                                           AppendLog(LogRecord::Kind::Info, kWaitingForSource);
                                           ShowItem(kWaitingForSource);
                                       },
                                   .giveUp = [this] { return StopWanted(); }});
}

bool TransferScreen::StopWanted() {
    // Kept once asked, so that every later look agrees with the first.
    if (!stop_ && observer_->StopRequested()) stop_ = true;
    return stop_;
}

void TransferScreen::RequestStop() {
    stop_ = true;
    const std::lock_guard lock(listingMutex_);
    if (listingConnection_ != nullptr) listingConnection_->Interrupt();
}

void TransferScreen::SetListingConnection(SourceConnection* connection) {
    const std::lock_guard lock(listingMutex_);
    listingConnection_ = connection;
}

namespace {

struct GetDataStop {};

// Hands the rows on to the grid until the operator stops; a query that streams its rows is
// then left between two of them, even when the interrupt came before it started.
class StoppableRows : public RowSink {
public:
    StoppableRows(RowSink& rows, const std::atomic<bool>& stop) : rows_(rows), stop_(stop) {}
    void Columns(const std::vector<std::string>& fieldNames) override { rows_.Columns(fieldNames); }
    void Row(std::span<const std::optional<std::string_view>> values) override {
        if (stop_) throw GetDataStop{};
        rows_.Row(values);
    }

private:
    RowSink& rows_;
    const std::atomic<bool>& stop_;
};

}  // namespace

void TransferScreen::GetData() {
    busy = true;
    Notify(ScreenControl::Busy);
    getDataFailed_ = false;
    getDataStopped_ = false;
    stop_ = false;
    WatchSourceLocks();
    // Nothing of an earlier run stays on show.
    SetCurrentCount(0);
    SetTotalCount(0);
    try {
        // A Stop from now on interrupts the listing's queries where they are.
        SetListingConnection(context_.db.cnSource.get());
        struct Forget {
            TransferScreen& screen;
            ~Forget() { screen.SetListingConnection(nullptr); }
        } forget{*this};
        ssdbgItem.RemoveColumns();
        Notify(ScreenControl::GridColumns);
        BuildColumns();
        ShowItem("");
        if (stop_) throw GetDataStop{};
        // The rows go straight into the grid; the listing is shown once it is complete.
        GridFiller filler(ssdbgItem);
        StoppableRows rows(filler, stop_);
        context_.db.ReadRows(definition_.ListingQuery(Dates()), rows);
        if (stop_) throw GetDataStop{};
        const long count = static_cast<long>(ssdbgItem.RowCount());
        if (count > 0) {
            SetProgressRange(count);
            SetTotalCount(count);
            ssdbgItem.caption = "Total Records Imported " + std::to_string(count);
            Notify(ScreenControl::GridCaption);
            const size_t labelColumn = std::min(filler.LabelField(), ssdbgItem.ColumnCount() - 1);
            for (long row = 0; row < count; ++row) {
                SetProgress(row + 1);
                ShowItem(std::string(ssdbgItem.Text(static_cast<size_t>(row), labelColumn)));
            }
            Notify(ScreenControl::GridRows);
            SetTotalCount(count);
        }
    } catch (const GetDataStop&) {
        getDataStopped_ = true;
    } catch (const DbError& e) {
        // A query interrupted or a wait for a locked source ended by the operator is no
        // database error.
        if (StopWanted())
            getDataStopped_ = true;
        else
            ReportError("Get Data", e.Number(), e.Description());
        getDataFailed_ = !getDataStopped_;
    } catch (const std::exception& e) {
        getDataFailed_ = true;
        ReportError("Get Data", 0, e.what());
    }
    if (getDataStopped_) AppendLog(LogRecord::Kind::Warning, "Get Data stopped by the operator");
    if (getDataFailed_ || getDataStopped_) {  // no half listing to export
        ssdbgItem.Clear();
        Notify(ScreenControl::GridRows);
    }
    SetProgress(0);
    ShowItem("");
    busy = false;
    Notify(ScreenControl::Busy);
}

std::unique_ptr<RunReport> TransferScreen::OpenReport() {
    if (context_.reportFolder.empty()) return nullptr;
    return std::make_unique<RunReport>(context_.reportFolder, definition_.Design().name,
                                       platform::LocalTimestamp(), context_.reportCapacity);
}

void TransferScreen::Export() {
    busy = true;
    Notify(ScreenControl::Busy);
    stop_ = false;
    stopReason_.clear();
    failedExchangesInARow_ = 0;
    documentOfKey_.clear();
    WatchSourceLocks();
    try {
        // Counts start afresh even when the report cannot be created.
        record_.Begin(ssdbgItem.RowCount(), nullptr);
        record_.Begin(ssdbgItem.RowCount(), OpenReport());
        // One progress for the whole run: documents done out of those listed, masters first.
        const long listed = static_cast<long>(ssdbgItem.RowCount());
        SetProgressRange(listed);
        SetTotalCount(listed);
        SetCurrentCount(0);
        CheckReport();
        OpenSinks();
        OpenJournal(sink_->ReachesTally());
        if (definition_.Design().reopensConnection) context_.db.OpenConnection(context_.config);
        CheckTallyRuns();
        ssdbgItem.currentRow = 0;
        ExportSteps();
    } catch (const StopRun&) {
        record_.Counts().stopped = true;
        record_.Counts().stopReason = stopReason_;
        AppendLog(LogRecord::Kind::Warning, stopReason_);
    } catch (const JournalError& e) {
        record_.Counts().failed = true;
        record_.Counts().journalError = e.what();
        ReportError("Export", 0, e.what());
    } catch (const DbError& e) {
        if (StopWanted()) {
            record_.Counts().stopped = true;
            stopReason_ = kStoppedByOperator;
            AppendLog(LogRecord::Kind::Warning, stopReason_);
        } else {
            record_.Counts().failed = true;
            ReportError("Export", e.Number(), e.Description());
        }
    } catch (const std::exception& e) {
        record_.Counts().failed = true;
        ReportError("Export", 0, e.what());
    }
    FinishExport();
}

void TransferScreen::OpenSinks() {
    folderSink_.reset();
    tallySink_.reset();
    if (context_.post)
        tallySink_ = std::make_unique<TallySink>(context_.tally, context_.TallyUrl(),
                                                 context_.RequestEncoding());
    if (!context_.saveRequestsTo.empty())
        folderSink_ = std::make_unique<RequestFolderSink>(
            context_.saveRequestsTo, context_.RequestEncoding(), tallySink_.get());
    sink_ = context_.sink != nullptr ? context_.sink
            : folderSink_            ? static_cast<RequestSink*>(folderSink_.get())
                                     : tallySink_.get();
    if (sink_ == nullptr) throw std::logic_error("An export that does not post must save");
}

void TransferScreen::CheckTallyRuns() {
    const TallyCheck check = sink_->CheckTally(&stop_);
    switch (check.status) {
        case TallyCheck::Status::Running:
        case TallyCheck::Status::NoTally:
            return;
        case TallyCheck::Status::NotRunning:
            stopReason_ = "Tally is not running at " + context_.config.TallyAddress();
            if (!context_.configFile.empty())
                stopReason_ += " (SERVER and PORT in " + context_.configFile.string() + ")";
            throw StopRun{};
        case TallyCheck::Status::Stopped:
            stopReason_ = kStoppedByOperator;
            throw StopRun{};
        case TallyCheck::Status::Unexpected:
            AppendLog(LogRecord::Kind::Warning,
                      "Tally at " + context_.config.TallyAddress() +
                          " did not answer as expected when asked whether it runs (" +
                          check.description + "); the export goes on");
            return;
    }
}

void TransferScreen::FinishExport() {
    // Every listed document ends with one outcome, also when the run ended early.
    const RunCounts& counts = record_.Counts();
    // Only the operator's stop leaves documents "stopped"; when Tally ends the run they are
    // simply not sent.
    Outcome rest =
        counts.stopped && stopReason_ == kStoppedByOperator ? Outcome::Stopped : Outcome::NotSent;
    std::string why = counts.failed ? "the run ended on an error" : stopReason_;
    for (size_t row = 0; row < record_.ListedRows(); ++row) {
        if (record_.RowDone(row) || !(counts.stopped || counts.failed)) continue;
        RunEntry entry;
        entry.name = row < ssdbgItem.RowCount() && ssdbgItem.ColumnCount() > 1
                         ? std::string(ssdbgItem.Text(row, 1))
                         : std::to_string(row + 1);
        entry.outcome = rest;
        entry.message = why;
        record_.Add(entry, row);
    }
    // A run that only saved its requests must not read as a transfer.
    const bool onlySaved = !context_.post && context_.sink == nullptr;
    SetFrameCaption(counts.stopped    ? "Transfer stopped"
                    : !counts.Clean() ? "Transfer ended with errors"
                    : onlySaved       ? "Requests Saved To Files"
                                      : "Data Transferred To Tally");
    ShowItem("");
    SetProgress(0);
    if (journal_ && journaling_) {
        try {
            journal_->EndRun();
        } catch (const JournalError& e) {
            AppendLog(LogRecord::Kind::Warning,
                      std::string(e.what()) + "; the run's log beside it is read in next time");
        }
    }
    journal_.reset();
    journaling_ = false;
    heldDocuments_.clear();
    heldMasters_.clear();
    if (folderSink_) {
        record_.Counts().savedFolder = folderSink_->Folder().string();
        record_.Counts().savedFiles = folderSink_->FilesWritten();
    }
    if (!counts.reportPath.empty())
        AppendLog(LogRecord::Kind::Info, "Run report: " + counts.reportPath);
    busy = false;
    Notify(ScreenControl::Busy);
    ScreenMessage message;
    message.icon = ScreenMessage::Icon::Information;
    message.title = "Zentrail";
    message.text = ClosingMessage(onlySaved ? "Requests saved to files, not posted to Tally"
                                            : definition_.Design().closingText,
                                  counts);
    message.reportPath = counts.reportPath;
    observer_->ShowMessage(message);
}

std::string TransferScreen::ClosingMessage(const std::string& closingText, const RunCounts& run) {
    std::string text = closingText;
    if (run.listed == 0) text += "\nNothing was listed.";
    const OutcomeCounts& d = run.documents;
    text += CountLine("Documents listed", run.listed);
    text += CountLine("Accepted", d.accepted + d.alreadyInTally);
    if (d.alreadyInTally > 0)
        text += " (already in Tally: " + std::to_string(d.alreadyInTally) + ")";
    text += CountLine("Sent with Tally errors", d.tallyErrors);
    text += CountLine("Sent with differences", d.differences);
    text += CountLine("Not sent", d.notSent);
    if (d.unconfirmed > 0) text += CountLine("Unconfirmed (Tally may hold them)", d.unconfirmed);
    text += CountLine("Skipped", d.skipped);
    if (d.saved > 0) text += CountLine("Saved to files, not posted", d.saved);
    if (d.stopped > 0) text += CountLine("Not sent because stopped", d.stopped);
    const OutcomeCounts& m = run.masters;
    text += "\nMasters: " + std::to_string(m.Total() - m.skipped) + " sent, " +
            std::to_string(m.accepted + m.alreadyInTally) + " accepted, " +
            std::to_string(m.tallyErrors) + " with Tally errors, " +
            std::to_string(m.notSent + m.stopped) + " not sent";
    if (m.unconfirmed > 0) text += ", " + std::to_string(m.unconfirmed) + " unconfirmed";
    if (m.skipped > 0)
        text += ", " + std::to_string(m.skipped) + " skipped (already in Tally, unchanged)";
    if (m.saved > 0) text += ", " + std::to_string(m.saved) + " saved to files, not posted";
    if (d.unconfirmed + m.unconfirmed > 0)
        text +=
            "\nUnconfirmed requests went out without a reply: export the range again; what Tally "
            "already holds is altered under the same voucher key, not doubled.";
    if (run.stopped) text += "\nThe run was stopped.";
    if (run.stopped && !run.stopReason.empty() && run.stopReason != kStoppedByOperator)
        text += "\n" + run.stopReason;
    if (run.failed) text += "\nThe run ended on an error.";
    if (!run.reportError.empty()) text += "\nThe run report is incomplete: " + run.reportError;
    if (!run.savedFolder.empty())
        text += "\nRequests saved: " + std::to_string(run.savedFiles) +
                (run.savedFiles == 1 ? " file in " : " files in ") + run.savedFolder;
    if (!run.reportPath.empty()) text += "\nRun report: " + run.reportPath;
    return text;
}

void TransferScreen::ReportError(const std::string& where, long number,
                                 const std::string& description) {
    std::string text = where + " stopped: error " + std::to_string(number) + ": " + description;
    AppendLog(LogRecord::Kind::Error, text);
    ScreenMessage message;
    message.icon = ScreenMessage::Icon::Critical;
    message.title = "Zentrail";
    message.text = text;
    observer_->ShowMessage(message);
}

void TransferScreen::CheckStop() {
    if (StopWanted()) {
        stopReason_ = kStoppedByOperator;
        throw StopRun{};
    }
}

size_t Listing::RowCount() const { return grid_.RowCount(); }

std::string ImportRequest(const ScreenContext& context, const std::string& payload) {
    TallyBuilder envelope;
    std::string report = "Vouchers";
    return envelope.strTopMaster(report, context.config.strCompany) + payload +
           envelope.strBottom();
}

void TransferScreen::OpenJournal(bool forSending) {
    journal_.reset();
    heldDocuments_.clear();
    heldMasters_.clear();
    skipUnchangedInRun_ = skipUnchanged;
    journaling_ = false;
    if (context_.journalPath.empty()) return;
    journal_ = std::make_unique<TransferJournal>(context_.journalPath, context_.journalCapacity);
    const std::string& screen = definition_.Design().name;
    if (forSending) {
        journaling_ = true;
        runId_ = journal_->BeginRun(screen, dtpFrom.QueryText(), dtpTo.QueryText());
        // A run killed while Tally had a request leaves it "sending": Tally may hold it.
        for (const JournalRow& row : journal_->CloseUnfinished(
                 screen,
                 "unconfirmed (Tally may hold it): the run that sent it ended before "
                 "Tally's reply")) {
            RunEntry entry;
            entry.kind = row.kind == "master" ? EntryKind::Master : EntryKind::Document;
            entry.name = row.number;
            entry.date = row.date;
            entry.outcome = Outcome::Unconfirmed;
            entry.message = "Sent on " + SentOn(row.started) +
                            " by a run that ended before Tally's reply: Tally may hold it";
            AppendLog(LogRecord::Kind::Error, entry.message, row.number);
            record_.Add(entry);
            CheckReport();
        }
    }
    heldDocuments_ = journal_->Held(screen, "document");
    heldMasters_ = journal_->Held(screen, "master");
}

void TransferScreen::JudgeAgainstJournal(const HeldRequests& held, const std::string& identity,
                                         bool master, BuiltDocument& built) const {
    built.digest = BodyDigest(built.request);
    auto found = held.find(identity);
    if (found == held.end()) return;
    const HeldRequest& earlier = found->second;
    const std::string sentOn = SentOn(earlier.sentOn);
    if (earlier.outcome == Outcome::Unconfirmed) {
        built.earlier = "Sent again: the request of " + sentOn + " got no reply";
        return;
    }
    if (earlier.bodySha256 == built.digest) {
        built.unchanged = true;
        if (skipUnchangedInRun_) {
            built.kind = BuiltDocument::Kind::Skip;
            built.reason = "skipped: already in Tally, unchanged since " + sentOn;
        } else {
            built.earlier = "re-sent (accepted " + sentOn + ", unchanged)";
        }
        return;
    }
    built.earlier =
        "changed since it was sent on " + sentOn +
        (master ? ": the master in Tally is altered" : ": its voucher in Tally is altered");
    if (!built.madeKey.empty() && built.madeKey != built.key)
        built.earlier +=
            " (voucher key " + built.key + " kept; the document now makes " + built.madeKey + ")";
}

void TransferScreen::ExportSteps() {
    // What the listing leaves out is told once per run before anything is sent. It was never a
    // request, so the counts of the run's requests leave it out too.
    for (const RunEntry& entry : definition_.LeftOutOfListing(context_.db)) {
        AppendLog(LogRecord::Kind::Warning, entry.message);
        record_.Note(entry);
        CheckReport();
    }
    WalkDocuments(true, [&](DocumentPipeline& documents) { SendDocuments(documents); });
}

std::vector<PendingDocument> TransferScreen::PendingDocuments() {
    stop_ = false;
    OpenJournal(false);
    std::vector<PendingDocument> pending;
    try {
        WalkDocuments(false, [&](DocumentPipeline& documents) {
            for (size_t row = 0; row < ssdbgItem.RowCount(); ++row) {
                BuiltDocument built = documents.Next();
                if (built.kind == BuiltDocument::Kind::Skip) continue;
                if (built.kind == BuiltDocument::Kind::NotSent)
                    pending.push_back({built.document, built.reason});
                else if (!built.unchanged)
                    pending.push_back(
                        {built.document, built.earlier.empty() ? "not in Tally" : built.earlier});
            }
        });
    } catch (...) {
        journal_.reset();
        throw;
    }
    journal_.reset();
    return pending;
}

void TransferScreen::WalkDocuments(bool masters,
                                   const std::function<void(DocumentPipeline&)>& walk) {
    const DateRange dates = Dates();
    const Listing listing(ssdbgItem, listingColumns_);
    std::unique_ptr<DocumentBuilder> builder = definition_.StartRun(context_, listing);
    std::vector<LineQuery> queries = definition_.LineQueries(dates);
    // The lines are read on a connection of their own, so that their queries run while the
    // masters and the first documents are sent.
    std::unique_ptr<SourceConnection> reader;
    if (!queries.empty()) {
        reader = context_.db.OpenReader(context_.config);
        // Its wait for a locked source is not told from the reading thread, but Stop ends it.
        reader->SetWait(
            SourceWait{.onWaiting = nullptr, .giveUp = [this] { return stop_.load(); }});
    }
    LineReader lines(reader.get(), std::move(queries), listing, context_.lineRanges);
    DocumentPipeline documents(
        ssdbgItem.RowCount(), context_.buildAhead,
        // Lines that cannot be read end the run; a document that cannot be built is its own.
        [&](size_t row) { return BuildDocument(*builder, lines.TablesFor(row), row); },
        // A run that ends early does not wait for the line queries.
        [&] { lines.Cancel(); });
    if (masters)
        for (const MasterStep& step : definition_.Masters(context_, dates)) RunMasterStep(step);
    walk(documents);
}

void TransferScreen::RunMasterStep(const MasterStep& step) {
    if (step.query.empty()) {
        SendMaster(ImportRequest(context_, step.payload(nullptr)), step.name);
        return;
    }
    ShowItem("");
    SetFrameCaption("");
    Recordset rs = context_.db.Open(step.query);
    if (!rs.Eof()) {
        // The bar keeps to the documents; the phase tells how far its masters are.
        const std::string of = " of " + std::to_string(rs.RecordCount());
        for (; !rs.Eof(); rs.MoveNext()) {
            SetFrameCaption(step.caption + " " + std::to_string(rs.AbsolutePosition()) + of);
            std::string name = step.rowName(rs);
            ShowItem(name);
            SendMaster(ImportRequest(context_, step.payload(&rs)), name);
        }
    }
    ShowItem("");
    SetFrameCaption("");
}

BuiltDocument TransferScreen::BuildDocument(DocumentBuilder& builder, LineTables& lines,
                                            size_t row) const {
    const ListedRow listed(ssdbgItem, row, listingColumns_);
    BuiltDocument built;
    built.document = definition_.Describe(listed, context_);
    const std::string& identity = built.document.identity;
    if (journal_ && !identity.empty()) {
        // Once Tally holds a document, it keeps its voucher whatever the document's key becomes.
        auto held = heldDocuments_.find(identity);
        if (held != heldDocuments_.end()) built.keptKey = held->second.key;
    }
    try {
        // No voucher goes to Tally with a date that is none, whichever field carries it.
        if (!built.document.date.empty()) VoucherDate(built.document.date);
        builder.Build(listed, lines, built);
    } catch (const std::exception& e) {
        // One document that cannot be built is that document's outcome, never the run's.
        built.kind = BuiltDocument::Kind::NotSent;
        built.request.clear();
        built.reason = std::string("Not sent: ") + e.what();
    }
    if (journal_ && built.kind == BuiltDocument::Kind::Send)
        JudgeAgainstJournal(heldDocuments_, identity.empty() ? built.document.number : identity,
                            built.master, built);
    return built;
}

void TransferScreen::SendDocuments(DocumentPipeline& documents) {
    long rows = static_cast<long>(ssdbgItem.RowCount());
    SetTotalCount(rows);
    SetProgressRange(rows);
    SetFrameCaption(definition_.Design().frameCaption);
    for (size_t row = 0; row < ssdbgItem.RowCount(); ++row) {
        ssdbgItem.currentRow = row;
        SendDocument(documents.Next(), static_cast<long>(row) + 1);
        // The bar moves when a document is done, as "Current Record" does.
        SetProgress(static_cast<long>(row) + 1);
    }
}

void TransferScreen::SendDocument(const BuiltDocument& built, long handled) {
    const DocumentRef& document = built.document;
    ShowItem(document.number);
    for (const std::string& note : built.notes) AppendLog(LogRecord::Kind::Info, note);
    RunEntry entry{EntryKind::Document, document.number,     document.date,
                   document.party,      document.amountSent, document.sourceTotal};
    switch (built.kind) {
        case BuiltDocument::Kind::Send:
            if (built.master)
                Send(Request{RequestForm::Master, "", document.number, built.request},
                     std::move(entry), handled, {document.identity, built.digest, built.earlier});
            else
                SendVoucher(built, handled);
            return;
        case BuiltDocument::Kind::Skip:
            entry.outcome = Outcome::Skipped;
            entry.message = built.reason;
            record_.Add(entry, ssdbgItem.currentRow);
            CheckReport();
            return;
        case BuiltDocument::Kind::NotSent:
            entry.outcome = Outcome::NotSent;
            entry.message = built.reason;
            Record(entry, document.number);
            return;
    }
}

Outcome TransferScreen::SendMaster(std::string request, const std::string& name) {
    RunEntry entry;
    entry.name = name;
    entry.kind = EntryKind::Master;
    BuiltDocument built;
    built.request = std::move(request);
    if (journal_) JudgeAgainstJournal(heldMasters_, name, true, built);
    if (built.kind == BuiltDocument::Kind::Skip) {
        entry.outcome = Outcome::Skipped;
        entry.message = built.reason;
        record_.Add(entry);
        CheckReport();
        return entry.outcome;
    }
    return Send(Request{RequestForm::Master, "", name, std::move(built.request)}, std::move(entry),
                -1, {name, built.digest, built.earlier});
}

Outcome TransferScreen::SendVoucher(const BuiltDocument& built, long handled) {
    const DocumentRef& document = built.document;
    RunEntry entry{EntryKind::Document, document.number,     document.date,
                   document.party,      document.amountSent, document.sourceTotal};
    if (!built.key.empty()) {
        auto [earlier, fresh] = documentOfKey_.emplace(built.key, document.number);
        if (!fresh) {
            CheckStop();
            entry.outcome = Outcome::NotSent;
            entry.message = "Not sent: same voucher key as document " + earlier->second +
                            " sent earlier in this run";
            Record(entry, document.number);
            return entry.outcome;
        }
    }
    return Send(Request{RequestForm::Voucher, built.key, document.number, built.request},
                std::move(entry), handled,
                {document.identity.empty() ? document.number : document.identity, built.digest,
                 built.earlier});
}

void TransferScreen::Record(const RunEntry& entry, const std::string& logName) {
    if (!entry.message.empty()) {
        // Tally's lines come each after a line break of their own.
        std::string text =
            entry.message.starts_with("\r\n") ? entry.message.substr(2) : entry.message;
        AppendLog(KindOf(entry.outcome), std::move(text), logName);
    }
    if (entry.kind == EntryKind::Master)
        record_.Add(entry);
    else
        record_.Add(entry, ssdbgItem.currentRow);
    CheckReport();
}

void TransferScreen::CheckReport() const {
    const std::string& error = record_.Counts().reportError;
    if (!error.empty()) throw RunReportError(error);
}

Outcome TransferScreen::Send(const Request& request, RunEntry entry, long handled,
                             const Journaled& journaled) {
    CheckStop();
    // Nothing goes to Tally without its row in the journal.
    int64_t journalRow = 0;
    if (journaling_)
        journalRow = journal_->Sending(
            {.runId = runId_,
             .screen = definition_.Design().name,
             .kind = entry.kind == EntryKind::Master ? "master" : "document",
             .identity = journaled.identity.empty() ? request.document : journaled.identity,
             .number = request.document,
             .date = JournalDate(entry.date),
             .key = request.key,
             .bodySha256 = journaled.digest.empty() ? BodyDigest(request.body) : journaled.digest});
    ExchangeResult result = sink_->Deliver(request, &stop_);
    entry.outcome = result.outcome;
    entry.message = result.message;
    // A voucher that Tally took but whose amount is not the source's: posted, and shown. A saved
    // one stays saved and says so.
    if ((IsAccepted(entry.outcome) || entry.outcome == Outcome::Saved) && entry.amountSent &&
        entry.sourceTotal &&
        std::fabs(*entry.amountSent - *entry.sourceTotal) > kLargestRoundOff + 1e-9) {
        if (entry.outcome != Outcome::Saved) entry.outcome = Outcome::Difference;
        entry.message = "Difference from the source: voucher amount " +
                        NumberText(*entry.amountSent) + ", document total " +
                        NumberText(*entry.sourceTotal);
    }
    if (!journaled.earlier.empty())
        entry.message = journaled.earlier + (entry.message.empty() || entry.message[0] == '\r'
                                                 ? entry.message
                                                 : "\r\n" + entry.message);
    // The outcome is recorded even when the journal cannot take it; the run ends after that, and
    // the row left "sending" is told as unconfirmed by the next run.
    std::exception_ptr journalFailure;
    if (journaling_) {
        try {
            journal_->Complete(journalRow, entry.outcome, entry.message, result.counters);
        } catch (const JournalError&) {
            journalFailure = std::current_exception();
        }
    }
    if (result.stopped) {
        stopReason_ = kStoppedByOperator;
        Record(entry, entry.name);
        if (journalFailure) std::rethrow_exception(journalFailure);
        throw StopRun{};
    }
    const bool failed = result.transportFailure || result.unreadableRequest;
    failedExchangesInARow_ = failed ? failedExchangesInARow_ + 1 : 0;
    bool reachedTally = result.outcome != Outcome::NotSent;
    if (reachedTally && handled >= 0) SetCurrentCount(handled);
    Record(entry, entry.name);
    if (journalFailure) std::rethrow_exception(journalFailure);
    if (result.notSaved) {
        // A folder that took no file takes no later one either.
        stopReason_ = result.message;
        throw StopRun{};
    }
    if (result.companyNotOpen) {
        // Every further request would meet the same refusal.
        stopReason_ = "Company '" + context_.config.strCompany +
                      "' is not open in Tally, or its name differs: open it in Tally or correct "
                      "COMPANY in Config.txt";
        throw StopRun{};
    }
    if (failedExchangesInARow_ >= kFailedExchangesToGiveUp) {
        stopReason_ = result.unreadableRequest ? kNotReading : kNotAnswering;
        throw StopRun{};
    }
    return entry.outcome;
}

}  // namespace zentrail
