#include "screens/transfer_screen.h"

#include "shell/recordset.h"
#include "tally/tally_builder.h"
#include "tally/xml_escape.h"

namespace zentrail {

TransferScreen::TransferScreen(ScreenContext context, Design design)
    : context_(context), design_(std::move(design)) {
    dtpFrom = dtpTo = CalendarDate::Today();
}

void TransferScreen::Load() { cmdCancel_Click(); }

void TransferScreen::cmdCancel_Click() {
    ResetControls();
    title = design_.title + context_.config.strConfigSummary;
    Notify(ScreenControl::Title);
    ssdbgItem.RemoveColumns();
    Notify(ScreenControl::GridColumns);
    lblRecReads = "0";
    lblRecCurr = "0";
    Notify(ScreenControl::TotalCount);
    Notify(ScreenControl::CurrentCount);
}

void TransferScreen::ResetControls() {
    txtLog.clear();
    Notify(ScreenControl::Log);
    ssdbgItem.Clear();
    ssdbgItem.caption = TransferGrid::kDesignCaption;
    Notify(ScreenControl::GridRows);
    Notify(ScreenControl::GridCaption);
    dtpFrom = dtpTo = CalendarDate::Today();
    Notify(ScreenControl::Dates);
    lblScreen.clear();
    Notify(ScreenControl::ItemLabel);
    fraPrg = design_.frameCaption;
    Notify(ScreenControl::FrameCaption);
    prgBar = ProgressBar{};
    Notify(ScreenControl::Progress);
}

void TransferScreen::cmdExit_Click() { observer_->CloseRequested(); }

void TransferScreen::SetDates(const CalendarDate& from, const CalendarDate& to) {
    dtpFrom = from;
    dtpTo = to;
    Notify(ScreenControl::Dates);
}

void TransferScreen::SetFrameCaption(const std::string& caption) {
    fraPrg = caption;
    Notify(ScreenControl::FrameCaption);
}

void TransferScreen::SetProgress(long value) {
    prgBar.value = value;
    Notify(ScreenControl::Progress);
}

void TransferScreen::SetProgressRange(long max) {
    prgBar.min = 0;
    prgBar.max = max;
    prgBar.value = 0;
    Notify(ScreenControl::Progress);
}

void TransferScreen::ShowItem(const std::string& text) {
    lblScreen = text;
    Notify(ScreenControl::ItemLabel);
}

void TransferScreen::SetCurrentCount(long count) {
    lblRecCurr = std::to_string(count);
    Notify(ScreenControl::CurrentCount);
}

void TransferScreen::SetTotalCount(long count) {
    lblRecReads = std::to_string(count);
    Notify(ScreenControl::TotalCount);
}

void TransferScreen::AppendLog(const std::string& text) {
    txtLog += text;
    Notify(ScreenControl::Log);
}

void TransferScreen::BuildColumns() {
    std::string sql = ColumnQuery();
    context_.db.strSQL = sql;
    context_.db.OpenRsMain(context_.db.strSQL);
    Recordset& rs = context_.db.rsMain;
    SetFrameCaption("Creating Columns as per Brindle");
    long last = static_cast<long>(rs.FieldCount()) - 1;
    SetProgressRange(last < 0 ? 0 : last);
    for (size_t i = 0; i < rs.FieldCount(); ++i) {
        SetProgress(static_cast<long>(i));
        ShowItem(rs.FieldName(i));
        ssdbgItem.AddColumn(rs.FieldName(i));
    }
    Notify(ScreenControl::GridColumns);
}

void TransferScreen::cmdGetData_Click() {
    busy = true;
    Notify(ScreenControl::Busy);
    getDataFailed_ = false;
    try {
        ssdbgItem.RemoveColumns();
        Notify(ScreenControl::GridColumns);
        BuildColumns();
        ShowItem("");
        SourceDatabase& db = context_.db;
        db.strSQL = HeaderQuery();
        if (db.OpenRsMain(db.strSQL)) {
            Recordset& rs = db.rsMain;
            long count = rs.RecordCount();
            SetProgressRange(count);
            SetTotalCount(count);
            ssdbgItem.caption = "Total Records Imported " + std::to_string(count);
            Notify(ScreenControl::GridCaption);
            size_t labelField = rs.FieldCount() > 1 ? 1 : 0;
            while (!rs.Eof()) {
                SetProgress(rs.AbsolutePosition());
                ShowItem(rs.FieldCount() ? TrimBlanks(rs.Fields(labelField).text) : "");
                std::vector<std::string> cells;
                cells.reserve(rs.FieldCount());
                for (size_t i = 0; i < rs.FieldCount(); ++i)
                    cells.push_back(TrimBlanks(rs.Fields(i).text));
                ssdbgItem.AddRow(std::move(cells));
                rs.MoveNext();
            }
            Notify(ScreenControl::GridRows);
            SetTotalCount(static_cast<long>(ssdbgItem.RowCount()));
        }
        db.rsMain.Close();
    } catch (const DbError& e) {
        getDataFailed_ = true;
        ReportError("Get Data", e.Number(), e.Description());
    } catch (const std::exception& e) {
        getDataFailed_ = true;
        ReportError("Get Data", 0, e.what());
    }
    SetProgress(0);
    ShowItem("");
    busy = false;
    Notify(ScreenControl::Busy);
}

void TransferScreen::cmdExport_Click() {
    busy = true;
    Notify(ScreenControl::Busy);
    lastRun_ = RunCounts{};
    try {
        if (design_.reopensConnection) context_.db.OpenConnection(context_.config);
        url_ = context_.TallyUrl();
        ssdbgItem.currentRow = 0;
        ExportSteps();
    } catch (const StopRun&) {
        lastRun_.stopped = true;
        AppendLog("\r\nExport stopped by the operator");
    } catch (const DbError& e) {
        lastRun_.failed = true;
        ReportError("Export", e.Number(), e.Description());
    } catch (const std::exception& e) {
        lastRun_.failed = true;
        ReportError("Export", 0, e.what());
    }
    FinishExport();
}

void TransferScreen::FinishExport() {
    SetFrameCaption("Data Transferred To Tally");
    ShowItem("");
    SetProgress(0);
    Recordset& rs = context_.db.rsMain;
    if (rs.State() == Recordset::kStateOpen) rs.Filter("");
    rs.Close();
    busy = false;
    Notify(ScreenControl::Busy);
    ScreenMessage message;
    message.icon = ScreenMessage::Icon::Information;
    message.title = "Zentrail";
    message.text = design_.closingText;
    if (!lastRun_.Clean()) {
        message.text += "\nSent and accepted: " + std::to_string(lastRun_.accepted) +
                        ", sent with Tally errors: " + std::to_string(lastRun_.withErrors) +
                        ", not sent: " + std::to_string(lastRun_.notSent);
    }
    observer_->ShowMessage(message);
}

void TransferScreen::ReportError(const std::string& where, long number,
                                 const std::string& description) {
    std::string text = where + " stopped: error " + std::to_string(number) + ": " + description;
    AppendLog("\r\n" + text);
    ScreenMessage message;
    message.icon = ScreenMessage::Icon::Critical;
    message.title = "Zentrail";
    message.text = text;
    observer_->ShowMessage(message);
}

void TransferScreen::CheckStop() {
    if (observer_->StopRequested()) throw StopRun{};
}

std::string TransferScreen::Envelope(TallyBuilder& builder, const std::string& payload) const {
    std::string report = "Vouchers";
    return builder.strTopMaster(report, context_.config.strCompany) + payload + builder.strBottom();
}

bool TransferScreen::SendMaster(TallyBuilder& master, const std::string& request,
                                const std::string& name) {
    return Send(master, request, name, -1, true);
}

bool TransferScreen::SendVoucher(TallyBuilder& builder, const std::string& request,
                                 const std::string& docNo, long handled) {
    return Send(builder, request, docNo, handled, false);
}

bool TransferScreen::SendMasterDocument(TallyBuilder& master, const std::string& request,
                                        const std::string& name, long handled) {
    return Send(master, request, name, handled, true);
}

bool TransferScreen::Send(TallyBuilder& builder, const std::string& request,
                          const std::string& name, long handled, bool masterForm) {
    CheckStop();
    std::string message;
    int16_t combined = 0;
    bool sent = masterForm ? builder.blnTran_To_Tally(request, url_, message, combined)
                           : builder.blnTran_To_Tally(request, url_, message);
    if (!sent) {
        // Not counted, but never silent.
        ++lastRun_.notSent;
        AppendLog("\r\n" + message + " " + name);
        return false;
    }
    if (handled >= 0) SetCurrentCount(handled);
    if (message.empty()) {
        ++lastRun_.accepted;
    } else {
        ++lastRun_.withErrors;
        AppendLog("\r\n" + message + (handled >= 0 ? " " + name : std::string()));
    }
    return true;
}

void TransferScreen::WalkGrid(bool progressIsPosition,
                              const std::function<void(size_t row)>& visit) {
    long rows = static_cast<long>(ssdbgItem.RowCount());
    SetTotalCount(rows);
    SetProgressRange(rows);
    SetFrameCaption(design_.frameCaption);
    for (size_t row = 0; row < ssdbgItem.RowCount(); ++row) {
        ssdbgItem.currentRow = row;
        SetProgress(static_cast<long>(row) + (progressIsPosition ? 1 : 0));
        visit(row);
    }
}

void TransferScreen::RunMasterStep(const std::string& caption, std::string sql,
                                   TallyBuilder& master,
                                   const std::function<std::string(Recordset&)>& itemName,
                                   const std::function<std::string(Recordset&)>& payload) {
    ShowItem("");
    SetFrameCaption("");
    SourceDatabase& db = context_.db;
    db.strSQL = std::move(sql);
    if (db.OpenRsMain(db.strSQL)) {
        Recordset& rs = db.rsMain;
        SetProgressRange(rs.RecordCount());
        SetTotalCount(rs.RecordCount());
        SetFrameCaption(caption);
        while (!rs.Eof()) {
            SetProgress(rs.AbsolutePosition());
            std::string name = itemName(rs);
            ShowItem(name);
            SendMaster(master, Envelope(master, payload(rs)), name);
            rs.MoveNext();
        }
    }
    SetProgress(0);
    ShowItem("");
    SetFrameCaption("");
}

}  // namespace zentrail
