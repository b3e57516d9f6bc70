#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "screens/screen_observer.h"
#include "screens/transfer_screen.h"

namespace zentrail {

// Shows a screen's progress on stderr: a redrawn bar on a terminal, plain lines otherwise.
// Message boxes go to stdout. The bar line never reaches the terminal's last column, so it
// redraws in place instead of wrapping; `columns` 0 reads the width at each redraw.
class CliProgress : public ScreenObserver {
public:
    CliProgress(std::FILE* progressOut, bool terminal, int columns = 0);
    void ProgressChanged(const Progress& progress) override;
    void ShowMessage(const ScreenMessage& message) override;
    void Logged(const LogRecord& record) override;
    // From now on log text goes to `out` as it is added, one line per log line.
    void PrintLogAsItGoes(std::FILE* out) { logOut_ = out; }
    void Finish();
    // Messages are held back until the run's log has been printed.
    void PrintMessages();

private:
    void DrawBar();
    Progress shown_;
    std::FILE* out_;
    bool terminal_;
    int columns_;
    long lastDecile_ = -1;
    bool barShown_ = false;
    std::vector<ScreenMessage> messages_;
    std::FILE* logOut_ = nullptr;
};

}  // namespace zentrail
