#pragma once
// Every container frame of the program, the main one included: which frame is the
// main one, the registry of the others, the frames on their way out, and what is done
// to all frames at once. The application owns it; a frame asks it and keeps no
// pointer to its peers.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/FrameRegistry.h"
#include "frame/DocumentRestore.h"
#include "tray/TrayController.h"

class CMainFrame;

namespace frame {

class Program;

class FrameManager final : private tray::TrayFrames {
public:
    explicit FrameManager(Program& program);
    ~FrameManager();
    FrameManager(const FrameManager&) = delete;
    FrameManager& operator=(const FrameManager&) = delete;

    // The first frame to ask, in the first copy of the program to ask, becomes the
    // main frame: it alone captures windows. A second copy has no main frame.
    bool ClaimMain(CMainFrame& frame);
    CMainFrame* Main() const { return m_main; }

    // The additional frames, by position: the number the menus show is position + 1.
    // Count prunes the frames that are gone; the others do not, so positions hold
    // while a walk over them runs.
    unsigned Count() { return m_registry.Count(); }
    CMainFrame* At(unsigned position) const;
    std::wstring TitleAt(unsigned position) const { return m_registry.TitleAt(position); }
    // 0 for the main frame, the menus' number for an additional one, and nothing for
    // a frame that is neither (a second copy's, never shown).
    std::optional<unsigned> NumberOf(const CMainFrame& frame) const;
    bool IsHostedElsewhere(HWND window);

    // The main frame first, then the others in order. The walk goes over a copy, and
    // a frame whose window has gone meanwhile is skipped: a frame that opens or closes
    // during the walk (showing a window lets messages in) changes nothing of it.
    void ForEachFrame(const std::function<void(CMainFrame&)>& visit);
    void ShowAll();
    void HideAll();

    // A new additional frame, shown; at the limit a box owned by `owner` says so.
    void NewFrame(HWND owner);
    // An additional frame out of sight and out of the registry, still handing its
    // windows back: the end of the program ends it too.
    void Closing(CMainFrame& frame);
    // From a frame's WM_DESTROY, once its windows are back on the desktop: the main
    // frame takes every other frame with it.
    void Destroyed(CMainFrame& frame);
    // From a frame's destructor: nothing here names it any more.
    void Forget(CMainFrame& frame);

    // What the frames held in the last run, and what they hold now.
    DocumentRestore& Documents() { return m_documents; }
    // The main frame's tray icon and menu, which stand for every frame.
    tray::TrayController& Tray() { return m_tray; }

    // The session ends, or its end was cancelled: every frame at once.
    void EndSession();
    void SessionGoesOn();

private:
    std::vector<CMainFrame*> Snapshot();

    // TrayFrames
    HWND MainFrameWindow() override;
    std::vector<HWND> AdditionalFrameWindows() override;
    void ShowAllFrames() override { ShowAll(); }
    void HideAllFrames() override { HideAll(); }

    Program& m_program;
    HANDLE m_mutex = nullptr;
    CMainFrame* m_main = nullptr;
    vantrel::FrameRegistry m_registry;
    std::vector<CMainFrame*> m_closing;
    tray::TrayController m_tray;
    DocumentRestore m_documents;
};

}  // namespace frame
