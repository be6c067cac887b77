#pragma once

#include <string>

namespace zelvar {

class Feedback;
struct Workspace;

// The menu commands that load and close files, after the file dialog. Each
// reports through feedback and updates the workspace's status texts; the
// caller refreshes the status bar afterwards.

// "Load data" with the chosen path: the next open dialog starts from it
// whatever happens (openDialogFile); the file is read into a fresh data set
// that replaces the loaded one, DataFileName included, only when the whole
// file was read. Then the period settings go back to one period and the
// model dialog is created anew with every DMU selected in both lists. A file
// that cannot be read, or holds no records, inputs or outputs, leaves the
// loaded data set, the status texts and the model dialog as they were.
// Loaded prices stay when they fit the new data (one column per input and
// output, one row or one row per DMU); otherwise they are closed and the
// user is told.
// Returns true when the file was loaded.
bool openDataFile(Workspace &workspace, const std::string &path, Feedback &feedback);

// "Load Weight Restr": true when data is loaded; otherwise tells the user
// "Please load first input output data (Ctrl+O)." (checked before the dialog).
bool canOpenWeights(const Workspace &workspace, Feedback &feedback);
// Reads the chosen weights file; on success replaces the restriction table,
// sets the status text and ticks and enables the model dialog's weights box.
bool openWeightsFile(Workspace &workspace, const std::string &path, Feedback &feedback);
// "Close Weight Restr".
void closeWeights(Workspace &workspace, Feedback &feedback);

// "Load Prices": as for the weights, data must be loaded first.
bool canOpenPrices(const Workspace &workspace, Feedback &feedback);
// Reads the chosen prices file for the loaded data; on success replaces the
// prices, sets the status text and shows the model dialog's Cost and Revenue
// distances. A refused file leaves the loaded prices whole.
bool openPricesFile(Workspace &workspace, const std::string &path, Feedback &feedback);
// "Close Prices".
void closePrices(Workspace &workspace, Feedback &feedback);

} // namespace zelvar
