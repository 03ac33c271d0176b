#pragma once

#include "ui/Session.h"

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

// A fresh data folder for one test: a temporary folder made current, the program's clock
// fixed, the program-wide values reset and the settings store emptied (kept in the folder).
// Everything goes back as it was when it is destroyed.
class TestFolder {
public:
    // The time the clock is fixed at: 15 March 2024, 10:30:00 local time.
    static QDateTime FixedNow();

    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    bool isValid() const { return dir_.isValid(); }
    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString previousCurrent_;
};

// The session the tests hand the windows they open, as the sign-in would: nobody signed in
// until a test signs someone in. Each TestFolder starts and ends with it empty and with the
// station writing.
Session& TestSession();
