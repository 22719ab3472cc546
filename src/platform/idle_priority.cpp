#include "platform/idle_priority.h"

#include <pthread.h>
#include <sched.h>

namespace tarvelin {

void runThisThreadAtIdlePriority() {
    sched_param parameters{};
    // Failing, the thread goes on at the priority it has.
    ::pthread_setschedparam(::pthread_self(), SCHED_IDLE, &parameters);
}

}  // namespace tarvelin
