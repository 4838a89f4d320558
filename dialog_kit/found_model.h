// Choosing a slave address that the last search found with the other model
// offers to switch the program to that model. The dialog the choice was made
// in closes with kSwitchModelResult, since its tables are shaped by the model;
// whoever ran it switches the model and opens it again.
#pragma once

#include <optional>

class QDialog;

inline constexpr int kSwitchModelResult = 2;  // beside Rejected (0) and Accepted (1)

// The model the switcher at g_nSlaveAddress said it is in the last search on
// the port and interface in use, when that is not g_nModel.
std::optional<int> FoundOtherModel();

// Asks whether to switch to the found model, outside a run only; on Yes
// closes dialog with kSwitchModelResult and returns true.
bool OfferFoundModel(QDialog& dialog);
