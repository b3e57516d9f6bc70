#include "shell/config_writer.h"

#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "common/ascii.h"
#include "shell/platform.h"

namespace zentrail {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsYes(std::string_view text) { return ascii::Upper(std::string(TrimBlanks(text))) == "YES"; }

// What one known key should read as.
struct Wanted {
    const char* key;
    std::string text;
    bool trimmedOnRead;  // SERVER and PORT lose the blanks around their values
    bool absentMeansThis;
};

std::vector<Wanted> WantedValues(const Configuration& c) {
    const auto plain = [](const char* key, const std::string& text, bool trimmed = false) {
        return Wanted{key, text, trimmed, text.empty()};
    };
    // LEDGER_ID as written, unless the flag says otherwise; no line at all means YES.
    Wanted ledger{"LEDGER_ID", c.strLedgerId, false, false};
    if (c.blnLedgerId != IsYes(c.strLedgerId)) {
        ledger.absentMeansThis = c.blnLedgerId && c.strLedgerId.empty();
        ledger.text = c.blnLedgerId ? "YES" : "NO";
    }
    return {plain("SERVER", c.strTallyServer, true),
            plain("PORT", c.strTallyPort, true),
            plain("COMPANY", c.strCompany),
            plain("SQL_ODBC", c.strSqlOdbc),
            plain("SQL_USER", c.strSqlUser),
            plain("SQL_PASSWORD", c.strSqlPassword),
            ledger,
            plain("DEBTOR", c.strDebtorGroup),
            plain("CREDITOR", c.strCreditorGroup),
            plain("ENCODING", c.strEncoding)};
}

}  // namespace

std::string ConfigText(std::string_view present, const Configuration& config) {
    std::vector<Wanted> wanted = WantedValues(config);
    for (const Wanted& w : wanted)
        if (w.text.find_first_of("\r\n") != std::string::npos)
            throw ConfigError(std::string("Cannot write the configuration: the value of ") + w.key +
                              " holds a line break");
    // The file's lines with their own ends, and the known key each sets.
    struct Line {
        std::string_view whole;
        std::string_view text;
        std::string_view ending;
        size_t colon;
        size_t key;  // index into `wanted`; wanted.size() for any other line
    };
    std::vector<Line> lines;
    std::string_view lineEnd = "\n";
    for (size_t start = 0; start < present.size();) {
        size_t end = present.find('\n', start);
        end = end == std::string_view::npos ? present.size() : end + 1;
        Line line{
            present.substr(start, end - start), {}, {}, std::string_view::npos, wanted.size()};
        line.text = line.whole;
        if (line.text.ends_with('\n')) {
            line.text.remove_suffix(1);
            line.ending = "\n";
        }
        if (line.text.ends_with('\r')) {
            line.text.remove_suffix(1);
            line.ending = line.ending.empty() ? "\r" : "\r\n";
        }
        if (start == 0 && !line.ending.empty()) lineEnd = line.ending;
        const size_t bom = start == 0 && line.text.starts_with(kByteOrderMark) ? 3 : 0;
        start = end;
        // Keys split at the first colon, as the reader does.
        line.colon = line.text.find(':');
        if (line.colon != std::string_view::npos) {
            const std::string key =
                ascii::Upper(std::string(TrimBlanks(line.text.substr(bom, line.colon - bom))));
            line.key = 0;
            while (line.key < wanted.size() && key != wanted[line.key].key) ++line.key;
        }
        lines.push_back(line);
    }
    // The reader keeps the last line of a repeated key; the earlier ones stay as they are.
    std::vector<size_t> lastLine(wanted.size(), lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].key < wanted.size()) lastLine[lines[i].key] = i;

    std::string out;
    out.reserve(present.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (line.key == wanted.size() || lastLine[line.key] != i) {
            out += line.whole;
            continue;
        }
        const Wanted& w = wanted[line.key];
        std::string_view value = line.text.substr(line.colon + 1);
        if (w.trimmedOnRead) value = TrimBlanks(value);
        if (value == w.text) {
            out += line.whole;
            continue;
        }
        out += line.text.substr(0, line.colon + 1);
        out += w.text;
        out += line.ending;
    }
    for (size_t k = 0; k < wanted.size(); ++k) {
        if (lastLine[k] < lines.size() || wanted[k].absentMeansThis) continue;
        if (!out.empty() && out.back() != '\n') out += lineEnd;
        out += std::string(wanted[k].key) + ":" + wanted[k].text;
        out += lineEnd;
    }
    return out;
}

void WriteConfig(const std::filesystem::path& path, const Configuration& config) {
    const std::string where = path.string();
    std::string present;
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        // A file the program could not read is not written over.
        ReadConfig(path);
        std::ifstream file(path, std::ios::binary);
        present.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        if (file.bad()) throw ConfigError("Cannot read the configuration file " + where);
    }
    const std::string text = ConfigText(present, config);
    try {
        platform::ReplaceFile(path, text);
    } catch (const std::system_error& e) {
        throw ConfigError("Cannot write the configuration file " + where + ": " +
                          e.code().message());
    }
}

}  // namespace zentrail
