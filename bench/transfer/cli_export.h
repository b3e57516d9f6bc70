#pragma once

// The dms-demo and zentrail-cli programs run as child processes, as an operator runs them, in a
// folder of the benchmark's own.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "child_run.h"

namespace zentrail::bench {

// A new folder in the temporary folder, removed with everything in it.
class Workspace {
public:
    Workspace();
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// A demo database written by the dms-demo program, so that this process stays small.
class Database {
public:
    Database(const Workspace& work, long invoices);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    long Invoices() const { return invoices_; }
    const std::filesystem::path& Path() const { return path_; }

private:
    long invoices_;
    std::filesystem::path path_;
};

// One screen's `zentrail-cli export` of the demo's two months: a configuration naming the
// database and the server, and the whole process. Every run starts in a new folder, so that its
// journal and run report (kept beside the configuration) are a first run's. Throws when the
// export could not run (an exit status above 1; 1 means documents that need attention, which
// the demo holds on purpose).
class CliExport {
public:
    CliExport(const Workspace& work, std::string screen);

    // Saves the requests of `db`'s export into `folder`, posting nothing.
    void Save(const Database& db, const std::filesystem::path& folder) const;

    // The export of `db` into the server at `port`.
    ChildRun Run(const Database& db, int port) const;

private:
    void WriteConfig(const Database& db, int port) const;
    ChildRun Spawn(const std::vector<std::string>& extra) const;

    std::string screen_;
    std::filesystem::path folder_;
    std::filesystem::path config_;
    std::filesystem::path log_;
};

// The request bodies of an export, saved as files, in the order sent; removed with the object.
class SavedRequests {
public:
    SavedRequests(const Workspace& work, const CliExport& exporter, const Database& db,
                  const std::string& name);
    ~SavedRequests();
    SavedRequests(const SavedRequests&) = delete;
    SavedRequests& operator=(const SavedRequests&) = delete;

    size_t Count() const { return files_.size(); }
    std::vector<std::string> Bodies() const;

private:
    std::filesystem::path folder_;
    std::map<long, std::filesystem::path> files_;  // by the number the name starts with
};

}  // namespace zentrail::bench
