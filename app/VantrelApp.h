#pragma once
// The application object: profile, settings, the desktop the frames host windows
// from, the current look, and the start-up of the first container frame.

#include <string>

#include "app/RegistryProfile.h"
#include "core/Settings.h"
#include "frame/FrameManager.h"
#include "frame/Program.h"
#include "hosting/Win32Desktop.h"
#include "ui/Application.h"

class CMainFrame;

class CVantrelApp final : public ui::Application, public frame::Program {
public:
    explicit CVantrelApp(std::wstring commandLine);

    // Creates the first frame; false when the program should end at once.
    bool InitInstance();

    // Program
    vantrel::Settings& Settings() override { return m_settings; }
    vantrel::ProfileStore& Profile() override { return m_profile; }
    vantrel::Desktop& Desktop() override { return m_desktop; }
    const std::wstring& CommandLine() const override { return m_commandLine; }
    ui::Application& Loop() override { return *this; }
    void ShowAbout(HWND owner) override { OnAppAbout(owner); }
    frame::FrameManager& Frames() override { return m_frames; }
    void OnMainFrameShown(HWND frame) override;
    void OpenDiagnosticsFolder() override;

    void OnAppAbout(HWND owner);

private:
    // A second copy hands over to the running one instead of opening a frame of its own.
    static bool HandOverToRunningCopy();

    std::wstring m_commandLine;
    RegistryProfile m_profile;
    vantrel::Settings m_settings;
    hosting::Win32Desktop m_desktop;
    frame::FrameManager m_frames{*this};
};
