#pragma once

#include "ui/Session.h"

#include <QList>
#include <QString>
#include <QtGlobal>

// What the Lobby hands the training windows when it opens them: plain copies of the rows it
// highlights, so that the windows need not know the Lobby's grids.
namespace training {

// The highlighted course of the Course Index, as its row shows it.
struct HighlightedCourse {
    qint32 recNum = 0; // in Course.Index
    QString code;
    QString name;
    QString providedBy;
    QString hours; // the cell text ("8.0")
};

// One row of the Name List as shown: the display name, the record number in Name.List and
// whether the person is active.
struct ListedPerson {
    QString name;
    qint32 recNum = 0;
    bool active = true;
};

// The person whose training history is shown: the highlighted row of the Name List or of the
// search results, with who is looking.
struct HistorySubject {
    ListedPerson person;
    bool readOnly = false; // opened from the search results: view only
    Session session;       // of the signed-in user
};

} // namespace training
