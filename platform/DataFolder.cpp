#include "platform/DataFolder.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

QString MenuDataFolder() {
    return QDir::home().filePath(QStringLiteral("Mirtavel"));
}

bool EnterDataFolder(const QStringList& arguments, QString* problem) {
    const QString named = qEnvironmentVariable(DataFolderVariable).trimmed();
    if (named.isEmpty() && !arguments.contains(MenuStartOption))
        return true;
    const QString folder = named.isEmpty() ? MenuDataFolder() : QDir(named).absolutePath();
    // Personnel records and passwords are for this account alone: the folder is made with
    // room for its owner only. A folder that exists keeps its mode; whoever set it up for a
    // department's shared use chose it.
    const bool made =
        QFileInfo(folder).isDir() ||
        (QDir().mkpath(QFileInfo(folder).path()) &&
         QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    if (!made || !QDir::setCurrent(folder)) {
        if (problem)
            *problem = QStringLiteral("The data folder %1 cannot be made or opened.")
                           .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    return true;
}

} // namespace platform
