#pragma once
// The message loop of the one user-interface thread, and the program's main window.

#include <windows.h>

namespace ui {

class Window;

class Application {
public:
    Application() = default;
    virtual ~Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs until the main window is gone; returns the exit code.
    int Run();

    Window* MainWindow() const { return m_mainWindow; }
    void SetMainWindow(Window* window) { m_mainWindow = window; }

    // Offers the message to the window it is aimed at and to each of its parents;
    // nested message loops use it too.
    static bool PreTranslate(MSG& msg);

private:
    Window* m_mainWindow = nullptr;
};

}  // namespace ui
