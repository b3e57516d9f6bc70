// The settings dialog and the menu bar: the form writes back only what changed, refuses what the
// start-up would refuse, and its connection tests report without holding up the window.

#include "ui/settings_dialog.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "support/demo_database.h"
#include "support/tally_sim_process.h"
#include "support/test_http_server.h"
#include "ui/about_window.h"
#include "ui/main_menu.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui_test_support.h"

using zentrail::ui::SettingsDialog;

namespace {

// Comments, an unknown key, blanks around SERVER and a password with ':' and ';'.
constexpr const char* kConfigText =
    "' Zentrail settings\r\n"
    "SERVER: tallybox \r\n"
    "PORT:9000\r\n"
    "; the books of the head office\r\n"
    "COMPANY:Shree Traders: Head Office\r\n"
    "SQL_ODBC:DMSDB\r\n"
    "SQL_USER:sa\r\n"
    "SQL_PASSWORD:p:ss;w0rd\r\n"
    "BACKUP_DIR:D:\\backup\r\n"
    "LEDGER_ID:YES\r\n"
    "\r\n"
    "DEBTOR:Sundry Debtors\r\n";

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

// `text` with the whole line that starts with `start` replaced by `line`.
std::string WithLine(std::string text, const std::string& start, const std::string& line) {
    const size_t at = text.find("\n" + start) + 1;
    return text.replace(at, text.find("\r\n", at) - at, line);
}

// Receives the URLs that QDesktopServices would hand to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

}  // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder_;
    std::string configFile_;
    std::unique_ptr<zentrail::testing::GeneratedDemo> demo_;
    std::unique_ptr<zentrail::testing::TallySimProcess> sim_;

    std::unique_ptr<SettingsDialog> Open(zentrail::ui::SettingsTestOptions tests = {}) {
        auto dialog = std::make_unique<SettingsDialog>(configFile_, std::move(tests));
        dialog->show();
        return dialog;
    }

    // Clicks a test button and waits for its outcome; the button is disabled meanwhile.
    static QString RunTest(SettingsDialog& dialog, QPushButton* button, QLabel* label) {
        QSignalSpy shown(&dialog, &SettingsDialog::TestShown);
        QTest::mouseClick(button, Qt::LeftButton);
        if (shown.count() == 0) {
            if (button->isEnabled()) return "the button stayed enabled during the test";
            if (!shown.wait(40'000)) return "no outcome within 40 s";
        }
        if (!button->isEnabled()) return "the button stayed disabled after the test";
        return label->text();
    }

private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        configFile_ = folder_.filePath("Config.txt").toStdString();
        demo_ = std::make_unique<zentrail::testing::GeneratedDemo>(20, 5, "ui-settings");
        sim_ = std::make_unique<zentrail::testing::TallySimProcess>();
    }

    void init() { WriteText(configFile_, kConfigText); }

    void formShowsTheFileWithThePasswordMasked() {
        auto dialog = Open();
        QCOMPARE(dialog->txtServer->text(), QString("tallybox"));
        QCOMPARE(dialog->txtCompany->text(), QString("Shree Traders: Head Office"));
        QCOMPARE(dialog->txtSqlPassword->text(), QString("p:ss;w0rd"));
        QCOMPARE(dialog->txtSqlPassword->echoMode(), QLineEdit::Password);
        QCOMPARE(dialog->txtLedgerId->text(), QString("YES"));
        QCOMPARE(dialog->txtEncoding->text(), QString());
    }

    void savingWithoutChangesKeepsEveryByte() {
        auto dialog = Open();
        QTest::mouseClick(dialog->cmdSave, Qt::LeftButton);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(FileText(configFile_), std::string(kConfigText));
        // No temporary file is left beside it.
        QCOMPARE(QDir(folder_.path()).entryList(QDir::Files), QStringList{"Config.txt"});
    }

    void changingOneValueRewritesOnlyItsLine_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("lineStart");
        QTest::addColumn<QString>("line");
        QTest::newRow("port") << "txtPort"
                              << "9999"
                              << "PORT:"
                              << "PORT:9999";
        QTest::newRow("password") << "txtSqlPassword"
                                  << "new;p:w"
                                  << "SQL_PASSWORD:"
                                  << "SQL_PASSWORD:new;p:w";
        QTest::newRow("company") << "txtCompany"
                                 << "Shree Traders"
                                 << "COMPANY:"
                                 << "COMPANY:Shree Traders";
        QTest::newRow("ledger id") << "txtLedgerId"
                                   << "NO"
                                   << "LEDGER_ID:"
                                   << "LEDGER_ID:NO";
    }

    void changingOneValueRewritesOnlyItsLine() {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, lineStart);
        QFETCH(QString, line);
        auto dialog = Open();
        auto* edit = dialog->findChild<QLineEdit*>(field);
        QVERIFY(edit);
        edit->setText(value);
        QTest::mouseClick(dialog->cmdSave, Qt::LeftButton);
        QVERIFY2(!dialog->isVisible(), qPrintable(dialog->lblError->text()));
        QCOMPARE(FileText(configFile_),
                 WithLine(kConfigText, lineStart.toStdString(), line.toStdString()));
    }

    void aNewKeyIsAddedAtTheEnd() {
        auto dialog = Open();
        dialog->txtEncoding->setText("UTF-16");
        QTest::mouseClick(dialog->cmdSave, Qt::LeftButton);
        QCOMPARE(FileText(configFile_), std::string(kConfigText) + "ENCODING:UTF-16\r\n");
    }

    void badValuesAreRefusedAndTheFileStays_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("goodValue");
        const QString port = "is not a port number from 1 to 65535";
        QTest::newRow("port zero") << "txtPort"
                                   << "0"
                                   << "PORT \"0\" " + port << "9000";
        QTest::newRow("port too big") << "txtPort"
                                      << "65536"
                                      << "PORT \"65536\" " + port << "1";
        QTest::newRow("port letters") << "txtPort"
                                      << "90a0"
                                      << "PORT \"90a0\" " + port << "90";
        QTest::newRow("server") << "txtServer"
                                << "tally box"
                                << "SERVER \"tally box\" is not a host name, an IPv4 address or "
                                   "an IPv6 address in brackets"
                                << "tally-box";
        QTest::newRow("ledger id") << "txtLedgerId"
                                   << "maybe"
                                   << "LEDGER_ID \"maybe\" is neither YES nor NO"
                                   << "no";
        QTest::newRow("encoding") << "txtEncoding"
                                  << "latin1"
                                  << "ENCODING \"latin1\" is neither UTF-8 nor UTF-16"
                                  << "utf-8";
        QTest::newRow("control character")
            << "txtSqlUser"
            << "s\ta"
            << "SQL_USER holds a control character (U+0009) at position 2 of \"s\\x09a\"; write "
               "the value as plain text on one line"
            << "sa2";
    }

    void badValuesAreRefusedAndTheFileStays() {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        QFETCH(QString, goodValue);
        auto dialog = Open();
        auto* edit = dialog->findChild<QLineEdit*>(field);
        QVERIFY(edit);
        edit->setText(value);
        QTest::mouseClick(dialog->cmdSave, Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->lblError->isVisible());
        QCOMPARE(dialog->lblError->text(), message);
        QCOMPARE(FileText(configFile_), std::string(kConfigText));
        // Put right, the same dialog saves it.
        edit->setText(goodValue);
        QTest::mouseClick(dialog->cmdSave, Qt::LeftButton);
        QVERIFY2(!dialog->isVisible(), qPrintable(dialog->lblError->text()));
        QVERIFY(!dialog->lblError->isVisible());
        const std::string saved = FileText(configFile_);
        QVERIFY2(saved.find(":" + goodValue.toStdString() + "\r\n") != std::string::npos,
                 saved.c_str());
    }

    void theDialogSaysARestartIsNeeded() {
        auto dialog = Open();
        auto* restart = dialog->findChild<QLabel*>("lblRestart");
        QVERIFY(restart);
        QVERIFY(restart->isVisible());
        QVERIFY(restart->text().contains("started again"));
    }

    void databaseTestUsesTheFormNotTheFile() {
        auto dialog = Open();
        dialog->txtSqlOdbc->setText(QString::fromStdString(demo_->Path()));
        const QString shown = RunTest(*dialog, dialog->cmdTestDatabase, dialog->lblDatabaseTest);
        QVERIFY2(shown.startsWith("Success: Opened \"" + QString::fromStdString(demo_->Path()) +
                                  "\": SQLite "),
                 qPrintable(shown));
        QVERIFY2(shown.contains(" sales invoices dated in "), qPrintable(shown));
        QCOMPARE(FileText(configFile_), std::string(kConfigText));

        const std::string missing = folder_.filePath("none.db").toStdString();
        dialog->txtSqlOdbc->setText(QString::fromStdString(missing));
        const QString failed = RunTest(*dialog, dialog->cmdTestDatabase, dialog->lblDatabaseTest);
        QVERIFY2(failed.startsWith("Failed: No database file at " + QString::fromStdString(missing) +
                                   "\nError "),
                 qPrintable(failed));
    }

    void tallyTestAgainstTheSimulatorAndAClosedPort() {
        auto dialog = Open();
        dialog->txtServer->setText("127.0.0.1");
        const struct {
            int port;
            QString start;
        } cases[] = {
            {sim_->Port(), "Success: Tally runs at 127.0.0.1:" + QString::number(sim_->Port()) +
                               " and answered: <RESPONSE>TallyPrime Server is Running"},
            {zentrail::testing::UnusedPort(), "Failed: Tally is not running at 127.0.0.1:"},
        };
        for (const auto& c : cases) {
            dialog->txtPort->setText(QString::number(c.port));
            const auto start = std::chrono::steady_clock::now();
            const QString shown = RunTest(*dialog, dialog->cmdTestTally, dialog->lblTallyTest);
            QVERIFY2(shown.startsWith(c.start), qPrintable(shown));
            QVERIFY(std::chrono::steady_clock::now() - start <
                    zentrail::kTallyTestTimeouts.connect);
        }
        QCOMPARE(FileText(configFile_), std::string(kConfigText));
    }

    void aHangingDatabaseIsAbandonedWhileTheWindowAnswers() {
        auto release = std::make_shared<std::atomic<bool>>(false);
        zentrail::ui::SettingsTestOptions tests;
        tests.databaseLimit = std::chrono::milliseconds(400);
        tests.opener = [release](
                           const std::string&, const std::string&,
                           const std::string&) -> std::unique_ptr<zentrail::SourceConnection> {
            while (!*release) std::this_thread::sleep_for(std::chrono::milliseconds(5));
            throw zentrail::DbError(1, "late");
        };
        auto dialog = Open(tests);
        // Timers keep firing while the test hangs: the event loop is free.
        int ticks = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, [&ticks] { ++ticks; });
        tick.start(20);
        const QString shown = RunTest(*dialog, dialog->cmdTestDatabase, dialog->lblDatabaseTest);
        QCOMPARE(shown, QString("Failed: The database gave no answer within 400 ms; the test "
                                "was abandoned"));
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
        *release = true;
        dialog.reset();  // the late result has nobody to go to
        QTest::qWait(50);
    }

    void menuBarOpensSettingsRunReportsAndAbout() {
        zentrail::testing::DemoProgram program(*demo_);
        zentrail::ui::frmMain window(program.Context());
        const int entries = window.tvwMainMenu->topLevelItem(0)->childCount();
        zentrail::ui::AddMainMenu(window, configFile_);
        window.show();
        QCOMPARE(window.tvwMainMenu->topLevelItem(0)->childCount(), entries);

        QStringList menus;
        for (QAction* menu : window.menuBar()->actions()) {
            menus << menu->text();
            for (QAction* action : menu->menu()->actions())
                menus << "  " + (action->isSeparator() ? QString("-") : action->text());
        }
        QCOMPARE(menus, (QStringList{"&File", "  &Settings…", "  &Open run reports folder", "  -",
                                     "  E&xit", "&Help", "  &About"}));

        window.findChild<QAction*>("actSettings")->trigger();
        auto* dialog = window.findChild<SettingsDialog*>();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->txtServer->text(), QString("tallybox"));
        // A second choice brings the same dialog forward.
        window.findChild<QAction*>("actSettings")->trigger();
        QCOMPARE(window.findChildren<SettingsDialog*>().size(), 1);
        dialog->close();

        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("file", &catcher, "Open");
        const QString runs = folder_.filePath("runs");
        QDir(runs).removeRecursively();
        window.findChild<QAction*>("actRunReports")->trigger();
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(runs)});
        QVERIFY(QDir(runs).exists());

        window.findChild<QAction*>("actAbout")->trigger();
        QVERIFY(window.OpenAboutBox());
        QVERIFY(window.OpenAboutBox()->isVisible());
        window.OpenAboutBox()->close();

        QSignalSpy exit(&window, &zentrail::ui::frmMain::ExitChosen);
        window.findChild<QAction*>("actExit")->trigger();
        QCOMPARE(exit.count(), 1);
        QVERIFY(!window.isVisible());
    }

    void anUnreadableFileIsToldInsteadOfADialog() {
        zentrail::ui::RecordShownBoxes shown;
        zentrail::testing::DemoProgram program(*demo_);
        zentrail::ui::frmMain window(program.Context());
        // A folder where the file should be cannot be read as text.
        const QString blocked = folder_.filePath("blocked");
        QVERIFY(QDir().mkpath(blocked + "/Config.txt"));
        zentrail::ui::AddMainMenu(window, (blocked + "/Config.txt").toStdString());
        zentrail::ui::MessageBox::SetNextAnswer(QMessageBox::Ok);
        window.findChild<QAction*>("actSettings")->trigger();
        QVERIFY(!window.findChild<SettingsDialog*>());
        QCOMPARE(shown.Boxes().size(), size_t{1});
        QCOMPARE(shown.Boxes()[0].text,
                 "Cannot read the configuration file " + blocked + "/Config.txt: it is a folder");
    }
};

QTEST_MAIN(SettingsDialogTest)

#include "settings_dialog_test.moc"
