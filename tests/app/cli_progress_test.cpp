// The progress line on a terminal: it fits the width, so it redraws in place, and it shows the
// count with the document that belongs to it.

#include "app/cli_progress.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/utf8_text.h"
#include "screens/sales_screen.h"
#include "shell/terminal_text.h"
#include "tally/http_client.h"

namespace zentrail {
namespace {

// What a CliProgress writes, split into the frames it draws.
class CapturedTerminal {
public:
    CapturedTerminal() : file_(std::tmpfile()) {
        if (!file_) throw std::runtime_error("cannot create a temporary file");
    }
    ~CapturedTerminal() { std::fclose(file_); }
    std::FILE* File() { return file_; }
    std::vector<std::string> Frames() {
        std::fflush(file_);
        std::rewind(file_);
        std::string all;
        char chunk[4096];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file_)) > 0;) all.append(chunk, n);
        std::fseek(file_, 0, SEEK_END);  // the progress goes on writing at the end
        std::vector<std::string> frames;
        const std::string redraw = "\r\033[K";
        for (size_t at = all.find(redraw); at != std::string::npos;) {
            const size_t next = all.find(redraw, at + redraw.size());
            frames.push_back(all.substr(at + redraw.size(), next == std::string::npos
                                                                ? std::string::npos
                                                                : next - at - redraw.size()));
            at = next;
        }
        return frames;
    }

private:
    std::FILE* file_;
};

TEST(CliProgress, FitsTheTerminalAndKeepsCountAndDocumentTogether) {
    const std::vector<std::string> labels = {
        "INV-0001",
        "Shri Venkateshwara Provision Stores and General Merchants, Main Bazaar Road, Tirupati",
        "\xE0\xAE\x9A\xE0\xAF\x86\xE0\xAE\xA9\xE0\xAF\x8D\xE0\xAE\xA9\xE0\xAF\x88 "  // Tamil
        "\xE5\xA4\xA7\xE9\x98\xAA\xE5\x95\x86\xE5\xBA\x97\xE5\xA4\xA7\xE9\x98\xAA\xE5\x95\x86"
        "\xE5\xBA\x97\xE5\xA4\xA7\xE9\x98\xAA\xE5\x95\x86\xE5\xBA\x97\xE5\xA4\xA7\xE9\x98\xAA"
        "\xE5\x95\x86\xE5\xBA\x97\xE5\xA4\xA7\xE9\x98\xAA\xE5\x95\x86\xE5\xBA\x97 \xF0\x9F\x98\x80"
        "\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80",
        "Bad\x1B[2J\r\nname\x07 with controls \xE9",
    };
    for (int columns : {80, 40, 10}) {
        CapturedTerminal terminal;
        CliProgress progress(terminal.File(), true, columns);
        Progress shown{.total = static_cast<long>(labels.size()), .caption = "Importing Sales"};
        for (size_t i = 0; i < labels.size(); ++i) {
            shown.current = static_cast<long>(i + 1);
            progress.ProgressChanged(shown);  // the label still names the last one
            shown.document = labels[i];
            progress.ProgressChanged(shown);
        }
        const std::vector<std::string> frames = terminal.Frames();
        ASSERT_EQ(frames.size(), labels.size()) << columns;
        for (size_t i = 0; i < frames.size(); ++i) {
            const std::string& frame = frames[i];
            EXPECT_TRUE(IsValidUtf8(frame)) << frame;
            EXPECT_LE(DisplayColumns(frame), static_cast<size_t>(columns - 1)) << frame;
            for (char c : frame) EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20) << frame;
            const std::string count = std::to_string(i + 1) + "/" + std::to_string(labels.size());
            if (columns >= 40) {
                EXPECT_NE(frame.find(count + " Importing Sales: " + labels[i].substr(0, 3)),
                          std::string::npos)
                    << frame;
            }
        }
        if (columns == 80) {
            // A bar of 19 cells at 80 columns, a quarter filled.
            EXPECT_EQ(frames[0], "[" + std::string(4, '#') + std::string(15, ' ') +
                                     "] 1/4 Importing Sales: INV-0001");
            EXPECT_EQ(DisplayColumns(frames[1]), 79u);
            EXPECT_GE(DisplayColumns(frames[2]), 78u) << "wide characters count two";
        }
    }
}

TEST(CliProgress, FitColumnsCutsBetweenCharacters) {
    struct Case {
        std::string text;
        size_t columns;
        std::string fitted;
    };
    const Case cases[] = {
        {"abcdef", 3, "abc"},
        {"abc", 10, "abc"},
        {"\xE5\xA4\xA7\xE9\x98\xAA", 3, "\xE5\xA4\xA7"},  // 2 + 2 > 3
        {"a\xF0\x9F\x98\x80"
         "b",
         2, "a"},  // emoji takes two
        {"e\xCC\x81"
         "x",
         1, "e\xCC\x81"},  // the accent stays
        {"\xE0\xAE\x9A\xE0\xAF\x8D\xE0\xAE\x9A", 1, "\xE0\xAE\x9A\xE0\xAF\x8D"},  // Tamil virama
        {"a\x1B[0mb", 5, "a[0mb"},
        {"caf\xE9", 10, "caf\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) EXPECT_EQ(FitColumns(c.text, c.columns), c.fitted) << c.text;
}

}  // namespace
}  // namespace zentrail
