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

    // Pre-translates, translates and dispatches one message; nested message loops
    // use it too, so that accelerators and button drags work there as well.
    static void Dispatch(MSG& msg);

private:
    // Offers the message to the window it is aimed at and to each of its parents.
    static bool PreTranslate(MSG& msg);

    Window* m_mainWindow = nullptr;
};

}  // namespace ui
