#pragma once
// What a frame needs of the program it belongs to. The application object provides
// it, so that the frames know nothing of the layer above them.

#include <windows.h>

#include <string>

#include "core/Desktop.h"
#include "core/Settings.h"
#include "ui/Application.h"

namespace frame {

class FrameManager;

class Program {
public:
    virtual ~Program() = default;
    virtual vantrel::Settings& Settings() = 0;
    virtual vantrel::ProfileStore& Profile() = 0;
    virtual vantrel::Desktop& Desktop() = 0;
    virtual const std::wstring& CommandLine() const = 0;
    // The message loop and the program's main window.
    virtual ui::Application& Loop() = 0;
    virtual void ShowAbout(HWND owner) = 0;
    // The main frame has shown at the program's start (not started minimized).
    virtual void OnMainFrameShown(HWND frame) = 0;
    // Help > Open diagnostics folder.
    virtual void OpenDiagnosticsFolder() = 0;
    virtual FrameManager& Frames() = 0;
};

}  // namespace frame
