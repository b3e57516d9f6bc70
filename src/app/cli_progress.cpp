#include "app/cli_progress.h"

namespace zentrail {

CliProgress::CliProgress(const TransferScreen& screen, std::FILE* progressOut, bool terminal)
    : screen_(screen), out_(progressOut), terminal_(terminal) {}

void CliProgress::Changed(ScreenControl control) {
    if (control == ScreenControl::FrameCaption && screen_.fraPrg != lastCaption_) {
        lastCaption_ = screen_.fraPrg;
        lastDecile_ = -1;
        if (!terminal_ && !lastCaption_.empty()) std::fprintf(out_, "%s\n", lastCaption_.c_str());
    }
    if (control != ScreenControl::Progress && control != ScreenControl::ItemLabel) return;
    if (terminal_) {
        DrawBar();
        return;
    }
    const ProgressBar& bar = screen_.prgBar;
    // The item label follows the progress value, so report when it changes.
    if (control != ScreenControl::ItemLabel || bar.max <= 0 || bar.value <= 0) return;
    long decile = bar.value * 10 / bar.max;
    if (decile != lastDecile_) {
        lastDecile_ = decile;
        std::fprintf(out_, "  %ld/%ld %s\n", bar.value, bar.max, screen_.lblScreen.c_str());
    }
}

void CliProgress::DrawBar() {
    const ProgressBar& bar = screen_.prgBar;
    constexpr int kWidth = 30;
    int filled = bar.max > 0 ? static_cast<int>(bar.value * kWidth / bar.max) : 0;
    if (filled > kWidth) filled = kWidth;
    if (filled < 0) filled = 0;
    std::string line = "[" + std::string(filled, '#') + std::string(kWidth - filled, ' ') + "] ";
    line += std::to_string(bar.value) + "/" + std::to_string(bar.max) + " " + screen_.fraPrg;
    if (!screen_.lblScreen.empty()) line += ": " + screen_.lblScreen;
    if (line.size() > 110) line.resize(110);
    std::fprintf(out_, "\r\033[K%s", line.c_str());
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
