#pragma once
// Whether the programs whose windows we host still answer, for the log: each such
// program thread is asked, without waiting, twice a second; one that has not
// answered for more than a second is logged, and again once it answers.

#include <windows.h>

#include <vector>

namespace hosting {

// Whenever the hosted windows change, with every window hosted in any frame: asking
// which thread a window has costs a round trip to the system, too much for each tick.
void WatchPrograms(const std::vector<HWND>& hosted);
// From the capture clock, at each tick.
void CheckResponsiveness();

}  // namespace hosting
