#pragma once
// Where the program leaves what a user can send when something went wrong: the log
// and the crash reports, in %LOCALAPPDATA%\Vantrel. The log is written by a thread of
// its own from a small queue, so that no handler ever waits on the disk.

#include <string>

namespace diagnostics {

// %LOCALAPPDATA%\Vantrel, and its CrashReports folder; made when missing. Empty when
// there is no such place.
std::wstring Folder();
std::wstring CrashReportsFolder();

// Has the program's log lines go to vantrel.log.
void StartLog();
// Writes what is queued, and no more lines from now on (at the program's normal end).
void StopLog();
// Writes what is queued from the calling thread, waiting at most a moment for the
// queue (the crash report's thread, while the program dies).
void FlushLog();

// Opens the folder for the user.
void OpenFolder(const std::wstring& folder);

}  // namespace diagnostics
