#pragma once
// Threads for calls that may wait on another program. Making one costs a good part
// of a millisecond under Wine, which a capture would wait for: so a thread is kept a
// while after its call, and a call goes to one that is idle, or to a new one when all
// are busy (each busy one waits on a program that hangs).

namespace hosting {

using Work = void (*)(void* argument);

// Runs `work(argument)` on a worker; false when no thread could be had.
bool RunOnWorker(Work work, void* argument);
// For the benchmark and the tests: threads alive, and of them the ones in a call.
unsigned LiveWorkers();
unsigned BusyWorkers();

}  // namespace hosting
