#pragma once

// The one line writer of masters and vouchers: one element per line, each line ending with
// CR LF, texts written as given (the builders escape before they write).

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "tally/tally_builder.h"

namespace zentrail {

// Appends lines to a text of its own (Take() hands it over) or to the caller's text.
class XmlLines {
public:
    XmlLines() : out_(&own_) {}
    explicit XmlLines(std::string& out) : out_(&out) {}
    XmlLines(const XmlLines&) = delete;
    XmlLines& operator=(const XmlLines&) = delete;

    // The pieces as one line.
    XmlLines& Add(std::initializer_list<std::string_view> pieces) {
        for (std::string_view piece : pieces) out_->append(piece);
        out_->append(kCrLf);
        return *this;
    }
    XmlLines& Add(std::string_view line) { return Add({line}); }
    // The line after a tab.
    XmlLines& Tab(std::string_view line) {
        *out_ += '\t';
        return Add(line);
    }
    // <tag>value</tag> as one line.
    XmlLines& Element(std::string_view tag, std::string_view value) {
        return Add({"<", tag, ">", value, "</", tag, ">"});
    }
    XmlLines& TabElement(std::string_view tag, std::string_view value) {
        *out_ += '\t';
        return Element(tag, value);
    }
    // Nothing for an empty value.
    XmlLines& ElementIfAny(std::string_view tag, std::string_view value) {
        return value.empty() ? *this : Element(tag, value);
    }
    XmlLines& TabElementIfAny(std::string_view tag, std::string_view value) {
        return value.empty() ? *this : TabElement(tag, value);
    }
    // A fragment as it is, with no line end of its own.
    XmlLines& Append(std::string_view fragment) {
        out_->append(fragment);
        return *this;
    }
    // The text written so far; only for a writer with a text of its own.
    std::string Take() { return std::move(own_); }

private:
    std::string own_;
    std::string* out_;
};

// Shorthands of the voucher builders, which write into their own text.
inline void AppendLine(std::string& out, std::initializer_list<std::string_view> pieces) {
    XmlLines(out).Add(pieces);
}
inline void AppendElement(std::string& out, std::string_view tag, std::string_view text) {
    XmlLines(out).Element(tag, text);
}

}  // namespace zentrail
