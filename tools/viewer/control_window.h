// The hidden window through which tests drive the sample viewer (see
// viewer_protocol.h). Top-level rather than message-only, so that tests can
// find it with FindWindow by class and title.
#pragma once

#include <windows.h>

#include <string>

#include "viewer_protocol.h"

class CommandHandler {
public:
    virtual LRESULT OnViewerCommand(viewer_protocol::Command command, const std::wstring& argument) = 0;

protected:
    ~CommandHandler() = default;
};

class ControlWindow {
public:
    explicit ControlWindow(CommandHandler& handler) : m_handler(handler) {}
    ~ControlWindow();
    ControlWindow(const ControlWindow&) = delete;
    ControlWindow& operator=(const ControlWindow&) = delete;

    bool Create(HINSTANCE instance);
    // Blocks this thread for `milliseconds`, once the current message is done:
    // the command that asks for it gets its answer first.
    bool PostHang(unsigned long milliseconds);

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCopyData(const COPYDATASTRUCT& data);

    CommandHandler& m_handler;
    HWND m_hWnd = nullptr;
};
