// Every window of the desktop program as the display shows it: on an X display of our own (Xvfb,
// the xcb platform, with ZENTRAIL_TEST_WINDOW_MANAGER=openbox under a window manager), each
// window is grabbed from the screen and must not be one colour. QWidget::grab would draw a
// window that the screen never shows, so it proves nothing here.

#include <QApplication>
#include <QCalendarWidget>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <fstream>
#include <memory>
#include <optional>

#include "support/demo_database.h"
#include "support/tally_sim_process.h"
#include "tally/http_client.h"
#include "ui/about_window.h"
#include "ui/date_field.h"
#include "ui/main_window.h"
#include "ui/on_screen.h"
#include "ui/program_start.h"
#include "ui/settings_dialog.h"
#include "ui/transfer_window.h"
#include "ui_test_support.h"
#include "virtual_display.h"

using zentrail::testing::GeneratedDemo;
using zentrail::testing::RunAndWait;
using zentrail::testing::TallySimProcess;
using zentrail::ui::ScreenLook;
using zentrail::ui::TransferWindow;
using zentrail::ui::WaitUntilPainted;
using zentrail::ui::WhenNextModalShown;

namespace {

// What a handler saw of a modal window before it closed it.
struct Seen {
    bool shown = false;
    bool painted = false;
    QString why;
    QString title;
    QString text;
};

// Keeps the grab of a window that did not paint beside the test, for whoever reads the failure.
QString Explain(const QString& window, const ScreenLook& look) {
    if (look.painted) return window + " painted";
    QString file = QStringLiteral("real-display-%1.png").arg(window);
    file.replace(' ', '-');
    if (!look.image.isNull()) look.image.save(file);
    return window + " did not paint: " + look.description + " (screen grab: " + file + ")";
}

Seen Look(QWidget& window, const QString& name) {
    ScreenLook look = WaitUntilPainted(window);
    Seen seen;
    seen.shown = true;
    seen.painted = look.painted;
    if (!look.painted) seen.why = Explain(name, look);
    seen.title = window.windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(&window)) seen.text = box->text();
    return seen;
}

// Looks at the next message box, then presses `answer` in it.
void AnswerNextBox(std::optional<Seen>& seen, const QString& name,
                   QMessageBox::StandardButton answer = QMessageBox::Ok) {
    WhenNextModalShown([&seen, name, answer](QWidget& window) {
        seen = Look(window, name);
        if (auto* box = qobject_cast<QMessageBox*>(&window); box && box->button(answer))
            box->button(answer)->click();
        else
            window.close();
    });
}

void Click(QTreeWidget& tree, const QString& text) {
    QList<QTreeWidgetItem*> found = tree.findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY2(found.size() == 1, qPrintable("no menu entry " + text));
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {},
                      tree.visualItemRect(found.front()).center());
}

#define VERIFY_PAINTED(seen)                                                         \
    do {                                                                             \
        QVERIFY2((seen).has_value() && (seen)->shown, "the window was never shown"); \
        QVERIFY2((seen)->painted, qPrintable((seen)->why));                          \
    } while (false)

}  // namespace

class RealDisplayTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        demo_ = std::make_unique<GeneratedDemo>(60, 11, "real-display");
        // Slow enough that an export is still running when the window is closed.
        sim_ = std::make_unique<TallySimProcess>(std::vector<std::string>{
            "--company", zentrail::testing::kDemoCompany, "--delay-ms", "15"});
        QVERIFY(folder_.isValid());
        configFile_ = folder_.filePath("Config.txt").toStdString();
        std::ofstream config(configFile_);
        config << "SERVER:127.0.0.1\nPORT:" << sim_->Port()
               << "\nCOMPANY:" << zentrail::testing::kDemoCompany << "\nSQL_ODBC:" << demo_->Path()
               << "\nLEDGER_ID:YES\n";
        config.close();
        QCOMPARE(zentrail::ui::StartProgram(configFile_, tally_, started_), 0);
        started_.window->show();
    }

    void mainWindowPaints() {
        ScreenLook look = WaitUntilPainted(*started_.window);
        QVERIFY2(look.painted, qPrintable(Explain("main window", look)));
        QCOMPARE(started_.window->windowTitle(), QString("Zentrail"));
        QCOMPARE(started_.window->tvwMainMenu->findItems("Sale ", Qt::MatchRecursive).size(), 1);
    }

    void aboutBoxPaints() {
        Click(*started_.window->tvwMainMenu, "About Calvera");
        zentrail::ui::frmAbout* about = started_.window->OpenAboutBox();
        QVERIFY(about);
        ScreenLook look = WaitUntilPainted(*about);
        QVERIFY2(look.painted, qPrintable(Explain("about box", look)));
        auto* text = about->findChild<QLabel*>("text");
        QVERIFY(text && text->text().contains("Zentrail"));
        about->close();
    }

    void menuBarAndSettingsDialogPaint() {
        // The operator's way: a click on File in the menu bar, then on Settings… in its menu.
        QMenuBar* bar = started_.window->menuBar();
        QVERIFY(bar->isVisible());
        QAction* file = bar->actions().value(0);
        QVERIFY(file && file->menu());
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
        QTRY_VERIFY(QApplication::activePopupWidget() == file->menu());
        ScreenLook menuLook = WaitUntilPainted(*file->menu());
        QVERIFY2(menuLook.painted, qPrintable(Explain("file menu", menuLook)));
        QAction* settings = started_.window->findChild<QAction*>("actSettings");
        QVERIFY(settings);
        QTest::mouseClick(file->menu(), Qt::LeftButton, {},
                          file->menu()->actionGeometry(settings).center());
        QTRY_VERIFY(started_.window->findChild<zentrail::ui::SettingsDialog*>() != nullptr);
        auto* dialog = started_.window->findChild<zentrail::ui::SettingsDialog*>();
        ScreenLook look = WaitUntilPainted(*dialog);
        QVERIFY2(look.painted, qPrintable(Explain("settings dialog", look)));
        QCOMPARE(dialog->windowTitle(), QString("Settings"));
        QCOMPARE(dialog->txtPort->text(), QString::number(sim_->Port()));
        // A test's outcome is shown in the dialog on the screen, the dialog painting still.
        QSignalSpy shown(dialog, &zentrail::ui::SettingsDialog::TestShown);
        QTest::mouseClick(dialog->cmdTestTally, Qt::LeftButton);
        QVERIFY(shown.wait(30'000));
        QVERIFY2(dialog->lblTallyTest->text().startsWith("Success: Tally runs at"),
                 qPrintable(dialog->lblTallyTest->text()));
        look = WaitUntilPainted(*dialog);
        QVERIFY2(look.painted, qPrintable(Explain("settings dialog after its test", look)));
        QTest::mouseClick(dialog->cmdCancel, Qt::LeftButton);
        QTRY_VERIFY(started_.window->findChild<zentrail::ui::SettingsDialog*>() == nullptr);
    }

    void transferWindowPaintsAfterGetData() {
        Click(*started_.window->tvwMainMenu, "Sale ");
        TransferWindow* sales = started_.window->OpenTransferWindow();
        QVERIFY(sales);
        sales->dtpFrom->setDate(QDate(2024, 4, 1));
        sales->dtpTo->setDate(QDate(2024, 5, 31));
        QVERIFY(RunAndWait(*sales, sales->cmdGetData));
        listed_ = static_cast<long>(sales->Screen().ssdbgItem.RowCount());
        QVERIFY(listed_ > 0);
        ScreenLook look = WaitUntilPainted(*sales);
        QVERIFY2(look.painted, qPrintable(Explain("sales window", look)));
        QVERIFY(sales->windowTitle().startsWith("Import Sales Transaction"));
        QCOMPARE(sales->gridCaption->text(), QString("Total Records Imported %1").arg(listed_));
    }

    // What is typed is what is used, whatever the other field holds, or the field says why not.
    void typedDatesAreUsedAsTyped() {
        TransferWindow* sales = started_.window->OpenTransferWindow();
        QVERIFY(sales);
        sales->dtpTo->setDate(QDate(2024, 2, 20));
        QLineEdit* from = sales->dtpFrom->Editor();
        QLineEdit* to = sales->dtpTo->Editor();
        // Typing right after a click replaces the whole date.
        QTest::mouseClick(from, Qt::LeftButton, {}, QPoint(4, from->height() / 2));
        QTest::keyClicks(from, "01042015");
        QTest::keyClick(from, Qt::Key_Tab);
        QTRY_VERIFY(to->hasFocus());
        QTest::keyClicks(to, "31032025");
        QTest::keyClick(to, Qt::Key_Tab);
        QCOMPARE(sales->dtpFrom->date(), QDate(2015, 4, 1));
        QCOMPARE(sales->dtpTo->date(), QDate(2025, 3, 31));
        QCOMPARE(from->text(), QString("01/04/2015"));
        QCOMPARE(to->text(), QString("31/03/2025"));
        // An impossible day stays as typed and says so; it is not moved to the 29th.
        QTest::mouseClick(to, Qt::LeftButton, {}, QPoint(to->width() - 4, to->height() / 2));
        QTest::keyClicks(to, "31/02/2024");
        QTest::keyClick(to, Qt::Key_Tab);
        QVERIFY(!sales->dtpTo->date().isValid());
        QCOMPARE(to->text(), QString("31/02/2024"));
        QCOMPARE(sales->dtpTo->Problem(), QString("'31/02/2024' is not a day of the calendar"));
        // The calendar opens from the keyboard: F4, and Alt+Down.
        for (const auto& [key, modifiers] :
             {std::pair{Qt::Key_F4, Qt::KeyboardModifiers()}, {Qt::Key_Down, Qt::AltModifier}}) {
            from->setFocus();
            QTest::keyClick(from, key, modifiers);
            QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
            QWidget* popup = QApplication::activePopupWidget();
            QVERIFY(qobject_cast<QCalendarWidget*>(popup));
            QCOMPARE(qobject_cast<QCalendarWidget*>(popup)->selectedDate(), QDate(2015, 4, 1));
            popup->close();
            QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
        }
        sales->dtpFrom->setDate(QDate(2024, 4, 1));
        sales->dtpTo->setDate(QDate(2024, 5, 31));
    }

    void calendarPopupPaints() {
        TransferWindow* sales = started_.window->OpenTransferWindow();
        QVERIFY(sales);
        // The operator's way: a click on the field's arrow.
        QTest::mouseClick(sales->dtpFrom->CalendarButton(), Qt::LeftButton);
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        QWidget* popup = QApplication::activePopupWidget();
        ScreenLook look = WaitUntilPainted(*popup);
        QVERIFY2(look.painted, qPrintable(Explain("calendar popup", look)));
        auto* calendar = popup->findChild<QCalendarWidget*>();
        if (!calendar) calendar = qobject_cast<QCalendarWidget*>(popup);
        QVERIFY(calendar);
        QCOMPARE(calendar->monthShown(), 4);
        QCOMPARE(calendar->yearShown(), 2024);
        popup->close();
        QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
    }

    void closingMessageOfAnExportPaints() {
        TransferWindow* sales = started_.window->OpenTransferWindow();
        QVERIFY(sales);
        std::optional<Seen> closing;
        AnswerNextBox(closing, "closing message");
        QVERIFY(RunAndWait(*sales, sales->cmdExport));
        VERIFY_PAINTED(closing);
        QCOMPARE(closing->title, QString("Zentrail"));
        QVERIFY2(closing->text.startsWith("Sales Transferrd"), qPrintable(closing->text));
        QVERIFY2(closing->text.contains(QString("Documents listed: %1").arg(listed_)),
                 qPrintable(closing->text));
    }

    // Closing during an export asks first. When the export ends behind the question, its
    // closing message waits for the answer instead of opening on top of it.
    void questionOnClosingDuringARunPaints() {
        TransferWindow* sales = started_.window->OpenTransferWindow();
        QVERIFY(sales);
        QPointer<TransferWindow> window(sales);
        QTest::mouseClick(sales->cmdExport, Qt::LeftButton);
        QVERIFY(sales->Running());

        std::optional<Seen> question;
        std::optional<Seen> closing;
        int boxesWhileAsking = 0;
        bool questionOpenBehindClosing = true;
        WhenNextModalShown([&](QWidget& box) {
            // Armed first, so that a box opening on top of the question is caught too.
            QPointer<QWidget> asked(&box);
            WhenNextModalShown([&, asked](QWidget& next) {
                questionOpenBehindClosing = asked && asked->isVisible();
                closing = Look(next, "closing message after the question");
                next.close();
            });
            question = Look(box, "question on closing");
            QDeadlineTimer deadline(60'000);
            while (window && window->Running() && !deadline.hasExpired())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            QCoreApplication::processEvents();
            for (QWidget* w : QApplication::topLevelWidgets())
                if (qobject_cast<QMessageBox*>(w) && w->isVisible()) ++boxesWhileAsking;
            qobject_cast<QMessageBox*>(&box)->button(QMessageBox::Yes)->click();
        });
        sales->close();
        QTRY_VERIFY_WITH_TIMEOUT(window.isNull() || !window->isVisible(), 60'000);
        VERIFY_PAINTED(question);
        QVERIFY2(question->text.startsWith("An export is running."), qPrintable(question->text));
        QCOMPARE(boxesWhileAsking, 1);
        VERIFY_PAINTED(closing);
        QVERIFY(!questionOpenBehindClosing);
        QVERIFY2(closing->text.startsWith("Sales Transferrd"), qPrintable(closing->text));
        QVERIFY2(closing->text.contains(QString("Documents listed: %1").arg(listed_)),
                 qPrintable(closing->text));
    }

    void errorBoxPaints() {
        std::optional<Seen> error;
        AnswerNextBox(error, "error box");
        const std::string missing = folder_.filePath("missing/Config.txt").toStdString();
        zentrail::ui::StartedProgram none;
        QCOMPARE(zentrail::ui::StartProgram(missing, tally_, none), 2);
        VERIFY_PAINTED(error);
        QVERIFY2(error->text.startsWith("Error "), qPrintable(error->text));
        QVERIFY2(error->text.contains(QString::fromStdString(missing)), qPrintable(error->text));
    }

    void cleanupTestCase() {
        started_.window.reset();
        started_.session.reset();
    }

private:
    std::unique_ptr<GeneratedDemo> demo_;
    std::unique_ptr<TallySimProcess> sim_;
    QTemporaryDir folder_;
    std::string configFile_;
    zentrail::HttpClient tally_;
    zentrail::ui::StartedProgram started_;
    long listed_ = 0;
};

int main(int argc, char** argv) {
    // The display and its window manager must be there before the application connects.
    std::unique_ptr<zentrail::testing::VirtualDisplay> display;
    std::unique_ptr<zentrail::testing::WindowManager> manager;
    try {
        display = std::make_unique<zentrail::testing::VirtualDisplay>();
        ::setenv("DISPLAY", display->Name().c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        if (const char* wm = std::getenv("ZENTRAIL_TEST_WINDOW_MANAGER"); wm && *wm)
            manager = std::make_unique<zentrail::testing::WindowManager>(
                std::filesystem::temp_directory_path() /
                ("zentrail-wm-ready-" + std::to_string(::getpid())));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "real_display_test: %s\n", e.what());
        return 1;
    }
    int status = 0;
    {
        QApplication app(argc, argv);
        RealDisplayTest test;
        status = QTest::qExec(&test, argc, argv);
    }
    return status;
}

#include "real_display_test.moc"
