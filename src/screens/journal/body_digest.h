#pragma once

#include <string>
#include <string_view>

namespace zentrail {

// The SHA-256 of `body` in lower-case hex: tells a request sent again unchanged from one that
// changed.
std::string BodyDigest(std::string_view body);

}  // namespace zentrail
