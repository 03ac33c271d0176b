#include "app/basMirtavel.h"
#include "platform/Fonts.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirtavel"));
    platform::InstallFontSubstitutes();
    if (!Main())
        return 0;
    return QApplication::exec();
}
