// The exit statuses of qelvarctl, which scripts rely on.
#pragma once

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitCannotOpen = 2;  // a file or the port
inline constexpr int kExitErrorReply = 3;
inline constexpr int kExitNoReply = 4;
inline constexpr int kExitRefused = 5;  // a completed run that left out refused items
inline constexpr int kExitDiffers = 6;  // the switcher does not hold the file's settings
