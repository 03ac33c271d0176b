// Draws the program's icon at each size a desktop asks for, into an icon theme's layout:
//   make-icons OUTDIR NAME SIZE...   writes OUTDIR/SIZExSIZE/apps/NAME.png
#include "signin/TitlePicture.h"

#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: make-icons OUTDIR NAME SIZE...\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int k = 3; k < argc; ++k) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[k]).toInt(&ok);
        if (!ok || size < 16 || size > 1024) {
            std::fprintf(stderr, "make-icons: no icon size: %s\n", argv[k]);
            return 2;
        }
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        const QString path = out.filePath(folder + u'/' + name + QStringLiteral(".png"));
        if (!out.mkpath(folder) || !signin::BadgeIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "make-icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
