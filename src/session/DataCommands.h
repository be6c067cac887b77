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

} // namespace zelvar
