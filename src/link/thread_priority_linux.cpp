#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include "link/thread_priority.h"

namespace q5480 {

void RaiseThreadPriority() {
  // A real-time class, else a better nice value; refusals are normal for an
  // unprivileged user.
  sched_param param{};
  param.sched_priority = sched_get_priority_min(SCHED_FIFO);
  if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0) return;
  [[maybe_unused]] int result = setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), -10);
}

void SetProgramPriority(ProgramPriority priority) {
  int nice = 0;
  switch (priority) {
    case ProgramPriority::Normal: nice = 0; break;
    case ProgramPriority::High: nice = -5; break;
    case ProgramPriority::RealTime: nice = -15; break;
  }
  [[maybe_unused]] int result = setpriority(PRIO_PROCESS, 0, nice);
}

FineTimerResolution::FineTimerResolution() = default;
FineTimerResolution::~FineTimerResolution() = default;

}  // namespace q5480
