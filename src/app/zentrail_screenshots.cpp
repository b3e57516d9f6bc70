// zentrail-screenshots: opens the windows of the desktop program on a prepared configuration
// (demo database, running tally-sim), drives them as an operator would and saves pictures of
// them: the main window, the sales window after Get Data and after an export, the closing
// message and the about box.
#include <QApplication>
#include <QCommandLineParser>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>

#include "tally/http_client.h"
#include "ui/about_window.h"
#include "ui/date_field.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/on_screen.h"
#include "ui/pictures.h"
#include "ui/program_start.h"
#include "ui/transfer_window.h"

namespace {

using zentrail::ui::MessageBox;
using zentrail::ui::TransferWindow;

void Settle(int ms = 300) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The window as the display shows it, with the window manager's frame around it.
bool Save(QWidget* widget, const QDir& out, const QString& name) {
    QString path = out.filePath(name);
    zentrail::ui::ScreenLook look = zentrail::ui::WaitUntilPainted(*widget);
    if (!look.painted) {
        std::printf("NOT PAINTED %s: %s\n", qPrintable(path), qPrintable(look.description));
        return false;
    }
    Settle();
    bool saved =
        zentrail::ui::GrabFromScreen(*widget, zentrail::ui::ScreenArea::WithFrame).save(path);
    std::printf("%s %s\n", saved ? "saved" : "COULD NOT SAVE", qPrintable(path));
    return saved;
}

// Presses the button and waits until the run it starts has ended.
void Run(TransferWindow& window, QPushButton* button) {
    QEventLoop loop;
    QObject::connect(&window, &TransferWindow::RunFinished, &loop, &QEventLoop::quit);
    button->click();
    if (window.Running()) loop.exec();
}

TransferWindow* Open(zentrail::ui::frmMain& main, const QString& text) {
    QTreeWidget* tree = main.tvwMainMenu;
    QTreeWidgetItem* root = tree->topLevelItem(0);
    for (int i = 0; i < root->childCount(); ++i)
        if (root->child(i)->text(0) == text) {
            tree->setCurrentItem(root->child(i));
            emit tree->itemClicked(root->child(i), 0);
        }
    Settle();
    return main.OpenTransferWindow();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(zentrail::ui::ProgramIcon());
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption config("config", "configuration file", "FILE");
    QCommandLineOption out("out", "folder for the pictures", "DIR", "docs/screenshots");
    QCommandLineOption from("from", "first day of the sales range, yyyy-MM-dd", "DATE");
    QCommandLineOption to("to", "last day of the sales range, yyyy-MM-dd", "DATE");
    QCommandLineOption listingOnly("listing-only",
                                   "only list the sales of the range and say how long it took");
    parser.addOptions({config, out, from, to, listingOnly});
    parser.process(app);
    QDir folder(parser.value(out));
    folder.mkpath(".");

    zentrail::HttpClient tally;
    zentrail::ui::StartedProgram program;
    std::optional<std::string> configPath;
    if (parser.isSet(config)) configPath = parser.value(config).toStdString();
    {
        zentrail::ui::RecordShownBoxes startUp;
        if (int status = zentrail::ui::StartProgram(configPath, tally, program); status != 0) {
            std::fprintf(stderr, "%s\n", qPrintable(startUp.Boxes().back().text));
            return status;
        }
    }
    zentrail::ui::frmMain* main = program.window.get();
    main->show();
    bool ok = Save(main, folder, "main-window.png");

    if (parser.isSet(listingOnly)) {
        TransferWindow* sales = Open(*main, "Sale ");
        if (!sales) return 1;
        sales->dtpFrom->setDate(QDate::fromString(parser.value(from), Qt::ISODate));
        sales->dtpTo->setDate(QDate::fromString(parser.value(to), Qt::ISODate));
        QElapsedTimer listing;
        listing.start();
        Run(*sales, sales->cmdGetData);
        qint64 listed = listing.elapsed();
        QCoreApplication::processEvents();
        std::printf(
            "Get Data listed %lld rows of %lld columns: %lld ms to list, %lld ms until "
            "shown\n",
            static_cast<long long>(sales->Screen().ssdbgItem.RowCount()),
            static_cast<long long>(sales->Screen().ssdbgItem.ColumnCount()),
            static_cast<long long>(listed), static_cast<long long>(listing.elapsed()));
        return Save(sales, folder, "sales-listing.png") ? 0 : 1;
    }

    // The stock items first, so the sales vouchers find them.
    TransferWindow* items = Open(*main, "Item");
    if (!items) return 1;
    Run(*items, items->cmdGetData);
    MessageBox::SetNextAnswer(QMessageBox::Ok);
    Run(*items, items->cmdExport);
    items->close();
    Settle();

    TransferWindow* sales = Open(*main, "Sale ");
    if (!sales) return 1;
    if (parser.isSet(from))
        sales->dtpFrom->setDate(QDate::fromString(parser.value(from), Qt::ISODate));
    if (parser.isSet(to)) sales->dtpTo->setDate(QDate::fromString(parser.value(to), Qt::ISODate));
    QElapsedTimer listing;
    listing.start();
    Run(*sales, sales->cmdGetData);
    std::printf("Get Data listed %lld rows of %lld columns in %lld ms\n",
                static_cast<long long>(sales->Screen().ssdbgItem.RowCount()),
                static_cast<long long>(sales->Screen().ssdbgItem.ColumnCount()),
                static_cast<long long>(listing.elapsed()));
    ok &= Save(sales, folder, "sales-after-get-data.png");
    // The closing message as the operator sees it, over the window that ran the export.
    bool closingSaved = false;
    zentrail::ui::WhenNextModalShown([&](QWidget& box) {
        closingSaved = Save(&box, folder, "closing-message.png");
        box.close();
    });
    Run(*sales, sales->cmdExport);
    ok &= closingSaved;
    ok &= Save(sales, folder, "sales-after-export.png");
    sales->close();
    Settle();

    auto* about = new zentrail::ui::frmAbout(main);
    about->setWindowModality(Qt::WindowModal);
    about->show();
    ok &= Save(about, folder, "about.png");
    about->close();
    return ok ? 0 : 1;
}
