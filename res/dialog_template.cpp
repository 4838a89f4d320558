#include "res/dialog_template.h"

#include <cstdio>

const CControlTemplate* CDialogTemplate::Control(int id) const {
    for (const auto& control : controls) {
        if (control.nId == id) return &control;
    }
    return nullptr;
}

std::vector<std::string> TwoDigitItems(int first, int last) {
    std::vector<std::string> items;
    for (int i = first; i <= last; ++i) {
        char text[8];
        std::snprintf(text, sizeof text, "%02d", i);
        items.emplace_back(text);
    }
    return items;
}

std::vector<std::string> NumberItems(int first, int last) {
    std::vector<std::string> items;
    for (int i = first; i <= last; ++i) items.push_back(std::to_string(i));
    return items;
}
