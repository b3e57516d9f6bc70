#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "screens/calendar_date.h"
#include "screens/document_pipeline.h"
#include "screens/run_record.h"
#include "screens/screen_context.h"
#include "screens/screen_observer.h"
#include "screens/transfer_grid.h"

namespace zentrail {

class TallyBuilder;
class TallyMaster;
class Recordset;
struct CustomerColumns;

struct ProgressBar {
    long min = 0;
    long max = 100;
    long value = 0;
};

// The frame every transfer screen shares: controls, reset, Get Data, the export's steps, log,
// counters, the outcome of every request and the closing message. A screen adds its queries and
// its export steps.
class TransferScreen {
public:
    struct Design {
        std::string name{};          // short name: "sales"; names the run reports
        std::string title{};         // window title before the configuration summary
        std::string frameCaption{};  // design caption of fraPrg
        std::string closingText{};   // "Sales Transferrd" ...
        bool hasDates = true;
        bool reopensConnection = false;  // export starts on a fresh source connection
    };

    TransferScreen(ScreenContext context, Design design);
    virtual ~TransferScreen() = default;
    TransferScreen(const TransferScreen&) = delete;
    TransferScreen& operator=(const TransferScreen&) = delete;

    void SetObserver(ScreenObserver* observer) { observer_ = observer ? observer : &silent_; }
    const Design& design() const { return design_; }

    // Event handlers.
    void Load();
    void cmdCancel_Click();
    void cmdExit_Click();
    void cmdGetData_Click();
    void cmdExport_Click();
    void SetDates(const CalendarDate& from, const CalendarDate& to);

    // Ends a running export after the current request, or interrupts the request in progress.
    // Safe to call from any thread, and from a signal handler through StopFlag().
    void RequestStop() { stop_ = true; }
    // The operator asked to stop: by RequestStop, or through the observer.
    bool StopWanted();
    std::atomic<bool>& StopFlag() { return stop_; }

    // Controls, as a view shows them.
    std::string title;
    CalendarDate dtpFrom;
    CalendarDate dtpTo;
    TransferGrid ssdbgItem;
    std::string txtLog;
    std::string fraPrg;
    ProgressBar prgBar;
    std::string lblScreen;
    std::string lblRecCurr = "0";
    std::string lblRecReads = "0";
    bool busy = false;

    const RunCounts& LastRun() const { return record_.Counts(); }
    const RunRecord& LastRecord() const { return record_; }
    // True when the last Get Data ended on an error (and listed nothing more).
    bool GetDataFailed() const { return getDataFailed_; }
    static std::string DateDisplayFormat() { return "dd/MM/yyyy"; }

    // The message the last export closed with.
    static std::string ClosingMessage(const std::string& closingText, const RunCounts& run);

protected:
    // The query whose field list makes the grid's columns, and the listing query.
    virtual std::string ColumnQuery() const = 0;
    virtual std::string HeaderQuery() const = 0;
    // The export's own steps, between the frame's start and end.
    virtual void ExportSteps() = 0;

    ScreenContext& Context() { return context_; }
    const ScreenContext& Context() const { return context_; }
    const std::string& Url() const { return url_; }

    // Step display.
    void SetFrameCaption(const std::string& caption);
    void SetProgress(long value);
    void SetProgressRange(long max);
    void ShowItem(const std::string& text);
    void SetCurrentCount(long count);
    void SetTotalCount(long count);
    void AppendLog(const std::string& text);

    // Wraps `payload` in the import envelope of `builder`.
    std::string Envelope(TallyBuilder& builder, const std::string& payload) const;
    // Sends one master request; `name` identifies it in the log and the report. Only "already
    // exists" may stand in the reply of an accepted master.
    Outcome SendMaster(const std::string& request, const std::string& name);
    // Sends the document of the current grid row; once it reached Tally, the current count
    // shows `handled`. A second document with a voucher key already sent in this run is not
    // sent; a party amount that differs from the source's total by more than a round-off is
    // sent and reported as a difference.
    Outcome SendVoucher(const std::string& request, const DocumentRef& document, long handled);
    // Sends the current row's document that is a master (a stock item).
    Outcome SendMasterDocument(const std::string& request, const DocumentRef& document,
                               long handled);
    // The current row's document is left out by its rules, or cannot be built.
    void SkipDocument(const DocumentRef& document, const std::string& reason);
    void DocumentNotSent(const DocumentRef& document, const std::string& reason);

    // The document step: walks the grid rows in order, showing each row's index (or, with
    // `progressIsPosition`, its 1-based position) on the progress bar.
    void WalkGrid(bool progressIsPosition, const std::function<void(size_t row)>& visit);
    // The document step for documents built ahead (see ScreenContext::buildAhead): starts
    // building, so that `prepare` (on the building thread) and the first documents overlap the
    // steps before. SendBuilt then shows, sends and records each one here, in grid order.
    std::unique_ptr<DocumentPipeline> StartBuilding(DocumentPipeline::Prepare prepare,
                                                    DocumentPipeline::Build build,
                                                    DocumentPipeline::Cancel cancel = nullptr);
    void SendBuilt(DocumentPipeline& documents, bool progressIsPosition);
    // A connection of the screen's own for reading beside the shared result sets.
    std::unique_ptr<SourceConnection> OpenReader() const;
    // A master step: runs `sql` into rsMain and sends one request per row.
    void RunMasterStep(const std::string& caption, std::string sql, TallyBuilder& master,
                       const std::function<std::string(Recordset&)>& itemName,
                       const std::function<std::string(Recordset&)>& payload);
    // The customers' party ledgers, one request per row of `sql`.
    void SendCustomerLedgers(TallyMaster& master, std::string sql, const CustomerColumns& columns);

private:
    struct StopRun {};
    void ResetControls();
    void CheckStop();
    // Tells the operator when the source is locked by another program, and lets Stop end the wait.
    void WatchSourceLocks();
    Outcome Send(const std::string& request, EntryKind kind, RunEntry entry, long handled,
                 bool masterForm);
    void Record(const RunEntry& entry, const std::string& logName);
    // Ends the run, before the next request, once the report could not be written.
    void CheckReport() const;
    void Notify(ScreenControl control) { observer_->Changed(control); }
    void ReportError(const std::string& where, long number, const std::string& description);
    void FinishExport();
    void BuildColumns();
    std::unique_ptr<RunReport> OpenReport();

    ScreenContext context_;
    Design design_;
    ScreenObserver silent_;
    ScreenObserver* observer_ = &silent_;
    std::string url_;
    RunRecord record_;
    std::map<std::string, std::string> documentOfKey_;  // voucher keys sent in this run
    int failedExchangesInARow_ = 0;
    std::string stopReason_;
    std::atomic<bool> stop_{false};
    bool getDataFailed_ = false;
};

}  // namespace zentrail
