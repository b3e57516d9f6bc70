#pragma once

#include <pugixml.hpp>

#include "tally-sim/books.h"
#include "tally-sim/import_outcome.h"

namespace zentrail::sim {

// Imports one VOUCHER element: checks its date, type, every ledger, stock item and godown it
// names and that its entries add up to zero, then creates it, replaces the voucher of the
// same REMOTEID, cancels or deletes it as its ACTION says.
ImportOutcome ImportVoucher(const pugi::xml_node& node, Books& books);

}  // namespace zentrail::sim
