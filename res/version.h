// The program's version, as the About box and `qelvar --version` show it. The
// number is the project's, given by the build; the licence is the GNU GPL,
// version 3 or later.
#pragma once

inline constexpr char kQelvarVersion[] = QELVAR_VERSION;

// What `qelvar --version` prints under the version line, as GNU programs do.
inline constexpr char kLicenceNotice[] = R"(Copyright (C) 2026 Qelvar project
License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.
This is free software: you are free to change and redistribute it.
There is NO WARRANTY, to the extent permitted by law.
)";

// The About box's line for it.
inline constexpr char kLicenceLabel[] = "ライセンス: GNU GPL 第 3 版以降";
