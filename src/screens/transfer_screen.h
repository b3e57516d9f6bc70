#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "screens/calendar_date.h"
#include "screens/document_pipeline.h"
#include "screens/journal/transfer_journal.h"
#include "screens/run_record.h"
#include "screens/screen_context.h"
#include "screens/screen_definition.h"
#include "screens/screen_observer.h"
#include "screens/transfer_grid.h"
#include "tally/request_folder.h"
#include "tally/request_sink.h"

namespace zentrail {

// A listed document that Tally does not hold as the source has it now, and why.
struct PendingDocument {
    DocumentRef document;
    std::string why;
};

// The frame every transfer screen shares: controls, reset, Get Data, the export, log, counters,
// the outcome of every request and the closing message. A screen is its definition: queries,
// masters and how one document is built.
class TransferScreen {
public:
    using Design = ScreenDesign;

    // `definition` outlives the screen.
    TransferScreen(ScreenContext context, const ScreenDefinition& definition);
    virtual ~TransferScreen() = default;
    TransferScreen(const TransferScreen&) = delete;
    TransferScreen& operator=(const TransferScreen&) = delete;

    void SetObserver(ScreenObserver* observer) { observer_ = observer ? observer : &silent_; }
    const Design& design() const { return definition_.Design(); }
    const ScreenDefinition& Definition() const { return definition_; }

    // What the window's buttons do.
    void Load();
    // Cancel: clears the listing, the log and the progress, and shows the title again.
    void Reset();
    // Exit: asks the view to close.
    void Exit();
    // Lists the documents of the dates; a failure leaves no rows.
    void GetData();
    // Sends the masters, then every listed document, each to its one outcome.
    void Export();
    void SetDates(const CalendarDate& from, const CalendarDate& to);

    // Ends a running export after the current request, or interrupts the request in progress;
    // interrupts the query of a running Get Data. Safe to call from any thread; a signal
    // handler sets StopFlag() instead, which Get Data sees only between rows and while waiting.
    void RequestStop();
    // The operator asked to stop: by RequestStop, or through the observer.
    bool StopWanted();
    std::atomic<bool>& StopFlag() { return stop_; }

    // Controls, as a view shows them.
    std::string title;
    CalendarDate dtpFrom;
    CalendarDate dtpTo;
    TransferGrid ssdbgItem;
    bool busy = false;
    // Documents and masters Tally holds unchanged since they were sent are skipped, not sent.
    bool skipUnchanged = false;

    // The listed documents that Tally does not hold unchanged, by the journal: each is built,
    // nothing is sent. Throws on an error of the source or the journal.
    std::vector<PendingDocument> PendingDocuments();

    const Progress& CurrentProgress() const { return progress_; }
    const std::vector<LogRecord>& Log() const { return log_; }
    // The whole log as the window shows it.
    std::string LogText() const;

    const RunCounts& LastRun() const { return record_.Counts(); }
    const RunRecord& LastRecord() const { return record_; }
    // True when the last Get Data ended on an error (and listed nothing more).
    bool GetDataFailed() const { return getDataFailed_; }
    // True when the operator stopped the last Get Data: it listed nothing, and it is no error.
    bool GetDataStopped() const { return getDataStopped_; }
    static std::string DateDisplayFormat() { return "dd/MM/yyyy"; }

    // The message the last export closed with.
    static std::string ClosingMessage(const std::string& closingText, const RunCounts& run);

private:
    struct StopRun {};
    void ResetControls();
    void CheckStop();
    // Tells the operator when the source is locked by another program, and lets Stop end the wait.
    void WatchSourceLocks();
    // The connection a Stop interrupts while the listing's queries run on it; null: none.
    void SetListingConnection(SourceConnection* connection);
    DateRange Dates() const { return {dtpFrom.QueryText(), dtpTo.QueryText()}; }

    // Step display.
    void SetFrameCaption(const std::string& caption);
    void SetProgress(long value);
    void SetProgressRange(long max);
    void ShowItem(const std::string& text);
    void SetCurrentCount(long count);
    void SetTotalCount(long count);
    void ChangeProgress(const std::function<void(Progress&)>& change);
    void AppendLog(LogRecord::Kind kind, std::string text, std::string document = {});

    // What the journal keeps of a request beside the request itself.
    struct Journaled {
        std::string identity;
        std::string digest;
        std::string earlier;  // what an earlier request of it says of this one
    };
    // Opens the journal of the run, tells what a run that ended early left unconfirmed, and
    // reads what Tally may hold. Throws JournalError.
    void OpenJournal(bool forSending);
    // Reads what Tally holds of the document, builds it, and judges it against that.
    void JudgeAgainstJournal(const HeldRequests& held, const std::string& identity, bool master,
                             BuiltDocument& built) const;

    // Makes the sinks of the run: Tally, the folder of saved requests, or the context's own.
    void OpenSinks();
    // Asks Tally whether it runs before the first request; ends the run when nothing listens.
    void CheckTallyRuns();
    // The export: masters, then the documents built ahead on the pipeline.
    void ExportSteps();
    // Builds the listed documents ahead on a pipeline that `walk` takes them from; with
    // `masters`, the masters are sent while the lines are read.
    void WalkDocuments(bool masters, const std::function<void(DocumentPipeline&)>& walk);
    void RunMasterStep(const MasterStep& step);
    // One listed document; whatever its build throws becomes its outcome.
    BuiltDocument BuildDocument(DocumentBuilder& builder, LineTables& lines, size_t row) const;
    void SendDocuments(DocumentPipeline& documents);
    void SendDocument(const BuiltDocument& built, long handled);

    // Sends one master request; `name` identifies it in the log and the report. Only "already
    // exists" may stand in the reply of an accepted master.
    Outcome SendMaster(std::string request, const std::string& name);
    // Sends a listed document; once it reached Tally, the current count shows `handled`. A
    // second document with a voucher key already sent in this run is not sent; a party amount
    // that differs from the source's total by more than a round-off is sent and reported as a
    // difference.
    Outcome SendVoucher(const BuiltDocument& built, long handled);
    Outcome Send(const Request& request, RunEntry entry, long handled, const Journaled& journaled);
    void Record(const RunEntry& entry, const std::string& logName);
    // Ends the run, before the next request, once the report could not be written.
    void CheckReport() const;
    void Notify(ScreenControl control) { observer_->Changed(control); }
    void ReportError(const std::string& where, long number, const std::string& description);
    void FinishExport();
    void BuildColumns();
    std::unique_ptr<RunReport> OpenReport();

    ScreenContext context_;
    const ScreenDefinition& definition_;
    ScreenObserver silent_;
    ScreenObserver* observer_ = &silent_;
    BoundColumns listingColumns_;  // bound at Get Data
    Progress progress_;
    std::vector<LogRecord> log_;
    std::unique_ptr<TallySink> tallySink_;           // Tally at the settings' address
    std::unique_ptr<RequestFolderSink> folderSink_;  // the run's requests saved to files
    RequestSink* sink_ = nullptr;                    // where this run's requests go
    RunRecord record_;
    std::map<std::string, std::string> documentOfKey_;  // voucher keys sent in this run
    std::unique_ptr<TransferJournal> journal_;          // open while a run or a check lasts
    bool journaling_ = false;  // the run's requests reach Tally and are written to the journal
    int64_t runId_ = 0;
    bool skipUnchangedInRun_ = false;  // the check box as the run began
    HeldRequests heldDocuments_;       // read before the documents are built, unchanged after
    HeldRequests heldMasters_;
    int failedExchangesInARow_ = 0;
    std::string stopReason_;
    std::atomic<bool> stop_{false};
    bool getDataFailed_ = false;
    bool getDataStopped_ = false;
    std::mutex listingMutex_;  // guards listingConnection_ against a Stop from another thread
    SourceConnection* listingConnection_ = nullptr;
};

}  // namespace zentrail
