#include "ui/main_menu.h"

#include <QAction>
#include <QDesktopServices>
#include <QMenuBar>
#include <QUrl>

#include "ui/main_window.h"
#include "ui/message_box.h"

namespace zentrail::ui {

namespace {

QAction* AddAction(QMenu* menu, const QString& text, const char* name) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    return action;
}

void OpenSettings(frmMain& window, const std::filesystem::path& configFile,
                  const SettingsTestOptions& tests) {
    // One dialog at a time: a second choice brings the open one forward.
    if (auto* open = window.findChild<SettingsDialog*>(); open && open->isVisible()) {
        open->raise();
        open->activateWindow();
        return;
    }
    SettingsDialog* dialog = nullptr;
    try {
        dialog = new SettingsDialog(configFile, tests, &window);
    } catch (const ConfigError& error) {
        MessageBox::Critical(&window, "Zentrail", QString::fromStdString(error.what()));
        return;
    }
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->show();
}

void OpenRunReports(frmMain& window, const std::filesystem::path& configFile) {
    std::filesystem::path folder;
    try {
        folder = RunReportsFolder(configFile);
    } catch (const std::filesystem::filesystem_error& error) {
        MessageBox::Critical(&window, "Zentrail",
                             QString::fromStdString("Cannot make the run reports folder: " +
                                                    std::string(error.what())));
        return;
    }
    const QString path = QString::fromStdString(folder.string());
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        MessageBox::Critical(&window, "Zentrail",
                             "No program on this computer opened the folder " + path);
}

}  // namespace

std::filesystem::path RunReportsFolder(const std::filesystem::path& configFile) {
    const std::filesystem::path folder =
        std::filesystem::absolute(configFile).parent_path() / "runs";
    std::filesystem::create_directories(folder);
    return folder;
}

void AddMainMenu(frmMain& window, const std::filesystem::path& configFile,
                 SettingsTestOptions tests) {
    QMenu* file = window.menuBar()->addMenu("&File");
    file->setObjectName("mnuFile");
    QObject::connect(AddAction(file, "&Settings…", "actSettings"), &QAction::triggered, &window,
                     [&window, configFile, tests] { OpenSettings(window, configFile, tests); });
    QObject::connect(AddAction(file, "&Open run reports folder", "actRunReports"),
                     &QAction::triggered, &window,
                     [&window, configFile] { OpenRunReports(window, configFile); });
    file->addSeparator();
    QObject::connect(AddAction(file, "E&xit", "actExit"), &QAction::triggered, &window,
                     [&window] { window.Exit(); });
    QMenu* help = window.menuBar()->addMenu("&Help");
    help->setObjectName("mnuHelp");
    QObject::connect(AddAction(help, "&About", "actAbout"), &QAction::triggered, &window,
                     [&window] { window.ShowAboutBox(); });
}

}  // namespace zentrail::ui
