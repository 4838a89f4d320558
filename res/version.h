// The program's version, as the About box and `qelvar --version` show it. The
// number is the project's, given by the build.
#pragma once

inline constexpr char kQelvarVersion[] = QELVAR_VERSION;
