#include "platform/idle_priority.h"

#include <sys/resource.h>
#include <unistd.h>

namespace tarvelin {

void runThisThreadAtIdlePriority() {
    // Nice 19 rather than SCHED_IDLE: with SCHED_IDLE helpers the first frame came 1-3 ms later on a two-core
    // machine, most of it while the toolkit connects to the display. (The scheduler counts a processor that
    // runs only SCHED_IDLE threads as idle; how that slows the start was not pinned down.)
    // Failing, the thread goes on at the priority it has.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 19);
}

}  // namespace tarvelin
