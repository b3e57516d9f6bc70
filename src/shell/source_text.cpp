#include "shell/source_text.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "common/utf8_text.h"

namespace zentrail {
namespace {

class Iconv {
public:
    Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Iconv() { iconv_close(handle_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    iconv_t Get() const { return handle_; }

private:
    iconv_t handle_;
};

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::string SourceBytesToUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    Iconv converter("UTF-8", "CP1252");
    std::string out;
    out.reserve(bytes.size() * 2);
    char buffer[1024];
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* to = buffer;
        size_t toLeft = sizeof buffer;
        const size_t done = iconv(converter.Get(), &in, &inLeft, &to, &toLeft);
        out.append(buffer, static_cast<size_t>(to - buffer));
        if (done != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        if (errno != EILSEQ && errno != EINVAL) throw std::runtime_error("iconv failed");
        // A byte Windows-1252 leaves unassigned: Windows maps it to the C1 control of the
        // same number, and so do we.
        AppendUtf8(out, static_cast<unsigned char>(*in));
        ++in;
        --inLeft;
    }
    return out;
}

}  // namespace zentrail
