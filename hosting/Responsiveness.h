#pragma once
// Whether the programs whose windows we host still answer, for the log: each such
// program thread is asked, without waiting, twice a second; one that has not
// answered for more than a second is logged, and again once it answers.

#include <windows.h>

#include <vector>

namespace hosting {

// From the capture clock, with every window hosted in any frame.
void WatchResponsiveness(const std::vector<HWND>& hosted);

}  // namespace hosting
