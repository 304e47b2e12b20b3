#pragma once
// Frames and documents brought back from the last run: the additional frames that
// were open come back with their names and places, and each document window that
// arrives, at the start or any time later, goes to the frame it was in, at its old
// place among the buttons. What is open is remembered when the program ends and
// whenever a document moves between frames.

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/RememberedDocuments.h"

class CMainFrame;

namespace frame {

class FrameManager;
class Program;

class DocumentRestore {
public:
    DocumentRestore(Program& program, FrameManager& frames);

    // At the start, before any window is captured: what the last run remembered,
    // when the setting is on.
    void Load();
    // From the main frame's first tick: the additional frames come back, and the
    // windows captured meanwhile go to theirs.
    void ReopenFrames();
    // A frame has a button for the window now.
    void OnRecorded(CMainFrame& frame, HWND window, bool handed);
    // The main frame's timer while windows wait for their titles.
    void OnTimer();
    // Remembers what is open now, when the setting is on. Not while the main frame
    // has handed everything back for a session end: that was remembered before.
    void Save();
    // The frame object goes away.
    void Forget(const CMainFrame& frame);

    static constexpr UINT_PTR kTimerId = 0x5D0C;
    // A window that comes without a title waits this long for one in the main frame.
    static constexpr std::uint64_t kTitleGrace = 2000;

private:
    struct Waiting {
        HWND window;
        std::uint64_t since;
    };
    // The frames as the last run numbered them, now open: 0 is the main frame.
    std::vector<unsigned> OpenRememberedFrames() const;
    CMainFrame* FrameRemembered(unsigned number) const;
    // Places a window the main frame captured; false while it waits for its title.
    bool Place(const Waiting& waiting);
    // Puts the window at its remembered place among `frame`'s buttons.
    void PutInPlace(CMainFrame& frame, HWND window);
    void Collect(CMainFrame& frame, unsigned number, std::uint64_t now, std::vector<vantrel::RememberedDocument>& out);
    void StartTimer();
    void ForgetClosedWindows();

    Program& m_program;
    FrameManager& m_frames;
    bool m_restoring = false;  // the setting was on at the start
    bool m_framesOpen = false;
    vantrel::DocumentMatcher m_matcher{{}};
    std::array<CMainFrame*, vantrel::kMaxRememberedFrame + 1> m_remembered{};
    std::vector<Waiting> m_waiting;
    struct PlacedWindow {
        HWND window;
        std::optional<unsigned> position;  // among the buttons of its frame
        bool onItsWay;                     // handed to its frame, not there yet
    };
    PlacedWindow* PlaceOf(HWND window);

    std::vector<vantrel::RememberedFrame> m_framesToOpen;
    std::vector<PlacedWindow> m_places;  // the windows placed as remembered
};

// The full path of the executable of the window's program, or nothing.
std::wstring ProgramPathOf(HWND window);

}  // namespace frame
