#pragma once

#include "store/StoreResult.h"

#include <QMap>
#include <QString>

// A journal names a unit of work that changes more than one record or file before the first
// change is made, so that a stop in the middle can be finished at the next start. It is a
// small text file in the data folder, made durable before the work begins and deleted when
// the work is done. A journal cut short while it was written is no journal: its work never
// began.
namespace store::journal {

// Field names to values. Numbers that must come back exact are kept as their bits
// (NumberText); texts are kept as UTF-8 in hexadecimal, so any character is safe.
using Fields = QMap<QString, QString>;

// Writes the journal `fileName` (replacing an older one) and makes it and its name durable.
StoreResult Write(const QString& fileName, const QString& kind, const Fields& fields);

// Reads the journal; `found` is false when there is none or it was cut short (which is then
// deleted). Fails when a whole journal of another kind stands there.
StoreResult Read(const QString& fileName, const QString& kind, Fields& fields, bool& found);

// Deletes the journal and makes that durable; no journal is no error.
StoreResult Remove(const QString& fileName);

QString NumberText(double value);
double NumberOf(const QString& text);
QString TextField(const QString& text);
QString TextOf(const QString& field);

} // namespace store::journal
