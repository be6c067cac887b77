#pragma once

#include "session/DisplayFormat.h"

#include <QString>

#include <memory>
#include <string>
#include <utility>

class QSettings;

namespace zelvar {

// What survives from one run of the program to the next, as the main window
// holds it: its placement in twips, the display format and the last data file.
struct MainSettings {
    double left = 1000;
    double top = 1000;
    double width = 6500;
    double height = 6500;
    DisplayFormat format;
    std::string dataFileName;
};

// Where the settings live: the user's store for application "Zelvar" (group
// "Settings"), or an INI file named by the caller, which tests use so that
// they never touch a real user's settings.
class SettingsStore {
public:
    // The per-user store of the platform.
    static SettingsStore userStore() { return SettingsStore(QString()); }
    // An INI file at `path`.
    static SettingsStore iniFile(const QString &path) { return SettingsStore(path); }

    [[nodiscard]] std::unique_ptr<QSettings> open() const;
    [[nodiscard]] const QString &iniPath() const { return m_iniPath; }

    // Reads the ten keys over `settings`. A key that is missing gives its
    // default; a value that cannot be read leaves its member as it was; a
    // decimals value outside 1..8 is brought to the nearer of 1 and 8.
    void read(MainSettings &settings) const;
    // Writes the ten keys as text, in their fixed order.
    void write(const MainSettings &settings) const;

private:
    explicit SettingsStore(QString iniPath) : m_iniPath(std::move(iniPath)) {}

    QString m_iniPath;
};

} // namespace zelvar
