#pragma once

#include <pugixml.hpp>

#include "tally-sim/book_records.h"
#include "tally-sim/books.h"
#include "tally-sim/import_outcome.h"

namespace zentrail::sim {

// Imports one master element (LEDGER, GROUP, STOCKITEM ...) of the given kind: checks its
// names and references against the books and adds it, or says why Tally would refuse it.
ImportOutcome ImportMaster(const pugi::xml_node& node, MasterKind kind, Books& books);

}  // namespace zentrail::sim
