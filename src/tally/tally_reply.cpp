#include "tally/tally_reply.h"

#include <array>
#include <pugixml.hpp>

#include "common/printable_text.h"
#include "tally/number_text.h"

namespace zentrail {

namespace {

constexpr std::array<std::string_view, 10> kImportCounters = {
    "CREATED",  "ALTERED", "DELETED", "LASTVCHID", "LASTMID",
    "COMBINED", "IGNORED", "ERRORS",  "CANCELLED", "EXCEPTIONS"};

constexpr std::string_view kUnknownRequest = "Unknown Request";

std::string FirstChildText(const pugi::xml_node& node) {
    pugi::xml_node child = node.first_child();
    return child ? std::string(child.value()) : std::string();
}

}  // namespace

TallyReply ParseTallyReply(std::string_view text) {
    TallyReply reply;
    pugi::xml_document doc;
    pugi::xml_parse_result parsed =
        doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed || !doc.document_element()) return reply;
    reply.wellFormed = true;
    const pugi::xml_node root = doc.document_element();
    reply.unknownRequest =
        std::string_view(root.name()) == "RESPONSE" &&
        std::string_view(root.child_value()).find(kUnknownRequest) != std::string_view::npos;
    for (pugi::xpath_node hit : doc.select_nodes("//LINEERROR"))
        reply.lineErrors.push_back(FirstChildText(hit.node()));
    for (pugi::xpath_node hit : doc.select_nodes("//ALTERED"))
        reply.alteredTexts.push_back(FirstChildText(hit.node()));
    const std::pair<const char*, double*> counters[] = {
        {"//CREATED", &reply.created},   {"//ALTERED", &reply.altered},
        {"//COMBINED", &reply.combined}, {"//CANCELLED", &reply.cancelled},
        {"//ERRORS", &reply.errors},     {"//EXCEPTIONS", &reply.exceptions}};
    for (const auto& [path, total] : counters)
        for (pugi::xpath_node hit : doc.select_nodes(path))
            *total += ReadNumber(FirstChildText(hit.node()));
    reply.importResult = !reply.lineErrors.empty();
    for (std::string_view counter : kImportCounters) {
        if (reply.importResult) break;
        std::string path = "//" + std::string(counter);
        reply.importResult = !doc.select_nodes(path.c_str()).empty();
    }
    return reply;
}

std::string QuoteReply(std::string_view text, size_t limit) { return PrintableText(text, limit); }

}  // namespace zentrail
