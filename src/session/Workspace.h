#pragma once

#include "data/DataSet.h"
#include "session/DisplayFormat.h"
#include "session/ModelDialogState.h"
#include "session/ModelOptions.h"

#include <memory>
#include <string>

namespace zelvar {

// Texts of the main window's status bar.
struct StatusTexts {
    static constexpr const char *NoDataStatus = "Please load data file (Ctrl+O).";
    std::string DataStatus;    // "Input Output Data " + DataFileName
    std::string WeightsStatus; // "Weight Restriction " + WeightsFileName
    std::string PricesStatus;  // "Prices " + PricesFileName
    std::string panel1 = NoDataStatus;
    std::string panel2;
    std::string panel3; // the prices file, empty while none is loaded
};

// Everything one session of the program holds: the data set, the model
// options, the display format, the model dialog's state and the status
// texts. The desktop application and the batch tool each own one; tests
// build fresh ones. Not copyable: the model dialog refers back to it.
struct Workspace {
    Workspace() = default;
    Workspace(const Workspace &) = delete;
    Workspace &operator=(const Workspace &) = delete;

    DataSet data;
    ModelOptions options;
    DisplayFormat format;
    StatusTexts status;
    // Decimal separator of the numbers in result tables: the user's locale in
    // the desktop application, "." in the batch tool.
    std::string decimalSeparator = ".";
    // The data file last chosen in the open dialog, loaded or not: the next
    // open dialog starts from it. Saving results never changes it.
    std::string openDialogFile;
    // Threads that evaluate DMUs at once; 0 = one per core. Tables do not
    // depend on it.
    int threadCount = 0;

    // The model dialog, created (and loaded) on first use.
    ModelDialogState &modelDialog()
    {
        if (!m_dialog)
            m_dialog = std::make_unique<ModelDialogState>(*this);
        return *m_dialog;
    }
    bool hasModelDialog() const { return m_dialog != nullptr; }
    void discardModelDialog() { m_dialog.reset(); }

private:
    std::unique_ptr<ModelDialogState> m_dialog;
};

} // namespace zelvar
