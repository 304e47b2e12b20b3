#pragma once
// The state a command shows in a menu (and whether its accelerator works), asked of
// the frame each time a menu opens or an accelerator fires.

namespace ui {

struct CommandUI {
    unsigned id = 0;
    bool enabled = true;
    int check = 0;       // 0 none, 1 check mark
    bool radio = false;  // radio mark instead of a check mark
    void Enable(bool on) { enabled = on; }
    void SetCheck(int value) { check = value != 0 ? 1 : 0; }
    void SetRadio(bool on) { radio = on; }
};

}  // namespace ui
