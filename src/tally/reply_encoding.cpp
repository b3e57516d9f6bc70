#include "tally/reply_encoding.h"

#include <algorithm>
#include <optional>

#include "common/ascii.h"
#include "common/utf8_text.h"

namespace zentrail {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr char32_t kReplacement = 0xFFFD;
// Enough code units to tell ASCII markup in UTF-16 from UTF-8 text.
constexpr size_t kPairsLookedAt = 64;

// The charset named in a Content-Type header, lower case, without quotes.
std::string Charset(std::string_view contentType) {
    const std::string lower = ascii::Lower(contentType);
    size_t at = lower.find("charset=");
    if (at == std::string::npos) return {};
    std::string value = lower.substr(at + 8);
    value = value.substr(0, value.find(';'));
    value.erase(std::remove_if(value.begin(), value.end(),
                               [](char c) { return c == '"' || c == '\'' || c == ' '; }),
                value.end());
    return value;
}

// XML in UTF-8 holds no zero byte, while the ASCII of markup in UTF-16 has one in every other
// place: in the second of each pair little-endian, in the first big-endian.
std::optional<TextEncoding> ByZeroBytes(std::string_view body) {
    size_t pairs = std::min(body.size() / 2, kPairsLookedAt);
    if (pairs == 0) return std::nullopt;
    size_t zeroFirst = 0, zeroSecond = 0;
    for (size_t i = 0; i < pairs; ++i) {
        zeroFirst += body[2 * i] == '\0' && body[2 * i + 1] != '\0';
        zeroSecond += body[2 * i] != '\0' && body[2 * i + 1] == '\0';
    }
    if (zeroFirst == 0 && zeroSecond == 0) return std::nullopt;
    return zeroSecond >= zeroFirst ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
}

char16_t Unit(std::string_view bytes, size_t at, TextEncoding encoding) {
    auto lo = static_cast<unsigned char>(bytes[at]);
    auto hi = static_cast<unsigned char>(bytes[at + 1]);
    if (encoding == TextEncoding::Utf16Be) std::swap(lo, hi);
    return static_cast<char16_t>(lo | (hi << 8));
}

void AppendUnit(std::string& out, char16_t unit, TextEncoding encoding) {
    char lo = static_cast<char>(unit & 0xFF);
    char hi = static_cast<char>(unit >> 8);
    if (encoding == TextEncoding::Utf16Be) std::swap(lo, hi);
    out.push_back(lo);
    out.push_back(hi);
}

std::string DecodeUtf16(std::string_view bytes, TextEncoding encoding) {
    std::string out;
    out.reserve(bytes.size() / 2);
    size_t i = 0;
    while (i + 1 < bytes.size()) {
        char16_t unit = Unit(bytes, i, encoding);
        i += 2;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < bytes.size()) {
            char16_t next = Unit(bytes, i, encoding);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                i += 2;
                AppendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (next - 0xDC00));
                continue;
            }
        }
        AppendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : char32_t(unit));
    }
    // An odd byte at the end is half a character.
    if (i < bytes.size()) AppendUtf8(out, kReplacement);
    return out;
}

}  // namespace

TextEncoding DetectReplyEncoding(std::string_view body, std::string_view contentType) {
    if (body.substr(0, 3) == kUtf8Mark) return TextEncoding::Utf8;
    if (body.substr(0, 2) == kUtf16LeMark) return TextEncoding::Utf16Le;
    if (body.substr(0, 2) == kUtf16BeMark) return TextEncoding::Utf16Be;
    if (std::optional<TextEncoding> found = ByZeroBytes(body)) return *found;
    const std::string charset = Charset(contentType);
    if (charset == "utf-16be") return TextEncoding::Utf16Be;
    // Without a mark, UTF-16 is little-endian: Tally runs on Windows.
    if (charset == "utf-16" || charset == "utf-16le" || charset == "unicode")
        return TextEncoding::Utf16Le;
    return TextEncoding::Utf8;
}

std::string DecodeReplyText(std::string_view body, std::string_view contentType) {
    switch (DetectReplyEncoding(body, contentType)) {
        case TextEncoding::Utf8:
            if (body.substr(0, 3) == kUtf8Mark) body.remove_prefix(3);
            return std::string(body);
        case TextEncoding::Utf16Le:
            if (body.substr(0, 2) == kUtf16LeMark) body.remove_prefix(2);
            return DecodeUtf16(body, TextEncoding::Utf16Le);
        case TextEncoding::Utf16Be:
            if (body.substr(0, 2) == kUtf16BeMark) body.remove_prefix(2);
            return DecodeUtf16(body, TextEncoding::Utf16Be);
    }
    return std::string(body);
}

std::string EncodeUtf16(std::string_view utf8, TextEncoding encoding) {
    std::string out;
    out.reserve(utf8.size() * 2 + 2);
    AppendUnit(out, 0xFEFF, encoding);
    size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t c = DecodeUtf8(utf8, pos);
        if (c == kInvalidUtf8) c = kReplacement;
        if (c >= 0x10000) {
            c -= 0x10000;
            AppendUnit(out, static_cast<char16_t>(0xD800 + (c >> 10)), encoding);
            AppendUnit(out, static_cast<char16_t>(0xDC00 + (c & 0x3FF)), encoding);
        } else {
            AppendUnit(out, static_cast<char16_t>(c), encoding);
        }
    }
    return out;
}

std::string EncodeRequest(std::string_view utf8, TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? std::string(utf8) : EncodeUtf16(utf8, encoding);
}

std::string_view ContentTypeOf(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? kXmlUtf8 : kXmlUtf16;
}

}  // namespace zentrail
