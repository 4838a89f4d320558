// The program's version, as the About box and `qelvar --version` show it.
#pragma once

inline constexpr char kQelvarVersion[] = "1.0";
