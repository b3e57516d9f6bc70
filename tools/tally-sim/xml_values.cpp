#include "tally-sim/xml_values.h"

#include "tally-sim/names.h"

namespace zentrail::sim {

std::string ChildText(const pugi::xml_node& node, const char* child) {
    return std::string(TrimName(node.child(child).child_value()));
}

std::string AttributeText(const pugi::xml_node& node, const char* attribute) {
    return std::string(TrimName(node.attribute(attribute).value()));
}

bool IsNoReference(std::string_view text, std::string_view builtIn) {
    text = TrimName(text);
    if (text.empty()) return true;
    if (!text.empty() && text.front() == '\x04') text = TrimName(text.substr(1));
    return SameName(text, builtIn);
}

}  // namespace zentrail::sim
