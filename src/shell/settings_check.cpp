#include "shell/settings_check.h"

#include <array>
#include <cstdio>

namespace zentrail {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool IsIpv4(std::string_view text) {
    int parts = 0;
    size_t pos = 0;
    while (true) {
        size_t end = text.find('.', pos);
        std::string_view part = text.substr(pos, end == std::string_view::npos ? end : end - pos);
        if (part.empty() || part.size() > 3) return false;
        int value = 0;
        for (char c : part) {
            if (!IsDigit(c)) return false;
            value = value * 10 + (c - '0');
        }
        if (value > 255) return false;
        ++parts;
        if (end == std::string_view::npos) break;
        pos = end + 1;
    }
    return parts == 4;
}

// Counts the 16-bit groups of one side of "::"; an IPv4 tail counts as two. -1 when malformed.
int Ipv6Groups(std::string_view text, bool mayEndInIpv4) {
    if (text.empty()) return 0;
    int groups = 0;
    size_t pos = 0;
    while (true) {
        size_t end = text.find(':', pos);
        std::string_view group = text.substr(pos, end == std::string_view::npos ? end : end - pos);
        if (end == std::string_view::npos && mayEndInIpv4 &&
            group.find('.') != std::string_view::npos)
            return IsIpv4(group) ? groups + 2 : -1;
        if (group.empty() || group.size() > 4) return -1;
        for (char c : group)
            if (!IsHexDigit(c)) return -1;
        ++groups;
        if (end == std::string_view::npos) return groups;
        pos = end + 1;
    }
}

bool IsIpv6(std::string_view text) {
    size_t gap = text.find("::");
    if (gap == std::string_view::npos) return Ipv6Groups(text, true) == 8;
    if (text.find("::", gap + 1) != std::string_view::npos) return false;
    int before = Ipv6Groups(text.substr(0, gap), false);
    int after = Ipv6Groups(text.substr(gap + 2), true);
    return before >= 0 && after >= 0 && before + after <= 7;
}

bool IsHostName(std::string_view text) {
    if (text.empty() || text.size() > 253) return false;
    if (text.back() == '.') text.remove_suffix(1);  // a fully qualified name may end in "."
    bool allNumeric = true;
    size_t pos = 0;
    while (true) {
        size_t end = text.find('.', pos);
        std::string_view label = text.substr(pos, end == std::string_view::npos ? end : end - pos);
        if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-')
            return false;
        for (char c : label) {
            // Windows machine names may hold "_"; curl takes them.
            const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
            if (!letter && !IsDigit(c) && c != '-' && c != '_') return false;
            if (!IsDigit(c)) allNumeric = false;
        }
        if (end == std::string_view::npos) break;
        pos = end + 1;
    }
    // Only digits and dots is meant as an IPv4 address, and it is not one.
    return !allNumeric;
}

std::string_view TrimSpaces(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Position of the first control character (C0, DEL or C1), or npos. Values are UTF-8.
size_t FirstControl(std::string_view text, unsigned& code) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            code = c;
            return i;
        }
        if (c == 0xC2 && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            if (next >= 0x80 && next <= 0x9F) {
                code = next;
                return i;
            }
        }
    }
    return std::string_view::npos;
}

// The value as it can be shown on one line: C0 controls and DEL as \xNN, C1 as \uNNNN.
std::string Shown(std::string_view value) {
    std::string shown = "\"";
    for (size_t i = 0; i < value.size(); ++i) {
        const auto u = static_cast<unsigned char>(value[i]);
        char code[8];
        if (u < 0x20 || u == 0x7F) {
            std::snprintf(code, sizeof code, "\\x%02X", u);
            shown += code;
        } else if (u == 0xC2 && i + 1 < value.size() &&
                   static_cast<unsigned char>(value[i + 1]) <= 0x9F &&
                   static_cast<unsigned char>(value[i + 1]) >= 0x80) {
            std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned char>(value[++i]));
            shown += code;
        } else {
            shown += value[i];
        }
    }
    return shown + "\"";
}

}  // namespace

bool IsPortText(std::string_view text) {
    text = TrimSpaces(text);
    if (text.empty()) return false;
    long value = 0;
    for (char c : text) {
        if (!IsDigit(c)) return false;
        value = value * 10 + (c - '0');
        if (value > 65535) return false;
    }
    return value >= 1;
}

bool IsTallyHost(std::string_view text) {
    text = TrimSpaces(text);
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']')
        return IsIpv6(text.substr(1, text.size() - 2));
    return IsIpv4(text) || IsHostName(text);
}

namespace {

// The value without the blanks around it, in capitals.
std::string Word(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    std::string word(text.substr(first, text.find_last_not_of(" \t") - first + 1));
    for (char& c : word) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    return word;
}

}  // namespace

bool IsLedgerIdText(std::string_view text) {
    const std::string word = Word(text);
    return word.empty() || word == "YES" || word == "NO";
}

bool IsEncodingText(std::string_view text) {
    const std::string word = Word(text);
    return word.empty() || word == "UTF-8" || word == "UTF-16";
}

std::string ShownSource(std::string_view strSqlOdbc) {
    std::string masked;
    size_t pos = 0;
    while (pos < strSqlOdbc.size()) {
        size_t end = strSqlOdbc.find(';', pos);
        if (end == std::string_view::npos) end = strSqlOdbc.size();
        std::string_view attribute = strSqlOdbc.substr(pos, end - pos);
        const size_t equals = attribute.find('=');
        std::string key(TrimSpaces(attribute.substr(0, equals)));
        for (char& c : key) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        if (equals != std::string_view::npos && (key == "PWD" || key == "PASSWORD"))
            masked.append(attribute.substr(0, equals + 1)).append("****");
        else
            masked.append(attribute);
        if (end < strSqlOdbc.size()) masked += ';';
        pos = end + 1;
    }
    return Shown(masked);
}

std::optional<std::string> CheckSettings(const Configuration& config, SettingsUse use) {
    struct Value {
        const char* key;
        const std::string& text;
        bool secret;
    };
    const std::array<Value, 9> values = {{
        {"SERVER", config.strTallyServer, false},
        {"PORT", config.strTallyPort, false},
        {"COMPANY", config.strCompany, false},
        {"SQL_ODBC", config.strSqlOdbc, false},
        {"SQL_USER", config.strSqlUser, false},
        {"SQL_PASSWORD", config.strSqlPassword, true},
        {"DEBTOR", config.strDebtorGroup, false},
        {"CREDITOR", config.strCreditorGroup, false},
        {"ENCODING", config.strEncoding, false},
    }};
    for (const Value& value : values) {
        unsigned code = 0;
        const size_t at = FirstControl(value.text, code);
        if (at == std::string_view::npos) continue;
        char which[16];
        std::snprintf(which, sizeof which, "U+%04X", code);
        size_t position = 1;  // counted in characters, not bytes
        for (size_t i = 0; i < at; ++i)
            if ((static_cast<unsigned char>(value.text[i]) & 0xC0) != 0x80) ++position;
        // The password is never shown, not even in an error.
        return std::string(value.key) + " holds a control character (" + which + ") at position " +
               std::to_string(position) + (value.secret ? "" : " of " + Shown(value.text)) +
               "; write the value as plain text on one line";
    }
    if (!IsLedgerIdText(config.strLedgerId))
        return "LEDGER_ID " + Shown(config.strLedgerId) + " is neither YES nor NO";
    if (use == SettingsUse::kSourceOnly) return std::nullopt;
    if (!IsEncodingText(config.strEncoding))
        return "ENCODING " + Shown(config.strEncoding) + " is neither UTF-8 nor UTF-16";
    if (!IsTallyHost(config.strTallyServer))
        return "SERVER " + Shown(config.strTallyServer) +
               " is not a host name, an IPv4 address or an IPv6 address in brackets";
    if (!IsPortText(config.strTallyPort))
        return "PORT " + Shown(config.strTallyPort) + " is not a port number from 1 to 65535";
    return std::nullopt;
}

}  // namespace zentrail
