#pragma once

#include <httplib.h>

#include <functional>
#include <string>

#include "tally-sim/fault_plan.h"
#include "tally-sim/reply_text.h"
#include "tally-sim/request_recorder.h"
#include "tally-sim/simulated_tally.h"

namespace zentrail::sim {

// The HTTP face of the simulator: POST on any path is an import request, GET /books shows
// the books. Applies the fault plan to every POST.
class SimHttpServer {
public:
    // `onLastRequest` runs once the request that reaches the request limit is done.
    SimHttpServer(SimulatedTally& tally, FaultOptions faults, std::function<void()> onLastRequest,
                  ReplyShape shape = ReplyShape::Response,
                  ReplyEncoding encoding = ReplyEncoding::Utf8);

    // Binds and listens; port 0 takes a free port. Gives the port, or -1 when binding failed.
    int Bind(const std::string& host, int port);
    // Serves until Stop; returns false when serving failed.
    bool Run();
    void Stop();
    // Every POST body is kept by `recorder` before it is handled; nullptr keeps none.
    void SetRecorder(RequestRecorder* recorder) { recorder_ = recorder; }

private:
    void HandlePost(const httplib::Request& request, httplib::Response& response);

    SimulatedTally& tally_;
    FaultPlan plan_;
    std::function<void()> onLastRequest_;
    ReplyShape shape_;
    ReplyEncoding encoding_;
    RequestRecorder* recorder_ = nullptr;
    httplib::Server server_;
    int port_ = -1;
};

}  // namespace zentrail::sim
