#include "AppInfo.h"

#include <ClpConfig.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#define ZELVAR_STRINGIFY_(x) #x
#define ZELVAR_STRINGIFY(x) ZELVAR_STRINGIFY_(x)

namespace zelvar {

QString AppInfo::title() { return QStringLiteral("Zelvar"); }

QString AppInfo::shortVersion()
{
    return QStringLiteral("Version " ZELVAR_STRINGIFY(ZELVAR_VERSION_MAJOR) "." ZELVAR_STRINGIFY(
        ZELVAR_VERSION_MINOR));
}

QString AppInfo::longVersion()
{
    return QStringLiteral("Version " ZELVAR_STRINGIFY(ZELVAR_VERSION_MAJOR) "." ZELVAR_STRINGIFY(
        ZELVAR_VERSION_MINOR) "." ZELVAR_STRINGIFY(ZELVAR_VERSION_PATCH));
}

QString AppInfo::solverLine()
{
    return QStringLiteral("LP solver: COIN-OR CLP " CLP_VERSION);
}

QString AppInfo::examplesFolder()
{
    QStringList candidates;
    // An installed program finds its data relative to itself, so that an
    // installation under another prefix than the configured one still works.
    if (QCoreApplication::instance() != nullptr)
        candidates << QCoreApplication::applicationDirPath() + QStringLiteral("/../share/zelvar/examples");
    candidates << QStringLiteral(ZELVAR_INSTALLED_EXAMPLES) << QStringLiteral(ZELVAR_SOURCE_EXAMPLES);
    for (const QString &folder : candidates) {
        const QFileInfo info(folder);
        if (info.isDir())
            return QDir::cleanPath(info.absoluteFilePath());
    }
    return {};
}

QString AppInfo::guideFile()
{
    QStringList candidates;
    if (QCoreApplication::instance() != nullptr)
        candidates << QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/zelvar/Zelvar.PDF");
    candidates << QStringLiteral(ZELVAR_INSTALLED_GUIDE) << QStringLiteral(ZELVAR_BUILD_GUIDE);
    for (const QString &file : candidates) {
        const QFileInfo info(file);
        if (info.isFile())
            return QDir::cleanPath(info.absoluteFilePath());
    }
    return {};
}

} // namespace zelvar
