// Times the sales window's Get Data, from the click on Get Data to a grid the operator can
// scroll, against `zentrail-cli getdata sales` on the same database file, in paired rounds that
// take turns: wall time, and the processor time of the window's process (all its threads) and
// of the command line's. After each window run the grid is scrolled to its end and to its middle,
// and the source must not have been asked anything more.
//
//   window_get_data_bench [--invoices N] [--rounds R]     (defaults 100000 and 5)
//
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include <sched.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "dms_demo.h"
#include "screens/screen_registry.h"
#include "shell/configuration.h"
#include "shell/source_database.h"
#include "tally/http_client.h"
#include "ui/date_field.h"
#include "ui/transfer_window.h"

namespace {

using Clock = std::chrono::steady_clock;
using zentrail::ui::TransferWindow;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// One timed run: its wall time, and the processor time (user and system) it took.
struct Timing {
    double wall = 0;
    double cpu = 0;
};

double CpuSeconds(const rusage& usage) {
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double OwnCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return CpuSeconds(usage);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Options {
    long invoices = 100000;
    int rounds = 5;
};
Options gOptions;

// What the source was asked, through every connection opened on it.
struct SourceCounts {
    std::atomic<long> opened{0};
    std::atomic<long> statements{0};  // queries run, streamed or prepared for their columns
};

// A source connection that counts what it is asked and passes it on.
class CountingConnection : public zentrail::SourceConnection {
public:
    CountingConnection(std::unique_ptr<zentrail::SourceConnection> inner, SourceCounts& counts)
        : inner_(std::move(inner)), counts_(counts) {}
    zentrail::RowSet Query(const std::string& sql) override {
        ++counts_.statements;
        return inner_->Query(sql);
    }
    void Stream(const std::string& sql, zentrail::RowSink& sink) override {
        ++counts_.statements;
        inner_->Stream(sql, sink);
    }
    void Interrupt() override { inner_->Interrupt(); }
    void SetWait(zentrail::SourceWait wait) override { inner_->SetWait(std::move(wait)); }
    std::vector<std::string> ColumnNames(const std::string& sql) override {
        ++counts_.statements;
        return inner_->ColumnNames(sql);
    }
    std::string ProductName() const override { return inner_->ProductName(); }

private:
    std::unique_ptr<zentrail::SourceConnection> inner_;
    SourceCounts& counts_;
};

// Pins this process, and every thread and child it starts later, to its first CPU, where it
// may choose between two or more. Returns the CPU, or -1.
int PinToOneCpu() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0) return -1;
    int first = -1, count = 0;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
        if (CPU_ISSET(cpu, &set)) {
            if (first < 0) first = cpu;
            ++count;
        }
    if (count < 2) return -1;
    CPU_ZERO(&set);
    CPU_SET(first, &set);
    return sched_setaffinity(0, sizeof set, &set) == 0 ? first : -1;
}

// Runs the program with `args`, stdout into `out`, stderr discarded. The child inherits this
// process's CPU.
Timing RunCommand(const std::vector<std::string>& args, const std::string& out) {
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        if (!std::freopen(out.c_str(), "w", stdout) || !std::freopen("/dev/null", "w", stderr))
            _exit(127);
        std::vector<char*> argv;
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double seconds = Seconds(Clock::now() - start);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("zentrail-cli getdata failed, status " + std::to_string(status));
    return {seconds, CpuSeconds(usage)};
}

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// Lets the event loop run until it has nothing left to do: posted events, the layouts and
// paints they cause, and a zero timer queued behind them.
void ProcessUntilIdle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QEventLoop loop;
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

class WindowGetDataBench : public QObject {
    Q_OBJECT

private:
    std::filesystem::path folder_;
    std::string database_;
    std::string config_;

    // One Get Data in a fresh sales window: the time from the click to a painted grid of every
    // row with the event loop idle. Then the grid is scrolled, untimed.
    Timing WindowRun(long& rows) {
        SourceCounts counts;
        zentrail::Configuration config = zentrail::ReadConfig(config_);
        zentrail::SourceDatabase db([&counts](const std::string& odbc, const std::string& user,
                                              const std::string& password) {
            ++counts.opened;
            return std::make_unique<CountingConnection>(
                zentrail::OpenSourceConnection(odbc, user, password), counts);
        });
        db.OpenConnection(config);
        zentrail::HttpClient tally;
        zentrail::ScreenContext context{config, db, tally, folder_};
        TransferWindow window(zentrail::CreateScreen("sales", context));
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.dtpFrom->setDate(QDate(2024, 4, 1));
        window.dtpTo->setDate(QDate(2024, 5, 31));
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) throw std::runtime_error("no window shown");
        ProcessUntilIdle();
        QTableView* grid = window.ssdbgItem;
        PaintCounter painted(grid->viewport());

        QSignalSpy finished(&window, &TransferWindow::RunFinished);
        QElapsedTimer timer;
        const double cpuBefore = OwnCpuSeconds();
        timer.start();
        QTest::mouseClick(window.cmdGetData, Qt::LeftButton);
        if (!finished.wait(600'000)) throw std::runtime_error("Get Data did not end");
        const int paintsAtEnd = painted.paints;
        ProcessUntilIdle();
        const Timing timing{static_cast<double>(timer.nsecsElapsed()) / 1e9,
                            OwnCpuSeconds() - cpuBefore};

        if (window.Screen().GetDataFailed())
            throw std::runtime_error("Get Data failed in the window");
        rows = grid->model()->rowCount();
        if (rows == 0 || rows != static_cast<long>(window.Screen().ssdbgItem.RowCount()))
            throw std::runtime_error("the grid does not show the listing");
        if (painted.paints == paintsAtEnd) throw std::runtime_error("the grid was not painted");

        // Scrolling reads the grid in memory, never the source.
        const long asked = counts.statements;
        const long opened = counts.opened;
        QScrollBar* bar = grid->verticalScrollBar();
        for (const int to : {bar->maximum(), bar->maximum() / 2}) {
            const int paintsBefore = painted.paints;
            bar->setValue(to);
            ProcessUntilIdle();
            if (painted.paints == paintsBefore)
                throw std::runtime_error("scrolling painted nothing");
        }
        bar->setValue(bar->maximum());
        ProcessUntilIdle();
        const int lastShown = grid->rowAt(grid->viewport()->height() - 1);
        if (lastShown != -1 && lastShown != rows - 1)
            throw std::runtime_error("the end of the grid is not the last row");
        if (counts.statements != asked || counts.opened != opened)
            throw std::runtime_error("scrolling asked the source again");
        return timing;
    }

    // `zentrail-cli getdata sales` of the same dates on the same file; its stdout into `out`.
    Timing CommandRun(const std::string& out) {
        return RunCommand({ZENTRAIL_CLI_PATH, "--config", config_, "getdata", "sales", "--from",
                           "2024-04-01", "--to", "2024-05-31"},
                          out);
    }

private slots:
    void initTestCase() {
        folder_ = std::filesystem::temp_directory_path() /
                  ("zentrail-window-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        database_ = (folder_ / "source.db").string();
        config_ = (folder_ / "Config.txt").string();
        zentrail::dms_demo::DemoOptions options;
        options.outPath = database_;
        options.invoices = gOptions.invoices;
        zentrail::dms_demo::GenerateDemoDatabase(options);
        std::ofstream(config_) << "SERVER:127.0.0.1\nPORT:9\nCOMPANY:Zentrail Demo\nSQL_ODBC:"
                               << database_ << "\nLEDGER_ID:YES\n";
    }

    void cleanupTestCase() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    void windowAgainstCommandLine() {
        // One untimed run of each first: the file in the page cache, and the two listings
        // compared by their row counts (the command line writes a header line, then a line a
        // row).
        const std::string csv = (folder_ / "listing.csv").string();
        CommandRun(csv);
        long csvLines = 0;
        {
            std::ifstream in(csv);
            for (std::string line; std::getline(in, line);) ++csvLines;
        }
        long rows = 0;
        WindowRun(rows);
        QCOMPARE(rows, csvLines - 1);

        std::vector<double> window, command, ratios, windowCpu, commandCpu, cpuRatios;
        for (int round = 0; round < gOptions.rounds; ++round) {
            // Which goes first alternates from round to round.
            Timing w, c;
            if (round % 2 == 0) {
                w = WindowRun(rows);
                c = CommandRun("/dev/null");
            } else {
                c = CommandRun("/dev/null");
                w = WindowRun(rows);
            }
            window.push_back(w.wall);
            command.push_back(c.wall);
            ratios.push_back(w.wall / c.wall);
            windowCpu.push_back(w.cpu);
            commandCpu.push_back(c.cpu);
            cpuRatios.push_back(w.cpu / c.cpu);
            std::printf(
                "round %d: window %.3f s, command line %.3f s, ratio %.3f (processor time %.3f s "
                "/ %.3f s, ratio %.3f)\n",
                round + 1, w.wall, c.wall, w.wall / c.wall, w.cpu, c.cpu, w.cpu / c.cpu);
            std::fflush(stdout);
        }
        std::printf(
            "%ld invoices, %ld rows: window %.3f s, command line %.3f s (medians of %d); median "
            "of %d paired ratios (window / command line) %.3f\n",
            gOptions.invoices, rows, Median(window), Median(command), gOptions.rounds,
            gOptions.rounds, Median(ratios));
        std::printf(
            "processor time: window %.3f s, command line %.3f s (medians); median of the paired "
            "ratios %.3f\n",
            Median(windowCpu), Median(commandCpu), Median(cpuRatios));
        std::fflush(stdout);
    }
};

}  // namespace

int main(int argc, char** argv) {
    // Our options are taken out; the rest go to QtTest.
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--invoices") == 0 && i + 1 < argc)
            gOptions.invoices = std::atol(argv[++i]);
        else if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
            gOptions.rounds = std::max(1, std::atoi(argv[++i]));
        else
            rest.push_back(argv[i]);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Before any thread starts, so the Get Data worker and the command line share the CPU.
    const int cpu = PinToOneCpu();
    if (cpu >= 0)
        std::printf("pinned: this process and the command line on CPU %d\n", cpu);
    else
        std::printf("not pinned: fewer than two CPUs to choose from\n");
    int restCount = static_cast<int>(rest.size());
    QApplication app(restCount, rest.data());
    WindowGetDataBench bench;
    return QTest::qExec(&bench, restCount, rest.data());
}

#include "window_get_data_bench.moc"
