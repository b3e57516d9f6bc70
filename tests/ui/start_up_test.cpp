// Start-up: the settings, then the source connection, then the main window; a failure is shown
// with its number and description and the program ends without a main window.

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "tally/http_client.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/program_start.h"
#include "ui_test_support.h"

using zentrail::ui::MessageBox;

class StartUpTest : public QObject {
    Q_OBJECT

private:
    // What the operator was told during each test.
    zentrail::ui::RecordShownBoxes shown_;
    QTemporaryDir dir_;
    std::unique_ptr<zentrail::testing::GeneratedDemo> demo_;

    std::string WriteConfig(const QString& name, const std::string& text) {
        std::string path = dir_.filePath(name).toStdString();
        std::ofstream(path) << text;
        return path;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        demo_ = std::make_unique<zentrail::testing::GeneratedDemo>(3, 5, "ui-start");
    }

    void init() { shown_.Clear(); }

    void failureIsShownBeforeTheProgramEnds_data() {
        QTest::addColumn<QString>("configOption");
        QTest::addColumn<QString>("expected");  // pattern of the box's text
        QTest::newRow("missing database")
            << QString::fromStdString(WriteConfig(
                   "missing-db.txt", "SERVER:127.0.0.1\nPORT:9000\nSQL_ODBC:" +
                                         dir_.filePath("no-such.db").toStdString() + "\n"))
            << "^No database file at .*/no-such\\.db \\(SQL_ODBC in .*/missing-db\\.txt\\)\nError "
               "-?[0-9]+: .+";
        QTest::newRow("port that is not a number")
            << QString::fromStdString(WriteConfig(
                   "bad-port.txt", "SERVER:127.0.0.1\nPORT:90o0\nSQL_ODBC:" + demo_->Path() + "\n"))
            << "^Error 3: PORT \"90o0\" is not a port number from 1 to 65535$";
        QTest::newRow("server with a path")
            << QString::fromStdString(
                   WriteConfig("bad-server.txt",
                               "SERVER:tally/import\nPORT:9000\nSQL_ODBC:" + demo_->Path() + "\n"))
            << "^Error 3: SERVER \"tally/import\" is not a host name, .+";
        QTest::newRow("no such configuration file")
            << dir_.filePath("absent/Config.txt")
            << "^Error 2: Configuration file not found: .*absent/Config.txt$";
        QTest::newRow("configuration file is a folder")
            << dir_.path() << "^Error 1: Cannot read the configuration file .+";
    }

    void failureIsShownBeforeTheProgramEnds() {
        QFETCH(QString, configOption);
        QFETCH(QString, expected);
        zentrail::HttpClient tally;
        zentrail::ui::StartedProgram program;
        MessageBox::SetNextAnswer(QMessageBox::Ok);
        int status = zentrail::ui::StartProgram(configOption.toStdString(), tally, program);
        QVERIFY(status != 0);
        QVERIFY(!program.window);
        QVERIFY(!program.session);
        QCOMPARE(shown_.Boxes().size(), size_t{1});
        const MessageBox::Shown& box = shown_.Boxes()[0];
        QCOMPARE(box.icon, MessageBox::Icon::Critical);
        QCOMPARE(box.title, QString("Zentrail"));
        QVERIFY2(QRegularExpression(expected).match(box.text).hasMatch(), qPrintable(box.text));
    }

    void goodSettingsOpenTheSourceThenMakeTheMainWindow() {
        std::string config = WriteConfig("good.txt",
                                         "SERVER:127.0.0.1\nPORT:9000\nCOMPANY:Demo\n"
                                         "SQL_ODBC:" +
                                             demo_->Path() + "\n");
        zentrail::HttpClient tally;
        zentrail::ui::StartedProgram program;
        QCOMPARE(zentrail::ui::StartProgram(config, tally, program), 0);
        QVERIFY(program.window);
        QCOMPARE(program.window->windowTitle(), QString("Zentrail"));
        QVERIFY(shown_.Boxes().empty());
        QCOMPARE(program.session->config.strCompany, std::string("Demo"));
        QVERIFY(program.session->db.cnSource != nullptr);
    }
};

QTEST_MAIN(StartUpTest)
#include "start_up_test.moc"
