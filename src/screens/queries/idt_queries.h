#pragma once

#include <string>

namespace zentrail {

// SQL texts of the inter-depot transfer screen. Dates are "MM/DD/YYYY" texts (SqlDateText).

// One row per transfer of Status 1 with the other depot (grid rows and grid columns).
std::string IdtHeaderQuery(const std::string& fromDate, const std::string& toDate);

// The distinct depots of the range, once per direction (any status).
std::string IdtDepotQuery(const std::string& fromDate, const std::string& toDate);

// Every transfer line with its tax pivot per line (null tax columns when it has no tax row).
std::string IdtLineQuery(const std::string& fromDate, const std::string& toDate);

}  // namespace zentrail
