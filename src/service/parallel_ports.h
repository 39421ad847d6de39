// One job per port, all at once: a production station programs or checks
// several modules, each on its own adapter, in the time of one.
#pragma once

#include <functional>
#include <vector>

#include "service/module_result.h"

namespace q5480 {

// Runs `job` for every port on a thread of its own and times it. `finished`
// runs on the calling thread for each result as it comes (in the order the
// ports finish), so that one writer takes them all. The results come back in
// the order of `ports`. A job that throws counts as failed with the
// exception's text as its reason.
std::vector<ModuleResult> RunOnPorts(const std::vector<int>& ports,
                                     const std::function<ModuleResult(int port)>& job,
                                     const std::function<void(const ModuleResult&)>& finished);

}  // namespace q5480
