#pragma once

namespace tarvelin {

// Work done ahead on a helper thread at start runs at idle priority, the lowest weight the scheduler gives a
// thread (nice 19): on a two-core machine it must never delay the main thread or the X server, which answer
// each other many times before the first frame. As a thread cannot raise itself again, nothing may wait on
// such a thread for long or while holding a lock.
void runThisThreadAtIdlePriority();

}  // namespace tarvelin
