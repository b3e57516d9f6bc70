#include "ui/transfer_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <limits>
#include <utility>

#include "ui/date_field.h"
#include "ui/grid_delegate.h"
#include "ui/grid_model.h"
#include "ui/log_model.h"
#include "ui/message_box.h"

namespace zentrail::ui {

namespace {

// lblScreen's caption until the first run names an item in it.
const QString kItemDesignCaption(39, QLatin1Char('-'));

// How often a running window shows the run's progress.
constexpr int kRefreshMs = 40;

QString Text(const std::string& text) { return QString::fromStdString(text); }

QDate ToQDate(const CalendarDate& date) { return QDate(date.year, date.month, date.day); }

CalendarDate FromQDate(const QDate& date) { return {date.year(), date.month(), date.day()}; }

QString Shown(const QDate& date) {
    return date.toString(Text(TransferScreen::DateDisplayFormat()));
}

// The counts of an export, as the status line keeps them.
QString RunStatus(const RunCounts& run) {
    const OutcomeCounts& d = run.documents;
    QString text = QString(
                       "Last export: accepted %1 · Tally errors %2 · differences %3 · "
                       "unconfirmed %4 · not sent %5 · skipped %6")
                       .arg(d.accepted + d.alreadyInTally)
                       .arg(d.tallyErrors)
                       .arg(d.differences)
                       .arg(d.unconfirmed)
                       .arg(d.notSent)
                       .arg(d.skipped);
    if (d.stopped > 0) text += QString(" · stopped %1").arg(d.stopped);
    const OutcomeCounts& m = run.masters;
    const long mastersRefused = m.tallyErrors + m.notSent + m.unconfirmed + m.stopped;
    if (mastersRefused > 0) text += QString(" · masters not accepted %1").arg(mastersRefused);
    return text;
}

int ClampToInt(long value) {
    if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

QPushButton* Button(const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    // Enter in a date picker must not press a button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

}  // namespace

TransferWindow::TransferWindow(std::unique_ptr<zentrail::TransferScreen> screen, QWidget* parent)
    : QDialog(parent), screen_(std::move(screen)), observer_(*screen_) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setSizeGripEnabled(true);
    BuildControls();
    refresh_ = new QTimer(this);
    refresh_->setInterval(kRefreshMs);
    connect(refresh_, &QTimer::timeout, this, &TransferWindow::ApplyChanges);
    screen_->SetObserver(&observer_);
    screen_->Load();
    ApplyChanges();
    UpdateExport();
}

TransferWindow::~TransferWindow() {
    if (worker_) {
        // The window goes with the program: end the run and wait for it.
        screen_->RequestStop();
        worker_->wait();
        delete worker_;
        worker_ = nullptr;
    }
    screen_->SetObserver(nullptr);
    // The grid goes with the screen, before the base class hides the views that still read it.
    gridModel_->Show(nullptr);
}

void TransferWindow::BuildControls() {
    const bool hasDates = screen_->design().hasDates;
    auto* layout = new QVBoxLayout(this);

    auto* dates = new QHBoxLayout;
    dtpFrom = new DateField(this);
    dtpFrom->setObjectName("dtpFrom");
    dtpTo = new DateField(this);
    dtpTo->setObjectName("dtpTo");
    lblListing = new QLabel("Dates changed: press Get Data", this);
    lblListing->setObjectName("lblListing");
    lblListing->setStyleSheet("QLabel { color: #b00000; font-weight: bold; }");
    lblListing->hide();
    auto* fromLabel = new QLabel("From Date :", this);
    auto* toLabel = new QLabel("To Date :", this);
    fromLabel->setBuddy(dtpFrom);
    toLabel->setBuddy(dtpTo);
    dates->addWidget(fromLabel);
    dates->addWidget(dtpFrom);
    dates->addSpacing(24);
    dates->addWidget(toLabel);
    dates->addWidget(dtpTo);
    dates->addSpacing(24);
    dates->addWidget(lblListing);
    dates->addStretch();
    for (QWidget* w : {static_cast<QWidget*>(fromLabel), static_cast<QWidget*>(toLabel),
                       static_cast<QWidget*>(dtpFrom), static_cast<QWidget*>(dtpTo)})
        w->setVisible(hasDates);
    if (hasDates) layout->addLayout(dates);

    gridCaption = new QLabel(this);
    gridCaption->setObjectName("gridCaption");
    QFont bold = gridCaption->font();
    bold.setBold(true);
    gridCaption->setFont(bold);
    layout->addWidget(gridCaption);

    gridModel_ = new GridModel(this);
    ssdbgItem = new QTableView(this);
    ssdbgItem->setObjectName("ssdbgItem");
    ssdbgItem->setModel(gridModel_);
    gridDelegate_ = new GridDelegate(ssdbgItem);
    ssdbgItem->setItemDelegate(gridDelegate_);
    ssdbgItem->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ssdbgItem->setSelectionBehavior(QAbstractItemView::SelectRows);
    ssdbgItem->setAlternatingRowColors(true);
    ssdbgItem->setWordWrap(false);
    ssdbgItem->verticalHeader()->setDefaultSectionSize(ssdbgItem->fontMetrics().height() + 6);
    ssdbgItem->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ssdbgItem->horizontalHeader()->setDefaultSectionSize(110);
    ssdbgItem->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(ssdbgItem, 4);

    logModel_ = new LogModel(this);
    txtLog = new QListView(this);
    txtLog->setObjectName("txtLog");
    txtLog->setModel(logModel_);
    txtLog->setWordWrap(true);
    txtLog->setEditTriggers(QAbstractItemView::NoEditTriggers);
    txtLog->setSelectionMode(QAbstractItemView::ExtendedSelection);
    txtLog->setToolTip("Messages from Tally");
    layout->addWidget(txtLog, 1);

    fraPrg = new QGroupBox(this);
    fraPrg->setObjectName("fraPrg");
    auto* progress = new QGridLayout(fraPrg);
    prgBar = new QProgressBar(fraPrg);
    prgBar->setObjectName("prgBar");
    prgBar->setFormat("%v / %m");
    prgBar->setTextVisible(false);
    lblScreen = new QLabel(kItemDesignCaption, fraPrg);
    lblScreen->setObjectName("lblScreen");
    lblRecCurr = new QLabel("0", fraPrg);
    lblRecCurr->setObjectName("lblRecCurr");
    lblRecReads = new QLabel("0", fraPrg);
    lblRecReads->setObjectName("lblRecReads");
    progress->addWidget(prgBar, 0, 0, 1, 4);
    progress->addWidget(lblScreen, 1, 0, 1, 4);
    progress->addWidget(new QLabel("Current Record :-->", fraPrg), 2, 0);
    progress->addWidget(lblRecCurr, 2, 1);
    progress->addWidget(new QLabel("Total Records :-->", fraPrg), 2, 2);
    progress->addWidget(lblRecReads, 2, 3);
    progress->setColumnStretch(1, 1);
    progress->setColumnStretch(3, 1);
    layout->addWidget(fraPrg);
    lblRunStatus = new QLabel(this);
    lblRunStatus->setObjectName("lblRunStatus");
    lblRunStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(lblRunStatus);

    auto* panel = new QWidget(this);
    panel->setObjectName("SSPanel1");
    auto* buttons = new QHBoxLayout(panel);
    buttons->setContentsMargins(0, 0, 0, 0);
    cmdGetData = Button("&Get Data", panel);
    cmdExport = Button("E&xport", panel);
    cmdCancel = Button("&Cancel", panel);
    cmdExit = Button("&Exit", panel);
    // Off by default: every listed document is sent, as the operator listed it.
    chkSkipUnchanged = new QCheckBox("Skip documents already in Tally, unchanged", panel);
    chkSkipUnchanged->setObjectName("chkSkipUnchanged");
    buttons->addWidget(chkSkipUnchanged);
    buttons->addStretch();
    for (QPushButton* b : {cmdGetData, cmdExport, cmdCancel, cmdExit}) buttons->addWidget(b);
    layout->addWidget(panel);

    connect(cmdGetData, &QPushButton::clicked, this, &TransferWindow::OnGetData);
    connect(cmdExport, &QPushButton::clicked, this, &TransferWindow::OnExport);
    connect(cmdCancel, &QPushButton::pressed, this, [this] { pressedAsStop_ = Running(); });
    connect(cmdCancel, &QPushButton::clicked, this, &TransferWindow::OnCancel);
    connect(cmdExit, &QPushButton::clicked, this, &TransferWindow::OnExit);
    connect(dtpFrom, &DateField::Changed, this, &TransferWindow::UpdateExport);
    connect(dtpTo, &DateField::Changed, this, &TransferWindow::UpdateExport);
    resize(900, 640);
}

bool TransferWindow::DatesUsable() {
    if (!screen_->design().hasDates) return true;
    for (const auto& [field, name] : {std::pair{dtpFrom, "From Date"}, {dtpTo, "To Date"}}) {
        if (field->date().isValid()) continue;
        MessageBox::Critical(this, "Zentrail", QString(name) + ": " + field->Problem());
        field->setFocus();
        return false;
    }
    if (dtpFrom->date() > dtpTo->date()) {
        MessageBox::Critical(this, "Zentrail",
                             "From Date " + Shown(dtpFrom->date()) + " is after To Date " +
                                 Shown(dtpTo->date()) + ": no document can be listed");
        dtpFrom->setFocus();
        return false;
    }
    return true;
}

void TransferWindow::OnGetData() {
    if (Running() || !DatesUsable()) return;
    asked_ = {dtpFrom->date(), dtpTo->date()};
    screen_->SetDates(FromQDate(asked_.first), FromQDate(asked_.second));
    Start(Run::GetData);
}

void TransferWindow::OnExport() {
    // Only the listing of the dates on show goes to Tally.
    if (Running() || !cmdExport->isEnabled()) return;
    screen_->skipUnchanged = chkSkipUnchanged->isChecked();
    Start(Run::Export);
}

void TransferWindow::OnCancel() {
    const bool asStop = std::exchange(pressedAsStop_, false);
    if (Running()) {
        screen_->RequestStop();
        cmdCancel->setEnabled(false);
        return;
    }
    if (asStop) return;  // the run ended while Stop was held down
    screen_->Reset();
    listedFor_.reset();
    lblRunStatus->clear();
    ApplyChanges();
}

void TransferWindow::OnExit() {
    if (Running()) return;
    screen_->Exit();
    ApplyChanges();
}

void TransferWindow::Start(Run run) {
    running_ = run;
    ranOnce_ = true;
    lblRunStatus->clear();
    if (run == Run::GetData) listedFor_.reset();
    // Each run's lines start under one naming the time, the screen and the run.
    LogRecord start;
    start.time = std::chrono::system_clock::now();
    start.text =
        (QDateTime::currentDateTime().toString("dd/MM/yyyy HH:mm:ss") + " " +
         (run == Run::GetData ? "Get Data" : "Export") + " (" + Text(screen_->design().name) + ")")
            .toStdString();
    logModel_->Append({std::move(start)});
    // Get Data rebuilds the grid: nothing shows it until the run is over. An export only reads
    // the rows, so they stay on show.
    if (run == Run::GetData) gridModel_->Show(nullptr);
    zentrail::TransferScreen* screen = screen_.get();
    worker_ = QThread::create([screen, run] {
        if (run == Run::GetData)
            screen->GetData();
        else
            screen->Export();
    });
    connect(worker_, &QThread::finished, this, &TransferWindow::OnWorkerDone);
    ShowRunning(true);
    refresh_->start();
    worker_->start();
}

void TransferWindow::OnWorkerDone() {
    refresh_->stop();
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    if (running_ == Run::GetData) {
        if (!screen_->GetDataFailed()) listedFor_ = asked_;
        gridChanged_ = true;
    } else {
        lblRunStatus->setText(RunStatus(screen_->LastRun()));
    }
    ShowRunning(false);
    // The grid is shown once, with whatever else the run left to show; its messages wait for
    // an open question's answer.
    if (asking_)
        ApplyChanges();
    else
        FinishRun();
}

void TransferWindow::FinishRun() {
    ApplyChanges();
    if (closeWhenDone_) close();
    emit RunFinished();
}

void TransferWindow::ShowGrid() {
    gridModel_->Show(&screen_->ssdbgItem);
    // Sized to the rows on show and the next thousand or so (Qt's measure), however many
    // there are.
    GridDelegate::Measuring measuring(*gridDelegate_);
    ssdbgItem->resizeColumnsToContents();
}

void TransferWindow::ShowRunning(bool running) {
    for (QWidget* w : {static_cast<QWidget*>(cmdGetData), static_cast<QWidget*>(cmdExport),
                       static_cast<QWidget*>(cmdExit), static_cast<QWidget*>(dtpFrom),
                       static_cast<QWidget*>(dtpTo), static_cast<QWidget*>(chkSkipUnchanged)})
        w->setEnabled(!running);
    UpdateExport();
    cmdCancel->setText(running ? "&Stop" : "&Cancel");
    prgBar->setTextVisible(running);
    cmdCancel->setEnabled(true);  // Stop, while a listing or an export runs
    setCursor(running ? Qt::BusyCursor : Qt::ArrowCursor);
}

void TransferWindow::UpdateExport() {
    const bool datesAgree =
        !screen_->design().hasDates ||
        (listedFor_ && listedFor_->first == dtpFrom->date() && listedFor_->second == dtpTo->date());
    cmdExport->setEnabled(!Running() && listedFor_ && datesAgree && gridModel_->rowCount() > 0);
    lblListing->setVisible(screen_->design().hasDates && listedFor_ && !datesAgree);
}

void TransferWindow::ShowProgress(const Progress& progress) {
    fraPrg->setTitle(Text(progress.caption));
    // An empty range would make the bar spin as if busy.
    const int max = ClampToInt(progress.total);
    prgBar->setRange(0, max > 0 ? max : 1);
    prgBar->setValue(ClampToInt(progress.current));
    lblScreen->setText(progress.document.empty() && !ranOnce_ ? kItemDesignCaption
                                                              : Text(progress.document));
    lblRecCurr->setText(QString::number(progress.handled));
    lblRecReads->setText(QString::number(progress.listed));
}

QString TransferWindow::LogText() const { return logModel_->PlainText(); }

void TransferWindow::ApplyChanges() {
    ScreenChanges changes = observer_.Take();
    if (changes.title) setWindowTitle(Text(changes.titleText));
    if (changes.dates) {
        dtpFrom->setDate(ToQDate(changes.from));
        dtpTo->setDate(ToQDate(changes.to));
    }
    if (changes.gridCaption) gridCaption->setText(Text(changes.gridCaptionText));
    // A grid changed during a run is shown when the run is over. Showing it sizes the columns,
    // which costs a tenth of a second on a long listing: once per change.
    gridChanged_ = gridChanged_ || changes.grid;
    if (gridChanged_ && !Running()) {
        gridChanged_ = false;
        ShowGrid();
        UpdateExport();
    }
    if (changes.progress) ShowProgress(*changes.progress);
    if (changes.logCleared) logModel_->Clear();
    if (!changes.logAdded.empty()) {
        logModel_->Append(std::move(changes.logAdded));
        txtLog->scrollToBottom();
    }
    // Messages wait for the end of the run: the closing message comes after the last count.
    for (ScreenMessage& message : changes.messages) messages_.push_back(std::move(message));
    closeRequested_ = closeRequested_ || changes.closeRequested;
    if (Running() || asking_) return;
    std::vector<ScreenMessage> messages = std::move(messages_);
    messages_.clear();
    for (const ScreenMessage& message : messages) ShowMessage(message);
    if (std::exchange(closeRequested_, false)) close();
}

std::function<void(const QString&)>& TransferWindow::ReportOpener() {
    static std::function<void(const QString&)> opener = [](const QString& path) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    return opener;
}

void TransferWindow::ShowMessage(const ScreenMessage& message) {
    const MessageBox::Icon icon = message.icon == ScreenMessage::Icon::Critical
                                      ? MessageBox::Icon::Critical
                                      : MessageBox::Icon::Information;
    if (message.reportPath.empty()) {
        MessageBox::Show(this, icon, Text(message.title), Text(message.text));
        return;
    }
    // The report of the run is one click away.
    if (MessageBox::Show(this, icon, Text(message.title), Text(message.text),
                         QMessageBox::Ok | QMessageBox::Open, QMessageBox::Ok,
                         "Open report") == QMessageBox::Open)
        ReportOpener()(Text(message.reportPath));
}

bool TransferWindow::MayClose() {
    if (!Running()) return true;
    if (running_ == Run::Export) {
        asking_ = true;
        const bool stop = MessageBox::Question(
            this, "Zentrail",
            "An export is running. Stop it after the current request and close the window?");
        asking_ = false;
        if (!Running()) {
            // The run ended while the question was open: its closing message comes now.
            FinishRun();
            return stop;
        }
        if (stop) {
            screen_->RequestStop();
            cmdCancel->setEnabled(false);
            closeWhenDone_ = true;
        }
    } else if (running_ == Run::GetData) {
        // Nothing is lost by stopping a listing; the window closes once it has ended.
        screen_->RequestStop();
        cmdCancel->setEnabled(false);
        closeWhenDone_ = true;
    }
    return false;
}

void TransferWindow::reject() {
    // Escape: the same as closing the window.
    close();
}

void TransferWindow::closeEvent(QCloseEvent* event) {
    if (!MayClose()) {
        event->ignore();
        return;
    }
    event->accept();
    QDialog::done(QDialog::Rejected);
}

}  // namespace zentrail::ui
