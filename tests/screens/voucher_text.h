#pragma once

// Reading back the entries of a voucher request in tests.

#include <string>
#include <vector>

namespace zentrail::testing {

// The text of every <tag>...</tag> block, in order (blocks of one tag do not nest).
inline std::vector<std::string> Blocks(const std::string& text, const std::string& tag) {
    std::vector<std::string> blocks;
    const std::string open = "<" + tag + ">", close = "</" + tag + ">";
    for (size_t at = text.find(open); at != std::string::npos; at = text.find(open, at)) {
        size_t end = text.find(close, at);
        if (end == std::string::npos) break;
        blocks.push_back(text.substr(at + open.size(), end - at - open.size()));
        at = end + close.size();
    }
    return blocks;
}

// The text of the first <tag> element of `block`; "(none)" when it has none.
inline std::string Element(const std::string& block, const std::string& tag) {
    const std::string open = "<" + tag + ">", close = "</" + tag + ">";
    size_t at = block.find(open);
    if (at == std::string::npos) return "(none)";
    at += open.size();
    return block.substr(at, block.find(close, at) - at);
}

// "ledger amount" of every ledger entry of the voucher, in order.
inline std::vector<std::string> LedgerEntries(const std::string& request) {
    std::vector<std::string> entries;
    for (const std::string& block : Blocks(request, "LEDGERENTRIES.LIST"))
        entries.push_back(Element(block, "LEDGERNAME") + " " + Element(block, "AMOUNT"));
    return entries;
}

// "item amount ledger nature assessable" of every stock line of the voucher, in order.
inline std::vector<std::string> StockLines(const std::string& request) {
    std::vector<std::string> lines;
    for (const std::string& block : Blocks(request, "ALLINVENTORYENTRIES.LIST")) {
        std::string alloc = Blocks(block, "ACCOUNTINGALLOCATIONS.LIST").at(0);
        std::string line = Element(block, "STOCKITEMNAME") + " " + Element(block, "AMOUNT") + " " +
                           Element(alloc, "LEDGERNAME") + " " + Element(alloc, "GSTOVRDNNATURE") +
                           " " + Element(alloc, "GSTOVRDNASSESSABLEVALUE");
        lines.push_back(line);
    }
    return lines;
}

}  // namespace zentrail::testing
