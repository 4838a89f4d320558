// Dialog templates as data: every control with its id, kind, position in
// dialog units, text and list items. The GUI builds its dialogs from these.
#pragma once

#include <string>
#include <vector>

enum class ControlKind {
    kGroupBox,
    kDropList,  // combo box: drop-down list
    kDropDown,  // combo box with an edit field
    kButton,
    kDefaultButton,
    kEdit,  // edit box; see bReadOnly
    kStaticText,
    kFrame,  // static black frame (a table is painted into it)
    kProgress,
    kListView,  // a list of rows in columns; items are the column headings
};

inline constexpr int kNoId = -1;  // a static control nobody refers to

struct CControlTemplate {
    ControlKind kind;
    int nId;
    int x, y, cx, cy;  // dialog units; for a combo box cy is the opened list's height
    std::string text;
    std::vector<std::string> items;
    bool bReadOnly = false;
    bool bRightAlign = false;
};

struct CDialogTemplate {
    int nId;
    std::string caption;
    std::string font;  // face name as the dialog asks for it
    int nPointSize;
    int cx, cy;  // dialog units
    std::vector<CControlTemplate> controls;

    const CControlTemplate* Control(int id) const;
};

// The template of a dialog resource, or nullptr.
const CDialogTemplate* FindDialogTemplate(int nResourceId);

// "01".."NN" style list items: first..last as two digits.
std::vector<std::string> TwoDigitItems(int first, int last);
// "1".."N" style list items.
std::vector<std::string> NumberItems(int first, int last);

// Every template known (listed in dialog_templates.cpp), for tests and tools.
const std::vector<const CDialogTemplate*>& AllDialogTemplates();
