#include "shell/tsql_translation.h"

#include <cstdio>
#include <optional>

#include "common/ascii.h"
#include "common/calendar.h"

namespace zentrail {
namespace {

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '#' || c == '$' || c == '@' || static_cast<unsigned char>(c) >= 0x80;
}

using ascii::IsBlank;
using ascii::IsDigit;
using ascii::Lower;

// Reads the idiom token by token from one position; any mismatch fails the whole match.
class Reader {
public:
    Reader(std::string_view text, size_t at) : text_(text), at_(at) {}
    size_t At() const { return at_; }

    void SkipBlanks() {
        while (at_ < text_.size() && IsBlank(text_[at_])) ++at_;
    }

    // A keyword or number as a whole word, any case.
    bool Word(std::string_view word) {
        SkipBlanks();
        if (text_.size() - at_ < word.size()) return false;
        for (size_t i = 0; i < word.size(); ++i)
            if (Lower(text_[at_ + i]) != Lower(word[i])) return false;
        size_t end = at_ + word.size();
        if (end < text_.size() && IsNameChar(text_[end])) return false;
        at_ = end;
        return true;
    }

    bool Char(char c) {
        SkipBlanks();
        if (at_ >= text_.size() || text_[at_] != c) return false;
        ++at_;
        return true;
    }

    // A column reference as written: name parts, bare or in brackets, joined by dots.
    std::optional<std::string_view> Column() {
        SkipBlanks();
        size_t begin = at_;
        for (;;) {
            if (at_ < text_.size() && text_[at_] == '[') {
                size_t close = at_ + 1;
                for (;;) {  // "]]" inside the brackets is a "]"
                    close = text_.find(']', close);
                    if (close == std::string_view::npos) return std::nullopt;
                    if (close + 1 >= text_.size() || text_[close + 1] != ']') break;
                    close += 2;
                }
                at_ = close + 1;
            } else {
                size_t start = at_;
                while (at_ < text_.size() && IsNameChar(text_[at_])) ++at_;
                if (at_ == start) return std::nullopt;
            }
            if (at_ >= text_.size() || text_[at_] != '.') break;
            ++at_;
        }
        return text_.substr(begin, at_ - begin);
    }

    std::optional<std::string_view> Operator() {
        SkipBlanks();
        for (std::string_view op : {">=", "<=", "<>", "!=", "=", "<", ">"}) {
            if (text_.substr(at_, op.size()) == op) {
                at_ += op.size();
                return op;
            }
        }
        return std::nullopt;
    }

    // 'MM/DD/YYYY' (one or two digits for month and day; '/', '-' or '.' as separator, the
    // workstation's date separator) as 'YYYY-MM-DD'.
    std::optional<std::string> MonthDayYearLiteral() {
        if (!Char('\'')) return std::nullopt;
        int month = 0, day = 0, year = 0;
        if (!Number(1, 2, month)) return std::nullopt;
        if (at_ >= text_.size()) return std::nullopt;
        char separator = text_[at_];
        if (separator != '/' && separator != '-' && separator != '.') return std::nullopt;
        ++at_;
        if (!Number(1, 2, day) || at_ >= text_.size() || text_[at_] != separator)
            return std::nullopt;
        ++at_;
        if (!Number(4, 4, year) || at_ >= text_.size() || text_[at_] != '\'') return std::nullopt;
        ++at_;
        if (!IsCalendarDate(year, month, day)) return std::nullopt;
        char iso[40];
        std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", year, month, day);
        return std::string(iso);
    }

private:
    bool Number(size_t minDigits, size_t maxDigits, int& value) {
        size_t start = at_;
        value = 0;
        while (at_ < text_.size() && IsDigit(text_[at_]) && at_ - start < maxDigits)
            value = value * 10 + (text_[at_++] - '0');
        return at_ - start >= minDigits && !(at_ < text_.size() && IsDigit(text_[at_]));
    }

    std::string_view text_;
    size_t at_;
};

// The translation of the idiom starting at `at`, and where the idiom ends.
std::optional<std::string> TranslateIdiomAt(std::string_view sql, size_t at, size_t& end) {
    Reader reader(sql, at);
    if (!reader.Word("CONVERT") || !reader.Char('(') || !reader.Word("DATETIME") ||
        !reader.Char(',') || !reader.Word("CONVERT") || !reader.Char('(') ||
        !reader.Word("VARCHAR") || !reader.Char('(') || !reader.Word("10") || !reader.Char(')') ||
        !reader.Char(','))
        return std::nullopt;
    std::optional<std::string_view> column = reader.Column();
    if (!column || !reader.Char(',') || !reader.Word("101") || !reader.Char(')') ||
        !reader.Char(')'))
        return std::nullopt;
    std::optional<std::string_view> op = reader.Operator();
    if (!op) return std::nullopt;
    std::optional<std::string> day = reader.MonthDayYearLiteral();
    if (!day) return std::nullopt;
    end = reader.At();
    std::string translated = "date(";
    translated.append(*column).append(") ").append(*op).append(" '").append(*day).append("'");
    return translated;
}

}  // namespace

std::string TranslateDayComparisons(std::string_view sql) {
    std::string out;
    out.reserve(sql.size());
    size_t i = 0;
    while (i < sql.size()) {
        char c = sql[i];
        if (c == '\'') {  // copy a literal whole, doubled quotes included
            size_t close = i + 1;
            for (;;) {
                close = sql.find('\'', close);
                if (close == std::string_view::npos || close + 1 >= sql.size() ||
                    sql[close + 1] != '\'')
                    break;
                close += 2;
            }
            size_t end = close == std::string_view::npos ? sql.size() : close + 1;
            out.append(sql.substr(i, end - i));
            i = end;
            continue;
        }
        if (c == '[') {  // a bracketed name is a name, whatever it holds ("]]" is a "]")
            size_t close = i + 1;
            for (;;) {
                close = sql.find(']', close);
                if (close == std::string_view::npos || close + 1 >= sql.size() ||
                    sql[close + 1] != ']')
                    break;
                close += 2;
            }
            size_t end = close == std::string_view::npos ? sql.size() : close + 1;
            out.append(sql.substr(i, end - i));
            i = end;
            continue;
        }
        if ((c == 'C' || c == 'c') && (i == 0 || !IsNameChar(sql[i - 1]))) {
            size_t end = 0;
            if (std::optional<std::string> translated = TranslateIdiomAt(sql, i, end)) {
                out += *translated;
                i = end;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

}  // namespace zentrail
