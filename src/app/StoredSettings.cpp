#include "app/StoredSettings.h"

#include "base/GxException.h"
#include "map/MapState.h"

#include <QDir>
#include <QSettings>

namespace StoredSettings {

namespace {
struct Flag {
    const char* key;
    bool MapState::*flag;
};
constexpr Flag kFlags[] = {
    {kStreetNames, &MapState::ShowStreetNames},
    {kHouseNumbers, &MapState::ShowHouseNumbers},
    {kNorthArrow, &MapState::ShowNorthArrow},
    {kScaleBar, &MapState::ShowScaleBar},
};
} // namespace

std::unique_ptr<QSettings> UserSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(kOrganisation),
                                       QString::fromLatin1(kApplication));
}

void Load(MapState& state, QSettings& settings)
{
    for (const Flag& f : kFlags) {
        // A hand-edited file may hold anything: only the two words count.
        const QString value = settings.value(QString::fromLatin1(f.key)).toString().trimmed().toLower();
        if (value == QLatin1String("true"))
            state.*f.flag = true;
        else if (value == QLatin1String("false"))
            state.*f.flag = false;
    }
}

void Save(const MapState& state, QSettings& settings)
{
    for (const Flag& f : kFlags)
        settings.setValue(QString::fromLatin1(f.key), state.*f.flag);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw EGxError(QStringLiteral("Не удалось сохранить настройки в файл \"%1\"")
                           .arg(QDir::toNativeSeparators(settings.fileName()))
                           .toStdString());
}

} // namespace StoredSettings
