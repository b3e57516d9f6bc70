#include "cli_export.h"

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace zentrail::bench {

namespace fs = std::filesystem;

namespace {

// Fails with the end of a child's output.
[[noreturn]] void FailWithLog(const std::string& what, const fs::path& log) {
    std::ifstream in(log);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.size() > 2000) text = "..." + text.substr(text.size() - 2000);
    throw std::runtime_error(what + "; its output ends:\n" + text);
}

}  // namespace

Workspace::Workspace()
    : path_(fs::temp_directory_path() / ("zentrail-screen-cost-" + std::to_string(::getpid()))) {
    fs::create_directories(path_);
}

Workspace::~Workspace() {
    std::error_code ignored;  // a folder left behind harms nothing
    fs::remove_all(path_, ignored);
}

Database::Database(const Workspace& work, long invoices)
    : invoices_(invoices), path_(work / ("demo-" + std::to_string(invoices) + ".db")) {
    const fs::path log = path_.string() + ".log";
    const ChildRun run =
        RunChild({DMS_DEMO_PATH, "--out", path_.string(), "--invoices", std::to_string(invoices)},
                 log.string());
    if (run.exitCode != 0) FailWithLog("dms-demo failed", log);
}

Database::~Database() {
    std::error_code ignored;
    fs::remove(path_, ignored);
}

CliExport::CliExport(const Workspace& work, std::string screen)
    : screen_(std::move(screen)),
      folder_(work / ("run-" + screen_)),
      config_(folder_ / "Config.txt"),
      log_(work / (screen_ + ".log")) {}

void CliExport::Save(const Database& db, const fs::path& folder) const {
    WriteConfig(db, 9);  // no server is asked
    Spawn({"--save-requests", folder.string(), "--no-post"});
}

ChildRun CliExport::Run(const Database& db, int port) const {
    WriteConfig(db, port);
    return Spawn({});
}

void CliExport::WriteConfig(const Database& db, int port) const {
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    std::ofstream out(config_);
    out << "SERVER:127.0.0.1\nPORT:" << port
        << "\nCOMPANY:Zentrail Demo Traders\nSQL_ODBC:" << db.Path().string()
        << "\nLEDGER_ID:YES\n";
    if (!out.flush()) throw std::runtime_error("cannot write " + config_.string());
}

ChildRun CliExport::Spawn(const std::vector<std::string>& extra) const {
    std::vector<std::string> argv = {ZENTRAIL_CLI_PATH, "--config", config_.string(), "export",
                                     screen_};
    // The items have no dates.
    if (screen_ != "item") argv.insert(argv.end(), {"--from", "2024-04-01", "--to", "2024-05-31"});
    argv.insert(argv.end(), extra.begin(), extra.end());
    const ChildRun run = RunChild(argv, log_.string());
    if (run.exitCode != 0 && run.exitCode != 1)
        FailWithLog(
            "zentrail-cli export " + screen_ + " ended with " + std::to_string(run.exitCode), log_);
    return run;
}

SavedRequests::SavedRequests(const Workspace& work, const CliExport& exporter, const Database& db,
                             const std::string& name)
    : folder_(work / ("requests-" + name)) {
    exporter.Save(db, folder_);
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_))
        files_.emplace(std::stol(entry.path().filename().string()), entry.path());
}

SavedRequests::~SavedRequests() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

std::vector<std::string> SavedRequests::Bodies() const {
    std::vector<std::string> bodies;
    bodies.reserve(files_.size());
    for (const auto& [number, path] : files_) {
        std::ifstream in(path, std::ios::binary);
        bodies.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) throw std::runtime_error("cannot read " + path.string());
    }
    return bodies;
}

}  // namespace zentrail::bench
