#pragma once
// The program's short log: one line per event, for a user to send when something
// went wrong. Lines name no window title, document or user path: a window is named by
// a short number that stays the same for it while the program runs. The lines go to
// a sink the program sets at start (a file written by a thread of its own); without
// one they go nowhere.

#include <cstdint>
#include <string>

#include "core/Desktop.h"

namespace vantrel {

using LogSink = void (*)(const std::string& line);
void SetLogSink(LogSink sink);

// printf-style; the text is cut at 400 bytes.
void Log(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// "w12": the window's number for the log, given out in the order windows are first named.
std::string LogName(WindowId window);

}  // namespace vantrel
