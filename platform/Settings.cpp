#include "platform/Settings.h"

#include <QSettings>

namespace platform {

namespace {
// One INI file per application name, with no organisation folder above it.
QSettings Store(const QString& app) {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, app);
}

QString Path(const QString& section, const QString& key) {
    return section + u'/' + key;
}
} // namespace

QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue) {
    return Store(app).value(Path(section, key), defaultValue).toString();
}

void SaveSetting(const QString& app, const QString& section, const QString& key,
                 const QString& value) {
    QSettings store = Store(app);
    store.setValue(Path(section, key), value);
}

void DeleteSetting(const QString& app, const QString& section, const QString& key) {
    QSettings store = Store(app);
    if (section.isEmpty())
        store.clear();
    else if (key.isEmpty())
        store.remove(section);
    else
        store.remove(Path(section, key));
}

} // namespace platform
