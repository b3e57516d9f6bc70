#pragma once

#include <functional>
#include <string>

#include "screens/calendar_date.h"
#include "screens/screen_context.h"
#include "screens/screen_observer.h"
#include "screens/transfer_grid.h"

namespace zentrail {

class TallyBuilder;
class Recordset;

struct ProgressBar {
    long min = 0;
    long max = 100;
    long value = 0;
};

// How the requests of the last export fared.
struct RunCounts {
    long accepted = 0;    // sent, Tally reported no error
    long withErrors = 0;  // sent, Tally returned error lines
    long notSent = 0;     // the exchange failed
    bool stopped = false;
    bool failed = false;  // a database or other error ended the run
    bool Clean() const { return withErrors == 0 && notSent == 0 && !stopped && !failed; }
};

// The frame every transfer screen shares: controls, reset, Get Data, the export's steps, log,
// counters and the closing message. A screen adds its queries and its export steps.
class TransferScreen {
public:
    struct Design {
        std::string title;         // window title before the configuration summary
        std::string frameCaption;  // design caption of fraPrg
        std::string closingText;   // "Sales Transferrd" ...
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

    const RunCounts& LastRun() const { return lastRun_; }
    // True when the last Get Data ended on an error (and listed nothing more).
    bool GetDataFailed() const { return getDataFailed_; }
    static std::string DateDisplayFormat() { return "dd/MM/yyyy"; }

protected:
    // The query whose field list makes the grid's columns, and the listing query.
    virtual std::string ColumnQuery() const = 0;
    virtual std::string HeaderQuery() const = 0;
    // The export's own steps, between the frame's start and end.
    virtual void ExportSteps() = 0;

    ScreenContext& Context() { return context_; }
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
    // Sends one master request (master form of the exchange); `name` identifies it in the log.
    bool SendMaster(TallyBuilder& master, const std::string& request, const std::string& name);
    // Sends one document; on success the current count shows `handled`.
    bool SendVoucher(TallyBuilder& builder, const std::string& request, const std::string& docNo,
                     long handled);
    // Sends one document that is a master (a stock item): counted as a document, classified
    // by the master form.
    bool SendMasterDocument(TallyBuilder& master, const std::string& request,
                            const std::string& name, long handled);
    // The document step: walks the grid rows in order, showing each row's index (or, with
    // `progressIsPosition`, its 1-based position) on the progress bar.
    void WalkGrid(bool progressIsPosition, const std::function<void(size_t row)>& visit);
    // A master step: runs `sql` into rsMain and sends one request per row.
    void RunMasterStep(const std::string& caption, std::string sql, TallyBuilder& master,
                       const std::function<std::string(Recordset&)>& itemName,
                       const std::function<std::string(Recordset&)>& payload);

private:
    struct StopRun {};
    void ResetControls();
    void CheckStop();
    bool Send(TallyBuilder& builder, const std::string& request, const std::string& name,
              long handled, bool masterForm);
    void Notify(ScreenControl control) { observer_->Changed(control); }
    void ReportError(const std::string& where, long number, const std::string& description);
    void FinishExport();
    void BuildColumns();

    ScreenContext context_;
    Design design_;
    ScreenObserver silent_;
    ScreenObserver* observer_ = &silent_;
    std::string url_;
    RunCounts lastRun_;
    bool getDataFailed_ = false;
};

}  // namespace zentrail
