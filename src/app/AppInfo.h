#pragma once

#include <QString>

namespace zelvar {

// Names and versions the windows show, and where the sample data lives.
struct AppInfo {
    // The application title: caption of the main window and of every message box.
    static QString title();
    // "Version 1.0" as the splash window shows it (major.minor).
    static QString shortVersion();
    // "Version 1.0.0" as the about box shows it (major.minor.patch).
    static QString longVersion();
    // The LP solver that computes the scores, with the version compiled in.
    static QString solverLine();
    // The folder of the sample data files: next to an installed program
    // (../share/zelvar/examples), else the configured install folder, else
    // the source tree's. Empty when none of them exists.
    static QString examplesFolder();
    // The user's guide, Zelvar.PDF: next to an installed program
    // (../share/doc/zelvar), else in the configured install folder, else the
    // one the build made. Empty when none of them exists.
    static QString guideFile();
};

} // namespace zelvar
