#pragma once

namespace zentrail {

// How long one query may run, as the source connection was always set up.
inline constexpr int kCommandTimeoutSeconds = 9000;

}  // namespace zentrail
