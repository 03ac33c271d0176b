#pragma once

#include <QString>
#include <QStringList>

// The program keeps its data files in the current directory. From a terminal that is the
// folder the user is in; a desktop menu starts programs in the home folder, where record
// files have no place, so the menu entry passes MenuStartOption and the data then lives in
// ~/Mirtavel. The environment variable MIRTAVEL_DATA, when set, names the data folder for
// either start.
namespace platform {

inline const char DataFolderVariable[] = "MIRTAVEL_DATA";

inline const QString MenuStartOption = QStringLiteral("--menu");

// The data folder of a menu start: Mirtavel in the home folder.
QString MenuDataFolder();

// With MIRTAVEL_DATA set, makes that folder when missing and makes it the current directory;
// else the same with MenuDataFolder when MenuStartOption is among `arguments`; otherwise
// leaves the current directory as it is. False, with `problem` told, when the folder cannot
// be made or entered.
bool EnterDataFolder(const QStringList& arguments, QString* problem);

} // namespace platform
