#include "dialog_kit/editor_caption.h"

#include "model/settings_model.h"

QString EditorCaption(const char* captionText) {
    return QString::fromUtf8(captionText) + QString::fromStdString(g_strFileName);
}
