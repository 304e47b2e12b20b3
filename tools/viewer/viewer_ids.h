// Menu command ids of the sample viewer. The menus and the accelerator table
// are built in code rather than in a resource script, so the tool stays a
// plain C++ target that needs no resource compiler.
#pragma once

enum ViewerCommandId : unsigned short {
    IDM_NEW_DOCUMENT = 100,
    IDM_CLOSE_DOCUMENT = 101,
    IDM_MARK_MODIFIED = 110,
};
