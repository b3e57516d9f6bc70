#include "app/cli_progress.h"

#include <algorithm>

#include "common/printable_text.h"
#include "shell/platform.h"
#include "shell/terminal_text.h"

namespace zentrail {

CliProgress::CliProgress(const TransferScreen& screen, std::FILE* progressOut, bool terminal,
                         int columns)
    : screen_(screen), out_(progressOut), terminal_(terminal), columns_(columns) {}

void CliProgress::Changed(ScreenControl control) {
    if (control == ScreenControl::FrameCaption && screen_.fraPrg != lastCaption_) {
        lastCaption_ = screen_.fraPrg;
        lastDecile_ = -1;
        if (!terminal_ && !lastCaption_.empty())
            std::fprintf(out_, "%s\n", PrintableText(lastCaption_, 200).c_str());
    }
    if (control != ScreenControl::Progress && control != ScreenControl::ItemLabel) return;
    if (terminal_) {
        // The screen moves the bar, then names the document: drawing on the name keeps the
        // count and the document together.
        if (control == ScreenControl::ItemLabel) DrawBar();
        return;
    }
    const ProgressBar& bar = screen_.prgBar;
    // The item label follows the progress value, so report when it changes.
    if (control != ScreenControl::ItemLabel || bar.max <= 0 || bar.value <= 0) return;
    long decile = bar.value * 10 / bar.max;
    if (decile != lastDecile_) {
        lastDecile_ = decile;
        std::fprintf(out_, "  %ld/%ld %s\n", bar.value, bar.max,
                     PrintableText(screen_.lblScreen, 200).c_str());
    }
}

void CliProgress::DrawBar() {
    const ProgressBar& bar = screen_.prgBar;
    // One column stays free: writing into the last one makes many terminals wrap.
    const int columns = (columns_ > 0 ? columns_ : platform::TerminalColumns(out_)) - 1;
    if (columns < 1) return;
    const int width = std::min(30, std::max(0, (columns - 20) / 3));
    std::string line;
    if (width > 0) {
        long filled = bar.max > 0 ? bar.value * width / bar.max : 0;
        filled = std::clamp(filled, 0L, static_cast<long>(width));
        line = "[" + std::string(filled, '#') + std::string(width - filled, ' ') + "] ";
    }
    line += std::to_string(bar.value) + "/" + std::to_string(bar.max) + " " + screen_.fraPrg;
    if (!screen_.lblScreen.empty()) line += ": " + screen_.lblScreen;
    std::fprintf(out_, "\r\033[K%s", FitColumns(line, static_cast<size_t>(columns)).c_str());
    std::fflush(out_);
    barShown_ = true;
}

void CliProgress::Finish() {
    if (terminal_ && barShown_) std::fprintf(out_, "\r\033[K");
    barShown_ = false;
}

void CliProgress::ShowMessage(const ScreenMessage& message) { messages_.push_back(message); }

void CliProgress::Logged(const std::string& text) {
    if (logOut_ == nullptr) return;
    // Log text begins each line with CR LF; printed, a line ends with LF.
    std::string lines;
    for (char c : text)
        if (c != '\r' && !(c == '\n' && lines.empty())) lines += c;
    if (lines.empty()) return;
    Finish();
    std::fprintf(logOut_, "%s\n", lines.c_str());
    std::fflush(logOut_);
}

void CliProgress::PrintMessages() {
    Finish();
    for (const ScreenMessage& message : messages_)
        std::printf("%s: %s\n", message.title.c_str(), message.text.c_str());
    messages_.clear();
    std::fflush(stdout);
}

}  // namespace zentrail
