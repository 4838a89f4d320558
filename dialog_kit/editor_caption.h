// An editor's caption: its own text (ending in " File Name ") and the current
// settings file's path, as it stands when the editor opens.
#pragma once

#include <QString>

QString EditorCaption(const char* captionText);
