#pragma once
// Help > Check for updated version: reads the version file from the author's web
// server on a worker thread, so that no frame waits on the network, and shows the
// answer in a box owned by the frame that asked.

#include <windows.h>

#include <string>

namespace tray {

// The whole body of `url` into `text`. False when the server cannot be reached
// or does not answer in time, the status is not 200, or the body is longer than
// a version file can be. Blocks: call it off the user-interface thread.
bool DownloadText(const std::wstring& url, std::wstring& text);

// The file version of the running program from its version resource, as
// "major.minor.build.revision"; empty when it cannot be read.
std::wstring GetOwnFileVersion();

// One per frame. The worker knows only the frame's window handle: it posts
// WM_VANTREL_UPDATE_RESULT there and frees its result itself when the frame is gone.
class UpdateCheck {
public:
    UpdateCheck() = default;
    UpdateCheck(const UpdateCheck&) = delete;
    UpdateCheck& operator=(const UpdateCheck&) = delete;

    // The command. A click while this frame's check still runs is ignored: its
    // answer is on the way.
    void CheckForUpdate(HWND owner);
    // WM_VANTREL_UPDATE_RESULT with the worker's result in lParam (taken over here).
    void OnResult(HWND owner, LPARAM result);
    // WM_DESTROY: frees results already posted to the frame and not yet received.
    static void DiscardPending(HWND owner);

private:
    bool m_bRunning = false;
};

}  // namespace tray
