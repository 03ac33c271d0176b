#include "ui/Globals.h"

namespace {
ProgramValues MakeStartValues() {
    ProgramValues v;
    v.AccessLevelNames = {QString(), QStringLiteral("Read Only"), QStringLiteral("Read/Edit"),
                          QStringLiteral("Read/Edit/Add"),
                          QStringLiteral("Read/Edit/Add/Delete")};
    v.DataFileNames = {QString(),
                       QStringLiteral("User.List"),
                       QStringLiteral("User.Log"),
                       QStringLiteral("Name.List"),
                       QStringLiteral("Course.Index"),
                       QStringLiteral("Training.Records")};
    return v;
}
} // namespace

ProgramValues& Globals() {
    static ProgramValues values = MakeStartValues();
    return values;
}

void ResetGlobals() { Globals() = MakeStartValues(); }

QString AppTitle() { return QStringLiteral("Mirtavel"); }
