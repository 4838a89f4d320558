// The folder the file dialogs open in: the one last chosen in either of them,
// kept in the profile's "Paths" section, at first the user's documents folder
// (or the home folder where there is none).
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "link/comm_settings.h"

QString FileDialogFolder();
// Keeps the folder of a path chosen in a file dialog for the next dialog;
// nothing when it was kept (or already was), else why not.
[[nodiscard]] std::optional<CProfileFault> RememberFileDialogFolder(const std::string& chosenPath);
