#pragma once

namespace zentrail {

// How long one query may run: long enough for the line queries of a wide date range on a busy
// server, while a query that hangs still ends in an error the operator sees.
inline constexpr int kCommandTimeoutSeconds = 9000;

}  // namespace zentrail
