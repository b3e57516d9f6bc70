#include "tally-sim/fault_plan.h"

namespace zentrail::sim {

FaultPlan::Decision FaultPlan::Next() {
    Decision decision;
    decision.number = ++count_;
    if (options_.maxRequests > 0) {
        if (decision.number > options_.maxRequests) {
            decision.fate = Fate::Refuse;
            return decision;
        }
        decision.last = decision.number == options_.maxRequests;
    }
    if (options_.dropEvery > 0 && decision.number % options_.dropEvery == 0)
        decision.fate = Fate::Drop;
    else if (options_.garbageEvery > 0 && decision.number % options_.garbageEvery == 0)
        decision.fate = Fate::Garbage;
    return decision;
}

}  // namespace zentrail::sim
