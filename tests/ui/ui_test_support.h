#pragma once

// What the window tests share: a demo database opened as the program opens its source, and a
// way to wait for a window's run without blocking its event loop.

#include "ui/date_field.h"
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>

#include "screens/screen_context.h"
#include "support/demo_database.h"
#include "tally/http_client.h"
#include "ui/transfer_window.h"

namespace zentrail::testing {

inline constexpr const char* kDemoCompany = "Zentrail Demo";

// A program's settings, source connection and Tally client for one test.
struct DemoProgram {
    explicit DemoProgram(const GeneratedDemo& demo, int tallyPort = 9) {
        config.strTallyServer = "127.0.0.1";
        config.strTallyPort = std::to_string(tallyPort);
        config.strCompany = kDemoCompany;
        config.strSqlOdbc = demo.Path();
        config.blnLedgerId = true;
        config.strConfigSummary = " SERVER:127.0.0.1 PORT:" + config.strTallyPort;
        db.OpenConnection(config);
    }

    ScreenContext Context() {
        ScreenContext context{config, db, tally, reportDir.path().toStdString()};
        context.journalPath = reportDir.path().toStdString() + "/runs/journal.db";
        return context;
    }

    Configuration config;
    SourceDatabase db;
    HttpClient tally;
    QTemporaryDir reportDir;
};

// Presses a button and waits for the run it starts to end; false on time-out.
inline bool RunAndWait(ui::TransferWindow& window, QAbstractButton* button,
                       int timeoutMs = 120'000) {
    QSignalSpy finished(&window, &ui::TransferWindow::RunFinished);
    QTest::mouseClick(button, Qt::LeftButton);
    return finished.count() > 0 || finished.wait(timeoutMs);
}

}  // namespace zentrail::testing
