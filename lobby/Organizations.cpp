#include "lobby/Organizations.h"

#include "store/RecordScan.h"
#include "store/RecordStore.h"

#include <QFile>
#include <QSet>
#include <algorithm>

QStringList OrganizationsOnFile() {
    // Opening would make the file; a list not yet begun has no units to offer.
    if (!QFile::exists(store::FileNameOf(store::DataFile::NameList)))
        return {};
    auto& persons = store::Persons();
    if (!persons.Open()) {
        persons.Close();
        return {};
    }
    QStringList units;
    QSet<QString> seen; // case-folded
    QString unit;
    store::RecordScan scan(persons.File());
    while (scan.Next()) {
        unit.clear();
        store::AppendShownField(unit, scan.Bytes(), store::PersonRecord::OrganizationSpan);
        if (unit.isEmpty() || store::PersonRecord::IsMarkedRaw(scan.Bytes()))
            continue;
        const QString folded = unit.toCaseFolded();
        if (!seen.contains(folded)) {
            seen.insert(folded);
            units << unit;
        }
    }
    persons.Close();
    if (!scan.Result())
        return {};
    std::sort(units.begin(), units.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return units;
}
