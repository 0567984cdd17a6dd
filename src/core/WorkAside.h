#pragma once

#include <functional>

namespace gt {

// Runs `work` on a thread of its own and waits here until it is done. The
// wait takes the events of timers and the serial line, so that records
// arriving meanwhile are received, stamped and autosaved on time; the
// operator's keys and clicks wait until the work is over, so that no command
// starts in the middle of it. `work` must not touch what those events change.
void runAside(const std::function<void()> &work);

} // namespace gt
