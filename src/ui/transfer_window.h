#pragma once

#include <QDate>
#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "screens/transfer_screen.h"
#include "ui/screen_snapshot.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QListView;
class QProgressBar;
class QPushButton;
class QTableView;
class QThread;
class QTimer;

namespace zentrail::ui {

class DateField;
class GridDelegate;
class GridModel;
class LogModel;

// The one window of every transfer screen: a thin view over the screen model. Get Data and
// Export run on a worker thread; the window shows what the run reports through a snapshot taken
// a few dozen times a second, so it never freezes and a long listing does not flood it.
class TransferWindow : public QDialog {
    Q_OBJECT
public:
    TransferWindow(std::unique_ptr<zentrail::TransferScreen> screen, QWidget* parent = nullptr);
    ~TransferWindow() override;

    // True while Get Data or Export runs.
    bool Running() const { return worker_ != nullptr; }
    const zentrail::TransferScreen& Screen() const { return *screen_; }
    // The log as shown, one record a line without its time.
    QString LogText() const;
    // What opens a run report when the operator asks for it: the desktop's default program,
    // unless a test puts something else.
    static std::function<void(const QString&)>& ReportOpener();

    // Controls, named as on every transfer screen; for tests and screenshots.
    DateField* dtpFrom = nullptr;
    DateField* dtpTo = nullptr;
    QLabel* lblListing = nullptr;  // says when the dates are no longer those of the listing
    QPushButton* cmdGetData = nullptr;
    QPushButton* cmdExport = nullptr;
    QCheckBox* chkSkipUnchanged = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdExit = nullptr;
    QLabel* gridCaption = nullptr;
    QTableView* ssdbgItem = nullptr;
    QListView* txtLog = nullptr;
    QGroupBox* fraPrg = nullptr;
    QProgressBar* prgBar = nullptr;
    QLabel* lblScreen = nullptr;
    QLabel* lblRecCurr = nullptr;
    QLabel* lblRecReads = nullptr;
    QLabel* lblRunStatus = nullptr;  // the counts of the last export, until the next run

signals:
    // A Get Data or Export run has ended and its messages have been shown.
    void RunFinished();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Run { GetData, Export };
    void BuildControls();
    void OnGetData();
    void OnExport();
    void OnCancel();
    void OnExit();
    void Start(Run run);
    void OnWorkerDone();
    // Shows what the ended run left to show, its closing message last.
    void FinishRun();
    // Shows what the screen changed since the last look.
    void ApplyChanges();
    void ShowRunning(bool running);
    void ShowProgress(const Progress& progress);
    void ShowGrid();
    // Export only for the listing of the dates on show.
    void UpdateExport();
    // The dates as typed, or one message saying why they cannot be listed.
    bool DatesUsable();
    void ShowMessage(const zentrail::ScreenMessage& message);
    // True when the window may close now; during a run it asks whether to stop it.
    bool MayClose();

    std::unique_ptr<zentrail::TransferScreen> screen_;
    SnapshotObserver observer_;
    GridModel* gridModel_ = nullptr;
    GridDelegate* gridDelegate_ = nullptr;
    LogModel* logModel_ = nullptr;
    QTimer* refresh_ = nullptr;
    QThread* worker_ = nullptr;
    Run running_ = Run::GetData;
    bool closeWhenDone_ = false;
    // The question on closing is open: the run's messages wait for its answer, so that a box
    // never opens on top of an unanswered one.
    bool asking_ = false;
    bool closeRequested_ = false;
    bool ranOnce_ = false;
    bool gridChanged_ = false;  // since the view last read the grid
    // The Stop/Cancel button went down while a run went on: its click is a Stop, also when the
    // run has ended before the button came up, and must not reset the window.
    bool pressedAsStop_ = false;
    std::pair<QDate, QDate> asked_;                     // the dates of the Get Data under way
    std::optional<std::pair<QDate, QDate>> listedFor_;  // the dates of the listing on show
    std::vector<zentrail::ScreenMessage> messages_;     // held until the run is over
};

}  // namespace zentrail::ui
