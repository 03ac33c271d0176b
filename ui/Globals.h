#pragma once

#include <QString>
#include <QStringList>

// The values the whole program shares, kept together so a test can reset them at once.
struct ProgramValues {
    QString SignedInUserName;       // "First Last" of the signed-in user
    qint16 SignedInAccessLevel = 0; // 1 to 4; 0 before anyone signed in
    bool HistoryReadOnly = false;
    QString OrganizationName;
    // Another program holds the data folder: this one only reads it. Nothing is written, no
    // repair runs, the access level is capped at Read Only and admin mode is closed.
    bool ReadOnlyStation = false;
    // The access code was given in the Admin window: users may be added, changed and removed
    // until admin mode is left or the window closes.
    bool AdminMode = false;
    qint16 MessageResult = 0;     // button pressed in the last ShowMessage, 0 for none
    bool MessageDontAsk = false;  // its "Don't show this again" box
    QStringList AccessLevelNames; // index 1 to 4; entry 0 is empty
    QStringList DataFileNames;    // index 1 to 5; entry 0 is empty
};

ProgramValues& Globals();
void ResetGlobals(); // every value back to its start; the two tables built again

// "Mirtavel": the title used in window captions and messages.
QString AppTitle();
