#pragma once
// The one route of a frame's commands. Whichever source a command comes from (the
// menu bar, the system menu, the tray menu, the accelerators, the caption bar's
// menu), its id has one row: where it acts, what it does, and the state its menu
// items show. The menus' update asks the same row, so a command and its mark
// cannot drift apart.

#include <windows.h>

#include "ui/CommandUI.h"

class CMainFrame;

namespace frame {

enum class Scope {
    Frame,         // the frame it came to
    EveryFrame,    // every frame at once
    Program,       // the program as a whole, or one of its settings
    ActiveWindow,  // the hosted window in front in the frame it came to
};

struct CommandRow {
    UINT first;
    UINT last;  // a range of ids, or first again
    Scope scope;
    void (*run)(CMainFrame& frame, UINT id);
    // The state the command shows; null for one that is always enabled, unmarked.
    void (*state)(CMainFrame& frame, ui::CommandUI& ui);
};

// The row of `id`, or null.
const CommandRow* FindCommand(UINT id);

}  // namespace frame
