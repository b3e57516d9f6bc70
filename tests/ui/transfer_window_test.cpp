// The transfer window over the screen models: its reset state, Get Data on the demo database,
// exports into tally-sim with progress, counts and the closing message, and a slow export that
// stays stoppable while the window keeps answering.

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <set>
#include <vector>

#include "screens/screen_registry.h"
#include "support/slow_source.h"
#include "support/tally_sim_process.h"
#include "ui/date_field.h"
#include "ui/message_box.h"
#include "ui_test_support.h"

using zentrail::testing::DemoProgram;
using zentrail::testing::GeneratedDemo;
using zentrail::testing::RunAndWait;
using zentrail::testing::TallySimProcess;
using zentrail::ui::MessageBox;
using zentrail::ui::TransferWindow;

namespace {

std::unique_ptr<TransferWindow> OpenWindow(DemoProgram& program, const char* screen) {
    auto window =
        std::make_unique<TransferWindow>(zentrail::CreateScreen(screen, program.Context()));
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->show();
    return window;
}

void SetDemoRange(TransferWindow& window) {
    window.dtpFrom->setDate(QDate(2024, 4, 1));
    window.dtpTo->setDate(QDate(2024, 5, 31));
}

int Count(const QLabel* label) { return label->text().toInt(); }

long StockItemsIn(const nlohmann::json& books) {
    long count = 0;
    for (const auto& master : books["masters"])
        if (master["kind"] == "Stock Item" && !master.value("predefined", false)) ++count;
    return count;
}

// Watches a window during a run, as an operator would see it.
struct Watcher {
    explicit Watcher(TransferWindow& window) : window(window) {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            ++ticks;
            if (this->window.Running()) {
                ++ticksWhileRunning;
                maxProgress = std::max(maxProgress, this->window.prgBar->value());
                maxCount = std::max(maxCount, Count(this->window.lblRecCurr));
                stopCaption |= this->window.cmdCancel->text() == "&Stop";
                buttonsDisabled |= !this->window.cmdGetData->isEnabled() &&
                                   !this->window.cmdExport->isEnabled() &&
                                   !this->window.cmdExit->isEnabled();
            }
        });
        timer.start(5);
    }
    TransferWindow& window;
    QTimer timer;
    int ticks = 0;
    int ticksWhileRunning = 0;
    int maxProgress = 0;
    int maxCount = 0;
    bool stopCaption = false;
    bool buttonsDisabled = false;
};

}  // namespace

class TransferWindowTest : public QObject {
    Q_OBJECT

private:
    // What the operator was told during each test.
    zentrail::ui::RecordShownBoxes shown_;
    std::unique_ptr<GeneratedDemo> demo_;

private slots:
    void initTestCase() { demo_ = std::make_unique<GeneratedDemo>(40, 7, "ui-transfer"); }

    void init() { shown_.Clear(); }

    void snapshotKeepsTheLatestValuesAndEveryLogText() {
        DemoProgram program(*demo_);
        std::unique_ptr<zentrail::TransferScreen> screen =
            zentrail::CreateScreen("item", program.Context());
        zentrail::ui::SnapshotObserver observer(*screen);
        auto line = [](std::string text) { return zentrail::LogRecord{.text = std::move(text)}; };
        for (long row = 1; row <= 1000; ++row) {
            observer.ProgressChanged({.current = row, .document = "item " + std::to_string(row)});
            observer.Logged(line("line " + std::to_string(row)));
        }
        zentrail::ui::ScreenChanges changes = observer.Take();
        QVERIFY(changes.progress.has_value());
        QCOMPARE(changes.progress->current, 1000L);
        QCOMPARE(changes.progress->document, std::string("item 1000"));
        QVERIFY(!changes.logCleared);
        QCOMPARE(changes.logAdded.size(), size_t(1000));
        QCOMPARE(changes.logAdded[1].text, std::string("line 2"));
        QVERIFY(!changes.grid && !changes.title);
        // Taken once: nothing is left, and a later change is the only one seen.
        changes = observer.Take();
        QVERIFY(!changes.progress && changes.logAdded.empty());
        observer.Logged(line("lost when cleared"));
        observer.Changed(zentrail::ScreenControl::LogCleared);
        observer.Logged(line("after"));
        changes = observer.Take();
        QVERIFY(changes.logCleared);
        QCOMPARE(changes.logAdded.size(), size_t(1));
        QCOMPARE(changes.logAdded[0].text, std::string("after"));
    }

    void resetStateOfANewWindow() {
        DemoProgram program(*demo_);
        auto window = OpenWindow(program, "sales");
        const QString title = "Import Sales Transaction SERVER:127.0.0.1 PORT:9";
        QCOMPARE(window->windowTitle(), title);
        QCOMPARE(window->cmdGetData->text(), QString("&Get Data"));
        QCOMPARE(window->cmdExport->text(), QString("E&xport"));
        QCOMPARE(window->cmdCancel->text(), QString("&Cancel"));
        QCOMPARE(window->cmdExit->text(), QString("&Exit"));
        for (zentrail::ui::DateField* picker : {window->dtpFrom, window->dtpTo}) {
            QVERIFY(picker->isVisible());
            QVERIFY(picker->CalendarButton()->isVisible());
            QCOMPARE(picker->date(), QDate::currentDate());
            QCOMPARE(picker->text(), QDate::currentDate().toString("dd/MM/yyyy"));
        }
        QCOMPARE(window->ssdbgItem->model()->rowCount(), 0);
        QCOMPARE(window->ssdbgItem->model()->columnCount(), 0);
        QCOMPARE(window->gridCaption->text(), QString("Data Imported From File :-----"));
        QVERIFY(window->LogText().isEmpty());
        QCOMPARE(window->lblRecCurr->text(), QString("0"));
        QCOMPARE(window->lblRecReads->text(), QString("0"));
        QCOMPARE(window->fraPrg->title(), QString("Importing Sales"));
        QCOMPARE(window->lblScreen->text(), QString(39, QChar('-')));
        QCOMPARE(window->prgBar->value(), 0);
        // Cancel twice: the title carries the summary once, and the listing is gone.
        SetDemoRange(*window);
        QVERIFY(RunAndWait(*window, window->cmdGetData));
        QVERIFY(window->ssdbgItem->model()->rowCount() > 0);
        QTest::mouseClick(window->cmdCancel, Qt::LeftButton);
        QTest::mouseClick(window->cmdCancel, Qt::LeftButton);
        QCOMPARE(window->windowTitle(), title);
        QCOMPARE(window->ssdbgItem->model()->rowCount(), 0);
        QCOMPARE(window->ssdbgItem->model()->columnCount(), 0);
        QCOMPARE(window->lblRecReads->text(), QString("0"));
        QCOMPARE(window->dtpFrom->date(), QDate::currentDate());
        QCOMPARE(window->gridCaption->text(), QString("Data Imported From File :-----"));
    }

    void getDataFillsTheView() {
        DemoProgram program(*demo_);
        auto window = OpenWindow(program, "sales");
        SetDemoRange(*window);
        QVERIFY(RunAndWait(*window, window->cmdGetData));
        const zentrail::TransferGrid& grid = window->Screen().ssdbgItem;
        QAbstractItemModel* model = window->ssdbgItem->model();
        const int rows = static_cast<int>(grid.RowCount());
        QVERIFY(rows > 0);
        QCOMPARE(model->rowCount(), rows);
        QCOMPARE(model->columnCount(), static_cast<int>(grid.ColumnCount()));
        QCOMPARE(window->lblRecReads->text(), QString::number(rows));
        QCOMPARE(window->gridCaption->text(), QString("Total Records Imported %1").arg(rows));
        for (int c = 0; c < model->columnCount(); ++c)
            QCOMPARE(model->headerData(c, Qt::Horizontal).toString(),
                     QString::fromStdString(grid.ColumnCaption(static_cast<size_t>(c))));
        // The view shows the listing cell for cell, and it lists delivered invoices of the
        // range only (the query's joins leave out some of them).
        std::set<std::string> delivered;
        for (const auto& row : zentrail::testing::RawQuery(
                 demo_->Path(),
                 "SELECT SalInvNo FROM SalesInvoice WHERE SalInvDate BETWEEN '2024-04-01' AND "
                 "'2024-05-31 23:59:59' AND DlvSts >= 3"))
            delivered.insert(*row[0]);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < model->columnCount(); ++c)
                QCOMPARE(model->index(r, c).data().toString().toStdString(),
                         std::string(grid.Text(static_cast<size_t>(r), static_cast<size_t>(c))));
            std::string number = grid.Cell(static_cast<size_t>(r), "SalInvNo");
            QVERIFY2(delivered.count(number) == 1, number.c_str());
        }
        QCOMPARE(window->prgBar->value(), 0);
        QVERIFY(shown_.Boxes().empty());

        // The columns are as wide as the standard delegate makes them, though the window
        // measures a text that repeats (dates, names) once.
        QTableView* view = window->ssdbgItem;
        std::vector<int> widths;
        for (int c = 0; c < model->columnCount(); ++c) widths.push_back(view->columnWidth(c));
        QStyledItemDelegate standard;
        QAbstractItemDelegate* own = view->itemDelegate();
        view->setItemDelegate(&standard);
        for (int c = 0; c < model->columnCount(); ++c) view->setColumnWidth(c, 1);
        view->resizeColumnsToContents();
        for (int c = 0; c < model->columnCount(); ++c)
            QCOMPARE(view->columnWidth(c), widths[static_cast<size_t>(c)]);
        view->setItemDelegate(own);
    }

    void exportShowsProgressCountsAndTheClosingMessage() {
        TallySimProcess sim({"--company", zentrail::testing::kDemoCompany, "--delay-ms", "5"});
        DemoProgram program(*demo_, sim.Port());

        auto items = OpenWindow(program, "item");
        QVERIFY(!items->dtpFrom->isVisible());
        QVERIFY(RunAndWait(*items, items->cmdGetData));
        const int listed = items->ssdbgItem->model()->rowCount();
        QVERIFY(listed > 0);
        Watcher watcher(*items);
        MessageBox::SetNextAnswer(QMessageBox::Ok);
        QVERIFY(RunAndWait(*items, items->cmdExport));
        QVERIFY(watcher.ticksWhileRunning > 0);
        QVERIFY(watcher.maxProgress > 0);
        QVERIFY(watcher.maxCount > 0);
        QVERIFY(watcher.stopCaption);
        QVERIFY(watcher.buttonsDisabled);
        QCOMPARE(items->cmdCancel->text(), QString("&Cancel"));
        QVERIFY(items->cmdExport->isEnabled());

        const zentrail::RunCounts& run = items->Screen().LastRun();
        QCOMPARE(run.listed, static_cast<long>(listed));
        QVERIFY(run.Clean());
        QCOMPARE(run.documents.accepted, static_cast<long>(listed));
        QCOMPARE(Count(items->lblRecCurr), listed);
        QCOMPARE(StockItemsIn(sim.Books()), static_cast<long>(listed));
        QCOMPARE(items->fraPrg->title(), QString("Data Transferred To Tally"));

        QCOMPARE(shown_.Boxes().size(), size_t{1});
        const MessageBox::Shown& closing = shown_.Boxes()[0];
        QCOMPARE(closing.icon, MessageBox::Icon::Information);
        QCOMPARE(closing.title, QString("Zentrail"));
        QVERIFY(closing.text.startsWith("Item Transferrd\n"));
        QVERIFY(closing.text.contains(QString("Documents listed: %1").arg(listed)));
        QVERIFY(closing.text.contains(QString("Accepted: %1").arg(listed)));
        QVERIFY(closing.text.contains("Run report: "));
        QVERIFY(items->LogText().contains("Run report: "));
        items->close();

        // The sales of the demo range into the same books: every invoice reaches Tally.
        shown_.Clear();
        auto sales = OpenWindow(program, "sales");
        SetDemoRange(*sales);
        QVERIFY(RunAndWait(*sales, sales->cmdGetData));
        const int invoices = sales->ssdbgItem->model()->rowCount();
        QVERIFY(invoices > 0);
        MessageBox::SetNextAnswer(QMessageBox::Ok);
        QVERIFY(RunAndWait(*sales, sales->cmdExport));
        const zentrail::RunCounts& salesRun = sales->Screen().LastRun();
        QCOMPARE(salesRun.documents.tallyErrors + salesRun.documents.notSent, 0L);
        QCOMPARE(salesRun.documents.Total(), static_cast<long>(invoices));
        const long reached = salesRun.documents.accepted + salesRun.documents.differences;
        QVERIFY(reached > 0);
        QCOMPARE(static_cast<long>(Count(sales->lblRecCurr)) <= invoices, true);
        QCOMPARE(shown_.Boxes().size(), size_t{1});
        QVERIFY(shown_.Boxes()[0].text.startsWith("Sales Transferrd\n"));
        QCOMPARE(static_cast<long>(sim.Books()["vouchers"].size()), reached);

        // Again with the check box: what Tally holds unchanged is not sent a second time.
        QVERIFY(!sales->chkSkipUnchanged->isChecked());
        sales->chkSkipUnchanged->setChecked(true);
        shown_.Clear();
        MessageBox::SetNextAnswer(QMessageBox::Ok);
        QVERIFY(RunAndWait(*sales, sales->cmdExport));
        QCOMPARE(sales->Screen().LastRun().documents.skipped, static_cast<long>(invoices));
        QVERIFY(shown_.Boxes()[0].text.contains(QString("Skipped: %1").arg(invoices)));
    }

    // Export posts the listing of the dates on show, or nothing: dates changed after Get Data
    // wait for the next Get Data, and a window without a listing cannot export.
    void exportIsOnlyForTheListingOfTheDatesShown() {
        DemoProgram program(*demo_);
        auto window = OpenWindow(program, "sales");
        QVERIFY(!window->cmdExport->isEnabled());
        QTest::mouseClick(window->cmdExport, Qt::LeftButton);
        QVERIFY(!window->Running());
        SetDemoRange(*window);
        QVERIFY(!window->cmdExport->isEnabled());
        QVERIFY(RunAndWait(*window, window->cmdGetData));
        QVERIFY(window->cmdExport->isEnabled());
        QVERIFY(window->lblListing->isHidden());
        window->dtpFrom->setDate(QDate(2024, 5, 1));
        QVERIFY(!window->cmdExport->isEnabled());
        QVERIFY(!window->lblListing->isHidden());
        QCOMPARE(window->lblListing->text(), QString("Dates changed: press Get Data"));
        window->dtpFrom->setDate(QDate(2024, 4, 1));
        QVERIFY(window->cmdExport->isEnabled());
        QVERIFY(window->lblListing->isHidden());
        // A day the calendar lacks is no date to list: Get Data says so and lists nothing.
        window->dtpTo->Editor()->setText("31/02/2024");
        QVERIFY(!window->dtpTo->date().isValid());
        QVERIFY(!window->cmdExport->isEnabled());
        MessageBox::SetNextAnswer(QMessageBox::Ok);
        QTest::mouseClick(window->cmdGetData, Qt::LeftButton);
        QVERIFY(!window->Running());
        QCOMPARE(shown_.Boxes().size(), size_t{1});
        QCOMPARE(shown_.Boxes()[0].text,
                 QString("To Date: '31/02/2024' is not a day of the calendar"));
        QCOMPARE(window->dtpTo->text(), QString("31/02/2024"));
        // From after To: one message, nothing listed.
        shown_.Clear();
        window->dtpTo->setDate(QDate(2024, 3, 31));
        MessageBox::SetNextAnswer(QMessageBox::Ok);
        QTest::mouseClick(window->cmdGetData, Qt::LeftButton);
        QVERIFY(!window->Running());
        QCOMPARE(shown_.Boxes().size(), size_t{1});
        QCOMPARE(shown_.Boxes()[0].text,
                 QString("From Date 01/04/2024 is after To Date 31/03/2024: no document can be "
                         "listed"));
        // Cancel empties the grid: nothing to export.
        window->dtpTo->setDate(QDate(2024, 5, 31));
        QVERIFY(window->cmdExport->isEnabled());
        QTest::mouseClick(window->cmdCancel, Qt::LeftButton);
        QVERIFY(!window->cmdExport->isEnabled());
    }

    // After an export the status line keeps its counts, each run's log starts with its own
    // line, and the closing message opens the run report.
    void theWindowKeepsTheOutcomeOfARun() {
        TallySimProcess sim({"--company", zentrail::testing::kDemoCompany, "--drop-every", "4"});
        DemoProgram program(*demo_, sim.Port());
        auto window = OpenWindow(program, "item");
        QVERIFY(RunAndWait(*window, window->cmdGetData));
        QVERIFY(window->lblRunStatus->text().isEmpty());
        QString opened;
        const auto keep = TransferWindow::ReportOpener();
        TransferWindow::ReportOpener() = [&](const QString& path) { opened = path; };
        MessageBox::SetNextAnswer(QMessageBox::Open);
        QVERIFY(RunAndWait(*window, window->cmdExport));
        TransferWindow::ReportOpener() = keep;
        const zentrail::RunCounts& run = window->Screen().LastRun();
        QVERIFY(run.documents.unconfirmed + run.masters.unconfirmed > 0);
        QCOMPARE(window->lblRunStatus->text(),
                 QString("Last export: accepted %1 · Tally errors %2 · differences %3 · "
                         "unconfirmed %4 · not sent %5 · skipped %6")
                         .arg(run.documents.accepted + run.documents.alreadyInTally)
                         .arg(run.documents.tallyErrors)
                         .arg(run.documents.differences)
                         .arg(run.documents.unconfirmed)
                         .arg(run.documents.notSent)
                         .arg(run.documents.skipped) +
                     (run.masters.unconfirmed > 0
                          ? QString(" · masters not accepted %1").arg(run.masters.unconfirmed)
                          : QString()));
        QCOMPARE(window->fraPrg->title(), QString("Transfer ended with errors"));
        QCOMPARE(opened, QString::fromStdString(run.reportPath));
        QVERIFY(QFile::exists(opened));
        const QStringList lines = window->LogText().split('\n');
        const QRegularExpression start(
            "^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d (Get Data|Export) \\(item\\)$");
        QVERIFY2(start.match(lines[0]).hasMatch(), qPrintable(lines[0]));
        QVERIFY(lines[0].contains("Get Data"));
        QCOMPARE(lines.filter(start).size(), 2);
        QVERIFY(lines.filter(start)[1].contains("Export"));
        // The next run starts with an empty status line.
        QVERIFY(RunAndWait(*window, window->cmdGetData));
        QVERIFY(window->lblRunStatus->text().isEmpty());
        QCOMPARE(window->lblRecCurr->text(), QString("0"));
    }

    // Stop held down while the run ends: the click that follows is no reset of the window.
    void aStopThatComesAsTheRunEndsKeepsItsResults() {
        TallySimProcess sim({"--company", zentrail::testing::kDemoCompany, "--delay-ms", "20"});
        DemoProgram program(*demo_, sim.Port());
        auto window = OpenWindow(program, "item");
        QVERIFY(RunAndWait(*window, window->cmdGetData));
        const int rows = static_cast<int>(window->Screen().ssdbgItem.RowCount());
        QVERIFY(rows > 0);
        QSignalSpy finished(window.get(), &TransferWindow::RunFinished);
        MessageBox::SetNextAnswer(QMessageBox::Ok);
        QTest::mouseClick(window->cmdExport, Qt::LeftButton);
        QVERIFY(window->Running());
        QTest::mousePress(window->cmdCancel, Qt::LeftButton);
        QVERIFY(finished.wait(60'000));
        QVERIFY(!window->Running());
        QTest::mouseRelease(window->cmdCancel, Qt::LeftButton);
        QCOMPARE(static_cast<int>(window->Screen().ssdbgItem.RowCount()), rows);
        QVERIFY(window->LogText().contains("Run report: "));
        // The next click is a Cancel again.
        QTest::mouseClick(window->cmdCancel, Qt::LeftButton);
        QCOMPARE(static_cast<int>(window->Screen().ssdbgItem.RowCount()), 0);
    }

    void slowExportKeepsTheWindowAnsweringAndStops() {
        TallySimProcess sim({"--company", zentrail::testing::kDemoCompany, "--delay-ms", "150"});
        DemoProgram program(*demo_, sim.Port());
        auto window = OpenWindow(program, "item");
        QVERIFY(RunAndWait(*window, window->cmdGetData));
        const int listed = window->ssdbgItem->model()->rowCount();
        QVERIFY(listed > 6);

        Watcher watcher(*window);
        QSignalSpy finished(window.get(), &TransferWindow::RunFinished);
        QTest::mouseClick(window->cmdExport, Qt::LeftButton);
        QVERIFY(window->Running());
        QCOMPARE(window->cmdCancel->text(), QString("&Stop"));
        // The window keeps working while requests wait for the slow server.
        QTRY_VERIFY_WITH_TIMEOUT(Count(window->lblRecCurr) >= 3, 30'000);
        QVERIFY(window->Running());
        QVERIFY(watcher.ticksWhileRunning > 5);
        MessageBox::SetNextAnswer(QMessageBox::Ok);
        QTest::mouseClick(window->cmdCancel, Qt::LeftButton);
        QVERIFY(finished.wait(10'000));

        const zentrail::RunCounts& run = window->Screen().LastRun();
        QVERIFY(run.stopped);
        QVERIFY(run.documents.stopped > 0);
        QCOMPARE(run.documents.Total(), static_cast<long>(listed));
        const long sent = run.documents.accepted;
        QVERIFY(sent >= 3 && sent < listed);
        QCOMPARE(static_cast<long>(Count(window->lblRecCurr)), sent);
        // The request stopped in progress went out and is unconfirmed: the server may hold it.
        QVERIFY(run.documents.unconfirmed <= 1);
        const long inBooks = StockItemsIn(sim.Books());
        QVERIFY2(inBooks == sent || inBooks == sent + run.documents.unconfirmed,
                 std::to_string(inBooks).c_str());
        QCOMPARE(shown_.Boxes().size(), size_t{1});
        QVERIFY(shown_.Boxes()[0].text.contains("The run was stopped."));
        QVERIFY(window->LogText().contains("Export stopped by the operator"));
        QCOMPARE(window->cmdCancel->text(), QString("&Cancel"));
    }

    // A listing that would take minutes: Stop ends it at once, and the window is ready again.
    void stopEndsAListingInProgress() {
        QTemporaryDir folder;
        const std::string database = folder.path().toStdString() + "/endless.db";
        zentrail::testing::WriteEndlessProducts(database);
        zentrail::Configuration config;
        config.strSqlOdbc = database;
        zentrail::SourceDatabase db;
        db.OpenConnection(config);
        zentrail::HttpClient tally;
        auto window = std::make_unique<TransferWindow>(
            zentrail::CreateScreen("item", zentrail::ScreenContext{config, db, tally}));
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->show();

        QSignalSpy finished(window.get(), &TransferWindow::RunFinished);
        QTest::mouseClick(window->cmdGetData, Qt::LeftButton);
        QVERIFY(window->Running());
        QCOMPARE(window->cmdCancel->text(), QString("&Stop"));
        QVERIFY(window->cmdCancel->isEnabled());
        QVERIFY(!window->cmdGetData->isEnabled());
        QTest::qWait(300);
        QVERIFY2(window->Running(), "the listing ended by itself");
        QTest::mouseClick(window->cmdCancel, Qt::LeftButton);
        QVERIFY(finished.wait(2'000));

        QVERIFY(!window->Running());
        QCOMPARE(window->ssdbgItem->model()->rowCount(), 0);
        QVERIFY(window->LogText().contains("Get Data stopped"));
        QVERIFY(window->Screen().GetDataStopped());
        QCOMPARE(shown_.Boxes().size(), size_t{0});
        for (QPushButton* button : {window->cmdGetData, window->cmdCancel, window->cmdExit})
            QVERIFY2(button->isEnabled(), qPrintable(button->text()));
        QVERIFY2(!window->cmdExport->isEnabled(), "a stopped listing is nothing to export");
        QCOMPARE(window->cmdCancel->text(), QString("&Cancel"));
    }

    void closingDuringARunAsksWhetherToStop() {
        TallySimProcess sim({"--company", zentrail::testing::kDemoCompany, "--delay-ms", "150"});
        DemoProgram program(*demo_, sim.Port());
        auto window = OpenWindow(program, "item");
        QVERIFY(RunAndWait(*window, window->cmdGetData));
        QSignalSpy finished(window.get(), &TransferWindow::RunFinished);
        QTest::mouseClick(window->cmdExport, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(Count(window->lblRecCurr) >= 1, 30'000);

        MessageBox::SetNextAnswer(QMessageBox::No);
        QVERIFY(!window->close());
        QVERIFY(window->isVisible());
        QVERIFY(window->Running());
        QCOMPARE(shown_.Boxes().size(), size_t{1});
        QCOMPARE(shown_.Boxes()[0].icon, MessageBox::Icon::Question);

        MessageBox::SetNextAnswer(QMessageBox::Yes);
        QVERIFY(!window->close());
        MessageBox::SetNextAnswer(QMessageBox::Ok);  // the closing message of the stopped run
        QVERIFY(finished.wait(10'000));
        QTRY_VERIFY(!window->isVisible());
        QVERIFY(window->Screen().LastRun().stopped);
        QCOMPARE(shown_.Boxes().size(), size_t{3});
        QVERIFY(shown_.Boxes()[2].text.contains("The run was stopped."));
    }
};

QTEST_MAIN(TransferWindowTest)
#include "transfer_window_test.moc"
