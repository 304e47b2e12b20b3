#pragma once
// Hands every hosted window back to the desktop when the process is about to die of
// a crash (an unhandled exception, std::terminate, abort). A hosted window belongs to
// another program's document; it must never go down with us. Then a crash report is
// written (app/CrashReport).

void InstallCrashGuard();
