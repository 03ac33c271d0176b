#include "support/RecordFiles.h"

#include <QFile>

namespace recordfiles {

bool WriteTrainings(const QList<store::TrainingRecord>& records) {
    QFile file(store::FileNameOf(store::DataFile::TrainingRecords));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray bytes;
    bytes.reserve(records.size() * store::TrainingRecord::Length);
    for (const store::TrainingRecord& t : records)
        bytes += t.Encode();
    return file.write(bytes) == bytes.size();
}

QByteArray FileBytes(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace recordfiles
