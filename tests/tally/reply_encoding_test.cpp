#include "tally/reply_encoding.h"

#include <gtest/gtest.h>

#include "tally/tally_exchange.h"

namespace zentrail {
namespace {

using namespace std::string_literals;

// "<R>" then a Tamil letter (U+0B95), the rupee sign (U+20B9) and a character beyond the basic
// plane (U+1F600), written out by hand in each encoding.
const std::string kUtf8 = "<R>\xE0\xAE\x95\xE2\x82\xB9\xF0\x9F\x98\x80";
const std::string kLe = "\xFF\xFE<\0R\0>\0\x95\x0B\xB9\x20\x3D\xD8\x00\xDE"s;
const std::string kBe = "\xFE\xFF\0<\0R\0>\x0B\x95\x20\xB9\xD8\x3D\xDE\x00"s;

TEST(ReplyEncoding, DecodesEveryFormTallyUses) {
    struct Case {
        const char* name;
        std::string body;
        const char* contentType;
        TextEncoding encoding;
        std::string text;
    };
    // The Tamil letter and the rupee sign alone: no ASCII, so no zero byte to go by.
    const std::string tamilRupee = "\xE0\xAE\x95\xE2\x82\xB9";
    const Case cases[] = {
        {"plain UTF-8", kUtf8, "text/xml", TextEncoding::Utf8, kUtf8},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + kUtf8, "", TextEncoding::Utf8, kUtf8},
        {"UTF-16LE with its mark", kLe, "text/xml; charset=utf-8", TextEncoding::Utf16Le, kUtf8},
        {"UTF-16BE with its mark", kBe, "", TextEncoding::Utf16Be, kUtf8},
        {"UTF-16LE told by its zero bytes", kLe.substr(2), "", TextEncoding::Utf16Le, kUtf8},
        {"UTF-16BE told by its zero bytes", kBe.substr(2), "", TextEncoding::Utf16Be, kUtf8},
        {"UTF-16BE told by the charset", kBe.substr(8, 4), "text/xml; charset=\"UTF-16BE\"",
         TextEncoding::Utf16Be, tamilRupee},
        {"UTF-16 without a mark is little-endian", kLe.substr(8, 4), "text/xml;charset=UTF-16",
         TextEncoding::Utf16Le, tamilRupee},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DetectReplyEncoding(c.body, c.contentType), c.encoding) << c.name;
        EXPECT_EQ(DecodeReplyText(c.body, c.contentType), c.text) << c.name;
    }
}

TEST(ReplyEncoding, BrokenUtf16BecomesReplacementCharacters) {
    // A lone high surrogate, then an odd byte at the end.
    const std::string body = "\xFF\xFE\x3D\xD8<\0\x41"s;
    EXPECT_EQ(DecodeReplyText(body, ""), "\xEF\xBF\xBD<\xEF\xBF\xBD");
}

TEST(ReplyEncoding, EncodesWhatItDecodes) {
    EXPECT_EQ(EncodeUtf16(kUtf8, TextEncoding::Utf16Le), kLe);
    EXPECT_EQ(EncodeUtf16(kUtf8, TextEncoding::Utf16Be), kBe);
}

// A reply classifies the same in every encoding and shape Tally answers in.
TEST(ReplyEncoding, EveryShapeAndEncodingClassifiesAsItsUtf8Twin) {
    struct Reply {
        const char* name;
        std::string body;
        Outcome outcome;
        std::string message;
    };
    const Reply replies[] = {
        {"bare response, created", "<RESPONSE><CREATED>1</CREATED><ERRORS>0</ERRORS></RESPONSE>",
         Outcome::Accepted, ""},
        {"envelope, created",
         "<ENVELOPE><HEADER><VERSION>1</VERSION><STATUS>1</STATUS></HEADER><BODY><DATA>"
         "<IMPORTRESULT><CREATED>1</CREATED><ALTERED>0</ALTERED><ERRORS>0</ERRORS>"
         "<EXCEPTIONS>0</EXCEPTIONS></IMPORTRESULT></DATA></BODY></ENVELOPE>",
         Outcome::Accepted, ""},
        {"envelope, altered",
         "<ENVELOPE><HEADER><STATUS>1</STATUS></HEADER><BODY><DATA><IMPORTRESULT>"
         "<CREATED>0</CREATED><ALTERED>1</ALTERED></IMPORTRESULT></DATA></BODY></ENVELOPE>",
         Outcome::AlreadyInTally, ""},
        {"line error with a Tamil name",
         "<RESPONSE><LINEERROR>Ledger '\xE0\xAE\x95\xE0\xAE\xBE' does not exist!</LINEERROR>"
         "<ERRORS>1</ERRORS></RESPONSE>",
         Outcome::TallyError, "\r\nLedger '\xE0\xAE\x95\xE0\xAE\xBE' does not exist!"},
        {"unknown request", "<RESPONSE>Unknown Request, cannot be processed</RESPONSE>",
         Outcome::TallyError, "\r\nTally could not read the request"},
        {"server is running", "<RESPONSE>TallyPrime Server is Running</RESPONSE>", Outcome::Unconfirmed,
         "The reply is not a Tally import result: <RESPONSE>TallyPrime Server is "
         "Running</RESPONSE>"},
    };
    struct Form {
        const char* name;
        std::string (*encode)(const std::string&);
        const char* contentType;
    };
    const Form forms[] = {
        {"UTF-8", [](const std::string& s) { return s; }, "text/xml; charset=utf-8"},
        {"UTF-8 with mark", [](const std::string& s) { return "\xEF\xBB\xBF" + s; }, "text/xml"},
        {"UTF-16LE", [](const std::string& s) { return EncodeUtf16(s, TextEncoding::Utf16Le); },
         "text/xml; charset=utf-16"},
        {"UTF-16BE", [](const std::string& s) { return EncodeUtf16(s, TextEncoding::Utf16Be); },
         "text/xml"},
        {"UTF-16LE without mark",
         [](const std::string& s) { return EncodeUtf16(s, TextEncoding::Utf16Le).substr(2); },
         "text/xml"},
    };
    for (const Reply& reply : replies) {
        for (const Form& form : forms) {
            HttpResult http{HttpResult::Status::Ok, 200, form.encode(reply.body), "",
                            form.contentType};
            ExchangeResult result = ClassifyExchange(http, RequestForm::Voucher);
            EXPECT_EQ(result.outcome, reply.outcome) << reply.name << " in " << form.name;
            EXPECT_EQ(result.message, reply.message) << reply.name << " in " << form.name;
            EXPECT_EQ(result.unreadableRequest, std::string(reply.name) == "unknown request")
                << reply.name << " in " << form.name;
            EXPECT_FALSE(result.transportFailure) << reply.name << " in " << form.name;
        }
    }
}

}  // namespace
}  // namespace zentrail
