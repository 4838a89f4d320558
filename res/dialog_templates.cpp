// The list of every dialog template, and the lookup by resource id over it.
#include "res/batch_dialogs.h"
#include "res/dialog_template.h"
#include "res/display_dialogs.h"
#include "res/editor_dialogs.h"
#include "res/link_dialogs.h"
#include "res/title_dialog.h"

const std::vector<const CDialogTemplate*>& AllDialogTemplates() {
    static const std::vector<const CDialogTemplate*> s_dialogs = {
        &AboutTemplate(),         &CommSettingsWithDevicesTemplate(),
        &ModelSelectTemplate(),   &AutoSequenceTemplate(),
        &PatternOutputTemplate(), &CalendarTemplate(),
        &SlaveAddressTemplate(),  &AllItemsTemplate(),
        &SettingsReadTemplate(),  &InputTitleTemplate(),
        &OutputTitleTemplate(),   &TitlePositionTemplate(),
        &InputCalendarTemplate(), &OutputCalendarTemplate(),
        &TitleTemplate(),         &SettingsCompareTemplate(),
        &CompareResultTemplate(),
    };
    return s_dialogs;
}

const CDialogTemplate* FindDialogTemplate(int nResourceId) {
    for (const CDialogTemplate* dialog : AllDialogTemplates()) {
        if (dialog->nId == nResourceId) return dialog;
    }
    return nullptr;
}
