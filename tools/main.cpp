#include "tools/DataTool.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QFile out;
    QFile err;
    if (!out.open(stdout, QIODevice::WriteOnly) || !err.open(stderr, QIODevice::WriteOnly)) {
        return datatool::ExitFailure;
    }
    const datatool::Console console{out, err};
    return datatool::RunDataTool(QCoreApplication::arguments().mid(1), console);
}
