#pragma once

#include <pugixml.hpp>
#include <vector>

#include "tally-sim/book_records.h"

namespace zentrail::sim {

// The GSTDETAILS.LIST blocks directly under a master, in the order sent.
std::vector<GstDetail> ReadGstDetails(const pugi::xml_node& master);

}  // namespace zentrail::sim
