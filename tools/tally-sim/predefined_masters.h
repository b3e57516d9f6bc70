#pragma once

#include "tally-sim/books.h"

namespace zentrail::sim {

// Fills a new company with what Tally creates by itself: the primary and sub groups, the
// ledgers "Cash" and "Profit & Loss A/c", the godown "Main Location" and the predefined
// voucher types.
void AddPredefinedMasters(Books& books);

}  // namespace zentrail::sim
