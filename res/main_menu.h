// The main window's menu, its command strings (status-bar prompt and tool tip)
// and the tool bar, as data.
#pragma once

#include <string>
#include <vector>

struct CMenuItem {
    std::string text;
    int nCommand = 0;                 // 0 for a separator or a submenu
    std::vector<CMenuItem> children;  // a submenu when not empty
    bool bCheckable = false;          // an item that is on or off
};

const std::vector<CMenuItem>& MainMenu();

struct CCommandString {
    int nCommand;
    std::string prompt;  // first line of the string resource: the status-bar prompt
    std::string tip;     // after the line feed: the tool tip
};

// The string of a command, or nullptr.
const CCommandString* FindCommandString(int nCommand);

inline constexpr char kIdlePrompt[] = "ﾚﾃﾞｨ";

struct CToolbarButton {
    int nCommand;
    std::string label;  // empty for the two buttons that have no command
};

// The 12 buttons in order, 52 x 32 pixels each, then the routing window's.
const std::vector<CToolbarButton>& ToolbarButtons();
