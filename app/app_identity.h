// How the desktop knows the program: its application id (the name of its
// desktop entry, AppStream metadata and icon) and its icon.
#pragma once

#include <QIcon>

inline constexpr char kAppId[] = "io.github.qelvar.Qelvar";

// The icon compiled into the program, at every size it is drawn in.
QIcon CompiledInIcon();
// The installed icon theme's picture when there is one, else the compiled-in one.
QIcon ApplicationIcon();
// Gives every window, dialog and message box the icon and ties the windows to
// the desktop entry.
void InstallAppIdentity();
