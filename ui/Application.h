#pragma once
// The message loop of the one user-interface thread, and the program's main window.

#include <windows.h>

#include <vector>

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

    // Held by every window procedure while it runs, and so by every message box,
    // dialog, menu or wait inside one. A window object whose window is gone is
    // deleted only once no hold is left: code of its own that is still on the
    // stack (a handler waiting for a box to return) never runs on a freed object,
    // and finds its window gone instead.
    class Hold {
    public:
        Hold() { ++s_holds; }
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
    };
    static void DeleteWhenUnwound(Window* window);
    static bool IsHeld() { return s_holds > 0; }

private:
    // Offers the message to the window it is aimed at and to each of its parents.
    static bool PreTranslate(MSG& msg);

    Window* m_mainWindow = nullptr;

    static int s_holds;
    static std::vector<Window*> s_doomed;
};

}  // namespace ui
