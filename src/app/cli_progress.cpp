#include "app/cli_progress.h"

#include <algorithm>

#include "common/printable_text.h"
#include "shell/platform.h"
#include "shell/terminal_text.h"

namespace zentrail {

CliProgress::CliProgress(std::FILE* progressOut, bool terminal, int columns)
    : out_(progressOut), terminal_(terminal), columns_(columns) {}

void CliProgress::ProgressChanged(const Progress& progress) {
    const bool newCaption = progress.caption != shown_.caption;
    const bool newDocument = progress.document != shown_.document;
    shown_ = progress;
    if (newCaption) {
        lastDecile_ = -1;
        if (!terminal_ && !progress.caption.empty())
            std::fprintf(out_, "%s\n", PrintableText(progress.caption, 200).c_str());
    }
    // The screen moves the bar, then names the document: showing on the name keeps the count and
    // the document together.
    if (!newDocument) return;
    if (terminal_) {
        DrawBar();
        return;
    }
    if (progress.total <= 0 || progress.current <= 0) return;
    long decile = progress.current * 10 / progress.total;
    if (decile != lastDecile_) {
        lastDecile_ = decile;
        std::fprintf(out_, "  %ld/%ld %s\n", progress.current, progress.total,
                     PrintableText(progress.document, 200).c_str());
    }
}

void CliProgress::DrawBar() {
    // One column stays free: writing into the last one makes many terminals wrap.
    const int columns = (columns_ > 0 ? columns_ : platform::TerminalColumns(out_)) - 1;
    if (columns < 1) return;
    const int width = std::min(30, std::max(0, (columns - 20) / 3));
    std::string line;
    if (width > 0) {
        long filled = shown_.total > 0 ? shown_.current * width / shown_.total : 0;
        filled = std::clamp(filled, 0L, static_cast<long>(width));
        line = "[" + std::string(filled, '#') + std::string(width - filled, ' ') + "] ";
    }
    line +=
        std::to_string(shown_.current) + "/" + std::to_string(shown_.total) + " " + shown_.caption;
    if (!shown_.document.empty()) line += ": " + shown_.document;
    std::fprintf(out_, "\r\033[K%s", FitColumns(line, static_cast<size_t>(columns)).c_str());
    std::fflush(out_);
    barShown_ = true;
}

void CliProgress::Finish() {
    if (terminal_ && barShown_) std::fprintf(out_, "\r\033[K");
    barShown_ = false;
}

void CliProgress::ShowMessage(const ScreenMessage& message) { messages_.push_back(message); }

void CliProgress::Logged(const LogRecord& record) {
    if (logOut_ == nullptr) return;
    // Log text begins each line with CR LF; printed, a line ends with LF.
    std::string lines;
    for (char c : LogLine(record))
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
