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

int RateBand(double taxPercent) {
    if (taxPercent == 2.5 || taxPercent == 5) return 5;
    if (taxPercent == 6 || taxPercent == 12) return 12;
    if (taxPercent == 9 || taxPercent == 18) return 18;
    if (taxPercent == 14 || taxPercent == 14.5 || taxPercent == 28 || taxPercent == 29) return 28;
    return 0;
}

BandLedgers SalesBandLedgers(int band) {
    switch (band) {
        case 5:
            return {"GST Sales 5%", "CGST 2.5%", "SGST 2.5%", "IGST 5%", "UTGST 2.5%"};
        case 12:
            return {"GST Sales 12%", "CGST 6%", "SGST 6%", "IGST 12%", "UTGST 6%"};
        case 18:
            return {"GST Sales 18%", "CGST 9%", "SGST 9%", "IGST 18%", "UTGST 9%"};
        case 28:
            return {"GST Sales 28%", "CGST 14%", "SGST 14%", "IGST 28%", "UTGST 14%"};
        default:
            return {"GST Sales 0%", "", "", "", ""};
    }
}

}  // namespace zentrail
