#pragma once

// Small readers over pugixml nodes shared by the master and voucher import.

#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace zentrail::sim {

// The trimmed text of the named child element; empty when there is none.
std::string ChildText(const pugi::xml_node& node, const char* child);

// The trimmed value of the named attribute; empty when there is none.
std::string AttributeText(const pugi::xml_node& node, const char* attribute);

// Tally's marker for a built-in value ("&#4; Primary") counts as no value at all where a
// reference may be left empty.
bool IsNoReference(std::string_view text, std::string_view builtIn);

}  // namespace zentrail::sim
