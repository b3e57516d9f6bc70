#include "screens/document_rules.h"

#include "tally/xml_escape.h"

namespace zentrail {

std::string CustomerLedgerName(std::string_view rtrName, std::string_view rtrId, bool blnLedgerId) {
    std::string name = TrimBlanks(rtrName);
    if (blnLedgerId) name += "_" + TrimBlanks(rtrId);
    return name;
}

std::string CorrectStateName(std::string_view stateName) {
    if (stateName == "Andhra Pradesh (New)") return "Andhra Pradesh";
    if (stateName == "Chattisgarh") return "Chhattisgarh";
    if (stateName == "Pondicherry") return "Puducherry";
    return std::string(stateName);
}

}  // namespace zentrail
