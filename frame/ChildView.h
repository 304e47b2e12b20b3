#pragma once
// The host view: the plain child window that fills the frame between its bars and is
// the parent of every hosted window of that frame. It draws only its background.

#include "ui/Window.h"

class CChildView final : public ui::Window {
public:
    bool Create(HWND parent, UINT id);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
