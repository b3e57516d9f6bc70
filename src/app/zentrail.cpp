// zentrail: the desktop program.
#include <QApplication>
#include <QCommandLineParser>

#include "tally/http_client.h"
#include "ui/pictures.h"
#include "ui/program_start.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zentrail");
    QApplication::setWindowIcon(zentrail::ui::ProgramIcon());
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Zentrail: transfers the documents of the distributor database into Tally");
    parser.addHelpOption();
    QCommandLineOption config(
        "config", "configuration file (default: Config.txt beside the program)", "FILE");
    parser.addOption(config);
    parser.process(app);

    std::optional<std::string> configPath;
    if (parser.isSet(config)) configPath = parser.value(config).toStdString();
    zentrail::HttpClient tally;
    zentrail::ui::StartedProgram program;
    if (int status = zentrail::ui::StartProgram(configPath, tally, program); status != 0)
        return status;
    program.window->show();
    return QApplication::exec();
}
