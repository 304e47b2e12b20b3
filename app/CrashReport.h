#pragma once
// A minidump of the process when it crashes, for the user to send: thread stacks, the
// module list and the exception, no memory beyond that. It is written by a thread made
// at start-up for this alone, as a thread that has just faulted may not be able to
// make one, and its own stack may be what broke.

#include <windows.h>

namespace crashreport {

// Makes the thread; nothing is written until a crash asks for it.
void Start();
// From the crash guard, on the thread that is dying, once the hosted windows are back:
// waits up to 10 s for the dump. `info` is null for std::terminate and abort, whose
// own context stands in. A dump that cannot be written changes nothing else.
void Write(EXCEPTION_POINTERS* info);
// At a normal start: whether a crash since the last one left a report not yet shown;
// it counts as shown from now on.
bool TakeUnshownReport();

}  // namespace crashreport
