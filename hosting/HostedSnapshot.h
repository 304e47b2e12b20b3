#pragma once
// What the crash guard hands back: every hosted window and every window on its way
// into a host view, with that host view, as the user-interface thread last published
// them. A crash may come on any thread, the user-interface thread among them in the
// middle of changing its records: the guard reads this copy, never the live records,
// and takes no lock that the faulting thread might hold.

#include <windows.h>

#include <cstddef>
#include <vector>

namespace hosting::snapshot {

struct Entry {
    HWND window;
    HWND hostView;
    bool onItsWay;  // not in yet: it may still arrive
};

// The user-interface thread's, after its records changed.
void Publish(const std::vector<Entry>& entries);
// Any thread's: copies the newest published entries into `out`, at most `capacity`
// of them, and returns how many.
std::size_t Read(Entry* out, std::size_t capacity);

}  // namespace hosting::snapshot
