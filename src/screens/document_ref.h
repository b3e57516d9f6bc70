#pragma once

#include <optional>
#include <string>

namespace zentrail {

// A listed document as the run report and the log name it.
struct DocumentRef {
    std::string identity{};  // the source's own key of the document, which outlives corrections
    std::string number{};
    std::string date{};
    std::string party{};
    std::optional<double> amountSent{};   // the voucher's party amount
    std::optional<double> sourceTotal{};  // the document's own total, where the listing has it
};

}  // namespace zentrail
