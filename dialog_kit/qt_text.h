// The core's texts are UTF-8 strings; Qt's widgets take QString.
#pragma once

#include <QString>
#include <string>

inline QString Text(const std::string& s) {
    return QString::fromStdString(s);
}
