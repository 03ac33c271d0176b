#include "platform/DataFolder.h"

#include <QDir>

namespace platform {

QString MenuDataFolder() {
    return QDir::home().filePath(QStringLiteral("Mirtavel"));
}

bool EnterDataFolder(const QStringList& arguments, QString* problem) {
    if (!arguments.contains(MenuStartOption))
        return true;
    const QString folder = MenuDataFolder();
    if (!QDir().mkpath(folder) || !QDir::setCurrent(folder)) {
        if (problem)
            *problem = QStringLiteral("The data folder %1 cannot be made or opened.")
                           .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    return true;
}

} // namespace platform
