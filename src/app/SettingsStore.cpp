#include "SettingsStore.h"

#include "AppInfo.h"

#include <QSettings>

#include <cmath>
#include <optional>

namespace zelvar {

namespace {

const QString Group = QStringLiteral("Settings");

// Each stored value is text; these read it the way the value was meant and
// give nothing when the text is not such a value.

std::optional<double> readNumber(const QString &text)
{
    bool ok = false;
    const float value = text.trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return static_cast<double>(value);
}

std::optional<std::int16_t> readDecimals(const QString &text)
{
    bool ok = false;
    const QString trimmed = text.trimmed();
    long long value = trimmed.toLongLong(&ok);
    if (!ok) {
        const double number = trimmed.toDouble(&ok);
        if (!ok || !std::isfinite(number))
            return std::nullopt;
        value = number > 1e6 ? 1000000 : number < -1e6 ? -1000000 : std::llround(number);
    }
    return DisplayFormat::clampDecimals(value);
}

std::optional<bool> readTruth(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = trimmed.toDouble(&ok);
    if (ok)
        return number != 0;
    return std::nullopt;
}

QString stored(QSettings &settings, const char *key, const QString &fallback)
{
    const QVariant value = settings.value(QLatin1String(key));
    if (!value.isValid())
        return fallback;
    return value.toString();
}

template <typename T, typename Reader>
void readInto(QSettings &settings, const char *key, const QString &fallback, Reader reader, T &target)
{
    if (const auto value = reader(stored(settings, key, fallback)))
        target = static_cast<T>(*value);
}

QString numberText(double value) { return QString::number(value, 'g', 10); }

} // namespace

std::unique_ptr<QSettings> SettingsStore::open() const
{
    if (m_iniPath.isEmpty())
        return std::make_unique<QSettings>(AppInfo::title(), AppInfo::title());
    return std::make_unique<QSettings>(m_iniPath, QSettings::IniFormat);
}

void SettingsStore::read(MainSettings &target) const
{
    const auto settings = open();
    settings->beginGroup(Group);
    readInto(*settings, "MainLeft", QStringLiteral("1000"), readNumber, target.left);
    readInto(*settings, "MainTop", QStringLiteral("1000"), readNumber, target.top);
    readInto(*settings, "MainWidth", QStringLiteral("6500"), readNumber, target.width);
    readInto(*settings, "MainHeight", QStringLiteral("6500"), readNumber, target.height);
    readInto(*settings, "Decscore", QStringLiteral("2"), readDecimals, target.format.DecScore);
    readInto(*settings, "Decweights", QStringLiteral("2"), readDecimals, target.format.DecWeights);
    readInto(*settings, "Decintens", QStringLiteral("2"), readDecimals, target.format.DecIntensities);
    readInto(*settings, "Decslacks", QStringLiteral("2"), readDecimals, target.format.DecSlacks);
    readInto(*settings, "Virtual", QStringLiteral("True"), readTruth, target.format.VirtualWeights);
    target.dataFileName = stored(*settings, "Sfile", QString()).toStdString();
    settings->endGroup();
}

void SettingsStore::write(const MainSettings &source) const
{
    const auto settings = open();
    settings->beginGroup(Group);
    settings->setValue(QStringLiteral("MainLeft"), numberText(source.left));
    settings->setValue(QStringLiteral("MainTop"), numberText(source.top));
    settings->setValue(QStringLiteral("MainWidth"), numberText(source.width));
    settings->setValue(QStringLiteral("MainHeight"), numberText(source.height));
    settings->setValue(QStringLiteral("Decscore"), QString::number(source.format.DecScore));
    settings->setValue(QStringLiteral("Decweights"), QString::number(source.format.DecWeights));
    settings->setValue(QStringLiteral("Decintens"), QString::number(source.format.DecIntensities));
    settings->setValue(QStringLiteral("Decslacks"), QString::number(source.format.DecSlacks));
    settings->setValue(QStringLiteral("Virtual"),
                       source.format.VirtualWeights ? QStringLiteral("True") : QStringLiteral("False"));
    settings->setValue(QStringLiteral("Sfile"), QString::fromStdString(source.dataFileName));
    settings->endGroup();
    settings->sync();
}

} // namespace zelvar
