#pragma once

// A program run to its end as a child of the benchmark: its wall time from spawn to exit and
// its peak memory.

#include <string>
#include <vector>

namespace zentrail::bench {

struct ChildRun {
    double seconds = 0;  // from spawn to exit
    int exitCode = -1;   // -1: ended by a signal
    long peakKiB = 0;    // ru_maxrss of the child
};

// Runs argv[0] with `argv`, its standard output and error to `outputPath`, and waits for it.
// The child inherits this process's CPU. Throws when it cannot be started.
ChildRun RunChild(const std::vector<std::string>& argv, const std::string& outputPath);

// This process's own peak memory so far (ru_maxrss), in KiB.
long OwnPeakKiB();

}  // namespace zentrail::bench
