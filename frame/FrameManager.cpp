#include "frame/FrameManager.h"

#include <algorithm>

#include "frame/MainFrame.h"
#include "frame/Program.h"
#include "hosting/WindowCtrl.h"
#include "resource.h"
#include "ui/Activation.h"
#include "ui/Application.h"

namespace frame {
namespace {
const wchar_t kMutexName[] = L"Vantrel special build {1ACF2B90-2B9A-4E76-8F79-A16E3E9101F2}";
}  // namespace

FrameManager::FrameManager(Program& program)
    : m_program(program), m_tray(program.Settings(), *this), m_documents(program, *this) {}

FrameManager::~FrameManager() {
    if (m_mutex != nullptr) ::CloseHandle(m_mutex);
}

bool FrameManager::ClaimMain(CMainFrame& frame) {
    if (m_main != nullptr || m_mutex != nullptr) return false;
    // Whoever makes the mutex first is the main frame, across frames and processes.
    ::SetLastError(0);
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, kMutexName);
    if (mutex == nullptr) return false;
    if (::GetLastError() != 0) {
        ::CloseHandle(mutex);
        return false;
    }
    m_mutex = mutex;
    m_main = &frame;
    // Before the main frame captures anything: the windows already open go back too.
    m_documents.Load();
    return true;
}

CMainFrame* FrameManager::At(unsigned position) const {
    // Every frame in the registry is one of ours.
    return static_cast<CMainFrame*>(m_registry.At(position));
}

std::optional<unsigned> FrameManager::NumberOf(const CMainFrame& frame) const {
    if (&frame == m_main) return 0u;
    if (m_main == nullptr) return std::nullopt;
    const std::optional<unsigned> position = m_registry.PositionOf(frame);
    if (!position) return std::nullopt;
    return *position + 1;
}

bool FrameManager::IsHostedElsewhere(HWND window) {
    return m_registry.IsHostedElsewhere(reinterpret_cast<vantrel::WindowId>(window));
}

HWND FrameManager::MainFrameWindow() { return m_main != nullptr ? m_main->Hwnd() : nullptr; }

std::vector<HWND> FrameManager::AdditionalFrameWindows() {
    std::vector<HWND> windows;
    const unsigned count = Count();
    for (unsigned i = 0; i < count; ++i) {
        if (CMainFrame* frame = At(i)) windows.push_back(frame->Hwnd());
    }
    return windows;
}

std::vector<CMainFrame*> FrameManager::Snapshot() {
    std::vector<CMainFrame*> frames;
    if (m_main != nullptr) frames.push_back(m_main);
    const unsigned count = Count();
    for (unsigned i = 0; i < count; ++i) {
        if (CMainFrame* frame = At(i)) frames.push_back(frame);
    }
    return frames;
}

void FrameManager::ForEachFrame(const std::function<void(CMainFrame&)>& visit) {
    // Held: no frame object is freed before the walk is over, whatever its window does.
    const ui::Application::Hold hold;
    for (CMainFrame* frame : Snapshot()) {
        if (frame->Exists()) visit(*frame);
    }
}

void FrameManager::ShowAll() {
    ForEachFrame([](CMainFrame& frame) { ui::GuardedShowWindow(frame.Hwnd(), SW_SHOW); });
}

void FrameManager::HideAll() {
    ForEachFrame([](CMainFrame& frame) { ::ShowWindow(frame.Hwnd(), SW_HIDE); });
}

void FrameManager::NewFrame(HWND owner) {
    // Both the new frame and the box take the activation.
    ui::GuardActivation();
    if (m_registry.IsFull()) {
        ui::GuardedMessageBox(owner, L"Sorry, you cannot have more than 15 windows (why do you even want more than that?)",
                              ui::LoadStringResource(IDS_APP_TITLE).c_str(), MB_ICONEXCLAMATION);
        return;
    }
    // Numbered as the menus will show it.
    auto* frame = new (std::nothrow) CMainFrame(m_program, Count() + 1);
    if (frame == nullptr) return;
    // Registered before its window exists, so that its creation already finds itself
    // in the registry (it takes the stored tab mode through it).
    m_registry.Add(*frame);
    // A frame whose window could not be made has freed itself and left the registry
    // on its way out; its entry goes at the next prune.
    if (!frame->LoadFrame() || !::IsWindow(owner)) return;
    // Asked again: making the frame took a while, and a program that began to hang
    // meanwhile would hold the activation up for as long as it hangs.
    ui::GuardedShowWindow(frame->Hwnd(), SW_SHOW);
    ::UpdateWindow(frame->Hwnd());
}

void FrameManager::Closing(CMainFrame& frame) {
    if (std::find(m_closing.begin(), m_closing.end(), &frame) == m_closing.end()) m_closing.push_back(&frame);
}

void FrameManager::Destroyed(CMainFrame& frame) {
    m_closing.erase(std::remove(m_closing.begin(), m_closing.end(), &frame), m_closing.end());
    if (&frame == m_main) {
        // Each frame takes itself off on its way out; that leaves its entry empty
        // until the next count, so the positions hold while we walk them.
        for (unsigned i = Count(); i-- > 0;) {
            if (CMainFrame* other = At(i)) ::DestroyWindow(other->Hwnd());
        }
        const std::vector<CMainFrame*> stillClosing = m_closing;  // each takes itself off
        for (CMainFrame* other : stillClosing) ::DestroyWindow(other->Hwnd());
    }
    Forget(frame);
}

void FrameManager::Forget(CMainFrame& frame) {
    m_registry.Forget(frame);
    m_documents.Forget(frame);
    m_closing.erase(std::remove(m_closing.begin(), m_closing.end(), &frame), m_closing.end());
    if (&frame != m_main) return;
    m_main = nullptr;
    if (m_mutex != nullptr) {
        ::ReleaseMutex(m_mutex);  // never owned; fails harmlessly
        ::CloseHandle(m_mutex);
        m_mutex = nullptr;
    }
}

// The session may end with this process killed: nothing hosted may be left inside
// any frame, and none may take a window in again.
void FrameManager::EndSession() { hosting::CWindowCtrl::HandBackEverywhere(); }

void FrameManager::SessionGoesOn() { hosting::CWindowCtrl::TakeBackEverywhere(); }

}  // namespace frame
