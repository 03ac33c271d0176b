#include "app/basMirtavel.h"
#include "platform/DataFolder.h"
#include "platform/Fonts.h"
#include "platform/StandardDialogs.h"
#include "store/FolderLock.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirtavel"));
    // Lets a Wayland desktop show the menu entry's name and icon for the program's windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.zovsoftware.Mirtavel"));
    platform::InstallFontSubstitutes();
    QString problem;
    if (!platform::EnterDataFolder(QApplication::arguments(), &problem)) {
        platform::StandardMessage(QApplication::applicationName(), problem,
                                  platform::StandardIcon::Stop, platform::StandardButtons::Ok);
        return 1;
    }
    if (!Main())
        return 0;
    const int code = QApplication::exec();
    // Held for as long as the program had the folder open, the shutdown's deletions included.
    store::ReleaseFolderLock();
    return code;
}
