#include "support/TestFolder.h"

#include "store/Clock.h"
#include "store/ReadOnlyStation.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {
// The settings store sits beside the data files, so each test starts with an empty one.
void PointSettingsAt(const QString& folder) {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}
} // namespace

QDateTime TestFolder::FixedNow() {
    return QDateTime(QDate(2024, 3, 15), QTime(10, 30, 0));
}

TestFolder::TestFolder() : previousCurrent_(QDir::currentPath()) {
    QStandardPaths::setTestModeEnabled(true);
    QDir::setCurrent(dir_.path());
    PointSettingsAt(dir_.filePath(QStringLiteral("settings")));
    store::SetClock([] { return FixedNow(); });
    TestSession() = Session{};
    store::SetReadOnlyStation(false);
}

TestFolder::~TestFolder() {
    QDir::setCurrent(previousCurrent_);
    PointSettingsAt(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    store::SetClock({});
    TestSession() = Session{};
    store::SetReadOnlyStation(false);
}

Session& TestSession() {
    static Session session;
    return session;
}
