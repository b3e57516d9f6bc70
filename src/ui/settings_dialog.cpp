#include "ui/settings_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "common/ascii.h"
#include "screens/calendar_date.h"
#include "shell/config_writer.h"
#include "shell/settings_check.h"
#include "tally/http_client.h"

namespace zentrail::ui {

namespace {

constexpr int kPollMs = 50;

QString Text(const std::string& text) { return QString::fromStdString(text); }

std::string Value(const QLineEdit* edit) { return edit->text().toStdString(); }

bool ReadsAsYes(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return false;
    return ascii::Upper(text.substr(first, text.find_last_not_of(" \t") - first + 1)) == "YES";
}

QLineEdit* AddField(QFormLayout* form, const char* key, const char* name) {
    auto* edit = new QLineEdit(form->parentWidget());
    edit->setObjectName(name);
    form->addRow(QString(key) + ":", edit);
    return edit;
}

QLabel* ResultLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void Show(QLabel* label, const ConnectionTestResult& result) {
    label->setText(TestOutcomeText(result));
    label->setStyleSheet(result.passed ? "color: #176b2c;" : "color: #a4161a;");
}

}  // namespace

QString TestOutcomeText(const ConnectionTestResult& result) {
    return (result.passed ? "Success: " : "Failed: ") + Text(result.message);
}

struct SettingsDialog::Running {
    DetachedTest test;
    QPushButton* button;
    QLabel* label;
    std::string what;
    std::chrono::milliseconds limit;
    std::chrono::steady_clock::time_point started;
    QTimer* poll;  // the dialog's child: it goes with the dialog, or when the test has ended
};

SettingsDialog::SettingsDialog(std::filesystem::path configFile, SettingsTestOptions tests,
                               QWidget* parent)
    : QDialog(parent),
      configFile_(std::move(configFile)),
      loaded_(ReadConfig(configFile_)),
      tests_(std::move(tests)) {
    setWindowTitle("Settings");
    setObjectName("SettingsDialog");
    auto* layout = new QVBoxLayout(this);

    auto* file = new QLabel(Text(configFile_.string()), this);
    file->setObjectName("lblConfigFile");
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(file);

    auto* tally = new QGroupBox("Tally", this);
    auto* tallyForm = new QFormLayout(tally);
    txtServer = AddField(tallyForm, "SERVER", "txtServer");
    txtPort = AddField(tallyForm, "PORT", "txtPort");
    txtCompany = AddField(tallyForm, "COMPANY", "txtCompany");
    txtEncoding = AddField(tallyForm, "ENCODING", "txtEncoding");
    txtEncoding->setPlaceholderText("UTF-8 or UTF-16");
    cmdTestTally = new QPushButton("Test Tally connection", tally);
    cmdTestTally->setObjectName("cmdTestTally");
    lblTallyTest = ResultLabel(tally, "lblTallyTest");
    tallyForm->addRow(cmdTestTally, lblTallyTest);
    layout->addWidget(tally);

    auto* database = new QGroupBox("Database", this);
    auto* databaseForm = new QFormLayout(database);
    txtSqlOdbc = AddField(databaseForm, "SQL_ODBC", "txtSqlOdbc");
    txtSqlUser = AddField(databaseForm, "SQL_USER", "txtSqlUser");
    txtSqlPassword = AddField(databaseForm, "SQL_PASSWORD", "txtSqlPassword");
    txtSqlPassword->setEchoMode(QLineEdit::Password);
    cmdTestDatabase = new QPushButton("Test database connection", database);
    cmdTestDatabase->setObjectName("cmdTestDatabase");
    lblDatabaseTest = ResultLabel(database, "lblDatabaseTest");
    databaseForm->addRow(cmdTestDatabase, lblDatabaseTest);
    layout->addWidget(database);

    auto* ledgers = new QGroupBox("Ledgers", this);
    auto* ledgerForm = new QFormLayout(ledgers);
    txtLedgerId = AddField(ledgerForm, "LEDGER_ID", "txtLedgerId");
    txtLedgerId->setPlaceholderText("YES or NO");
    txtDebtor = AddField(ledgerForm, "DEBTOR", "txtDebtor");
    txtCreditor = AddField(ledgerForm, "CREDITOR", "txtCreditor");
    layout->addWidget(ledgers);

    // The session is made once at start: changing it under open screens is not safe.
    auto* restart = new QLabel(
        "Saved settings take effect when Zentrail is started again; until then it keeps "
        "working with the settings it started with.",
        this);
    restart->setObjectName("lblRestart");
    restart->setWordWrap(true);
    layout->addWidget(restart);

    lblError = new QLabel(this);
    lblError->setObjectName("lblError");
    lblError->setWordWrap(true);
    lblError->setStyleSheet("color: #a4161a;");
    lblError->hide();
    layout->addWidget(lblError);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    cmdSave = buttons->button(QDialogButtonBox::Save);
    cmdCancel = buttons->button(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDialog::reject);
    layout->addWidget(buttons);

    connect(cmdTestDatabase, &QPushButton::clicked, this, [this] {
        const SourceOpener opener = tests_.opener;
        Start(databaseTest_, cmdTestDatabase, lblDatabaseTest, "The database", tests_.databaseLimit,
              [config = FormSettings(), opener, day = CalendarDate::Today()] {
                  return TestSourceDatabase(config, opener, day);
              });
    });
    connect(cmdTestTally, &QPushButton::clicked, this, [this] {
        Start(tallyTest_, cmdTestTally, lblTallyTest, "Tally", tests_.tallyLimit,
              [config = FormSettings(), make = tests_.tally] {
                  std::unique_ptr<TallyTransport> transport =
                      make ? make() : std::make_unique<HttpClient>(kTallyTestTimeouts);
                  return TestTally(config, *transport);
              });
    });
    Fill();
    resize(520, sizeHint().height());
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::Fill() {
    txtServer->setText(Text(loaded_.strTallyServer));
    txtPort->setText(Text(loaded_.strTallyPort));
    txtCompany->setText(Text(loaded_.strCompany));
    txtEncoding->setText(Text(loaded_.strEncoding));
    txtSqlOdbc->setText(Text(loaded_.strSqlOdbc));
    txtSqlUser->setText(Text(loaded_.strSqlUser));
    txtSqlPassword->setText(Text(loaded_.strSqlPassword));
    txtLedgerId->setText(Text(loaded_.strLedgerId));
    txtDebtor->setText(Text(loaded_.strDebtorGroup));
    txtCreditor->setText(Text(loaded_.strCreditorGroup));
}

Configuration SettingsDialog::FormSettings() const {
    Configuration config = loaded_;
    config.strTallyServer = Value(txtServer);
    config.strTallyPort = Value(txtPort);
    config.strCompany = Value(txtCompany);
    config.strEncoding = Value(txtEncoding);
    config.strSqlOdbc = Value(txtSqlOdbc);
    config.strSqlUser = Value(txtSqlUser);
    config.strSqlPassword = Value(txtSqlPassword);
    config.strLedgerId = Value(txtLedgerId);
    config.strDebtorGroup = Value(txtDebtor);
    config.strCreditorGroup = Value(txtCreditor);
    // An untouched LEDGER_ID keeps what the file meant, also where the key was missing.
    if (config.strLedgerId != loaded_.strLedgerId)
        config.blnLedgerId = ReadsAsYes(config.strLedgerId);
    return config;
}

void SettingsDialog::accept() {
    const Configuration config = FormSettings();
    try {
        if (std::optional<std::string> refused = CheckSettings(config, SettingsUse::kTransfer))
            throw ConfigError(*refused);
        WriteConfig(configFile_, config);
    } catch (const ConfigError& error) {
        lblError->setText(Text(error.what()));
        lblError->show();
        return;
    }
    lblError->hide();
    QDialog::accept();
}

void SettingsDialog::Start(std::unique_ptr<Running>& slot, QPushButton* button, QLabel* label,
                           const std::string& what, std::chrono::milliseconds limit,
                           std::function<ConnectionTestResult()> test) {
    button->setEnabled(false);
    label->setStyleSheet({});
    label->setText("Testing…");
    auto* poll = new QTimer(this);
    slot.reset(new Running{DetachedTest(std::move(test)), button, label, what, limit,
                           std::chrono::steady_clock::now(), poll});
    connect(poll, &QTimer::timeout, this, [this, &slot] { Poll(slot); });
    poll->start(kPollMs);
}

void SettingsDialog::Poll(std::unique_ptr<Running>& slot) {
    std::optional<ConnectionTestResult> result = slot->test.Result();
    if (!result && std::chrono::steady_clock::now() - slot->started < slot->limit) return;
    if (!result)
        result = ConnectionTestResult{false, AbandonedTestMessage(slot->what, slot->limit)};
    Show(slot->label, *result);
    slot->button->setEnabled(true);
    // This call comes from the timer's own signal: it is deleted once the call has returned.
    slot->poll->stop();
    slot->poll->deleteLater();
    slot.reset();
    emit TestShown();
}

}  // namespace zentrail::ui
