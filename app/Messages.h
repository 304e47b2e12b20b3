#pragma once
// Every private window message of the program, for the tools and tests that talk to
// it; each is defined by the layer that handles it.

#include "frame/FrameMessages.h"
#include "tray/TrayMessages.h"
