#include "tally-sim/gst_details.h"

#include "tally-sim/names.h"
#include "tally-sim/xml_values.h"
#include "tally/number_text.h"

namespace zentrail::sim {

std::vector<GstDetail> ReadGstDetails(const pugi::xml_node& master) {
    std::vector<GstDetail> details;
    for (pugi::xml_node block : master.children("GSTDETAILS.LIST")) {
        GstDetail detail;
        detail.applicableFrom = ChildText(block, "APPLICABLEFROM");
        detail.hsnCode = ChildText(block, "HSNCODE");
        detail.taxability = ChildText(block, "TAXABILITY");
        for (pugi::xml_node statewise : block.children("STATEWISEDETAILS.LIST")) {
            if (detail.state.empty()) detail.state = ChildText(statewise, "STATENAME");
            for (pugi::xml_node rateBlock : statewise.children("RATEDETAILS.LIST")) {
                GstRate rate;
                rate.head = ChildText(rateBlock, "GSTRATEDUTYHEAD");
                if (pugi::xml_node line = rateBlock.child("GSTRATE"))
                    rate.rate = ReadNumber(TrimName(line.child_value()));
                detail.rates.push_back(std::move(rate));
            }
        }
        details.push_back(std::move(detail));
    }
    return details;
}

}  // namespace zentrail::sim
