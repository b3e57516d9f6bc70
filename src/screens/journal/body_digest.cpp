#include "screens/journal/body_digest.h"

#include <openssl/sha.h>

#include <array>

namespace zentrail {

std::string BodyDigest(std::string_view body) {
    std::array<unsigned char, SHA256_DIGEST_LENGTH> digest{};
    SHA256(reinterpret_cast<const unsigned char*>(body.data()), body.size(), digest.data());
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    text.reserve(digest.size() * 2);
    for (unsigned char byte : digest) {
        text += kHex[byte >> 4];
        text += kHex[byte & 0x0f];
    }
    return text;
}

}  // namespace zentrail
