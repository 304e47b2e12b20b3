#pragma once
// A pane docked along one edge of its frame, or floating in a small tool window of
// its own. Docked, it shows a caption strip with a gripper (drag it to float the
// pane) and a sizing band on its inner edge. Floating, dragging the tool window
// docks it again: with smart docking, where it is dropped on one of the markers
// shown meanwhile; without, where it is dropped near an edge of the frame. A
// double click on its caption docks it where it was last.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/DockMarkers.h"
#include "ui/DockSide.h"
#include "ui/Window.h"

namespace ui {

class FloatingPaneFrame;

class DockablePane : public Window {
public:
    DockablePane();
    ~DockablePane() override;

    bool Create(const std::wstring& caption, HWND frame, const RECT& initial, UINT id);

    DockSide Side() const { return m_side; }
    bool IsDocked() const { return m_side != DockSide::Floating; }
    // Height of a pane docked at the top or bottom, width of one docked at the side.
    int Thickness() const { return m_thickness; }
    void SetThickness(int thickness);
    void SetMinSize(SIZE size) { m_minSize = size; }
    SIZE MinSize() const { return m_minSize; }
    bool IsVisible() const;
    void Show(bool show);

    void DockTo(DockSide side);
    void Float(const RECT& screenRect);
    HWND FloatingFrame() const;
    // Where the floating tool window was last, kept as it moves: when a frame is
    // destroyed, the windows it owns go before the frame hears of it.
    RECT FloatingRect() const { return m_floatingRect; }

    // The frame lays its children out again whenever the pane's place changes.
    void SetLayoutChanged(std::function<void()> callback) { m_layoutChanged = std::move(callback); }

    // Called by the floating frame while the user moves it, and when the move ends.
    void OnFloatingMoving();
    void OnFloatingMoved();
    void OnFloatingDoubleClick() { DockTo(m_lastDockedSide); }
    void OnFloatingPlaced(const RECT& screenRect) { m_floatingRect = screenRect; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The area below the caption strip, in pane client coordinates.
    RECT ContentRect() const;
    virtual void OnContentSize(const RECT& content) { (void)content; }

private:
    enum class Drag { None, Caption, Size };
    RECT CaptionRect() const;
    RECT SizingBand() const;
    void OnPaint();
    void OnLButtonDown(POINT pt);
    void OnMouseMove(POINT pt);
    void OnLButtonUp();
    void NotifyLayout();

    HWND m_frame = nullptr;
    std::wstring m_caption;
    DockSide m_side = DockSide::Bottom;
    DockSide m_lastDockedSide = DockSide::Bottom;
    int m_thickness = 50;
    SIZE m_minSize{50, 50};
    Drag m_drag = Drag::None;
    POINT m_dragStart{};
    int m_dragStartThickness = 0;
    std::unique_ptr<FloatingPaneFrame> m_floating;
    RECT m_floatingRect{};
    DockMarkers m_markers;
    std::function<void()> m_layoutChanged;
};

}  // namespace ui
