#pragma once
// A tool for finding where the user-interface thread waits: with VANTREL_STALL_TRACE=1
// in the environment, a thread watches the capture ticks and, when none came for
// 400 ms, writes to the log where the thread is and which of our functions lie on its
// stack (as module+offset, to be looked up in the program's symbols).

namespace stalltrace {

// From the user-interface thread, once the log is started.
void StartIfAsked();

}  // namespace stalltrace
