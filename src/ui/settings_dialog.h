#pragma once

#include <QDialog>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "screens/connection_tests.h"
#include "screens/detached_test.h"
#include "shell/configuration.h"
#include "shell/source_database.h"
#include "tally/tally_transport.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace zentrail::ui {

// How the dialog's connection tests reach the database and Tally, and how long they may take.
struct SettingsTestOptions {
    SourceOpener opener = OpenSourceConnection;
    std::function<std::unique_ptr<TallyTransport>()> tally;  // none: an HttpClient
    std::chrono::milliseconds databaseLimit = kDatabaseTestLimit;
    // The client's own time-outs end a test first; this only catches one that hangs past them.
    std::chrono::milliseconds tallyLimit =
        kTallyTestTimeouts.connect + kTallyTestTimeouts.reply + std::chrono::seconds(5);
};

// Edits the keys of a configuration file. Saving checks the values as the start-up does and
// rewrites only the lines whose values changed; the running program keeps the settings it
// started with. The tests try the values in the form before they are saved.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    // Throws ConfigError when the file exists but cannot be read.
    explicit SettingsDialog(std::filesystem::path configFile, SettingsTestOptions tests = {},
                            QWidget* parent = nullptr);
    ~SettingsDialog() override;

    QLineEdit* txtServer = nullptr;
    QLineEdit* txtPort = nullptr;
    QLineEdit* txtCompany = nullptr;
    QLineEdit* txtSqlOdbc = nullptr;
    QLineEdit* txtSqlUser = nullptr;
    QLineEdit* txtSqlPassword = nullptr;
    QLineEdit* txtLedgerId = nullptr;
    QLineEdit* txtDebtor = nullptr;
    QLineEdit* txtCreditor = nullptr;
    QLineEdit* txtEncoding = nullptr;
    QLabel* lblError = nullptr;  // why the values were not saved
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdTestDatabase = nullptr;
    QLabel* lblDatabaseTest = nullptr;
    QPushButton* cmdTestTally = nullptr;
    QLabel* lblTallyTest = nullptr;

    // The settings as the form holds them now.
    Configuration FormSettings() const;

signals:
    // A connection test has shown its outcome.
    void TestShown();

public slots:
    // Checks and saves the values; the dialog closes only when they were saved.
    void accept() override;

private:
    struct Running;

    void Fill();
    // Runs `test` on a thread of its own, showing its outcome in `label` when it ends or when
    // `limit` has passed.
    void Start(std::unique_ptr<Running>& slot, QPushButton* button, QLabel* label,
               const std::string& what, std::chrono::milliseconds limit,
               std::function<ConnectionTestResult()> test);
    void Poll(std::unique_ptr<Running>& slot);

    std::filesystem::path configFile_;
    Configuration loaded_;
    SettingsTestOptions tests_;
    std::unique_ptr<Running> databaseTest_;
    std::unique_ptr<Running> tallyTest_;
};

// How a test's outcome reads in its label.
QString TestOutcomeText(const ConnectionTestResult& result);

}  // namespace zentrail::ui
