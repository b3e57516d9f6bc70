#include "tally-sim/names.h"

namespace zentrail::sim {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string_view TrimName(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string NameKey(std::string_view text) {
    std::string_view trimmed = TrimName(text);
    std::string key(trimmed);
    for (char& c : key) c = Fold(c);
    return key;
}

bool SameName(std::string_view a, std::string_view b) { return NameKey(a) == NameKey(b); }

}  // namespace zentrail::sim
