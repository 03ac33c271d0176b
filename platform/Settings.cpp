#include "platform/Settings.h"

#include <QFileInfo>
#include <QSaveFile>
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

// QSettings says only that the file could not be written; writing it the same way again
// (a new file renamed into place) gives the system's reason.
QString WriteFailureReason(const QString& fileName) {
    if (QFileInfo(fileName).isDir())
        return QStringLiteral("a folder of that name is in the file's place");
    QSaveFile probe(fileName);
    if (!probe.open(QIODevice::WriteOnly))
        return probe.errorString();
    probe.cancelWriting();
    return QStringLiteral("the file could not be written");
}

// Writes what `store` holds to its file and tells whether it got there.
store::StoreResult Flush(QSettings& store) {
    store.sync();
    switch (store.status()) {
    case QSettings::NoError:
        return store::StoreResult::Ok();
    case QSettings::FormatError:
        return store::StoreResult::Fail(store.fileName(),
                                        QStringLiteral("the file is not a settings file"));
    case QSettings::AccessError:
        break;
    }
    return store::StoreResult::Fail(store.fileName(), WriteFailureReason(store.fileName()));
}
} // namespace

QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue) {
    return Store(app).value(Path(section, key), defaultValue).toString();
}

store::StoreResult SaveSetting(const QString& app, const QString& section, const QString& key,
                               const QString& value) {
    QSettings store = Store(app);
    store.setValue(Path(section, key), value);
    return Flush(store);
}

store::StoreResult DeleteSetting(const QString& app, const QString& section, const QString& key) {
    QSettings store = Store(app);
    if (section.isEmpty())
        store.clear();
    else if (key.isEmpty())
        store.remove(section);
    else
        store.remove(Path(section, key));
    return Flush(store);
}

} // namespace platform
