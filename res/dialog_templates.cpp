// The list of every dialog template; each dialog's issue adds its own here.
#include "res/dialog_template.h"
#include "res/editor_dialogs.h"
#include "res/link_dialogs.h"

const std::vector<const CDialogTemplate*>& AllDialogTemplates() {
    static const std::vector<const CDialogTemplate*> s_dialogs = {
        &AboutTemplate(),        &CommSettingsTemplate(),  &ModelSelectTemplate(),
        &AutoSequenceTemplate(), &PatternOutputTemplate(),
    };
    return s_dialogs;
}
