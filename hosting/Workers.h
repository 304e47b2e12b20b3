#pragma once
// Threads for calls that may wait on another program. Making one costs a good part
// of a millisecond under Wine, which a capture would wait for, and a megabyte while it
// lives: so a thread is kept a while after its call, a call goes to one that is idle
// or waits its turn behind the few there are, and gets a new one only once it has
// waited a while (the busy ones wait on programs that hang).

namespace hosting {

using Work = void (*)(void* argument);

// Runs `work(argument)` on a worker; false when no thread could be had.
bool RunOnWorker(Work work, void* argument);
// Gives a thread to each call that has waited too long for one. Whoever waits for the
// calls' outcomes calls this now and then.
void StartOverdueWork();
// For the benchmark and the tests: threads alive, and of them the ones in a call.
unsigned LiveWorkers();
unsigned BusyWorkers();

}  // namespace hosting
